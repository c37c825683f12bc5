// An archive this computer cannot write, and a disk that fills up while a result is stored: the pupil is
// told (once at start-up, then at every store), the lessons go on, and the file keeps every earlier row. The
// program runs in a second process, as an ordinary user (file modes do not stop root) or under a file size limit.
#include "TestSupport.h"

#include "data/AggiornaCorso.h"
#include "data/CourseBuilder.h"
#include "data/Database.h"
#include "data/Recordset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

using data::Database;

namespace {
constexpr uid_t kNessuno = 65534;  // "nobody"

// An archive as the program leaves it after its first start, holding `righe` results.
QString preparaArchivio(const QString& cartella, int righe)
{
    const QString path = QDir(cartella).filePath(QStringLiteral("morvel6.mdb"));
    QString messaggio;
    if (data::CourseBuilder::build(QStringLiteral(PLACCHE_SORGENTE_CORSO), path, &messaggio) !=
        data::CourseBuilder::Outcome::Created)
        qFatal("%s", qPrintable(messaggio));
    auto db = Database::open(path, &messaggio);
    data::AggiornaCorso corso;
    if (!db || !corso.leggi(QStringLiteral(PLACCHE_SORGENTE_CORSO), &messaggio))
        qFatal("%s", qPrintable(messaggio));
    corso.aggiorna(db->connection());
    for (int i = 0; i < righe; ++i) {
        auto rs = db->OpenRecordset(QStringLiteral("studenti"));
        rs->AddNew();
        rs->setField(QStringLiteral("cognome e nome"), QStringLiteral("Prima Paola"));
        rs->setField(QStringLiteral("argomento"), QStringLiteral("prima %1").arg(i));
        rs->setField(QStringLiteral("punteggio"), i);
        rs->setField(QStringLiteral("maxpunti"), 10);
        if (!rs->Update())
            qFatal("%s", qPrintable(rs->errorText()));
    }
    return path;
}

// "argomento" of every row of "studenti", in stored order.
QStringList argomenti(const QString& path)
{
    QStringList righe;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("leggi"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(QStringLiteral(R"(SELECT "argomento" FROM "studenti" ORDER BY rowid)"), db);
        while (q.next())
            righe << q.value(0).toString().section(QLatin1Char(' '), 0, 1);
        QSqlQuery integrita(QStringLiteral("PRAGMA integrity_check"), db);
        if (!integrita.next() || integrita.value(0).toString() != QLatin1String("ok"))
            righe << QStringLiteral("FILE ROVINATO");
    }
    QSqlDatabase::removeDatabase(QStringLiteral("leggi"));
    return righe;
}

struct Uscita {
    QStringList scatole;  // message boxes, in order: "title|text"
    QStringList salvate;  // "pagina i" of each row the program said it stored
    int nonSalvate = 0;
    QString errori;
    bool finito = false;
};

Uscita avvia(QProcess& figlio, const QString& archivio, int righe)
{
    Uscita u;
    figlio.start(QStringLiteral(ALUNNO),
                 {QStringLiteral("avvio"), archivio, QStringLiteral(PLACCHE_SORGENTE_CORSO), QString::number(righe)});
    u.finito = figlio.waitForFinished(120000) && figlio.exitStatus() == QProcess::NormalExit && figlio.exitCode() == 0;
    u.errori = QString::fromUtf8(figlio.readAllStandardError());
    const QStringList linee = QString::fromUtf8(figlio.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& l : linee) {
        if (l.startsWith(QLatin1String("BOX ")))
            u.scatole << l.mid(4);
        else if (l.startsWith(QLatin1String("SALVATO ")))
            u.salvate << QStringLiteral("pagina ") + l.mid(8);
        else if (l.startsWith(QLatin1String("NON SALVATO ")))
            ++u.nonSalvate;
    }
    return u;
}
}  // namespace

