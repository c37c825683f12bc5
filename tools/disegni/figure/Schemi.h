#pragma once

// What the schematic drawings of the lessons share: the colours of the Earth's layers, the sky and
// space behind them, labels that stay legible over any ground, arrows and leader lines. Sizes are in
// pixels of the drawn picture (twice the design size).

#include "GeoData.h"
#include "Style.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace disegni::schema {

// Twips of the page to pixels of a picture drawn at twice its design size.
inline double px(double twips)
{
    return twips * 2.0 / 15.0;
}

// The whole Earth's layers, from the surface down: warmer and brighter with depth. Cross-sections of
// crust, plates and mantle take the colours of sezione::colore instead, like the animated sequences.
QColor mantelloRigido();     // the top of the mantle that belongs to the lithosphere
QColor mantelloSuperiore();
QColor mantelloInferiore();
QColor nucleoEsterno();      // liquid iron and nickel
QColor nucleoInterno();      // solid, the hottest
QColor terreno();            // land surface seen from above
QColor spazio();             // night sky behind the Earth seen from space
QColor cieloAlto();
QColor cieloBasso();

// A pale sky from cieloAlto at the top to cieloBasso at the bottom.
void cielo(QPainter &p, const QRectF &area);
// Deep space with faint stars, always the same ones for the same seed.
void spazioStellato(QPainter &p, const QRectF &area, int stars, quint32 seed);

// A small deterministic generator for the scattered details (stars, dust, droplets).
class Sequenza
{
public:
    explicit Sequenza(quint32 seed)
        : m_state(seed ? seed : 1)
    {
    }
    double next(); // [0, 1)
    double between(double lo, double hi) { return lo + (hi - lo) * next(); }

private:
    quint32 m_state;
};

struct Testo {
    double size = 22;
    int weight = QFont::Normal;
    QColor colour = style::text();
    bool halo = true;                                  // a soft light patch under the text
    QColor haloColour = style::withAlpha(style::paper(), 0.78);
};

// Writes text (lines split at '\n') so that the side named by `align` touches `at`: AlignLeft puts
// the text's left edge at at.x(), AlignHCenter centres it, AlignTop puts its top at at.y() and so on.
// Returns the rectangle the text takes.
QRectF scrivi(QPainter &p, const QPointF &at, const QString &text, Qt::Alignment align, const Testo &look = Testo());
QRectF misura(const QString &text, Qt::Alignment align, const QPointF &at, const Testo &look = Testo());

// A broad flat arrow from a to b, filled and outlined, for movements (plates, currents).
void freccia(QPainter &p, const QPointF &a, const QPointF &b, const QColor &fill, double width, double head);
// A line arrow along a path, its head at the end; both ends when `doppia`.
void frecciaLinea(QPainter &p, const QPainterPath &path, const QColor &colour, double width, double head,
                  bool doppia = false);
// A thin leader from a label to the thing it names, with a small dot on the thing.
void richiamo(QPainter &p, const QPointF &daEtichetta, const QPointF &aOggetto, const QColor &colour = style::outline());

// An equirectangular texture of the Earth's surface for a Globe. Natural: the colours seen from
// space, land tinted by latitude (green, dry belts, ice). Otherwise the calm map colours, for globes
// that carry data.
QImage tessituraTerra(GeoData &data, const QSize &size, bool natural);

// A ring sector between radii r0 and r1 (r0 = 0: a pie slice), angles in degrees counter-clockwise
// from east as on screen.
QPainterPath settore(const QPointF &centre, double r0, double r1, double startDegrees, double spanDegrees);

// Points of a circle arc, angles in degrees counter-clockwise from east (y pointing down in pixels).
QPointF suCerchio(const QPointF &centre, double radius, double degrees);

} // namespace disegni::schema
