#include "data/CourseBuilder.h"

#include "data/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace data::CourseBuilder {

namespace {
const auto kInsertPage = QStringLiteral(
    R"(INSERT INTO "%1" ("id", "argomento", "dom1", "dom2", "dom3", "dom4", "dom5", "dom6", "dom7", "dom8", "dom9", "dom10",
"ris1", "ris2", "ris3", "ris4", "ris5", "ris6", "ris7", "ris8", "ris9", "ris10")
VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?))");

bool readText(const QString& path, QString* text, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    *text = QString::fromUtf8(file.readAll());
    return true;
}
}  // namespace

bool parseBank(const QString& text, QVector<QuestionPage>* pages, QString* error)
{
    pages->clear();
    QuestionPage page;
    int filled = -1;  // statements of the open page; -1: no page open
    const QStringList lines = text.split(QLatin1Char('\n'));
    auto closePage = [&](int lineNo) {
        if (filled < 0)
            return true;
        if (filled != 10) {
            *error = QStringLiteral("riga %1: la pagina \"%2\" ha %3 affermazioni invece di 10")
                         .arg(page.line).arg(page.argomento).arg(filled);
            return false;
        }
        pages->append(page);
        Q_UNUSED(lineNo);
        return true;
    };
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("=="))) {
            if (!closePage(lineNo))
                return false;
            page = QuestionPage();
            page.argomento = line.mid(2).trimmed();
            page.line = lineNo;
            filled = 0;
            if (page.argomento.isEmpty()) {
                *error = QStringLiteral("riga %1: una pagina senza argomento").arg(lineNo);
                return false;
            }
            continue;
        }
        const QChar mark = line.at(0);
        if ((mark != QLatin1Char('V') && mark != QLatin1Char('F')) || line.size() < 2 || line.at(1) != QLatin1Char(' ')) {
            *error = QStringLiteral("riga %1: ogni affermazione comincia con \"V \" o \"F \"").arg(lineNo);
            return false;
        }
        if (filled < 0) {
            *error = QStringLiteral("riga %1: un'affermazione prima della prima pagina (\"== argomento\")").arg(lineNo);
            return false;
        }
        if (filled == 10) {
            *error = QStringLiteral("riga %1: la pagina \"%2\" ha più di 10 affermazioni").arg(lineNo).arg(page.argomento);
            return false;
        }
        const QString statement = line.mid(2).trimmed();
        if (statement.isEmpty()) {
            *error = QStringLiteral("riga %1: affermazione vuota").arg(lineNo);
            return false;
        }
        page.statements[filled] = statement;
        page.codes[filled] = mark == QLatin1Char('V') ? 1 : 0;
        ++filled;
    }
    if (!closePage(int(lines.size())))
        return false;
    if (pages->isEmpty()) {
        *error = QStringLiteral("nessuna pagina");
        return false;
    }
    return true;
}

QStringList schemaStatements(const QString& sql)
{
    QString text;
    for (const QString& line : sql.split(QLatin1Char('\n'))) {
        const int comment = line.indexOf(QLatin1String("--"));
        text += (comment >= 0 ? line.left(comment) : line) + QLatin1Char('\n');
    }
    QStringList statements;
    for (const QString& part : text.split(QLatin1Char(';'))) {
        const QString s = part.trimmed();
        if (!s.isEmpty())
            statements << s;
    }
    return statements;
}

bool readSource(const QString& sourceFolder, QString* schema, QVector<Bank>* banks, QString* message)
{
    const QDir source(sourceFolder);
    QString error;
    if (!readText(source.filePath(QStringLiteral("schema.sql")), schema, &error)) {
        *message = error;
        return false;
    }
    banks->clear();
    for (const QString& table : Database::questionTables()) {
        const QString file = source.filePath(table + QStringLiteral(".txt"));
        QString text;
        Bank bank{table, {}};
        if (!readText(file, &text, &error) || !parseBank(text, &bank.pages, &error)) {
            *message = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), error);
            return false;
        }
        banks->append(bank);
    }
    return true;
}

bool fillBank(QSqlQuery& query, const Bank& bank, QString* message)
{
    int id = 0;
    for (const QuestionPage& page : bank.pages) {
        query.prepare(kInsertPage.arg(bank.table));
        query.addBindValue(++id);
        query.addBindValue(page.argomento);
        for (const QString& s : page.statements)
            query.addBindValue(s);
        for (int code : page.codes)
            query.addBindValue(code);
        if (!query.exec()) {
            *message = QStringLiteral("%1.txt, riga %2: %3").arg(bank.table).arg(page.line).arg(query.lastError().text());
            return false;
        }
    }
    return true;
}

Outcome build(const QString& sourceFolder, const QString& databasePath, QString* message)
{
    const QFileInfo target(databasePath);
    if (target.exists()) {
        *message = QStringLiteral("L'archivio %1 esiste già: non viene toccato.").arg(QDir::toNativeSeparators(databasePath));
        return Outcome::AlreadyThere;
    }
    QString schema;
    QVector<Bank> banks;
    if (!readSource(sourceFolder, &schema, &banks, message))
        return Outcome::Failed;

    QDir().mkpath(target.absolutePath());
    const QString temporary = target.absoluteFilePath() + QStringLiteral(".in-costruzione");
    QFile::remove(temporary);
    const QString connection = QStringLiteral("placche-creadb");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(temporary);
        if (!db.open()) {
            *message = Database::describe(db.lastError());
            ok = false;
        }
        QSqlQuery query(db);
        if (ok)
            ok = db.transaction();
        for (const QString& statement : schemaStatements(schema)) {
            if (!ok)
                break;
            if (!query.exec(statement)) {
                *message = QStringLiteral("schema.sql: %1\n%2").arg(query.lastError().text(), statement);
                ok = false;
            }
        }
        for (const Bank& bank : std::as_const(banks))
            if (ok)
                ok = fillBank(query, bank, message);
        if (ok && !db.commit()) {
            *message = Database::describe(db.lastError());
            ok = false;
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (ok && !QFile::rename(temporary, target.absoluteFilePath())) {
        *message = QStringLiteral("non riesco a mettere al suo posto %1").arg(QDir::toNativeSeparators(databasePath));
        ok = false;
    }
    if (!ok) {
        QFile::remove(temporary);
        return Outcome::Failed;
    }
    *message = QStringLiteral("Creato l'archivio del corso %1.").arg(QDir::toNativeSeparators(databasePath));
    return Outcome::Created;
}

}  // namespace data::CourseBuilder
