// Draws the course's pictures into an output folder (by default the repository's immagini/),
// reading the geographic data sets from their shared folder. Running it again redraws them.

#include "Catalogue.h"
#include "GeoData.h"
#include "Output.h"
#include "Style.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

using namespace disegni;

int main(int argc, char **argv)
{
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("disegni"));

    const QDir repository(QStringLiteral(DISEGNI_REPOSITORY));
    const QString defaultGeo = QDir::cleanPath(repository.filePath(QStringLiteral("../shared/geo")));
    const QString defaultOut = QDir::cleanPath(repository.filePath(QStringLiteral("immagini")));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Disegna le immagini del corso sulle placche."));
    parser.addHelpOption();
    const QCommandLineOption geoOption(
        {QStringLiteral("g"), QStringLiteral("geo")},
        QStringLiteral("Cartella dei dati geografici (predefinita: %1).").arg(defaultGeo), QStringLiteral("cartella"),
        defaultGeo);
    const QCommandLineOption outOption(
        {QStringLiteral("o"), QStringLiteral("out")},
        QStringLiteral("Cartella in cui scrivere le immagini (predefinita: %1).").arg(defaultOut), QStringLiteral("cartella"),
        defaultOut);
    const QCommandLineOption listOption({QStringLiteral("l"), QStringLiteral("elenco")},
                                        QStringLiteral("Elenca le immagini senza disegnarle."));
    parser.addOption(geoOption);
    parser.addOption(outOption);
    parser.addOption(listOption);
    parser.addPositionalArgument(QStringLiteral("immagini"),
                                 QStringLiteral("Solo queste immagini (percorso o nome del file, es. altre/scelta.jpg o scelta)."),
                                 QStringLiteral("[immagini...]"));
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QList<Picture> all = catalogue();

    if (parser.isSet(listOption)) {
        for (const Picture &p : all)
            out << p.path << "\t" << p.description << Qt::endl;
        return 0;
    }

    const QStringList wanted = parser.positionalArguments();
    const auto chosen = [&wanted](const Picture &p) {
        if (wanted.isEmpty())
            return true;
        const QString base = QFileInfo(p.path).completeBaseName();
        for (const QString &w : wanted) {
            if (p.path.compare(w, Qt::CaseInsensitive) == 0 || base.compare(w, Qt::CaseInsensitive) == 0
                || QFileInfo(p.path).fileName().compare(w, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    };

    if (style::resolvedFamily() != QLatin1String("Liberation Sans"))
        err << "attenzione: manca il carattere Liberation Sans, uso " << style::resolvedFamily() << Qt::endl;

    GeoData data(parser.value(geoOption));
    if (!data.available())
        err << "attenzione: nessun dato geografico in " << data.folder() << Qt::endl;
    PictureContext context(data);
    const QDir outDir(parser.value(outOption));

    int drawn = 0;
    int failed = 0;
    for (const Picture &p : all) {
        if (!chosen(p))
            continue;
        QElapsedTimer timer;
        timer.start();
        try {
            const QImage image = p.draw(context);
            QString error;
            if (!savePicture(image, outDir.filePath(p.path), &error)) {
                err << error << Qt::endl;
                ++failed;
                continue;
            }
            out << p.path << "  " << image.width() << "x" << image.height() << "  " << timer.elapsed() << " ms"
                << Qt::endl;
            ++drawn;
        } catch (const GeoDataError &e) {
            err << p.path << ": " << e.what() << Qt::endl;
            ++failed;
        }
    }
    if (drawn == 0 && failed == 0) {
        err << "nessuna immagine corrisponde a: " << wanted.join(QLatin1Char(' ')) << Qt::endl;
        return 2;
    }
    return failed == 0 ? 0 : 1;
}
