#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>

#include <utility>

namespace data {

// Results that could not reach the classroom's server (network cut, server restarted) wait on this
// computer, in a small file of their own, until they can be sent. Each keeps the key it was made with,
// so the server stores it once however often it is sent.
class Coda {
public:
    using Riga = QVector<std::pair<QString, QVariant>>;
    // Rows of other tables that go with a result (its answers), stored with it or not at all.
    using Insieme = QVector<std::pair<QString, Riga>>;

    // The queue in the user's data folder ($XDG_DATA_HOME/placche, else ~/.local/share/placche).
    static QString percorsoPredefinito();
    explicit Coda(QString path = percorsoPredefinito());
    ~Coda();
    Coda(const Coda&) = delete;
    Coda& operator=(const Coda&) = delete;

    // Keeps one result for `table`; durable when it returns true. False with an Italian reason.
    bool aggiungi(const QString& table, const QString& chiave, const Riga& riga, QString* errore,
                  const Insieme& insieme = {});
    // How many results wait; 0 also when there is no queue file.
    int quanti();
    // Sends the waiting results to `server`, oldest first, each in a transaction of its own, and forgets
    // each once the server has it. Stops when the server cannot be reached; a result the server refuses
    // for good is set aside in the file (table "non_accettati") and the rest go on. Returns how many went.
    int invia(QSqlDatabase server, QString* errore);

private:
    bool apri(bool crea, QString* errore);
    // Moves result `n` to the results the server refused, which stay in the file.
    bool metteDaParte(qint64 n, const QString& motivo, QString* errore);

    QString m_path;
    QString m_connectionName;
};

}  // namespace data
