#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QSizeF>
#include <QString>
#include <QTransform>

#include <functional>
#include <vector>

namespace disegni::sezione {

// Every cross-section of the course speaks one colour language, so that a pupil who has learnt it
// on one picture reads the next: continental crust yellow under a green land surface, oceanic crust
// red, the rigid mantle of a plate brown, the hot mantle below orange, the sea blue, magma bright
// orange. The animated sequences, the sections of the lesson pictures and the blocks of the
// labelling test all take their colours from here; the synthesis test asks about exactly these.
namespace colore {
QColor cielo();               // sky at the horizon
QColor cieloAlto();           // sky at the top edge
QColor mare();                // sea near the surface
QColor mareProfondo();        // sea at depth
QColor continentale();        // continental crust
QColor verde();               // land surface
QColor oceanica();            // oceanic crust
QColor oceanicaGiovane();     // newly formed oceanic crust, for the bands of different age
QColor litosfera();           // the mantle part of a plate, rigid
QColor astenosfera();         // upper mantle under the plates, hot and plastic
QColor astenosferaProfonda(); // the same, deeper
QColor magma();
QColor magmaChiaro();         // the hot core of a magma body
QColor vulcano();             // volcanic rock of cones and islands
QColor neve();
QColor contorno();            // outline of plates and layers
QColor freccia();             // plate motion arrows
QColor cella();               // convection cell arrows
QColor testo();
} // namespace colore

// A depth in km for a distance x in km: positive below sea level, negative above it.
using Profilo = std::function<double(double)>;

// Smooth step from 0 (u <= 0) to 1 (u >= 1).
double liscio(double u);
// Linear blend of a and b by t.
double mescola(double a, double b, double t);

// Kilometres of a cross-section on the pixels of a picture, with the same scale both ways. The left
// edge is x = 0, the top edge stands `sopra` km above sea level; depths grow downwards.
class Sezione
{
public:
    Sezione(const QSizeF &pixels, double larghezzaKm, double sopraKm);

    double scala() const { return m_scala; }       // pixels per km
    double larghezza() const { return m_larghezza; }
    double sopra() const { return m_sopra; }
    double fondo() const;                           // depth of the bottom edge
    QSizeF pixels() const { return m_pixels; }

    QPointF px(double x, double z) const;
    QPointF px(const QPointF &km) const { return px(km.x(), km.y()); }
    QPainterPath px(const QPainterPath &km) const;
    QPolygonF px(const QPolygonF &km) const;
    double px(double km) const { return km * m_scala; }

    // The region between two profiles from x0 to x1 (km), sampled every `passo` km.
    static QPainterPath tra(const Profilo &sopra, const Profilo &sotto, double x0, double x1, double passo = 1.0);
    static QPolygonF linea(const Profilo &z, double x0, double x1, double passo = 1.0);

private:
    QSizeF m_pixels;
    double m_larghezza;
    double m_sopra;
    double m_scala;
    QTransform m_transform;
};

// The top surface of a plate that runs along the sea floor and, past the trench, bends down into the
// mantle towards growing x. Positions along it are arc lengths s in km: s = 0 at the trench,
// negative on the sea floor before it (there s = x - trench). A plate moving by d km is the same
// band drawn from s + d: the path stays, the plate slides along it.
class Lastra
{
public:
    struct Forma {
        double fossa = 0;         // x of the trench
        double pendenza = 45;     // final dip in degrees
        double curva = 150;       // arc length over which the dip grows from the sea floor's to the final one
        double lunghezza = 400;   // how far the path goes past the trench
    };

    Lastra(const Profilo &fondale, double x0, const Forma &forma);

    double inizio() const { return m_s.front(); }
    double fine() const { return m_s.back(); }
    QPointF punto(double s) const;
    QPointF normale(double s) const;    // unit, into the plate (downwards where it is flat)
    double pendenza(double s) const;    // degrees

    // The band from d0(s) to d1(s) km under the top surface, measured across the plate, for s in [s0, s1].
    QPainterPath fascia(double s0, double s1, const std::function<double(double)> &d0,
                        const std::function<double(double)> &d1, double passo = 1.0) const;
    // The top surface at x, past the trench, for s up to sMax; infinity where the plate is not.
    double profondita(double x, double sMax) const;
    // The first s past the trench where the top surface reaches depth z.
    double aProfondita(double z) const;

private:
    std::vector<double> m_s;
    std::vector<QPointF> m_p;
    std::vector<double> m_angolo; // radians, 0 = horizontal, positive = dipping down towards +x
    int indice(double s) const;
};

// --- symbols, all sizes in pixels ---

// A filled arrow from a to b.
QPainterPath freccia(const QPointF &a, const QPointF &b, double spessore, double punta, double larghezzaPunta);
void disegnaFreccia(QPainter &p, const QPointF &a, const QPointF &b, double spessore, const QColor &colore,
                    const QColor &bordo = QColor());

// A convection cell: a closed loop (an ellipse of radii rx, ry in pixels) with arrowheads that
// move along it by `fase` (0-1, one turn) so that frame after frame the flow is seen to turn.
// Clockwise as seen on the picture when `orario`.
void disegnaCella(QPainter &p, const QPointF &centro, double rx, double ry, bool orario, double fase,
                  double spessore, const QColor &colore, int punte = 4);

// An earthquake: a star at the hypocentre and two rings of waves; `forza` 0-1 fades it in.
void disegnaTerremoto(QPainter &p, const QPointF &centro, double raggio, double forza = 1.0);

// A drop of magma rising: a round head with a tapering tail below it.
QPainterPath goccia(const QPointF &centro, double raggio, double coda);
void disegnaMagma(QPainter &p, const QPainterPath &forma, double spessoreBordo);

// An ash plume over a crater, `forza` 0-1.
void disegnaEruzione(QPainter &p, const QPointF &cratere, double scala, double forza);

// A label in the picture's font with a pale halo, so it reads on any ground. `allineamento` is
// Qt::AlignLeft, Qt::AlignHCenter or Qt::AlignRight, of the text about `punto` (its baseline centre
// when centred). With `guida` a thin leader line runs from the text to that point.
struct Etichetta {
    QString testo;
    QPointF punto;
    double dimensione = 20;
    Qt::Alignment allineamento = Qt::AlignHCenter;
    bool grassetto = false;
    QPointF guida = QPointF(-1, -1);
    QColor colore;              // invalid: the palette's text colour
    double opacita = 1.0;
};
void disegnaEtichetta(QPainter &p, const Etichetta &e);
QRectF ingombro(const Etichetta &e);

} // namespace disegni::sezione
