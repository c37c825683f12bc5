#include "TestSupport.h"

#include "app/Avvio.h"
#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "animation/Fsintesi.h"
#include "data/CourseBuilder.h"
#include "ui/Application.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/Pictures.h"
#include "ui/Printer.h"
#include "ui/Random.h"
#include "ui/Screens.h"
#include "ui/Timer.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace TestSupport {

namespace {
int g_fine = 0;
int g_codiceAvvio = 0;
std::unique_ptr<ui::Window> g_window;
std::unique_ptr<Sessione> g_sessione = std::make_unique<Sessione>();

void copiaAlbero(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(file, target);
    }
}

void eseguiSu(const QString& databasePath, const QString& statement)
{
    Connessione c(QStringLiteral("QSQLITE"), databasePath);
    c.db.open();
    if (!QSqlQuery(c.db).exec(statement))
        qFatal("%s", qPrintable(statement));
}
}  // namespace

void prepara()
{
    ui::MessageBox::setScripted(true);
    ui::FileDialog::setScripted(true);
    ui::FileDialog::clear();
    ui::MessageBox::clear();
    ui::Timer::setManual(true);
    ui::Random::setFixedSeed(12345u);
    g_fine = 0;
    ui::Application::setEndHandler([](int) { ++g_fine; });
    ui::Printer::setRecording(true);
    ui::Printer::clearJobs();
}

int fineRichiesta()
{
    return g_fine;
}

CartellaProgramma::CartellaProgramma(bool conArchivio, bool conImmagini)
{
    QDir(m_dir.path()).mkpath(QStringLiteral("immagini/altre"));
    if (conImmagini)
        copiaAlbero(QStringLiteral(PLACCHE_SORGENTE "/immagini"), m_dir.path() + QStringLiteral("/immagini"));
    if (conArchivio) {
        QString message;
        const auto outcome = data::CourseBuilder::build(QStringLiteral(PLACCHE_SORGENTE_CORSO), archivio(), &message);
        if (outcome != data::CourseBuilder::Outcome::Created)
            qFatal("course database not built: %s", qPrintable(message));
    }
    ui::Pictures::setRoot(m_dir.path());
    // An installed program's configuration would send the screens to its archive.
    const QByteArray nessuna = (m_dir.path() + QStringLiteral("/nessuna-configurazione")).toUtf8();
    qputenv("XDG_CONFIG_HOME", nessuna);
    qputenv("XDG_CONFIG_DIRS", nessuna);
    // Results waiting for a server stay here too.
    qputenv("XDG_DATA_HOME", (m_dir.path() + QStringLiteral("/dati-utente")).toUtf8());
}

CartellaProgramma::~CartellaProgramma()
{
    chiudiTutto();
    ui::Pictures::setRoot({});
}

bool apriMenu()
{
    chiudiTutto();
    g_window = Avvio::prepara(*g_sessione, &g_codiceAvvio);
    if (g_window) {
        g_window->resize(800, 600);
        g_window->show();
    }
    return g_window != nullptr;
}

Fscelt* menu()
{
    return qobject_cast<Fscelt*>(ui::Screens::instance().find(QStringLiteral("Fscelt")));
}

void secondi(Fsintesi* f, int n)
{
    for (int i = 0; i < n; ++i) {
        const bool serie = f->Timer1->isEnabled();
        if (f->Timer2->isEnabled())
            f->Timer2->fire();
        if (serie)
            f->Timer1->fire();
    }
}

int codiceAvvio()
{
    return g_codiceAvvio;
}

void chiudiTutto()
{
    ui::Screens::instance().reset();
    ui::Screens::instance().setWindow(nullptr);
    g_window.reset();
    g_sessione = std::make_unique<Sessione>();
}

Sessione& sessione()
{
    return *g_sessione;
}

Connessione::Connessione(const QString& driver, const QString& file)
    : db(QSqlDatabase::addDatabase(driver, QStringLiteral("di-prova")))
{
    if (!file.isEmpty())
        db.setDatabaseName(file);
}

Connessione::~Connessione()
{
    db = {};
    QSqlDatabase::removeDatabase(QStringLiteral("di-prova"));
}

QList<Riga> righeStudenti(const QString& databasePath)
{
    Connessione c(QStringLiteral("QSQLITE"), databasePath);
    c.db.open();
    QSqlQuery q(QStringLiteral(R"(SELECT "cognome e nome", "argomento", "punteggio", "maxpunti" FROM "studenti" ORDER BY rowid)"),
                c.db);
    QList<Riga> righe;
    while (q.next())
        righe.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toInt(), q.value(3).toInt()});
    return righe;
}

void rifiutaFinoARiprova(const QString& databasePath, const QString& tabella, int volte)
{
    eseguiSu(databasePath, QStringLiteral(R"(CREATE TRIGGER "rifiuta" BEFORE INSERT ON "%1" )"
                                          R"(BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END)")
                               .arg(tabella));
    for (int i = 0; i < volte; ++i)
        ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerRetry);
    auto viste = std::make_shared<int>(0);
    ui::MessageBox::setOnShown([=](const ui::MessageBox::Shown& box) {
        if (box.buttons == ui::MessageBox::RetryContinue && ++*viste == volte)
            eseguiSu(databasePath, QStringLiteral(R"(DROP TRIGGER "rifiuta")"));
    });
}

int richiesteDiRiprovare()
{
    return int(std::ranges::count_if(ui::MessageBox::shown(),
                                     [](const auto& box) { return box.buttons == ui::MessageBox::RetryContinue; }));
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double piccoMemoria()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

void riempiStudenti(QSqlDatabase db, int rows)
{
    db.transaction();
    {
        QSqlQuery q(db);
        q.prepare(QStringLiteral(R"(INSERT INTO "studenti" ("cognome e nome", "argomento", "punteggio", "maxpunti") VALUES (?, ?, ?, 10))"));
        for (int i = 0; i < rows; ++i) {
            q.addBindValue(QStringLiteral("Alunno numero %1").arg(i % 600));
            q.addBindValue(QStringLiteral("Il margine distruttivo e la subduzione"));
            q.addBindValue(i % 11);
            q.exec();
        }
    }
    db.commit();
}

void fotografa(QWidget* widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("PLACCHE_FOTO");
    if (folder.isEmpty() || !widget)
        return;
    QDir().mkpath(folder);
    widget->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

Stderr::Stderr()
{
    m_file.open();
    std::fflush(stderr);
    m_saved = dup(2);
    dup2(m_file.handle(), 2);
}

Stderr::~Stderr()
{
    std::fflush(stderr);
    dup2(m_saved, 2);
    close(m_saved);
}

QStringList Stderr::righe()
{
    std::fflush(stderr);
    QFile f(m_file.fileName());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QStringList all = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return all.mid(std::exchange(m_lette, int(all.size())));
}

void gira(int ms, const std::function<bool()>& fatto)
{
    QElapsedTimer trascorso;
    trascorso.start();
    // Wakes the wait at the end even when nothing else happens.
    QTimer sveglia;
    sveglia.setSingleShot(true);
    sveglia.setTimerType(Qt::PreciseTimer);
    sveglia.start(ms);
    while (trascorso.elapsed() < ms && !(fatto && fatto()))
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace TestSupport
