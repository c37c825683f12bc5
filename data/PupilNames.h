#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace data {

// A pupil's name as the archives select it: letter case does not count ("rossi mario" finds "Rossi
// Mario", "è" finds "È"), everything else does (accents, blanks, apostrophes). The engines compare text
// by its bytes (SQLite folds only A-Z), so the fold is done here, on the names stored, and the rows are
// then selected by those exact spellings, always as bound values.
namespace PupilNames {

// The form two names share when they differ only in letter case (or in how an accent is encoded).
QString key(const QString& name);

// Every spelling of `name` stored in the column "cognome e nome" of `table`. False, with `error`, when
// the table cannot be read.
bool spellings(QSqlDatabase db, const QString& table, const QString& name, QStringList* out, QString* error);

// "IN (?, ?, ...)" for `count` bound values (count >= 1).
QString inList(qsizetype count);

}  // namespace PupilNames

}  // namespace data
