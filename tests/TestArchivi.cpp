#include "ServerDiProva.h"
#include "TestSupport.h"

#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "archive/Archivio.h"
#include "archive/Campi.h"
#include "ui/MessageBox.h"
#include "ui/Printer.h"
#include "ui/Screens.h"

#include <QDate>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using ui::MessageBox;

namespace {
const QString kFrm = QStringLiteral("frmRISUL");
const QString kFli = QStringLiteral("FLIsomm");
const QString kVerdi = QStringLiteral("Verdi Anna");
const QList<int> kCarta[2] = {{1, 23, 47, 53, 60}, {1, 23, 27, 45, 50, 55, 60}};

QString tabella(const QString& archivio)
{
    return archivio == kFrm ? QStringLiteral("studenti") : QStringLiteral("studsomm");
}
QString alunno(int i)
{
    return QStringLiteral("Alunno %1").arg(i, 4, 10, QLatin1Char('0'));
}
QString giorno(int i)
{
    return QDate(2024, 1, 1).addDays(i).toString(QStringLiteral("dd/MM/yyyy"));
}
// A row as shown and printed: what aggiungi() stores for row i of `nome`.
QStringList valori(const QString& archivio, const QString& nome, int i)
{
    if (archivio == kFrm)
        return {nome, QStringLiteral("La crosta oceanica"), QString::number(i % 11), QStringLiteral("10"), giorno(i)};
    return {nome, QString::number(i % 101), QStringLiteral("BUONO"), QStringLiteral("80"), QStringLiteral("66"),
            QStringLiteral("50"), giorno(i)};
}

// Rows i = da ... da + quante - 1 of `nome(i)`, straight into the file, dated 2024-01-01 + i days.
void aggiungi(const QString& archivio, int quante, const std::function<QString(int)>& nome = alunno, int da = 1,
              const QString& argomento = QStringLiteral("La crosta oceanica"))
{
    QSqlDatabase db = TestSupport::sessione().dbcorso->connection();
    QVERIFY(db.transaction());
    {
        QSqlQuery q(db);
        q.prepare(archivio == kFrm
                      ? QStringLiteral(R"(INSERT INTO "studenti" ("cognome e nome", "argomento", "punteggio", "maxpunti", "data") VALUES (?, ?, ?, 10, ?))")
                      : QStringLiteral(R"(INSERT INTO "studsomm" ("cognome e nome", "valutazione", "punteggio totale", "conscere", "comprendere", "applicare", "data") VALUES (?, ?, ?, 80, 66, 50, ?))"));
        for (int i = da; i < da + quante; ++i) {
            q.addBindValue(nome(i));
            q.addBindValue(archivio == kFrm ? argomento : QStringLiteral("BUONO"));
            q.addBindValue(i % (archivio == kFrm ? 11 : 101));
            q.addBindValue(QDate(2024, 1, 1).addDays(i).toString(Qt::ISODate));
            QVERIFY(q.exec());
        }
    }
    QVERIFY(db.commit());
}

int righe(const TestSupport::ArchivioDiProva& db, const QString& archivio, const QString& nome = {})
{
    const QString conta = QStringLiteral(R"(SELECT COUNT(*) FROM "%1")").arg(tabella(archivio));
    return nome.isNull() ? db.interroga(conta).toInt() : db.interroga(conta + R"( WHERE "cognome e nome" = ?)", {nome}).toInt();
}

// A row name for an engine and an archive.
QByteArray nomeRiga(TestSupport::Motore m, const QString& archivio, const QString& caso)
{
    return TestSupport::riga(m, qPrintable(archivio + QLatin1Char(' ') + caso));
}

// The `_data()` of a test with no column but the archive.
void perArchivio()
{
    QTest::addColumn<QString>("archivio");
    QTest::newRow("frmRISUL") << kFrm;
    QTest::newRow("FLIsomm") << kFli;
}

Archivio* apri(const QString& archivio)
{
    auto* menu = qobject_cast<Fscelt*>(ui::Screens::instance().find(QStringLiteral("Fscelt")));
    (archivio == kFrm ? menu->CMDarchquest : menu->CMDarchsomm)->click();
    return qobject_cast<Archivio*>(ui::Screens::instance().front());
}

// Enabled buttons: VEDO, SELEZIONO, CONTINUO, STAMPO, ELIMINO.
QString abilitati(const Archivio* a)
{
    QString s;
    for (const ui::Button* b : {a->cmdtutto, a->cmdselezione, a->CmdContinuo, a->cmdstampa, a->cmdelimina})
        s += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

// The lines of every list, one "a|b|c" text a line; empty lists give no lines.
QStringList mostrate(const Archivio* a)
{
    QStringList out;
    for (int r = 0; r < a->Listsomm[0]->count(); ++r) {
        QStringList celle;
        for (const ui::ListBox* l : a->Listsomm)
            celle << (r < l->count() ? l->item(r)->text() : QStringLiteral("?"));
        out << celle.join(QLatin1Char('|'));
    }
    return out;
}

// The page from row `prima` of `elenco`, in the form of mostrate(): empty lines past its end.
QStringList pagina(const QList<QStringList>& elenco, int prima, int colonne)
{
    QStringList out;
    for (int r = prima; r < prima + 20; ++r)
        out << (r <= elenco.size() ? elenco[r - 1].join(QLatin1Char('|')) : QString(colonne - 1, QLatin1Char('|')));
    return out;
}

void seleziona(Archivio* a, const QString& nome)
{
    MessageBox::setNextInput(nome);
    a->cmdselezione->click();
}
void elimina(Archivio* a, const QString& codice, MessageBox::Answer risposta = MessageBox::AnswerYes)
{
    MessageBox::setNextInput(codice);
    if (a->tipoelenco() == 12)
        MessageBox::setNextAnswer(risposta);
    a->cmdelimina->click();
}

// The items printed after the heading, whatever line each came out on.
ui::PrintLine stampato(const ui::Printer::Job& job)
{
    ui::PrintLine items;
    for (qsizetype i = 1; i < job.layout.lines.size(); ++i)
        items += job.layout.lines[i];
    return items;
}
ui::PrintLine daStampare(const QString& archivio, const QList<QStringList>& elenco)
{
    ui::PrintLine items;
    for (const QStringList& riga : elenco)
        for (int c = 0; c < riga.size(); ++c)
            items.append({kCarta[archivio == kFli][c], riga[c]});
    return items;
}
}  // namespace

class TestArchivi : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    // Whole table (counted one past its rows, so 19 rows already page) and a pupil among others: every
    // page, the buttons after each press, the end of paging, and a print of the whole list. The questionnaire
    // archive selects a pupil of 20 rows or more while the whole table is paged: the pupil's list starts anew.
    void paging_data()
    {
        TestSupport::colonnaMotore();
        QTest::addColumn<QString>("archivio");
        QTest::addColumn<bool>("tutto");
        QTest::addColumn<int>("n");
        for (const auto m : TestSupport::motori())
            for (const QString& a : {kFrm, kFli}) {
                for (int n : {0, 1, 18, 19, 20, 21, 41, 1500})
                    QTest::newRow(nomeRiga(m, a, QStringLiteral("all %1").arg(n))) << m << a << true << n;
                for (int n : {1, 19, 20, 25, 41})
                    QTest::newRow(nomeRiga(m, a, QStringLiteral("pupil %1").arg(n))) << m << a << false << n;
            }
    }
    void paging()
    {
        QFETCH(QString, archivio);
        QFETCH(bool, tutto);
        QFETCH(int, n);
        ARCHIVIO_DI_PROVA(db);
        QVERIFY(TestSupport::apriMenu());
        QList<QStringList> elenco;
        if (tutto)
            aggiungi(archivio, n);
        for (int i = 1; i <= n; ++i) {
            if (!tutto) {
                aggiungi(archivio, 1, alunno, i);
                aggiungi(archivio, 1, [](int) { return kVerdi; }, i);
            }
            elenco << valori(archivio, tutto ? alunno(i) : kVerdi, i);
        }
        Archivio* a = apri(archivio);
        const int colonne = int(a->Listsomm.size());
        if (!tutto && archivio == kFrm && n >= 20) {
            a->cmdtutto->click();
            a->CmdContinuo->click();
        }
        if (tutto)
            a->cmdtutto->click();
        else
            seleziona(a, kVerdi);
        const int numrec = tutto ? n + 1 : n;
        const int altre = numrec >= 20 ? numrec / 20 : 0;
        QCOMPARE(a->paginazione().pagine(), altre);
        QCOMPARE(mostrate(a), pagina(elenco, 1, colonne));
        QCOMPARE(abilitati(a), altre ? QStringLiteral("00111") : QStringLiteral("11011"));
        for (int p = 1; p <= altre; ++p) {
            a->CmdContinuo->click();
            QCOMPARE(mostrate(a), pagina(elenco, p * 20 + 1, colonne));
            // Only the questionnaire archive lets a selection start while a list is paged.
            QCOMPARE(abilitati(a), archivio == kFrm ? QStringLiteral("01111") : QStringLiteral("00111"));
        }
        if (altre) {
            a->CmdContinuo->click();
            QCOMPARE(mostrate(a), QStringList());
            QCOMPARE(abilitati(a), QStringLiteral("11011"));
        }
        QCOMPARE(MessageBox::shown().size(), tutto ? 0 : 1);  // the name box only: an empty table is no error
        if (n == 0)
            return;
        a->cmdstampa->click();
        QCOMPARE(ui::Printer::jobs().size(), 1);
        QVERIFY(ui::Printer::jobs()[0].ended);
        QCOMPARE(stampato(ui::Printer::jobs()[0]), daStampare(archivio, elenco));
    }

