#include "archive/AnalisiRisposte.h"

#include "data/Database.h"
#include "data/PupilNames.h"
#include "data/Risposte.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {
const auto kLeggi = QStringLiteral(R"(SELECT "chiave", "nome", "prova", "pagina", "testo", "giusta", "data" )"
                                   R"(FROM "risposte" WHERE "data" >= ? AND "data" <= ? ORDER BY %1)");
const auto kNomi = QStringLiteral(R"(SELECT DISTINCT "nome" FROM "risposte")");

QString giorno(const QDate& d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

// The place of a test in the program's order; unknown tests come last.
int posto(const QString& prova)
{
    for (int n = 1; n <= 6; ++n) {
        if (prova == data::Risposte::provaArgomento(n))
            return n;
        if (prova == data::Risposte::provaEtichette(n))
            return 10 + n;
    }
    if (prova == data::Risposte::kProvaSommativa)
        return 20;
    if (prova == data::Risposte::kProvaSintesi)
        return 21;
    return 100;
}

int colonnaDi(const QString& prova)
{
    for (int c = 0; c < AnalisiRisposte::kColonne; ++c)
        if (prova == AnalisiRisposte::provaColonna(c))
            return c;
    return -1;
}

// The answers of one stored result.
struct Risultato {
    QString alunno;  // folded name
    QString prova;
    int pagina = 0;
    int giuste = 0;
    int totale = 0;
    QDate data;
};
}  // namespace

AnalisiRisposte::Periodo AnalisiRisposte::Periodo::di(Tipo tipo, const QDate& oggi, const QDate& dal, const QDate& al)
{
    Periodo p;
    p.tipo = tipo;
    p.al = oggi;
    switch (tipo) {
    case Tipo::Oggi:
        p.dal = oggi;
        break;
    case Tipo::Settimana:
        p.dal = oggi.addDays(1 - oggi.dayOfWeek());
        break;
    case Tipo::AnnoScolastico:
        p.dal = QDate(oggi.month() >= 9 ? oggi.year() : oggi.year() - 1, 9, 1);
        break;
    case Tipo::Intervallo:
        p.dal = dal;
        p.al = al;
        if (p.dal.isValid() && p.al.isValid() && p.dal > p.al)
            std::swap(p.dal, p.al);
        break;
    }
    return p;
}

QString AnalisiRisposte::Periodo::descrizione() const
{
    switch (tipo) {
    case Tipo::Oggi:
        return QStringLiteral("oggi (%1)").arg(giorno(al));
    case Tipo::Settimana:
        return QStringLiteral("questa settimana (dal %1 al %2)").arg(giorno(dal), giorno(al));
    case Tipo::AnnoScolastico:
        return QStringLiteral("quest'anno scolastico (dal %1 al %2)").arg(giorno(dal), giorno(al));
    case Tipo::Intervallo:
        break;
    }
    return QStringLiteral("dal %1 al %2").arg(giorno(dal), giorno(al));
}

QString AnalisiRisposte::Filtro::descrizione() const
{
    return QStringLiteral("Periodo: %1 - Alunni: %2")
        .arg(periodo.descrizione(), alunno ? *alunno : QStringLiteral("tutti"));
}

QString AnalisiRisposte::titoloColonna(int colonna)
{
    if (colonna >= 0 && colonna < 6)
        return QStringLiteral("Arg. %1").arg(colonna + 1);
    return colonna == kSommativa ? QStringLiteral("Sommativo") : QStringLiteral("Sintesi");
}

QString AnalisiRisposte::provaColonna(int colonna)
{
    if (colonna >= 0 && colonna < 6)
        return data::Risposte::provaArgomento(colonna + 1);
    return colonna == kSommativa ? data::Risposte::kProvaSommativa : data::Risposte::kProvaSintesi;
}

QString AnalisiRisposte::nomeProva(const QString& prova)
{
    for (int n = 1; n <= 6; ++n) {
        if (prova == data::Risposte::provaArgomento(n))
            return QStringLiteral("Argomento %1 (questionario)").arg(n);
        if (prova == data::Risposte::provaEtichette(n))
            return QStringLiteral("Argomento %1 (immagine)").arg(n);
    }
    if (prova == data::Risposte::kProvaSommativa)
        return QStringLiteral("Test sommativo");
    if (prova == data::Risposte::kProvaSintesi)
        return QStringLiteral("Sintesi animata");
    return prova;
}

