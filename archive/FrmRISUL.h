#pragma once

#include "archive/Archivio.h"

// The archive of the questionnaires, the image tests and the synthesis test: the table "studenti".
class FrmRISUL : public Archivio {
    Q_OBJECT
public:
    explicit FrmRISUL(Sessione& sessione);
    static ImpostazioniArchivio impostazioni();
};
