#pragma once

class Sessione;

// Makes the animation viewer and the animated synthesis known to the screen registry by name.
void registraAnimazioni(Sessione& sessione);
