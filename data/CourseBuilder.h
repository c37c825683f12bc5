#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

namespace data {

// One page of a question bank: a label and ten true/false statements.
struct QuestionPage {
    QString argomento;
    std::array<QString, 10> statements;
    std::array<int, 10> codes{};  // 1 true, 0 false
    int line = 0;                 // where the page starts in its file
};

// Builds the course database from its readable source: schema.sql and one bank file a question table.
namespace CourseBuilder {

// Pages of a bank file; false with a message naming the line on the first fault.
bool parseBank(const QString& text, QVector<QuestionPage>* pages, QString* error);
// The statements of schema.sql, comments removed.
QStringList schemaStatements(const QString& sql);

// Reads the source folder's schema.sql and every question bank; false with a message naming the file.
struct Bank {
    QString table;
    QVector<QuestionPage> pages;
};
bool readSource(const QString& sourceFolder, QString* schema, QVector<Bank>* banks, QString* message);
// Stores a bank's pages, numbered from 1, into its empty table; false with a message naming the line.
bool fillBank(QSqlQuery& query, const Bank& bank, QString* message);

enum class Outcome { Created, AlreadyThere, Failed };
// Creates `databasePath` from `sourceFolder` when, and only when, no file is there yet. The new file is
// built beside it under another name and moved into place at the end, so a failure never leaves a half
// database where the program looks for one.
Outcome build(const QString& sourceFolder, const QString& databasePath, QString* message);

}  // namespace CourseBuilder

}  // namespace data