class TestScritturaArchivio : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepara(); }

    // Read-only rows run as the pupil's account (not root, in no group of the file's); disk rows run until the file
    // reaches the largest size the process may write (as on a full disk or an exhausted quota).
    void storesRefused_data()
    {
        QTest::addColumn<int>("modoCartella");
        QTest::addColumn<int>("modoFile");
        QTest::addColumn<qint64>("margine");  // bytes the file may still grow; -1: no limit
        QTest::addColumn<int>("righe");
        QTest::addColumn<QString>("motivo");  // why a store is refused; empty: every store succeeds
        const QString sola = QStringLiteral("il file si può solo leggere");
        const QString pieno = QStringLiteral("il disco è pieno");
        QTest::newRow("file read-only") << 0755 << 0444 << qint64(-1) << 3 << sola;
        QTest::newRow("folder read-only, file writable") << 0755 << 0666 << qint64(-1) << 3 << sola;
        QTest::newRow("both writable") << 0777 << 0666 << qint64(-1) << 3 << QString();
        QTest::newRow("disk: no room at all") << 0700 << 0644 << qint64(0) << 120 << pieno;
        QTest::newRow("disk: part of a page") << 0700 << 0644 << qint64(3000) << 120 << pieno;
        QTest::newRow("disk: a few pages") << 0700 << 0644 << qint64(20000) << 120 << pieno;
    }
    void storesRefused()
    {
        QFETCH(int, modoCartella);
        QFETCH(int, modoFile);
        QFETCH(qint64, margine);
        QFETCH(int, righe);
        QFETCH(QString, motivo);
        QTemporaryDir base;
        const QString cartella = base.filePath(QStringLiteral("dati"));
        QDir().mkpath(cartella);
        const QString archivio = preparaArchivio(cartella, 5);
        const QStringList prima = argomenti(archivio);
        QCOMPARE(prima.size(), 5);
        QCOMPARE(::chmod(QFile::encodeName(base.path()).constData(), 0755), 0);
        QCOMPARE(::chmod(QFile::encodeName(cartella).constData(), mode_t(modoCartella)), 0);
        QCOMPARE(::chmod(QFile::encodeName(archivio).constData(), mode_t(modoFile)), 0);
        const rlim_t limite = rlim_t(QFileInfo(archivio).size() + margine);

        QProcess figlio;
        if (margine < 0) {
            figlio.setChildProcessModifier([] {
                if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNessuno) != 0 || ::setuid(kNessuno) != 0))
                    ::_exit(90);
            });
        } else {
            figlio.setChildProcessModifier([limite] {
                // Ignored, the signal turns into a refused write, which is what a full disk gives too.
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit r{limite, limite};
                if (::setrlimit(RLIMIT_FSIZE, &r) != 0)
                    ::_exit(91);
            });
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), base.path());
        figlio.setProcessEnvironment(env);
        const Uscita u = avvia(figlio, archivio, righe);
        QVERIFY2(u.finito, qPrintable(u.errori));
        if (::geteuid() == 0)
            QVERIFY2(!u.errori.contains(QLatin1String("Permission denied")), qPrintable(u.errori));
        QCOMPARE(u.salvate.size() + u.nonSalvate, righe);
        QCOMPARE(u.nonSalvate > 0, !motivo.isEmpty());
        QStringList scatole = u.scatole;
        if (margine < 0 && !motivo.isEmpty()) {
            // One message at start-up, then every store says it was not saved.
            QCOMPARE(u.nonSalvate, righe);
            const QString avvio = scatole.value(0);
            QVERIFY2(avvio.contains(QLatin1String("NON verranno salvati")) && avvio.contains(QLatin1String("insegnante")) &&
                         avvio.contains(QDir::toNativeSeparators(archivio)),
                     qPrintable(avvio));
            scatole.removeFirst();
        }
        QCOMPARE(scatole.size(), u.nonSalvate);
        for (const QString& scatola : std::as_const(scatole))
            QVERIFY2(scatola.contains(QStringLiteral("NON è stato salvato")) && scatola.contains(motivo), qPrintable(scatola));

        // The file opens and holds every earlier row and every row said to be stored, nothing else.
        QString errore;
        QVERIFY2(Database::open(archivio, &errore), qPrintable(errore));
        QCOMPARE(argomenti(archivio), prima + u.salvate);
        if (margine >= 0)
            QVERIFY(QFileInfo(archivio).size() <= qint64(limite));
    }
};

QTEST_MAIN(TestScritturaArchivio)
#include "TestScritturaArchivio.moc"
