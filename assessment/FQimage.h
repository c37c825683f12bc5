#pragma once

class Sessione;

#include "assessment/Etichette.h"
#include "ui/Form.h"

#include <QPointer>
#include <QVector>

// The image labelling test that closes a topic's questionnaire: ten numbered part names to drag onto ten
// boxes around the topic's picture, in exercise mode or as a test whose score is stored.
class FQimage : public ui::Form {
    Q_OBJECT
public:
    explicit FQimage(Sessione& sessione);

    void Form_Load() override;

    // Number Label3(source) dropped on box Label4(Index).
    void Label4_DragDrop(int Index, int source);
    void cmdRISULT_Click();
    void cmdriprovo_Click();
    void cmdtest_Click();
    void Cmdtorna_Click();
    // The questionnaire lets the pupil check the boxes when it opens this test.
    void abilitaRisultato();
    void cmdarchivio_Click();
    void cmdscegliarg_Click();
    void cmduscita_Click();
    void Cmdpertest_Click();
    void Cmdpereserc_Click();

    // The number picked with a click or the keyboard, waiting for its box (0-9), or -1.
    int numeroScelto() const { return m_scelto; }
    // True when the last stored test reached the archive.
    bool rigaRegistrata() const { return m_registrata; }

    ui::Picture* Sfondo;
    ui::TextBox* txtTITOLO;
    ui::Picture* Image1;
    ui::Label* lblmancante;
    QVector<ui::Label*> Label4;
    QVector<ui::Label*> Label3;
    QVector<ui::Label*> Label1;
    ui::Label* Label2;
    ui::Button* cmdRISULT;
    ui::TextBox* txtrisult;
    ui::Button* cmdriprovo;
    ui::Button* cmdtest;
    ui::Button* Cmdtorna;
    ui::Button* cmdarchivio;
    ui::Button* cmdscegliarg;
    ui::Button* cmduscita;
    ui::Button* Cmdpertest;
    ui::Button* Cmdpereserc;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void svuotaCaselle();
    void mostraCaselle();
    void scegliNumero(int k);
    void scegliCasella(int i);
    void aggiornaCornici();
    void descriviCaselle();  // the accessible names of the numbers and boxes, as they stand now
    QString nomeParte(int k) const;  // the name beside number k (1-10)
    // The mouse: a press on a number starts a drag, moves carry it, the release drops it.
    bool mouse(QWidget* widget, QMouseEvent* event);
    QPoint inTwips(const QPoint& pixel) const;

    const Etichette::Argomento* m_argomento = nullptr;
    std::array<QString, Etichette::kCaselle> m_numeriesatti;
    qint16 m_maxpunti = 0;
    Etichette::Caselle m_caselle;
    std::array<bool, Etichette::kCaselle> m_rossa{};
    int m_scelto = -1;
    int m_trascinato = -1;
    int m_sopra = -1;  // the box under a number being dragged
    QPoint m_presa;    // where the number was pressed, in the form's pixels
    bool m_mosso = false;
    QPointer<QLabel> m_fantasma;
    bool m_registrata = false;
    Sessione& m_sessione;
    qint16 giuste = 0;  // the boxes right at the last check
};
