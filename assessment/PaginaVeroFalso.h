#pragma once

#include "ui/Controls.h"

#include <QObject>
#include <QVector>

#include <array>

namespace ui {
class Form;
}

// How a page of ten true/false rows behaves, on the controls a screen has laid out in its own
// geometry and colours: each row a statement (Text1), its "V" box (Check1) and its "F" box (Check2).
// Ticking one box of a row unticks the other. From the keyboard: 1-9 and 0 go to a row's "V" box, V and
// F answer the row with the focus and go on to the next one, the arrows move between rows and columns,
// Return asks the screen to go on. A screen reader hears each box's row and column, whether it is
// ticked, and the statement it answers.
class PaginaVeroFalso : public QObject {
    Q_OBJECT
public:
    // A ticked box records the row's answer in `risposte` (rows 1-10): 1 for "V", 0 for "F".
    PaginaVeroFalso(ui::Form* form, QVector<ui::TextBox*> testi, QVector<ui::CheckBox*> vero,
                    QVector<ui::CheckBox*> falso, std::array<qint16, 11>& risposte);

    static constexpr int kRighe = 10;

    // Shows statement `testo` on row r (0-9).
    void scrivi(int r, const QString& testo);
    // Both boxes of every row unticked.
    void svuota();
    // The first row with neither box ticked, or -1.
    int primaMancante() const;
    int mancanti() const;

    // Row `Index` (0-9) ticked "V" (Check1) or "F" (Check2): the other box is unticked, the answer noted.
    void Check1_Click(int Index);
    void Check2_Click(int Index);
    // The focus to row r's box, "V" (colonna 0) or "F" (1); nothing outside the page.
    void vaiA(int riga, int colonna);

signals:    // V or F answered the last row.
    void ultimaRigaRisposta();
    // Return pressed on a box.
    void invio();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void descrivi(int riga);
    void accessibile(int riga);  // only a row with a statement takes the keyboard
    int rigaDi(const QObject* box, int* colonna) const;

    QVector<ui::TextBox*> m_testi;
    QVector<ui::CheckBox*> m_vero;
    QVector<ui::CheckBox*> m_falso;
    std::array<qint16, 11>& m_risposte;
};
