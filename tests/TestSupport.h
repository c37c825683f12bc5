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

class Fscelt;
class Fsintesi;
class Sessione;

namespace TestSupport {

// Scripted boxes, manual timers, a fixed seed, the program's end and its print jobs recorded.
void prepara();
// How many times the program was asked to end since prepara().
int fineRichiesta();

// A folder laid out like the program's, with the course database built from the source (and the pictures
// on request). Pictures are looked up there while it lives, and no configuration of this PC is read.
class CartellaProgramma {
public:
    explicit CartellaProgramma(bool conArchivio = true, bool conImmagini = false);
    ~CartellaProgramma();
    QString percorso() const { return m_dir.path(); }
    QString archivio() const { return m_dir.filePath(QStringLiteral("immagini/altre/morvel6.mdb")); }

private:
    QTemporaryDir m_dir;
};

// Opens the main menu as the program does, on a fresh session; true when the course database opened.
bool apriMenu();
// The main menu, while it is open.
Fscelt* menu();
// `n` seconds of the synthesis: each the close-up's clock, then the series' if it was running before.
void secondi(Fsintesi* f, int n);
// The session the screens of the last apriMenu() share (a fresh one before any).
Sessione& sessione();
// The exit code the program would have ended with when apriMenu() failed.
int codiceAvvio();
// Unloads every screen and starts a fresh session.
void chiudiTutto();

// A connection of a helper's own, beside the program's, removed when it ends.
struct Connessione {
    explicit Connessione(const QString& driver, const QString& file = {});
    ~Connessione();
    QSqlDatabase db;
};

// The rows of "studenti" in the order they were stored, read straight from the file.
struct Riga {
    QString nome;
    QString argomento;
    int punteggio;
    int maxpunti;
};
QList<Riga> righeStudenti(const QString& databasePath);

// Stores into `tabella` are refused (as by a full disk) until the pupil has answered "Riprova" `volte`
// times; the cause goes away while the last refusal is on screen.
void rifiutaFinoARiprova(const QString& databasePath, const QString& tabella, int volte);
// How many "Riprova / Continua senza salvare" boxes were shown.
int richiesteDiRiprovare();

// For the benchmarks: the median of some timings, this process's peak memory in MiB, and `rows` rows
// of 600 pupils added to "studenti" in one transaction.
double median(QList<double> values);
double piccoMemoria();
void riempiStudenti(QSqlDatabase db, int rows);

// With PLACCHE_FOTO set to a folder, saves what `widget` shows there as NAME.png.
void fotografa(QWidget* widget, const QString& name);

// The lines the program writes on stderr while it lives.
class Stderr {
public:
    Stderr();
    ~Stderr();
    // The lines written since the last call.
    QStringList righe();

private:
    QTemporaryFile m_file;
    int m_saved = -1;
    int m_lette = 0;
};

// Runs the event loop asleep while there is nothing to do (a polling loop would take a processor from
// the threads that prepare the pictures), for `ms` milliseconds or until `fatto` says so.
void gira(int ms, const std::function<bool()>& fatto = {});

}  // namespace TestSupport
