// Makes the program's icon in the sizes desktops look for, from the one large picture:
//   icona PICTURE.png OUTPUT_FOLDER NAME
// writes OUTPUT_FOLDER/NxN/apps/NAME.png, the layout of the hicolor icon theme.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 4) {
        err << "uso: icona IMMAGINE.png CARTELLA NOME\n";
        return 2;
    }
    const QImage picture(args.at(1));
    if (picture.isNull()) {
        err << "icona: non riesco a leggere " << args.at(1) << "\n";
        return 1;
    }
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.at(2)).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, args.at(3));
        const QImage icon = picture.convertToFormat(QImage::Format_ARGB32)
                                .scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (!QDir().mkpath(folder) || !icon.save(file)) {
            err << "icona: non riesco a scrivere " << file << "\n";
            return 1;
        }
    }
    return 0;
}
