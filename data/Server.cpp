#include "data/Server.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

namespace data {

namespace {
// Values go into libpq's "key=value" connection string: only characters that need no quoting there.
bool semplice(const QString& value)
{
    static const QRegularExpression ok(QStringLiteral("^[A-Za-z0-9_.:/@+\\-]*$"));
    return ok.match(value).hasMatch();
}

const QStringList kSslModes{QStringLiteral("disable"), QStringLiteral("allow"), QStringLiteral("prefer"),
                            QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
}  // namespace

QString Server::nome() const
{
    if (!servizio.isEmpty())
        return QStringLiteral("servizio \"%1\"").arg(servizio);
    QString dove = host.isEmpty() ? QStringLiteral("questo computer") : host;
    if (porta > 0)
        dove += QStringLiteral(":%1").arg(porta);
    return database.isEmpty() ? QStringLiteral("server %1").arg(dove)
                              : QStringLiteral("server %1, banca dati \"%2\"").arg(dove, database);
}

QString Server::problema() const
{
    const std::pair<QString, QString> valori[] = {
        {QStringLiteral("servizio"), servizio}, {QStringLiteral("host"), host},
        {QStringLiteral("database"), database}, {QStringLiteral("utente"), utente}};
    for (const auto& [chiave, valore] : valori)
        if (!semplice(valore))
            return QStringLiteral("il valore di \"%1\" contiene spazi o segni che non può contenere").arg(chiave);
    if (!sslmode.isEmpty() && !kSslModes.contains(sslmode))
        return QStringLiteral("\"sslmode\" deve essere uno di: %1").arg(kSslModes.join(QStringLiteral(", ")));
    if (porta < 0 || porta > 65535)
        return QStringLiteral("la porta deve essere un numero da 1 a 65535");
    if (servizio.isEmpty() && database.isEmpty())
        return QStringLiteral("manca \"servizio\" oppure \"database\"");
    return {};
}

QString Server::opzioni() const
{
    // connect_timeout: a server that does not answer is reported within seconds, not after minutes.
    QStringList o{QStringLiteral("connect_timeout=5"), QStringLiteral("application_name=placche")};
    if (!servizio.isEmpty())
        o << QStringLiteral("service=%1").arg(servizio);
    if (!sslmode.isEmpty())
        o << QStringLiteral("sslmode=%1").arg(sslmode);
    return o.join(QLatin1Char(';'));
}

void Server::configura(QSqlDatabase& db) const
{
    if (!host.isEmpty())
        db.setHostName(host);
    if (porta > 0)
        db.setPort(porta);
    if (!database.isEmpty())
        db.setDatabaseName(database);
    if (!utente.isEmpty())
        db.setUserName(utente);
    db.setConnectOptions(opzioni());
}

bool Server::leggi(const QString& testo, Server* server, QString* errore)
{
    *server = Server();
    const QString t = testo.trimmed();
    if (t.startsWith(QLatin1String("postgresql://")) || t.startsWith(QLatin1String("postgres://"))) {
        const QUrl url(t);
        if (!url.isValid() || !url.password().isEmpty()) {
            *errore = url.isValid() ? QStringLiteral("la password non va scritta nell'indirizzo: mettila nel file .pgpass")
                                    : QStringLiteral("l'indirizzo del server non è valido");
            return false;
        }
        server->host = url.host();
        server->porta = url.port(0);
        server->database = url.path().mid(1);
        server->utente = url.userName();
        server->sslmode = QUrlQuery(url).queryItemValue(QStringLiteral("sslmode"));
    } else {
        for (const QString& parola : t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            const int uguale = parola.indexOf(QLatin1Char('='));
            const QString chiave = parola.left(uguale).toLower();
            const QString valore = parola.mid(uguale + 1);
            if (uguale <= 0) {
                *errore = QStringLiteral("non capisco \"%1\": scrivi chiave=valore").arg(parola);
                return false;
            }
            if (chiave == QLatin1String("servizio") || chiave == QLatin1String("service"))
                server->servizio = valore;
            else if (chiave == QLatin1String("host"))
                server->host = valore;
            else if (chiave == QLatin1String("porta") || chiave == QLatin1String("port")) {
                bool ok = false;
                server->porta = valore.toInt(&ok);
                if (!ok)
                    server->porta = -1;
            } else if (chiave == QLatin1String("database") || chiave == QLatin1String("dbname"))
                server->database = valore;
            else if (chiave == QLatin1String("utente") || chiave == QLatin1String("user"))
                server->utente = valore;
            else if (chiave == QLatin1String("sslmode"))
                server->sslmode = valore;
            else if (chiave == QLatin1String("password")) {
                *errore = QStringLiteral("la password non va scritta qui: mettila nel file .pgpass");
                return false;
            } else {
                *errore = QStringLiteral("non conosco la chiave \"%1\"").arg(chiave);
                return false;
            }
        }
    }
    *errore = server->problema();
    return errore->isEmpty();
}

}  // namespace data
