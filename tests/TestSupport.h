#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QWidget>

#include <functional>
#include <memory>

class Sessione;

// What every screen test needs: dialogs answered in advance, timers fired by hand, a fixed random seed,
// and a program folder of its own with a fresh course database in it.
namespace TestSupport {

// Scripted boxes, manual timers, a fixed seed, the end of the program recorded instead of done, print
// jobs recorded (on a scratch PDF) instead of the print dialog.
void prepara();
// How many times the program was asked to end since prepara().
int fineRichiesta();

// A folder laid out like the program's: immagini/altre/morvel6.mdb built from the course source, and
// the committed pictures. Picture lookup is rooted there while it lives, and no configuration file is
// read (XDG_CONFIG_HOME and XDG_CONFIG_DIRS point inside it).
class CartellaProgramma {
public:
    explicit CartellaProgramma(bool conArchivio = true, bool conImmagini = false);
    ~CartellaProgramma();
    QString percorso() const { return m_dir.path(); }
    QString archivio() const;  // the database file's path

private:
    QTemporaryDir m_dir;
};

// Opens the main menu over the folder as the program does, on a fresh session; true when the course
// database opened.
bool apriMenu();
// The session the screens of the last apriMenu() share (a fresh one before any).
Sessione& sessione();
// The exit code the program would have ended with when apriMenu() failed.
int codiceAvvio();
// Unloads every screen and starts a fresh session.
void chiudiTutto();

// The rows of "studenti" in the order they were stored, read straight from the file.
struct Riga {
    QString nome;
    QString argomento;
    int punteggio;
    int maxpunti;
};
QList<Riga> righeStudenti(const QString& databasePath);

// Stores into `tabella` are refused (as by a full disk) until the pupil has answered "Riprova" `volte`
// times: the answers are set in advance, and the cause goes away while the last refusal is on screen.
void rifiutaFinoARiprova(const QString& databasePath, const QString& tabella, int volte);
// How many "Riprova / Continua senza salvare" boxes were shown.
int richiesteDiRiprovare();

// For the benchmarks: the median of some timings, and this process's peak resident memory in MiB.
double median(QList<double> values);
double piccoMemoria();

// `rows` result rows of 600 pupils added to "studenti" in one transaction, for the benchmarks.
void riempiStudenti(QSqlDatabase db, int rows);

// With PLACCHE_FOTO set to a folder, saves what `widget` shows there as NAME.png, to look at it.
void fotografa(QWidget* widget, const QString& name);

// The lines the program writes on stderr while it lives.
class Stderr {
public:
    Stderr();
    ~Stderr();
    Stderr(const Stderr&) = delete;
    Stderr& operator=(const Stderr&) = delete;
    // The lines written since the last call.
    QStringList righe();

private:
    QTemporaryFile m_file;
    int m_saved = -1;
    int m_lette = 0;
};

// Runs the event loop as the program's own does, asleep while there is nothing to do, for `ms`
// milliseconds or until `fatto` says so. (A loop that polls instead would keep one processor busy and
// take it from the helper threads that prepare the pictures.)
void gira(int ms, const std::function<bool()>& fatto = {});

}  // namespace TestSupport
