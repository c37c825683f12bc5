#pragma once

#include "ui/Window.h"

#include <memory>

class Sessione;

// Start-up: the screens of the program, the window, and the main menu with the course database.
namespace Avvio {

// Makes every screen of the program known by name, each made over `sessione`.
void registraSchermi(Sessione& sessione);
// Registers the screens, makes the window and loads the main menu, which opens the course database
// into `sessione` (which must outlive the screens).
// When the database cannot be opened the user has been told why, nothing is shown and the result is
// null, with `exitCode` set.
std::unique_ptr<ui::Window> prepara(Sessione& sessione, int* exitCode);
// The whole program: start-up, then the event loop until the pupil leaves.
int esegui();

}  // namespace Avvio