    // A name not found asks again (OK) or gives up (Cancel). A selection given up in any way (empty name,
    // cancelled box, name not found) changes nothing: the list shown, its paging, and what printing and
    // deleting act on stay as they were; deleting a whole table still asks its question first.
    void abandonedSelection_data()
    {
        QTest::addColumn<QString>("archivio");
        QTest::addColumn<QString>("come");
        QTest::addColumn<QString>("prima");  // "nothing": no list yet; "list": the whole table of 45 rows
        for (const QString& a : {kFrm, kFli})
            for (const char* prima : {"nothing", "list"})
                for (const char* come : {"empty", "cancelled", "not found"})
                    QTest::addRow("%s %s, %s", qPrintable(a), prima, come) << a << come << prima;
    }
    void abandonedSelection()
    {
        QFETCH(QString, archivio);
        QFETCH(QString, come);
        QFETCH(QString, prima);
        TestSupport::ArchivioDiProva db(TestSupport::Motore::File);
        QVERIFY(TestSupport::apriMenu());
        aggiungi(archivio, 45);
        QList<QStringList> elenco;
        for (int i = 1; i <= 45; ++i)
            elenco << valori(archivio, alunno(i), i);
        Archivio* a = apri(archivio);
        const bool conElenco = prima == QLatin1String("list");
        if (conElenco) {
            // The questionnaire archive lets a selection start while the list is paged (here on its
            // second page); the summative one only once the paging has ended.
            a->cmdtutto->click();
            for (int i = 0; i < (archivio == kFrm ? 1 : 3); ++i)
                a->CmdContinuo->click();
        }
        const QStringList mostratePrima = mostrate(a);
        const QString abilitatiPrima = abilitati(a);
        QCOMPARE(abilitatiPrima, QString::fromLatin1(!conElenco ? "11000" : archivio == kFrm ? "01111" : "11011"));
        MessageBox::clear();
        const bool nonTrovato = come == QLatin1String("not found");
        const QString nome = nonTrovato ? QStringLiteral("Nessuno") : QString();
        MessageBox::setNextInput(nome, come == QLatin1String("cancelled"));
        QStringList attesi{"scrivi cognome e nome"};
        if (nonTrovato) {
            MessageBox::setNextAnswer(MessageBox::AnswerOk);
            MessageBox::setNextInput(QStringLiteral("Nessuno Ancora"));
            MessageBox::setNextAnswer(MessageBox::AnswerCancel);
            const QString male = QStringLiteral("ATTENZIONE, non hai scritto bene il nome");
            attesi << male << attesi[0] << male << "ABBANDONO QUESTA RICERCA";
        }
        a->cmdselezione->click();
        QStringList testi;
        for (const auto& s : MessageBox::shown())
            testi << s.text;
        QCOMPARE(testi, attesi);
        QCOMPARE(TestSupport::sessione().nomestudente, nonTrovato ? QStringLiteral("Nessuno Ancora") : QString());
        QCOMPARE(mostrate(a), mostratePrima);
        QCOMPARE(abilitati(a), abilitatiPrima);
        MessageBox::clear();
        if (!conElenco) {
            a->cmdstampa->click();
            a->cmdelimina->click();
            QCOMPARE(abilitati(a), QStringLiteral("11000"));
            QCOMPARE(ui::Printer::jobs().size(), 0);
            QCOMPARE(righe(db, archivio), 45);
            return;
        }
        if (archivio == kFrm) {
            // The paging goes on where it was.
            a->CmdContinuo->click();
            QCOMPARE(mostrate(a), pagina(elenco, 41, int(a->Listsomm.size())));
        }
        // Printing covers the whole list; deleting it asks the whole-archive question (No here).
        a->cmdstampa->click();
        QCOMPARE(ui::Printer::jobs().size(), 1);
        QCOMPARE(stampato(ui::Printer::jobs()[0]), daStampare(archivio, elenco));
        elimina(a, QStringLiteral("cipresso"), MessageBox::AnswerNo);
        QCOMPARE(MessageBox::shown().last().text, QStringLiteral("SEI PROPRIO SICURO DI VOLER ELIMINARE TUTTO L'ARCHIVIO?"));
        QCOMPARE(righe(db, archivio), 45);
    }

