#pragma once

#include "data/Recordset.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

// What the questionnaire page does apart from its widgets: the random order of a page and the check of
// a question record before it is shown.
namespace Questionario {

// Arrays run 0-10 and use 1-10, like the shared ones.
struct PaginaMescolata {
    std::array<QString, 11> testi;
    std::array<qint16, 11> codici{};
};

// The ten statements in a new random order, each with its own answer code. `uniforme` gives numbers in
// [0, 1); a row is drawn as Int(u * 10 + 1) and drawn again while it is already taken.
PaginaMescolata ordinecasuale(const std::array<QString, 11>& domande, const std::array<qint16, 11>& soluzioni,
                              const std::function<double()>& uniforme);

// Empty when the current record of `rs` can be shown as a page (ten statements, ten codes 0 or 1, a
// label); otherwise a message for the pupil naming the table and the page (`pagina` counts from 1).
QString difettoPagina(data::Recordset& rs, int pagina);

}  // namespace Questionario
