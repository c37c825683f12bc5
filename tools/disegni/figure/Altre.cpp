// Pictures of the folder altre/: the page background, the main menu and the window icon.

#include "Catalogue.h"
#include "Globe.h"
#include "Labels.h"
#include "MapCanvas.h"
#include "Output.h"
#include "PlateMap.h"
#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace disegni {

namespace {

// Background of every lesson page: panels, pictures and buttons stand on it, so it stays pale
// and says nothing on its own. Miller fills the 4:3 page with the whole world.
QImage placche1(PictureContext &ctx)
{
    const QSize size = pixelsForTwips(9600, 6900);
    QImage image = newPicture(size, style::paper());
    const MapCanvas canvas(Projection(Projection::Kind::Miller, 11), QRectF(QPointF(0, 0), size),
                           MapCanvas::Fit::Cover);

    PlateMapLook look;
    look.plateColour = [](const QString &key) { return style::mix(style::plate(key), Qt::white, 0.35); };
    look.land = Qt::white;
    look.landOpacity = 0.45;
    look.coast = style::withAlpha(style::outline(), 0.10);
    look.coastWidth = 1.2;
    look.graticule = style::withAlpha(Qt::white, 0.55);
    look.graticuleWidth = 1.0;
    look.boundary = style::withAlpha(style::mix(style::outline(), Qt::white, 0.35), 0.45);
    look.boundaryWidth = 1.6;

    QPainter p(&image);
    p.drawImage(0, 0, drawPlateMap(canvas, size, ctx.data(), ctx.plates(), look));
    CreditLook credit;
    credit.pixelSize = 11;
    credit.opacity = 0.55;
    credit.halo = false;
    drawCredit(p, QRectF(QPointF(0, 0), size), mapCredit(), credit);
    return image;
}

QImage scelta(PictureContext &ctx)
{
    const QSize size = pixelsForTwips(9600, 6900);
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Buttons cover two columns down to about y 5900 twips; the band below is the title's.
    const double bandTop = size.height() - 124;

    QRadialGradient sky(QPointF(size.width() / 2.0, 380), size.width() * 0.75);
    sky.setColorAt(0.0, QColor(0xF7, 0xF4, 0xEA));
    sky.setColorAt(0.55, QColor(0xE3, 0xEE, 0xF2));
    sky.setColorAt(1.0, QColor(0xC9, 0xDD, 0xE8));
    p.fillRect(QRectF(0, 0, size.width(), bandTop), sky);

    const Globe globe(-5, 18, QPointF(size.width() / 2.0, 402), 372);

    // soft glow round the globe
    QRadialGradient glow(globe.centre(), globe.radius() * 1.18);
    glow.setColorAt(0.80, style::withAlpha(Qt::white, 0.75));
    glow.setColorAt(1.0, style::withAlpha(Qt::white, 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(globe.centre(), globe.radius() * 1.18, globe.radius() * 1.18);

    const QSize textureSize(4096, 2048);
    const MapCanvas flat(Projection(Projection::Kind::Equirectangular, 0), QRectF(QPointF(0, 0), textureSize));
    PlateMapLook look;
    // continents as light, warm shapes on the pastel plates
    look.land = QColor(0xFF, 0xFB, 0xF0);
    look.landOpacity = 0.6;
    look.coast = style::withAlpha(style::outline(), 0.25);
    look.coastWidth = 2;
    look.boundaryWidth = 0;
    QImage texture = newPicture(textureSize, Qt::white);
    {
        QPainter t(&texture);
        t.drawImage(0, 0, drawPlateMap(flat, textureSize, ctx.data(), ctx.plates(), look));
    }
    Globe::Light light;
    light.ambient = 0.86;
    light.rim = 0.06;
    light.highlight = 0.12;
    p.drawImage(0, 0, globe.render(texture, size, light));

    p.setBrush(Qt::NoBrush);
    p.strokePath(globe.graticule(30), style::pen(style::withAlpha(Qt::white, 0.35), 1.0));
    p.strokePath(globe.lines(ctx.plates().majorBoundaryLines()),
                 style::pen(style::withAlpha(style::outline(), 0.75), 2.2));
    p.strokePath(globe.disc(), style::pen(style::withAlpha(style::outline(), 0.35), 2.0));

    // title band
    const QRectF band(0, bandTop, size.width(), size.height() - bandTop);
    QLinearGradient bandFill(band.topLeft(), band.bottomLeft());
    bandFill.setColorAt(0, QColor(0x2F, 0x4E, 0x6B));
    bandFill.setColorAt(1, QColor(0x24, 0x3E, 0x57));
    p.fillRect(band, bandFill);
    p.fillRect(QRectF(0, bandTop, size.width(), 3), QColor(0xE8, 0xB8, 0x6A));

    QFont title = style::font(52, QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(title);
    p.setPen(QColor(0xFB, 0xF7, 0xEE));
    p.drawText(band.adjusted(0, -10, 0, 0), Qt::AlignCenter, QStringLiteral("LA TEORIA DELLE PLACCHE"));
    drawnTexts::note(p, QStringLiteral("LA TEORIA DELLE PLACCHE"),
                     p.boundingRect(band.adjusted(0, -10, 0, 0), Qt::AlignCenter, QStringLiteral("LA TEORIA DELLE PLACCHE")), 52);

    // in the band: the buttons reach down to just above it
    CreditLook credit;
    credit.pixelSize = 13;
    credit.colour = QColor(0xA9, 0xBA, 0xC9);
    credit.halo = false;
    drawCredit(p, band, mapCredit(), credit);
    return image;
}

// Must still read as "a globe cut into plates" at 32 pixels: strong blue and green, few bold
// boundaries (simplified, so the ridges' zigzag does not turn into a smudge), a dark rim.
QImage icona(PictureContext &ctx)
{
    const QSize size(256, 256);
    QImage image = newLayer(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const Globe globe(-30, 8, QPointF(128, 128), 116);

    const QSize textureSize(2048, 1024);
    const MapCanvas flat(Projection(Projection::Kind::Equirectangular, 0), QRectF(QPointF(0, 0), textureSize));
    PlateMapLook look;
    look.plateColour = [](const QString &) { return QColor(0x4F, 0x8F, 0xC8); };
    look.land = QColor(0x8E, 0xC0, 0x5E);
    look.landOpacity = 1.0;
    look.boundaryWidth = 0;
    QImage texture = newPicture(textureSize, Qt::white);
    {
        QPainter t(&texture);
        t.drawImage(0, 0, drawPlateMap(flat, textureSize, ctx.data(), ctx.plates(), look));
    }
    Globe::Light light;
    light.ambient = 0.7;
    light.highlight = 0.15;
    p.drawImage(0, 0, globe.render(texture, size, light, 4));

    QList<Ring> boundaries;
    for (const Ring &line : ctx.plates().majorBoundaryLines())
        boundaries.append(planar::simplified(line, 2.5));
    p.save();
    // the rim hides where the lines are cut, so their ends never poke out of the disc
    QPainterPath inside;
    inside.addEllipse(globe.centre(), globe.radius() - 2, globe.radius() - 2);
    p.setClipPath(inside);
    p.strokePath(globe.lines(boundaries), style::pen(QColor(0xE0, 0x4A, 0x20), 8.0));
    p.restore();
    p.strokePath(globe.disc(), style::pen(QColor(0x24, 0x3E, 0x57), 6.0));
    return image;
}

// Background of the summative result card: the plates at night, darker on the left where the card's
// white texts and pale orange value boxes stand, with two quiet rules that frame the name and the grade.
QImage risultato(PictureContext &ctx)
{
    const QSize size = pixelsForTwips(11280, 6120);
    const QColor notte(0x1E, 0x2F, 0x45);
    QImage image = newPicture(size, notte);
    const MapCanvas canvas(Projection(Projection::Kind::Robinson, 11), QRectF(QPointF(0, 0), size),
                           MapCanvas::Fit::Cover);

    PlateMapLook look;
    look.plateColour = [notte](const QString &key) { return style::mix(style::plate(key), notte, 0.72); };
    look.land = Qt::white;
    look.landOpacity = 0.10;
    look.coast = style::withAlpha(Qt::white, 0.16);
    look.coastWidth = 1.4;
    look.graticule = style::withAlpha(Qt::white, 0.06);
    look.graticuleWidth = 1.0;
    look.boundary = style::withAlpha(QColor(0xE8, 0xB8, 0x6A), 0.55);
    look.boundaryWidth = 2.4;

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(0, 0, drawPlateMap(canvas, size, ctx.data(), ctx.plates(), look));

    // The texts run from 40 to 480 design pixels: under them the map stays dim and even.
    QLinearGradient veil(QPointF(0, 0), QPointF(size.width(), 0));
    veil.setColorAt(0.0, style::withAlpha(notte, 0.88));
    veil.setColorAt(0.62, style::withAlpha(notte, 0.80));
    veil.setColorAt(0.85, style::withAlpha(notte, 0.25));
    veil.setColorAt(1.0, style::withAlpha(notte, 0.10));
    p.fillRect(QRectF(QPointF(0, 0), size), veil);

    const QColor ambra = style::withAlpha(QColor(0xE8, 0xB8, 0x6A), 0.65);
    p.fillRect(QRectF(80, 132, 880, 3), ambra);   // under the name
    p.fillRect(QRectF(80, 624, 880, 3), ambra);   // above the grade

    CreditLook credit;
    credit.pixelSize = 13;
    credit.colour = QColor(0x9A, 0xAB, 0xBD);
    credit.opacity = 0.7;
    credit.halo = false;
    drawCredit(p, QRectF(QPointF(0, 0), size), mapCredit(), credit);
    return image;
}

} // namespace

void addAltre(QList<Picture> *pictures)
{
    pictures->append({QStringLiteral("altre/placche1.jpg"),
                      QStringLiteral("sfondo di ogni pagina: le placche, chiare e quiete"), placche1});
    pictures->append({QStringLiteral("altre/scelta.jpg"),
                      QStringLiteral("menu principale: globo con le placche e titolo"), scelta});
    pictures->append({QStringLiteral("altre/icona.png"), QStringLiteral("icona della finestra"), icona});
    pictures->append({QStringLiteral("altre/risultato.jpg"),
                      QStringLiteral("scheda del risultato sommativo: le placche di notte"), risultato});
}

} // namespace disegni
