#pragma once

#include <QString>

class Sessione;

// What start-up does with the archive just opened, before the menu is used: tells the pupil at once when
// no result can be stored on this computer, and brings the question tables to the course this program
// carries (see data/AggiornaCorso), saying on standard error what it changed or kept.
namespace AvvioArchivio {

// The course carried inside the program.
inline const QString kCorsoDelProgramma = QStringLiteral(":/corso");

void prepara(Sessione& sessione, const QString& cartellaCorso = kCorsoDelProgramma);

// The start-up message for an archive this account cannot write, `motivo` the engine's reason.
QString messaggioSoloLettura(const QString& archivio, const QString& motivo);

}  // namespace AvvioArchivio
