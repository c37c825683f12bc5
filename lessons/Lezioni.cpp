#include "lessons/Lezioni.h"

#include "lessons/Argomento.h"
#include "lessons/Forarg.h"
#include "ui/Screens.h"

void registraLezioni(Sessione& sessione)
{
    for (int n = 1; n <= 6; ++n) {
        if (const Argomento* a = Argomenti::argomento(n))
            ui::Screens::instance().registerScreen(a->schermo, [a, &sessione] { return new Forarg(*a, sessione); });
    }
}
