#pragma once

#include <QString>
#include <QVariant>

// How the archives show and print a stored value. They compute nothing: a value is only written out.
namespace Campi {

enum class Tipo { Testo, Numero, Data };

// Dates as dd/mm/yyyy, numbers as plain whole numbers (a fraction a foreign program may have stored
// keeps its decimals, with a comma), texts as stored; a missing value is the empty text. A value that is
// not what its column should hold is shown as stored rather than hidden.
QString testo(const QVariant& valore, Tipo tipo);

}  // namespace Campi
