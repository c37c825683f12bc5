// Pictures of the folder deriva/: the drift of the continents from 528 million years ago to today,
// one picture every 12 million years, reconstructed with C. R. Scotese's PALEOMAP rotation model.

#include "Catalogue.h"
#include "Labels.h"
#include "MapCanvas.h"
#include "Output.h"
#include "Paleo.h"
#include "Style.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <memory>

namespace disegni {

namespace {

// Picture k stands at kOldest - kStep (k - 1) million years ago, the last one today: the
// animation viewer counts the years the same way beside the picture.
constexpr int kFrames = 45;
constexpr int kOldest = 528;
constexpr int kStep = 12;

// The viewer stretches the pictures into 4575 and 4815 twips of width, 3735 of height: halfway
// between the two, each placement distorts the map by under 3%.
constexpr int kWidthTwips = 4695;
constexpr int kHeightTwips = 3735;

// One view for the whole sequence, so that only the continents move. Centred on Greenwich, the
// edge of the map runs through the open ocean both today and while Pangaea stands (Africa, in its
// middle, has moved least since). Early Gondwana, which lay across the 180th meridian, is cut by
// the edge in the first pictures: turning the view instead would make every continent seem to
// race sideways.
constexpr double kCentralMeridian = 0;

// Pangaea is named while it stands whole: assembled by the end of the Carboniferous, it starts
// to break up when the central Atlantic opens in the Jurassic. The name is written over central
// Africa, the middle of the supercontinent.
constexpr int kPangaeaFrom = 300;
constexpr int kPangaeaUntil = 180;
constexpr int kPangaeaAnchorPlate = 701;
constexpr QPointF kPangaeaAnchor(20, 5);

enum class Continent { NorthAmerica, SouthAmerica, Europe, Asia, India, Africa, Oceania, Antarctica, Islands };

struct ContinentLook {
    Continent continent;
    QString name;
    QColor colour;
};

// Calm colours, far enough apart in hue to follow one continent through the whole sequence.
const std::array<ContinentLook, 8> &continentLooks()
{
    static const std::array<ContinentLook, 8> looks = {{
        {Continent::NorthAmerica, QStringLiteral("Nordamerica"), QColor(0xEF, 0xBE, 0x8A)},
        {Continent::SouthAmerica, QStringLiteral("Sudamerica"), QColor(0xB3, 0xD3, 0x94)},
        {Continent::Europe, QStringLiteral("Europa"), QColor(0xEF, 0xDF, 0x8C)},
        {Continent::Asia, QStringLiteral("Asia"), QColor(0xE6, 0xA9, 0xA4)},
        {Continent::India, QStringLiteral("India"), QColor(0xBD, 0xAB, 0xE0)},
        {Continent::Africa, QStringLiteral("Africa"), QColor(0xD6, 0xB2, 0x7C)},
        {Continent::Oceania, QStringLiteral("Oceania"), QColor(0x93, 0xC9, 0xAE)},
        {Continent::Antarctica, QStringLiteral("Antartide"), QColor(0xF4, 0xF6, 0xF7)},
    }};
    return looks;
}

QColor colourOf(Continent c)
{
    for (const ContinentLook &look : continentLooks()) {
        if (look.continent == c)
            return look.colour;
    }
    return style::land(); // oceanic islands
}

// PALEOMAP numbers its plates by region (1xx North America, 2xx South America, 3xx Europe, 4xx
// and 6xx Asia, 5xx India and the Middle East, 7xx Africa, 8xx Australia, New Zealand and
// Antarctica, 9xx the ocean floor); the exceptions put each piece on today's continent.
Continent continentOf(const paleo::PaleoFeature &f)
{
    const int plate = f.plateId;
    switch (plate / 100) {
    case 1:
        return plate == 117 ? Continent::Asia : Continent::NorthAmerica; // 117: New Siberian Islands
    case 2:
        // the rest of 2xx is Central America and the Caribbean
        switch (plate) {
        case 201: case 202: case 203: case 290: case 291:
            return Continent::SouthAmerica;
        default:
            return Continent::NorthAmerica;
        }
    case 3:
        return Continent::Europe;
    case 4:
        // the Aleutians, and the north-east Siberian terranes where they reach into Alaska
        if (plate == 416 || (f.centre.x() > -175 && f.centre.x() < -130))
            return Continent::NorthAmerica;
        return Continent::Asia;
    case 5:
        return plate == 501 || plate == 502 ? Continent::India : Continent::Asia; // 502: Sri Lanka
    case 6:
        return plate == 675 || plate == 676 ? Continent::Oceania : Continent::Asia; // Solomons, New Britain
    case 7:
        return Continent::Africa;
    case 8:
        switch (plate) {
        case 802: case 803: case 804: case 805: case 811: case 812: case 895: case 896: case 897:
            return Continent::Antarctica;
        default:
            return Continent::Oceania;
        }
    default:
        return Continent::Islands;
    }
}

// Geological periods (International Chronostratigraphic Chart, 2023) by their lower bound in Ma.
QString periodOf(int age)
{
    struct Period {
        double from;
        const char *name;
    };
    static constexpr Period periods[] = {
        {2.58, "Quaternario"}, {23.03, "Neogene"}, {66.0, "Paleogene"}, {145.0, "Cretaceo"},
        {201.4, "Giurassico"}, {251.9, "Triassico"}, {298.9, "Permiano"}, {358.9, "Carbonifero"},
        {419.2, "Devoniano"}, {443.8, "Siluriano"}, {485.4, "Ordoviciano"}, {538.8, "Cambriano"},
    };
    for (const Period &p : periods) {
        if (age < p.from)
            return QString::fromUtf8(p.name);
    }
    return {};
}

// The model and the coastlines, read once for the whole sequence.
struct DriftData {
    paleo::RotationModel model;
    QList<paleo::PaleoFeature> features;
    QList<Continent> continents;
};

std::shared_ptr<const DriftData> driftData(PictureContext &ctx)
{
    static std::shared_ptr<const DriftData> cached;
    static QString cachedFolder;
    if (cached && cachedFolder == ctx.data().folder())
        return cached;
    auto data = std::make_shared<DriftData>();
    QString error;
    data->model = paleo::RotationModel::read(QDir(ctx.data().folder()).filePath(QStringLiteral("PALEOMAP_PlateModel.rot")),
                                             &error);
    if (data->model.isEmpty())
        throw GeoDataError(error.toStdString());
    data->features = paleo::paleoFeatures(ctx.data().geoJson(QStringLiteral("paleomap_coastlines.json")));
    for (const paleo::PaleoFeature &f : data->features)
        data->continents.append(continentOf(f));
    cached = data;
    cachedFolder = ctx.data().folder();
    return cached;
}

QString ageText(int age)
{
    if (age == 0)
        return QStringLiteral("Oggi");
    return QStringLiteral("%1 milioni di anni fa").arg(age);
}

// The name of a land mass written across it, light halo under dark letters.
void drawName(QPainter &p, const QPointF &centre, const QString &name)
{
    QFont font = style::font(25, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    const QFontMetricsF metrics(font);
    QPainterPath text;
    text.addText(centre - QPointF(metrics.horizontalAdvance(name) / 2, -metrics.capHeight() / 2), font, name);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(text, style::pen(style::withAlpha(style::paper(), 0.8), 5));
    p.fillPath(text, style::text());
    p.restore();
    drawnTexts::note(p, name, text.boundingRect(), font.pixelSize());
}

// Swatches and names in two centred rows, each column as wide as its longer name.
void drawLegend(QPainter &p, const QRectF &area)
{
    const auto &looks = continentLooks();
    constexpr int kColumns = 4;
    const int rows = int((looks.size() + kColumns - 1) / kColumns);
    const double swatch = 22;
    const double gap = 8;
    const double spacing = 26;
    const QFont font = style::font(19);
    const QFontMetricsF metrics(font);
    std::array<double, kColumns> widths{};
    for (size_t i = 0; i < looks.size(); ++i) {
        double &w = widths[i % kColumns];
        w = std::max(w, swatch + gap + metrics.horizontalAdvance(looks[i].name));
    }
    double total = spacing * (kColumns - 1);
    for (double w : widths)
        total += w;
    std::array<double, kColumns> lefts{};
    lefts[0] = area.center().x() - total / 2;
    for (int c = 1; c < kColumns; ++c)
        lefts[c] = lefts[c - 1] + widths[c - 1] + spacing;

    const double rowHeight = area.height() / rows;
    p.save();
    p.setFont(font);
    for (size_t i = 0; i < looks.size(); ++i) {
        const double top = area.top() + int(i / kColumns) * rowHeight;
        const QRectF cell(lefts[i % kColumns], top, widths[i % kColumns], rowHeight);
        const QRectF box(cell.left(), cell.center().y() - swatch / 2, swatch, swatch);
        p.setPen(style::pen(style::mix(style::outline(), style::ocean(), 0.35), 1.4));
        p.setBrush(looks[i].colour);
        p.drawRoundedRect(box, 5, 5);
        p.setPen(style::text());
        const QRectF written = p.boundingRect(cell.adjusted(swatch + gap, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, looks[i].name);
        p.drawText(written, Qt::AlignLeft | Qt::AlignVCenter, looks[i].name);
        drawnTexts::note(p, looks[i].name, written, font.pixelSize());
    }
    p.restore();
}

QImage drift(PictureContext &ctx, int age)
{
    const std::shared_ptr<const DriftData> data = driftData(ctx);
    const QSize size = pixelsForTwips(kWidthTwips, kHeightTwips);
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const double margin = 10;
    const QRectF header(margin + 4, 6, size.width() - 2 * margin - 8, 50);
    const Projection projection(Projection::Kind::Robinson, kCentralMeridian);
    const double mapWidth = size.width() - 2 * margin;
    const QRectF mapArea(margin, header.bottom() + 6, mapWidth,
                         mapWidth * projection.bounds().height() / projection.bounds().width());
    const QRectF legend(margin, mapArea.bottom() + 12, mapWidth, 66);

    // age and period
    p.setPen(style::text());
    p.setFont(style::font(27, QFont::Bold));
    p.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, ageText(age));
    drawnTexts::note(p, ageText(age), p.boundingRect(header, Qt::AlignLeft | Qt::AlignVCenter, ageText(age)), 27);
    p.setPen(style::textSoft());
    p.setFont(style::font(22));
    if (age > 0) {
        p.drawText(header, Qt::AlignRight | Qt::AlignVCenter, periodOf(age));
        drawnTexts::note(p, periodOf(age), p.boundingRect(header, Qt::AlignRight | Qt::AlignVCenter, periodOf(age)), 22);
    }

    const MapCanvas canvas(projection, mapArea);
    QImage map = newLayer(size);
    {
        QPainter m(&map);
        m.setRenderHint(QPainter::Antialiasing);
        m.fillPath(canvas.outline(), style::ocean());
        m.strokePath(canvas.graticule(30), style::pen(style::withAlpha(Qt::white, 0.45), 1.0));
        // the equator a little brighter: how far from it a continent lay is what its rocks record
        m.strokePath(canvas.lines({Ring{QPointF(kCentralMeridian - 180, 0), QPointF(kCentralMeridian + 179.999, 0)}}),
                     style::pen(style::withAlpha(Qt::white, 0.75), 1.4));

        QList<QList<GeoPolygon>> areas(int(Continent::Islands) + 1);
        QList<Ring> coasts;
        for (qsizetype i = 0; i < data->features.size(); ++i) {
            const paleo::PaleoFeature &f = data->features.at(i);
            if (!f.existsAt(age))
                continue;
            const std::optional<paleo::Quaternion> q = data->model.absolute(f.plateId, age);
            if (!q)
                continue; // a plate the model cannot place at this age stays off the map
            areas[int(data->continents.at(i))].append(paleo::rotate(*q, f.area));
            for (const Ring &coast : f.coasts)
                coasts.append(paleo::rotate(*q, coast));
        }
        // The coast is stroked twice as wide as it should look and then half covered by the land:
        // only its outer half stays, so the seams between the blocks a continent is made of vanish
        // under the fill and each continent keeps one clean outline.
        m.strokePath(canvas.lines(coasts), style::pen(style::mix(style::outline(), style::ocean(), 0.35), 2.2));
        for (qsizetype c = 0; c < areas.size(); ++c)
            m.fillPath(canvas.areas(areas.at(c)), colourOf(Continent(c)));
        m.end();
        canvas.cutToOutline(&map);
        QPainter b(&map);
        b.setRenderHint(QPainter::Antialiasing);
        b.strokePath(canvas.outline(), style::pen(style::withAlpha(style::outline(), 0.45), 1.4));
    }
    p.drawImage(0, 0, map);

    if (age <= kPangaeaFrom && age >= kPangaeaUntil) {
        if (const std::optional<paleo::Quaternion> q = data->model.absolute(kPangaeaAnchorPlate, age)) {
            const QPointF at = paleo::rotate(*q, kPangaeaAnchor);
            drawName(p, canvas.toPixel(at.x(), at.y()), QStringLiteral("PANGEA"));
        }
    }

    drawLegend(p, legend);

    CreditLook credit;
    credit.pixelSize = 14;
    credit.halo = false;
    drawCredit(p, QRectF(QPointF(0, 0), size), QStringLiteral("Dati: C. R. Scotese, PALEOMAP"), credit);
    return image;
}

} // namespace

void addDeriva(QList<Picture> *pictures)
{
    for (int k = 1; k <= kFrames; ++k) {
        const int age = kOldest - kStep * (k - 1);
        pictures->append({QStringLiteral("deriva/new-%1.jpg").arg(k),
                          QStringLiteral("deriva dei continenti: %1").arg(ageText(age).toLower()),
                          [age](PictureContext &ctx) { return drift(ctx, age); }});
    }
}

} // namespace disegni
