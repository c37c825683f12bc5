#include "app/Configurazione.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace Configurazione {

Archivio archivio()
{
    // The user's folder comes first in the list, then the system-wide ones, each honouring the XDG
    // environment variables.
    const QStringList cartelle = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    for (const QString& cartella : cartelle) {
        const QString ini = QDir(cartella).filePath(QStringLiteral("placche/placche.ini"));
        if (!QFileInfo(ini).isFile())
            continue;
        const QSettings settings(ini, QSettings::IniFormat);
        const QString file = settings.value(QStringLiteral("archivio/file")).toString().trimmed();
        if (file.isEmpty())
            continue;
        Archivio a;
        a.origine = ini;
        // A relative path would depend on the folder the program was started from.
        if (QDir::isRelativePath(file)) {
            a.errore = QStringLiteral("Il file di configurazione\n%1\nindica l'archivio del corso con un percorso "
                                      "incompleto:\n%2\n\nIl percorso deve cominciare con \"/\". Il programma non "
                                      "può partire: chiedi al tecnico della scuola di correggerlo.")
                           .arg(ini, file);
            return a;
        }
        a.file = QDir::cleanPath(file);
        return a;
    }
    return {};
}

QString mancante(const Archivio& archivio)
{
    if (archivio.file.isEmpty() || QFileInfo::exists(archivio.file))
        return {};
    return QStringLiteral("Non trovo l'archivio del corso:\n%1\n\nIl programma non può partire senza questo file, "
                          "indicato nel file di configurazione\n%2\nChiedi al tecnico della scuola di rimetterlo "
                          "al suo posto (una copia di sicurezza va bene).")
        .arg(archivio.file, archivio.origine);
}

}  // namespace Configurazione
