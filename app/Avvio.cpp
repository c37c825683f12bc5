#include "app/Avvio.h"

#include "app/Fscelt.h"
#include "app/Modmorvel.h"
#include "animation/Animazioni.h"
#include "archive/Archivi.h"
#include "assessment/Verifiche.h"
#include "lessons/Argomento.h"
#include "lessons/Lezioni.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QScreen>

namespace Avvio {

namespace {
constexpr int kArchivioInutilizzabile = 2;
constexpr int kLezioniIlleggibili = 3;
}

void registraSchermi()
{
    auto& screens = ui::Screens::instance();
    screens.registerScreen(QStringLiteral("Fscelt"), [] { return new Fscelt; });
    registraLezioni();
    registraVerifiche();
    registraArchivi();
    registraAnimazioni();
}

std::unique_ptr<ui::Window> prepara(int* exitCode)
{
    // The lessons are part of the program: if they cannot be read the program is broken, not the room.
    if (!Argomenti::errore().isEmpty()) {
        ui::MessageBox::message(QStringLiteral("Il programma è danneggiato: non riesco a leggere le lezioni (%1).\n\n"
                                               "Reinstalla il programma.")
                                    .arg(Argomenti::errore()));
        *exitCode = kLezioniIlleggibili;
        return nullptr;
    }
    registraSchermi();
    auto window = std::make_unique<ui::Window>();
    window->resize(800, 600);
    ui::Screens::instance().setWindow(window.get());
    QObject::connect(window.get(), &ui::Window::closeRequested, [] { Modmorvel::uscita(); });
    auto* menu = qobject_cast<Fscelt*>(ui::Screens::instance().load(QStringLiteral("Fscelt")));
    if (!menu || !Modmorvel::dbcorso) {
        *exitCode = kArchivioInutilizzabile;
        ui::Screens::instance().reset();
        ui::Screens::instance().setWindow(nullptr);
        return nullptr;
    }
    *exitCode = 0;
    ui::Screens::instance().show(QStringLiteral("Fscelt"));
    return window;
}

int esegui()
{
    int exitCode = 0;
    auto window = prepara(&exitCode);
    if (!window)
        return exitCode;
    // Every screen takes the whole display; without a window manager "maximized" alone does nothing.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->setGeometry(screen->availableGeometry());
    window->showMaximized();
    const int result = QApplication::exec();
    ui::Screens::instance().reset();
    Modmorvel::azzera();
    return result;
}

}  // namespace Avvio