    // A pupil is selected by the name typed as a value (apostrophes and blanks included), whatever its
    // letter case: the rows show the names as stored, printing and deleting act on exactly those rows, and
    // the name typed stays the pupil's name afterwards.
    void selection_data()
    {
        TestSupport::colonnaMotore();
        QTest::addColumn<QString>("archivio");
        QTest::addColumn<QString>("scritto");
        QTest::addColumn<QStringList>("nomi");  // stored as rows 1, 2, ...
        QTest::addColumn<QList<int>>("trovate");
        const QStringList rossi{"Rossi Mario", "Rossi Maria", "ROSSI MARIO", "Bianchi Èva", "rossi Mario"};
        for (const auto m : TestSupport::motori()) {
            for (const QString& a : {kFrm, kFli}) {
                QTest::newRow(nomeRiga(m, a, "lower case")) << m << a << "rossi mario" << rossi << QList<int>{1, 3, 5};
                QTest::newRow(nomeRiga(m, a, "capitals")) << m << a << "ROSSI MARIO" << rossi << QList<int>{1, 3, 5};
                QTest::newRow(nomeRiga(m, a, "accented, lower case")) << m << a << "bianchi èva" << rossi << QList<int>{4};
            }
            for (const char* nome : {"D'Amico Lucia", "Dell'Orto Pier'Luigi", "x' OR '1'='1", "  Bianchi   Anna "}) {
                const QString n = QString::fromUtf8(nome);
                QTest::newRow(nomeRiga(m, kFli, n)) << m << kFli << n << QStringList{alunno(1), n, n.trimmed() + "x", n} << QList<int>{2, 4};
            }
        }
    }
    void selection()
    {
        QFETCH(QString, archivio);
        QFETCH(QString, scritto);
        QFETCH(QStringList, nomi);
        QFETCH(QList<int>, trovate);
        ARCHIVIO_DI_PROVA(db);
        QVERIFY(TestSupport::apriMenu());
        aggiungi(archivio, int(nomi.size()), [&](int i) { return nomi[i - 1]; });
        Archivio* a = apri(archivio);
        seleziona(a, scritto);
        QList<QStringList> elenco;
        for (int i : trovate)
            elenco << valori(archivio, nomi[i - 1], i);
        QCOMPARE(mostrate(a), pagina(elenco, 1, int(a->Listsomm.size())));
        QCOMPARE(TestSupport::sessione().nomestudente, scritto);
        a->cmdstampa->click();
        QCOMPARE(stampato(ui::Printer::jobs().value(0)), daStampare(archivio, elenco));
        elimina(a, QStringLiteral("cipresso"));
        QCOMPARE(righe(db, archivio), int(nomi.size() - trovate.size()));
        QCOMPARE(righe(db, archivio, nomi[1]), trovate.contains(2) ? 0 : 1);
        a->cmdcseltaarg->click();
        QCOMPARE(TestSupport::sessione().nomestudente, scritto);
    }

