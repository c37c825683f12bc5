#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

#include <array>

// The image labelling test apart from its widgets: each topic's picture, title and part names, where the
// ten boxes stand, which box a dropped number lands in, and the count of right boxes. The topics and the
// boxes are data (assessment/etichette/etichette.json), read once from inside the program.
namespace Etichette {

inline constexpr int kCaselle = 10;
inline constexpr int kArgomenti = 6;

struct Argomento {
    QString titolo;
    QString immagine;                      // relative path of the picture
    QString descrizione;                   // what the picture shows, for a screen reader
    std::array<QString, 11> nomiparti;     // 1-10: the name shown beside number k
    std::array<QString, 10> numeriesatti;  // 0-9: the right number of box i, as text
};

struct Dati {
    std::array<QRect, kCaselle> caselle;  // in twips
    std::array<Argomento, kArgomenti> argomenti;
};

// The labelling tests from a data file. On a fault, false with a message that names the file and says
// where and what: ten boxes that do not overlap, six topics in order, each with a title, a picture, ten
// different names and the numbers 1-10 once each as the right numbers of the boxes.
bool leggi(const QString& file, Dati* out, QString* errore);

// Why the program's own data could not be read, or empty when it was.
QString errore();

// The data of topic 1-6, or nullptr for any other number or when the data could not be read.
const Argomento* argomento(int numero);

// Box i (0-9) on the screen, in twips; numbered anticlockwise from the lower right corner of the picture.
QRect casella(int i);
// The box under a point of the screen in twips, or -1 when the point is on none.
int casellaSotto(const QPoint& twips);

// The ten boxes and which numbers have been moved.
class Caselle {
public:
    // Number `numero` (1-10) dropped on box `casella`: it replaces what the box held. The number stays
    // where it is, marked as moved.
    void lascia(int casella, int numero);
    // Dropped at a point of the screen: the box that took it, or -1 when the point is on no box.
    int lasciaIn(const QPoint& twips, int numero);
    void svuota();

    QString contenuto(int casella) const { return m_contenuto.at(casella); }
    bool spostato(int numero) const { return m_spostato.at(numero - 1); }

    struct Esito {
        int giuste = 0;
        std::array<bool, kCaselle> sbagliata{};
    };
    // One point per box that holds exactly its right number; an empty box is wrong.
    Esito valuta(const std::array<QString, kCaselle>& numeriesatti) const;

private:
    std::array<QString, kCaselle> m_contenuto;
    std::array<bool, kCaselle> m_spostato{};
};

}  // namespace Etichette
