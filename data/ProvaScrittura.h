#pragma once

#include <QSqlDatabase>
#include <QString>

namespace data {

// Whether this computer's account may store results in the archive file: a write that is undone at once.
// A pupil is told at start-up, not after the first test.
namespace ProvaScrittura {

enum class Esito {
    Scrivibile,
    NonScrivibile,  // the file or its folder refuses this account (or the file cannot be written at all)
    Occupato,       // another computer held the file all the while: nothing can be said now
};
// `motivo` gets the reason, in Italian, when the archive cannot be written.
Esito prova(QSqlDatabase db, QString* motivo);

}  // namespace ProvaScrittura

}  // namespace data