bool AnalisiRisposte::carica(QSqlDatabase db, const Filtro& filtro, QString* errore)
{
    m_affermazioni.clear();
    m_griglia.clear();
    m_prove.clear();
    m_lette = 0;
    if (!data::Risposte::esiste(db))
        return true;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(kLeggi.arg(data::Risposte::ordine(db)))) {
        if (errore)
            *errore = data::Database::describe(query.lastError());
        return false;
    }
    query.addBindValue(filtro.periodo.dal.isValid() ? filtro.periodo.dal : QDate(1, 1, 1));
    query.addBindValue(filtro.periodo.al.isValid() ? filtro.periodo.al : QDate(9999, 12, 31));
    if (!query.exec()) {
        if (errore)
            *errore = data::Database::describe(query.lastError());
        return false;
    }
    const QString scelto = filtro.alunno ? data::PupilNames::key(*filtro.alunno) : QString();

    QHash<QString, QString> nomi;  // folded name -> as first written
    QHash<QString, int> indiceRisultato;
    QVector<Risultato> risultati;
    // Per test, per statement, per pupil: whether the pupil's latest answer was right.
    QHash<QString, QHash<QString, QHash<QString, bool>>> ultime;
    while (query.next()) {
        const QString nome = query.value(1).toString();
        const QString alunno = data::PupilNames::key(nome);
        if (filtro.alunno && alunno != scelto)
            continue;
        ++m_lette;
        if (!nomi.contains(alunno))
            nomi.insert(alunno, nome);
        const QString chiave = query.value(0).toString();
        const QString prova = query.value(2).toString();
        const int pagina = query.value(3).toInt();
        const bool giusta = query.value(5).toInt() != 0;
        ultime[prova][query.value(4).toString()].insert(alunno, giusta);

        auto it = indiceRisultato.find(chiave);
        if (it == indiceRisultato.end()) {
            QVariant d = query.value(6);
            QDate data = d.metaType().id() == QMetaType::QDate ? d.toDate()
                                                                : QDate::fromString(d.toString().left(10), Qt::ISODate);
            it = indiceRisultato.insert(chiave, int(risultati.size()));
            risultati.append({alunno, prova, pagina, 0, 0, data});
        }
        Risultato& r = risultati[*it];
        r.pagina = std::min(r.pagina, pagina);
        r.giuste += giusta ? 1 : 0;
        ++r.totale;
    }

    for (auto p = ultime.cbegin(); p != ultime.cend(); ++p) {
        QVector<Affermazione> elenco;
        for (auto a = p.value().cbegin(); a != p.value().cend(); ++a) {
            Affermazione af{a.key(), int(a.value().size()), 0};
            for (bool g : a.value())
                af.giuste += g ? 1 : 0;
            elenco.append(af);
        }
        std::sort(elenco.begin(), elenco.end(), [](const Affermazione& x, const Affermazione& y) {
            // Compared as fractions, exactly: x.giuste / x.alunni < y.giuste / y.alunni.
            const qint64 lx = qint64(x.giuste) * y.alunni;
            const qint64 ly = qint64(y.giuste) * x.alunni;
            if (lx != ly)
                return lx < ly;
            if (x.alunni != y.alunni)
                return x.alunni > y.alunni;
            return x.testo < y.testo;
        });
        m_affermazioni.insert(p.key(), elenco);
        m_prove.append(p.key());
    }
    std::sort(m_prove.begin(), m_prove.end(), [](const QString& a, const QString& b) {
        const int pa = posto(a);
        const int pb = posto(b);
        return pa != pb ? pa < pb : a < b;
    });

    QHash<QString, int> riga;
    for (const Risultato& r : std::as_const(risultati)) {
        const int c = colonnaDi(r.prova);
        if (c < 0)
            continue;
        auto it = riga.find(r.alunno);
        if (it == riga.end()) {
            it = riga.insert(r.alunno, int(m_griglia.size()));
            m_griglia.append({nomi.value(r.alunno), {}});
        }
        Cella& cella = m_griglia[*it].celle[c];
        // A topic's questionnaire is stored page by page: its first page starts a new run.
        if (c >= kSommativa || r.pagina <= 1 || cella.vuota())
            cella = {};
        cella.giuste += r.giuste;
        cella.totale += r.totale;
        cella.data = r.data;
    }
    std::sort(m_griglia.begin(), m_griglia.end(), [](const Alunno& a, const Alunno& b) {
        const int c = QString::localeAwareCompare(a.nome, b.nome);
        return c != 0 ? c < 0 : a.nome < b.nome;
    });
    return true;
}

QStringList AnalisiRisposte::prove() const
{
    return m_prove;
}

QVector<AnalisiRisposte::Affermazione> AnalisiRisposte::affermazioni(const QString& prova) const
{
    return m_affermazioni.value(prova);
}

QVector<AnalisiRisposte::Alunno> AnalisiRisposte::griglia() const
{
    return m_griglia;
}

QStringList AnalisiRisposte::alunni(QSqlDatabase db, QString* errore)
{
    if (!data::Risposte::esiste(db))
        return {};
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(kNomi)) {
        if (errore)
            *errore = data::Database::describe(query.lastError());
        return {};
    }
    QHash<QString, QString> nomi;
    while (query.next()) {
        const QString nome = query.value(0).toString();
        const QString k = data::PupilNames::key(nome);
        if (!nomi.contains(k) || nome < nomi.value(k))
            nomi.insert(k, nome);
    }
    QStringList out = nomi.values();
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        const int c = QString::localeAwareCompare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return out;
}
