#include "app/Configurazione.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace Configurazione {

namespace {
Archivio server(const QSettings& settings, const QString& ini)
{
    Archivio a;
    a.origine = ini;
    QStringList parole;
    const std::pair<const char*, const char*> chiavi[] = {
        {"servizio", "servizio"}, {"host", "host"}, {"porta", "porta"},
        {"database", "database"}, {"utente", "utente"}, {"sslmode", "sslmode"}, {"password", "password"}};
    for (const auto& [chiave, nome] : chiavi) {
        const QString valore = settings.value(QStringLiteral("archivio/") + QLatin1String(chiave)).toString().trimmed();
        if (!valore.isEmpty())
            parole << QLatin1String(nome) + QLatin1Char('=') + valore;
    }
    data::Server server;
    QString problema;
    if (!data::Server::leggi(parole.join(QLatin1Char(' ')), &server, &problema)) {
        a.errore = QStringLiteral("Il file di configurazione\n%1\nindica male il server dei risultati: %2.\n\n"
                                  "Il programma non può partire: chiedi al tecnico della scuola di correggerlo.")
                       .arg(ini, problema);
        return a;
    }
    a.server = server;
    return a;
}
}  // namespace

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
        const QString tipo = settings.value(QStringLiteral("archivio/tipo")).toString().trimmed().toLower();
        if (tipo == QLatin1String("postgresql"))
            return server(settings, ini);
        if (!tipo.isEmpty() && tipo != QLatin1String("sqlite")) {
            Archivio a;
            a.origine = ini;
            a.errore = QStringLiteral("Il file di configurazione\n%1\nindica un tipo di archivio che non conosco: "
                                      "\"%2\".\n\nI tipi possibili sono \"sqlite\" (un file) e \"postgresql\" (il "
                                      "server della scuola). Il programma non può partire: chiedi al tecnico della "
                                      "scuola di correggerlo.")
                           .arg(ini, tipo);
            return a;
        }
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
