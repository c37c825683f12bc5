#pragma once

class Sessione;

// Makes the questionnaire, the image test, the summative test and its result card known to the screen registry by name.
void registraVerifiche(Sessione& sessione);
