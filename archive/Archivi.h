#pragma once

class Sessione;

// Makes the two archives of results known to the screen registry by name.
void registraArchivi(Sessione& sessione);
