// Builds the course database from its readable source, only when the file does not exist yet.
//   creadb FOLDER_OF_SOURCE DATABASE_FILE
#include "data/CourseBuilder.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "uso: creadb CARTELLA_SORGENTE FILE_ARCHIVIO\n";
        return 2;
    }
    QString message;
    const auto outcome = data::CourseBuilder::build(args.at(1), args.at(2), &message);
    if (outcome == data::CourseBuilder::Outcome::Failed) {
        err << "creadb: " << message << "\n";
        return 1;
    }
    QTextStream(stdout) << message << "\n";
    return 0;
}
