#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QHash>

#include <cmath>

namespace ui::Fonts {

QString faceFor(const QString& designFamily)
{
    static const QHash<QString, QString> twins = {
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("ms sans serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
    };
    const QString face = twins.value(designFamily.toLower(), QStringLiteral("Liberation Sans"));
    if (QFontDatabase::hasFamily(face))
        return face;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont font(const FontSpec& design, double pixelsPerPoint)
{
    QFont f(faceFor(design.family));
    f.setPixelSize(std::max(1, int(std::lround(design.points * pixelsPerPoint))));
    f.setBold(design.bold);
    f.setItalic(design.italic);
    f.setStyleHint(design.family.contains(QLatin1String("Times"), Qt::CaseInsensitive) ? QFont::Serif
                                                                                         : QFont::SansSerif);
    return f;
}

}  // namespace ui::Fonts