    // Only "cipresso", exactly, deletes; the whole table only after Yes; every row of the list goes,
    // in one go; a second emptying deletes nothing more, not even a row stored since.
    void emptying_data()
    {
        TestSupport::colonnaMotore();
        QTest::addColumn<QString>("archivio");
        QTest::addColumn<QString>("elenco");  // the pupil listed, or empty for the whole table
        QTest::addColumn<QString>("codice");
        QTest::addColumn<bool>("si");
        QTest::addColumn<int>("restano");  // of 48 rows: 17 pupils', Neri Ugo's 1, Verdi Anna's 30
        for (const auto m : TestSupport::motori())
            for (const QString& a : {kFrm, kFli}) {
                QTest::newRow(nomeRiga(m, a, "whole, Yes")) << m << a << "" << "cipresso" << true << 0;
                QTest::newRow(nomeRiga(m, a, "whole, No")) << m << a << "" << "cipresso" << false << 48;
                QTest::newRow(nomeRiga(m, a, "pupil of 30 rows")) << m << a << "Verdi Anna" << "cipresso" << true << 18;
                QTest::newRow(nomeRiga(m, a, "capital")) << m << a << "Verdi Anna" << "Cipresso" << true << 48;
                QTest::newRow(nomeRiga(m, a, "trailing blank")) << m << a << "Verdi Anna" << "cipresso " << true << 48;
                QTest::newRow(nomeRiga(m, a, "empty code")) << m << a << "" << "" << true << 48;
            }
    }
    void emptying()
    {
        QFETCH(QString, archivio);
        QFETCH(QString, elenco);
        QFETCH(QString, codice);
        QFETCH(bool, si);
        QFETCH(int, restano);
        ARCHIVIO_DI_PROVA(db);
        QVERIFY(TestSupport::apriMenu());
        aggiungi(archivio, 12);
        aggiungi(archivio, 1, [](int) { return QStringLiteral("Neri Ugo"); });
        aggiungi(archivio, 30, [](int) { return kVerdi; });
        aggiungi(archivio, 5);
        Archivio* a = apri(archivio);
        if (elenco.isEmpty())
            a->cmdtutto->click();
        else
            seleziona(a, elenco);
        const QStringList prima = mostrate(a);
        a->cmdstampa->click();
        MessageBox::clear();
        elimina(a, codice, si ? MessageBox::AnswerYes : MessageBox::AnswerNo);
        QCOMPARE(righe(db, archivio), restano);
        const auto shown = MessageBox::shown();
        QCOMPARE(shown[0].title, QStringLiteral("CODICE PER LA CANCELLAZIONE"));
        const bool giusto = codice == QLatin1String("cipresso");
        QCOMPARE(shown.size(), codice.isEmpty() ? 1 : 1 + (giusto ? elenco.isEmpty() : 1));
        if (!codice.isEmpty() && !giusto)
            QCOMPARE(shown.last().text, QStringLiteral("Mi dispiace, o hai sbagliato a scrivere il codice, o non sei autorizzato a cancellare."));
        const bool fatto = restano < 48;
        QCOMPARE(mostrate(a), fatto ? QStringList() : prima);
        if (!fatto)
            return;
        QCOMPARE(abilitati(a), QStringLiteral("11011"));
        QCOMPARE(a->cmdselezione->caption() == QLatin1String("SELEZIONO i dati da mostrare"), archivio == kFli);
        // The list as it was shown still prints after its rows are gone.
        a->cmdstampa->click();
        QCOMPARE(ui::Printer::jobs().size(), 2);
        QCOMPARE(stampato(ui::Printer::jobs()[1]), stampato(ui::Printer::jobs()[0]));
        QCOMPARE(stampato(ui::Printer::jobs()[1]).size(), (48 - restano) * (archivio == kFrm ? 5 : 7));
        aggiungi(archivio, 1, [&](int) { return elenco.isEmpty() ? kVerdi : elenco; });
        MessageBox::clear();
        elimina(a, QStringLiteral("cipresso"));
        QCOMPARE(MessageBox::shown().size(), 1);  // "already deleted", no code asked
        QCOMPARE(righe(db, archivio), restano + 1);
    }

