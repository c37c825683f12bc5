#pragma once

#include <QSqlDatabase>
#include <QString>

namespace data::ServerSetup {

// The group roles the setup grants rights to. A pupils' computer logs in as a member of the first: it
// reads everything and adds result rows. The teacher's logs in as a member of the second, which may
// also delete result rows.
inline constexpr char kRuoloAlunni[] = "placche_alunni";
inline constexpr char kRuoloInsegnanti[] = "placche_insegnanti";

// Prepares an open server database for the course, from the course source folder: the seven question
// tables (filled when empty), the two result tables with an identity column and a unique key per
// result, and the two roles with their rights. Runs in one transaction and may be run again: it never
// drops or changes a result row. A database that holds tables of something else, or course tables of
// another shape, is refused and left untouched. `message` says, in Italian, what was done or why not.
bool prepara(QSqlDatabase db, const QString& sourceFolder, QString* message);

}  // namespace data::ServerSetup
