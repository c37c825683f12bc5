#include "Style.h"

#include <QFontInfo>
#include <QHash>

#include <algorithm>

namespace disegni::style {

QColor ocean() { return QColor(0xA7, 0xCB, 0xE0); }
QColor oceanDeep() { return QColor(0x86, 0xB1, 0xCE); }
QColor oceanShelf() { return QColor(0xC4, 0xDF, 0xEC); }
QColor land() { return QColor(0xE9, 0xDD, 0xC0); }
QColor landGreen() { return QColor(0xCC, 0xDB, 0xAE); }
QColor ice() { return QColor(0xF4, 0xF7, 0xF9); }
QColor outline() { return QColor(0x3B, 0x4A, 0x5A); }
QColor text() { return QColor(0x2B, 0x35, 0x40); }
QColor textSoft() { return QColor(0x5C, 0x68, 0x74); }
QColor credit() { return QColor(0x80, 0x86, 0x8C); }
QColor paper() { return QColor(0xFB, 0xF7, 0xEE); }

QColor ridge() { return QColor(0xC8, 0x5A, 0x3C); }
QColor trench() { return QColor(0x3D, 0x5A, 0x8C); }
QColor transform() { return QColor(0x5E, 0x8C, 0x4E); }

QColor plate(const QString &key)
{
    // Neighbours differ in hue; all share the same light, low-saturation band.
    static const QHash<QString, QColor> colours = {
        {QStringLiteral("PA"), QColor(0xC6, 0xD6, 0xEC)}, // periwinkle
        {QStringLiteral("NA"), QColor(0xF1, 0xD6, 0xAE)}, // apricot
        {QStringLiteral("SA"), QColor(0xCE, 0xE2, 0xB6)}, // sage
        {QStringLiteral("EU"), QColor(0xEE, 0xE4, 0xB0)}, // straw
        {QStringLiteral("AF"), QColor(0xF2, 0xC9, 0xB4)}, // peach
        {QStringLiteral("SO"), QColor(0xE4, 0xD2, 0xEA)}, // lilac
        {QStringLiteral("AU"), QColor(0xF3, 0xD0, 0xD8)}, // rose
        {QStringLiteral("AN"), QColor(0xDA, 0xE6, 0xEA)}, // ice grey
        {QStringLiteral("NZ"), QColor(0xF2, 0xE2, 0xA8)}, // butter
        {QStringLiteral("AR"), QColor(0xCF, 0xE6, 0xD6)}, // mint
        {QStringLiteral("PS"), QColor(0xD9, 0xCF, 0xEC)}, // lavender
        {QStringLiteral("CA"), QColor(0xBF, 0xE2, 0xDE)}, // aqua
        {QStringLiteral("CO"), QColor(0xEA, 0xCF, 0xE4)}, // orchid
        {QStringLiteral("JF"), QColor(0xCB, 0xE3, 0xC4)}, // pale green
        {QStringLiteral("SC"), QColor(0xE8, 0xD0, 0xDF)}, // mauve
    };
    return colours.value(key, QColor(0xE2, 0xE2, 0xDC));
}

QColor mix(const QColor &a, const QColor &b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    const auto lerp = [t](double x, double y) { return x + (y - x) * t; };
    return QColor::fromRgbF(lerp(a.redF(), b.redF()), lerp(a.greenF(), b.greenF()),
                            lerp(a.blueF(), b.blueF()), lerp(a.alphaF(), b.alphaF()));
}

QColor withAlpha(QColor c, double alpha)
{
    c.setAlphaF(std::clamp(alpha, 0.0, 1.0));
    return c;
}

QFont font(double pixelSize, int weight)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, qRound(pixelSize)));
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QString resolvedFamily()
{
    return QFontInfo(font(20)).family();
}

QPen pen(const QColor &colour, double width)
{
    QPen p(colour, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

} // namespace disegni::style
