#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <vector>

// The picture series of the animated synthesis: one cross-section of four plates over a mantle with
// three convection cells, told in four sequences (New-1..15 still, New-15b and 16..29, 30..35, 36..42)
// and a close (43..45). The same scenes that are drawn give the facts of each sequence, so that what
// the pupil is asked about can be checked against what the pictures show.
namespace disegni::serie {

// What one sequence shows, gathered from the scenes of its pictures.
struct Fatti {
    int placche = 0;              // plates numbered at the end of the sequence
    int celle = 0;                // convection cells drawn
    int celleAttive = 0;          // cells turning at the end of the sequence
    bool attivaSoloDestra = false; // the right-hand cell turns, the others are still
    bool celleControrotanti = false; // two neighbouring cells turn in opposite senses under the spreading ocean
    int fosse = 0;                // ocean trenches
    int dorsali = 0;              // ocean ridges
    int catene = 0;               // mountain chains
    int subduzioni = 0;           // plates sinking under others at the end of the sequence
    bool subduzioniInEsaurimento = false; // the ocean left before each trench is nearly gone
    bool subduzioneSottoDorsale = false; // a trench at a ridge
    bool dorsaleTraPlaccheConvergenti = false; // an arrow beside a ridge points towards it
    bool faglia = false;          // a fault opens in a plate
    bool fagliaSopraCellaDestra = false; // ... above the rising side of the right-hand cell
    bool fagliaDaSpinta = false;  // ... pushed by a neighbouring plate
    bool nuovaPlacca = false;     // a new plate, bounded on its left by the fault
    bool vulcaniFaglia = false;   // volcanoes along the fault as soon as it opens
    bool vulcaniDaCompressione = false;
    bool fondaleInEspansione = false; // the fault widens into new ocean floor
    bool continentaleSubduce = false;
    bool terremotoSottoPlacca4 = false;
    bool archiInsulari = false;   // volcanic island arcs in the main picture
    bool terremotiSubduzioni = false; // earthquakes where plates sank, now ended
    bool fosseRimaste = false;    // trenches left where subduction ended
    bool primeDueMiste = false;   // the first two plates hold both oceanic and continental crust
    int placcheSoloOceaniche = 0;
    bool catenaConfineDestro = false; // on the right, a plate boundary runs along a mountain chain
    bool oceanoVasto = false;     // the spreading ocean has grown wide between two plates
    bool vulcaniEspansione = false; // volcanoes and magma along the spreading ridge
};

// One picture as its storyboard reads it: what a pupil can follow from one picture to the next.
struct Quadro {
    struct Numero {
        QString numero;
        QStringList prima; // the numbers this plate had before, written under it where they changed
        double x0 = 0, x1 = 0;
    };
    std::vector<Numero> placche; // left to right; none in the first still picture
    std::vector<double> dorsali;
    std::vector<double> fosse;
    double faglia = -1;          // x of the fault while it is a crack, else -1
    double mareTraContinenti = 0; // ocean floor left before the right-hand trench, px (0: collided)
    double catena = 0;           // height of the chain where the continents collided, px
    std::vector<QPainterPath> magma; // drops of magma rising through the mantle
    std::vector<QPolygonF> lastre;   // the sinking plates, attached or torn off
};

// The picture files of the series, relative to the output folder: "new-1.gif" ... "new-45.gif", "new-15b.gif".
QStringList nomi();
// The sequence (1-4, 5 for the close) that shows the picture of a file name.
int sequenzaDi(const QString &nome);
// Whether a picture veils all but one part of the scene, to point at it.
bool velata(const QString &nome);
// The facts of sequence 1-4.
Fatti fatti(int sequenza);
// The storyboard of the picture of a file name of nomi().
Quadro quadro(const QString &nome);
// The picture of a file name of nomi(), at twice the design size of the synthesis' main picture.
QImage disegna(const QString &nome);

} // namespace disegni::serie