    // On a classroom's server a pupils' computer lists and prints, but deleting, even with the right code,
    // is for the teacher's computer: nothing is deleted or shown as deleted.
    void pupilsComputerDoesNotDelete_data() { perArchivio(); }
    void pupilsComputerDoesNotDelete()
    {
        QFETCH(QString, archivio);
        TestSupport::ArchivioDiProva db(TestSupport::Motore::Server, false, QStringLiteral("aula"));
        PRONTO(db);
        QVERIFY(TestSupport::apriMenu());
        aggiungi(archivio, 25);
        Archivio* a = apri(archivio);
        a->cmdtutto->click();
        const QStringList prima = mostrate(a);
        MessageBox::clear();
        elimina(a, QStringLiteral("cipresso"));
        const auto shown = MessageBox::shown();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[1].text.contains(QStringLiteral("solo il computer dell'insegnante")), qPrintable(shown[1].text));
        QCOMPARE(righe(db, archivio), 25);
        QCOMPARE(mostrate(a), prima);
        QVERIFY(!a->eliminato());
        a->cmdstampa->click();
        QCOMPARE(ui::Printer::jobs().size(), 1);
    }

    // Rows that cannot be deleted, or read: nothing deleted, nothing shown as done, a message in Italian.
    void failuresAreSaidSo_data() { perArchivio(); }
    void failuresAreSaidSo()
    {
        QFETCH(QString, archivio);
        TestSupport::ArchivioDiProva db(TestSupport::Motore::File);
        QVERIFY(TestSupport::apriMenu());
        aggiungi(archivio, 30);
        // The 20th row refuses to go: the 19 before it must stay too.
        db.interroga(QStringLiteral(R"(CREATE TRIGGER "blocca" BEFORE DELETE ON "%1" WHEN old."cognome e nome" = '%2' BEGIN SELECT RAISE(ABORT, 'riga protetta'); END)")
                                   .arg(tabella(archivio), alunno(20)));
        Archivio* a = apri(archivio);
        a->cmdtutto->click();
        elimina(a, QStringLiteral("cipresso"));
        QVERIFY(MessageBox::shown().last().text.startsWith(QStringLiteral("Non è stato eliminato niente")));
        QCOMPARE(righe(db, archivio), 30);
        QCOMPARE(mostrate(a).size(), 20);
        QVERIFY(!a->eliminato());

        db.interroga(QStringLiteral(R"(ALTER TABLE "%1" RENAME TO "altro")").arg(tabella(archivio)));
        MessageBox::clear();
        a->CmdContinuo->click();
        a->cmdtutto->click();
        a->cmdstampa->click();
        const auto shown = MessageBox::shown();
        QCOMPARE(shown.size(), 3);
        QVERIFY(shown[0].text.startsWith(QStringLiteral("Non riesco a leggere l'elenco dei risultati")));
        QVERIFY(shown[1].text.startsWith(QStringLiteral("Non riesco a leggere l'archivio dei risultati")));
        QVERIFY(shown[2].text.startsWith(QStringLiteral("Non c'è nessun elenco da stampare")));
        QCOMPARE(abilitati(a), QStringLiteral("11011"));
    }

    // An item whose column the line has passed goes to that column on the next line; an empty item
    // breaks nothing; an item too long for the paper is cut short.
    void printedColumns()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        QTemporaryDir dir;
        printer.setOutputFileName(dir.filePath(QStringLiteral("prova.pdf")));
        const QList<ui::PrintLine> linee{
            {{1, "Rossi Mario"}, {23, "La faglia di San Andreas in California"}, {47, "7"}, {53, "10"}},
            {{1, "Neri"}, {23, ""}, {47, "3"}},
            {{1, QString(400, QLatin1Char('W'))}},
        };
        qsizetype i = 0;
        const auto layout = ui::Printer::layOut(printer, ui::Printer::font(), [&](ui::PrintLine& linea) {
            if (i >= linee.size())
                return ui::Printer::Next::End;
            linea = linee[i++];
            return ui::Printer::Next::Line;
        });
        QCOMPARE(layout.lines.size(), 4);
        QCOMPARE(layout.lines[0], (ui::PrintLine{{1, "Rossi Mario"}, {23, "La faglia di San Andreas in California"}}));
        QCOMPARE(layout.lines[1], (ui::PrintLine{{47, "7"}, {53, "10"}}));
        QCOMPARE(layout.lines[2], (ui::PrintLine{{1, "Neri"}, {47, "3"}}));
        QVERIFY(layout.lines[3][0].text.endsWith(QChar(0x2026)) && layout.lines[3][0].text.size() < 400);
    }

    // On paper: the heading, then exactly the pupil's rows, each word at its character column.
    void printsToAPdfFile()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        aggiungi(kFli, 2);
        aggiungi(kFli, 3, [](int) { return QStringLiteral("D'Amico Lucia"); }, 40);
        Archivio* a = apri(kFli);
        seleziona(a, QStringLiteral("D'Amico Lucia"));
        QTemporaryDir dir;
        ui::Printer::setRecording(true, dir.filePath(QStringLiteral("elenco.pdf")));
        ui::Printer::setNextCancelled();
        a->cmdstampa->click();  // the dialog closed: nothing printed, nothing said
        QCOMPARE(ui::Printer::jobs().size(), 0);
        a->cmdstampa->click();
        QCOMPARE(ui::Printer::jobs().size(), 1);

        QProcess p;
        p.start(pdftotext, {QStringLiteral("-bbox"), dir.filePath(QStringLiteral("elenco.pdf")), QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        struct Parola {
            QString testo;
            double x, y;
        };
        QList<Parola> parole;
        static const QRegularExpression re(QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re"));
        for (auto it = re.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();) {
            const auto m = it.next();
            parole.append({m.captured(3).replace(QStringLiteral("&apos;"), QStringLiteral("'")), m.captured(1).toDouble(),
                           m.captured(2).toDouble()});
        }
        std::sort(parole.begin(), parole.end(), [](const Parola& a, const Parola& b) {
            return std::abs(a.y - b.y) > 0.5 ? a.y < b.y : a.x < b.x;
        });
        QStringList testi;
        for (const Parola& w : std::as_const(parole))
            testi << w.testo;
        QStringList attese{"Nome", "Tot", "Valutazione", "Con", "Comp", "App", "Data"};
        for (int i = 40; i < 43; ++i)
            attese << QStringLiteral("D'Amico") << valori(kFli, QStringLiteral("Lucia"), i);
        QCOMPARE(testi, attese);
        // Columns are average character widths of the printer's font, from the first column: the heading
        // and the first row ("Lucia" aside).
        QPrinter printer(QPrinter::HighResolution);
        const double colonna = QFontMetricsF(ui::Printer::font(), &printer).averageCharWidth() * 72.0 / printer.resolution();
        const QList<int> indici{0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14};
        for (int k = 0; k < indici.size(); ++k) {
            const Parola& w = parole[indici[k]];
            QVERIFY2(std::abs(w.x - (parole[0].x + (kCarta[1][k % 7] - 1) * colonna)) < 0.75, qPrintable(w.testo));
            QVERIFY(std::abs(w.y - parole[k < 7 ? 0 : 7].y) < 0.5);
        }
        QVERIFY(parole[7].y > parole[0].y);
    }

    void valuesAsShown_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("atteso");
        const int data = int(Campi::Tipo::Data);
        const int numero = int(Campi::Tipo::Numero);
        QTest::newRow("date and time") << QVariant(QStringLiteral("2023-12-31 23:59:59")) << data << "31/12/2023";
        QTest::newRow("not a date") << QVariant(QStringLiteral("ieri")) << data << "ieri";
        QTest::newRow("stored as real") << QVariant(100000.0) << numero << "100000";
        QTest::newRow("fraction") << QVariant(7.5) << numero << "7,5";
        QTest::newRow("missing") << QVariant(QMetaType(QMetaType::Int)) << numero << "";
    }
    void valuesAsShown()
    {
        QFETCH(QVariant, valore);
        QFETCH(int, tipo);
        QFETCH(QString, atteso);
        QCOMPARE(Campi::testo(valore, Campi::Tipo(tipo)), atteso);
    }

    // Back to the menu (only the questionnaire archive unloads FQuest), and the exits: the questionnaire
    // archive ends at once, the summative archive asks first and, refused, stays as it was.
    void routes_data()
    {
        QTest::addColumn<QString>("archivio");
        QTest::addColumn<QString>("pulsante");
        for (const QString& a : {kFrm, kFli})
            for (const char* p : {"menu", "esco no", "esco si"})
                QTest::addRow("%s %s", qPrintable(a), p) << a << p;
    }
    void routes()
    {
        QFETCH(QString, archivio);
        QFETCH(QString, pulsante);
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        auto& screens = ui::Screens::instance();
        screens.registerScreen(QStringLiteral("FQuest"), [] { return new ui::Form(QStringLiteral("FQuest")); });
        screens.load(QStringLiteral("FQuest"));
        aggiungi(archivio, 30);
        Archivio* a = apri(archivio);
        QCOMPARE(screens.visibleScreens(), QStringList{archivio});
        a->cmdtutto->click();
        const QStringList prima = mostrate(a);
        if (pulsante == QLatin1String("menu")) {
            a->cmdcseltaarg->click();
            QCOMPARE(screens.visibleScreens(), QStringList{QStringLiteral("Fscelt")});
            QVERIFY(!screens.isLoaded(archivio));
            QCOMPARE(screens.isLoaded(QStringLiteral("FQuest")), archivio == kFli);
            return;
        }
        MessageBox::setNextAnswer(pulsante == QLatin1String("esco si") ? MessageBox::AnswerOk : MessageBox::AnswerCancel);
        a->cmduscita->click();
        QCOMPARE(MessageBox::shown().size(), archivio == kFrm ? 0 : 1);
        QCOMPARE(TestSupport::fineRichiesta(), archivio == kFrm || pulsante == QLatin1String("esco si") ? 1 : 0);
        QCOMPARE(mostrate(a), prima);
        if (archivio == kFli) {
            QCOMPARE(MessageBox::shown()[0].text, QStringLiteral("sei sicuro di voler uscire dal programma?"));
            // Its heading has two lines, the second only the four percent marks.
            QCOMPARE(a->Label1->caption().section(QLatin1Char('\r'), 1).simplified(), QStringLiteral("% % % %"));
        }
    }

    // Screens and printouts to look at: PLACCHE_FOTO=folder tests/TestArchivi fotografie
    void fotografie()
    {
        if (qEnvironmentVariableIsEmpty("PLACCHE_FOTO"))
            QSKIP("PLACCHE_FOTO is not set");
        TestSupport::CartellaProgramma folder(true, true);
        QVERIFY(TestSupport::apriMenu());
        const auto nome = [](int k) { return k % 2 ? QStringLiteral("D'Amico Lucia") : alunno(k); };
        const QStringList argomenti{"Il margine distruttivo e la subduzione", "La crosta oceanica",
                                    "Le placche (immagine)", "Animazione finale"};
        for (int i = 0; i < 25; ++i)
            aggiungi(kFrm, 1, nome, i, argomenti[i % 4]);
        aggiungi(kFli, 25, nome);
        for (const QString& archivio : {kFrm, kFli}) {
            Archivio* a = apri(archivio);
            a->window()->resize(800, 600);
            TestSupport::fotografa(a->window(), archivio + QStringLiteral("-vuoto"));
            a->cmdtutto->click();
            TestSupport::fotografa(a->window(), archivio + QStringLiteral("-pagina"));
            a->window()->resize(1366, 768);
            TestSupport::fotografa(a->window(), archivio + QStringLiteral("-pagina-1366"));
            ui::Printer::setRecording(true, qEnvironmentVariable("PLACCHE_FOTO") + QLatin1Char('/') + archivio + QStringLiteral(".pdf"));
            a->cmdstampa->click();
            a->cmdcseltaarg->click();
        }
    }
};

QTEST_MAIN(TestArchivi)
#include "TestArchivi.moc"
