#pragma once

class Sessione;

// Makes the six lesson screens forarg1 ... forarg6 known to the screen registry by name.
void registraLezioni(Sessione& sessione);
