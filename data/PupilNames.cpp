#include "data/PupilNames.h"

#include "data/Database.h"

#include <QSqlError>
#include <QSqlQuery>

namespace data::PupilNames {

namespace {
const auto kStoredNames = QStringLiteral(R"(SELECT DISTINCT "cognome e nome" FROM "%1")");
}  // namespace

QString key(const QString& name)
{
    return name.normalized(QString::NormalizationForm_C).toCaseFolded();
}

bool spellings(QSqlDatabase db, const QString& table, const QString& name, QStringList* out, QString* error)
{
    out->clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(kStoredNames.arg(table))) {
        *error = Database::describe(query.lastError());
        return false;
    }
    const QString wanted = key(name);
    while (query.next()) {
        const QString stored = query.value(0).toString();
        if (key(stored) == wanted)
            out->append(stored);
    }
    if (query.lastError().isValid()) {
        *error = Database::describe(query.lastError());
        out->clear();
        return false;
    }
    return true;
}

QString inList(qsizetype count)
{
    QStringList marks;
    marks.fill(QStringLiteral("?"), count);
    return QStringLiteral("IN (%1)").arg(marks.join(QLatin1String(", ")));
}

}  // namespace data::PupilNames
