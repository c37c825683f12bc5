#include "app/Avvio.h"

#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "animation/Animazioni.h"
#include "animation/ProvaSintesi.h"
#include "archive/Archivi.h"
#include "assessment/Etichette.h"
#include "assessment/Verifiche.h"
#include "lessons/Argomento.h"
#include "lessons/Lezioni.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QScreen>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Avvio {

namespace {
constexpr int kArchivioInutilizzabile = 2;
constexpr int kContenutiIlleggibili = 3;

// The course content is part of the program: if it cannot be read the program is broken, not the room.
// Empty when every part was read.
QString contenutoIlleggibile()
{
    const std::pair<QString, QString> parti[] = {
        {QStringLiteral("le lezioni"), Argomenti::errore()},
        {QStringLiteral("i test con le immagini"), Etichette::errore()},
        {QStringLiteral("i test della sintesi animata"), ProvaSintesi::errore()},
    };
    for (const auto& [cosa, errore] : parti)
        if (!errore.isEmpty())
            return QStringLiteral("Il programma è danneggiato: non riesco a leggere %1 (%2).\n\n"
                                  "Reinstalla il programma.")
                .arg(cosa, errore);
    return {};
}
// The animations make and drop pictures of several megabytes, up to a thousand a second. By default the C
// library maps each one from the system afresh and hands it back when it is dropped, which at the viewer's
// fastest speed costs as much as decoding the picture: the memory is kept in the program instead, for
// blocks below a size no picture reaches.
void tieniLaMemoriaDelleImmagini()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
#endif
}
}  // namespace

void registraSchermi(Sessione& sessione)
{
    auto& screens = ui::Screens::instance();
    screens.registerScreen(QStringLiteral("Fscelt"), [&sessione] { return new Fscelt(sessione); });
    registraLezioni(sessione);
    registraVerifiche(sessione);
    registraArchivi(sessione);
    registraAnimazioni(sessione);
}

std::unique_ptr<ui::Window> prepara(Sessione& sessione, int* exitCode)
{
    tieniLaMemoriaDelleImmagini();
    if (const QString guasto = contenutoIlleggibile(); !guasto.isEmpty()) {
        ui::MessageBox::message(guasto);
        *exitCode = kContenutiIlleggibili;
        return nullptr;
    }
    registraSchermi(sessione);
    auto window = std::make_unique<ui::Window>();
    window->resize(800, 600);
    ui::Screens::instance().setWindow(window.get());
    QObject::connect(window.get(), &ui::Window::closeRequested, [&sessione] { sessione.uscita(); });
    auto* menu = qobject_cast<Fscelt*>(ui::Screens::instance().load(QStringLiteral("Fscelt")));
    if (!menu || !sessione.dbcorso) {
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
    // The session outlives every screen: they are unloaded before it goes.
    Sessione sessione;
    int exitCode = 0;
    auto window = prepara(sessione, &exitCode);
    if (!window)
        return exitCode;
    // Every screen takes the whole display; without a window manager "maximized" alone does nothing.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->setGeometry(screen->availableGeometry());
    window->showMaximized();
    const int result = QApplication::exec();
    ui::Screens::instance().reset();
    return result;
}

}  // namespace Avvio
