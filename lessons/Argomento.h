#pragma once

#include <QColor>
#include <QMap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

// One lesson topic as data: its screen, design rectangles, titles, texts, hotspots and page table.
// Positions are in twips, as designed.

struct Finestrella {
    QRect progetto;  // size as designed; the left and top come from the page that shows it
    QString didascalia;
    QString testo;
};

struct Pagina {
    enum class Titolo { Voce, Letterale, Nascosto };
    int numero = 0;
    Titolo tipoTitolo = Titolo::Voce;
    int voceTitolo = 0;  // index into titoli
    QString titoloLetterale;
    QString immagine;
    QString immagineIndietro;  // another file loaded when the page is reached backward, or empty
    QString descrizioneImmagine;   // what the picture shows, read to a pupil who cannot see it
    QString descrizioneIndietro;   // the same for immagineIndietro, when that is another picture
    std::optional<QPoint> posizioneImmagine;  // unset: Image1 stays where it is
    std::optional<QRect> pannello;            // unset: Label1 stays where it is
    std::optional<QRect> pannelloIndietro;    // the rectangle used when the page is reached backward
    QMap<QString, QPoint> finestrelle;        // hotspots shown on this page, by label name
    int animazione = 0;                       // 0: GUARDO L'ANIMAZIONE hidden
};

// How the world map of a topic is drawn, so that the hotspots over it and the drawing agree.
struct MappaMondo {
    QString immagine;
    QString proiezione;
    double lonMin = 0, lonMax = 0, latMin = 0, latMax = 0;
    QRect rettangolo;
};

struct Argomento {
    static constexpr int kTitoli = 21;
    static constexpr int kTesti = 51;

    int numero = 0;
    QString schermo;
    QString caption;
    int ultimaPagina = 0;
    int paginaFinestrelle = 0;      // 0: no hotspot page
    int animazioneAlCaricamento = 0;
    int primaAccodata = 0;          // forward steps onto pages primaAccodata..ultimaAccodata append the text
    int ultimaAccodata = -1;
    QColor sfondoTesto;
    QString captionUscita;
    QRect progettoTitolo;
    QRect progettoImmagine;
    QRect progettoPannello;
    QRect progettoSfondo;
    std::optional<QRect> progettoAnimazione;  // unset: the topic has no animation button
    int rigaPulsantiTop = 0;
    int rigaPulsantiAltezza = 0;
    std::array<QString, kTitoli> titoli;
    std::array<QString, kTesti> testi;
    QMap<QString, Finestrella> finestrelle;
    QVector<Pagina> pagine;  // pagine[p - 1] is page p
    std::optional<MappaMondo> mappa;

    // Where the six buttons stand: under the page, from the title strip's left edge to the right edge of
    // the page area, or to the left of a text panel that reaches down into the row.
    QRect rigaPulsanti() const;

    bool haAnimazione() const { return progettoAnimazione.has_value(); }
    bool accodata(int pagina) const { return pagina >= primaAccodata && pagina <= ultimaAccodata; }
    const Pagina& pagina(int p) const { return pagine.at(p - 1); }

    // A topic from its JSON text; on a fault, false with a message saying where.
    static bool daJson(const QByteArray& json, Argomento* out, QString* errore);
};

namespace Argomenti {
// The six topics of the course, read once from the program's own data; nullptr for a number out of
// range or when the data could not be read (errore() says why).
const Argomento* argomento(int numero);
QString errore();
}  // namespace Argomenti
