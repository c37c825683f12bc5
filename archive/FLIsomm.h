#pragma once

#include "archive/Archivio.h"

// The archive of the summative tests: the table "studsomm".
class FLIsomm : public Archivio {
    Q_OBJECT
public:
    explicit FLIsomm(Sessione& sessione);
    static ImpostazioniArchivio impostazioni();
};
