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
    // Asking the font database is a fontconfig query: every control asks again at every resize of the
    // window, so each answer is kept (controls live on the interface thread only).
    static QHash<QString, QString> answers;
    const QString face = twins.value(designFamily.toLower(), QStringLiteral("Liberation Sans"));
    auto it = answers.constFind(face);
    if (it == answers.constEnd())
        it = answers.insert(face, QFontDatabase::hasFamily(face) ? face
                                                                 : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    return it.value();
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
