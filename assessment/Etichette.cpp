#include "assessment/Etichette.h"

namespace Etichette {

namespace {
struct Dati {
    const char* titolo;
    const char* immagine;
    const char* nomi[10];
    int esatti[10];
};

// The blanks are part of the names, as the pupil sees them.
const Dati kArgomenti[6] = {
    {"Struttura della Terra", "immagini\\questim\\terra1.jpg",
     {" Nucleo liquido ", " Crosta terrestre", " Confine tra strati", " Mantello inferiore ", " Oceano ",
      " Atmosfera ", " Italia ", " Continente ", " Mantello superiore", " Nucleo solido "},
     {10, 1, 3, 4, 9, 6, 7, 8, 5, 2}},
    {"Le CROSTE.", "immagini\\questim\\crostea.jpg",
     {" Crosta oceanica. ", " Crosta continentale ", " Litosfera continentale. ", " Litosfera oceanica ",
      " Mantello superiore. ", "  Oceano ", " Atmosfera ", " Catena montuosa ", " Confine tra le due croste ",
      " Fossa oceanica. "},
     {2, 8, 7, 10, 6, 9, 1, 4, 5, 3}},
    {"Le PLACCHE.", "immagini\\questim\\plac.jpg",
     {" Placca del Pacifico ", " Placca Indo-australiana ", " Placca antartica ", " Placca africana ",
      " Placca euroasiatica ", " Placca di sola cr.oceanica ", " Placca di sola cr.continent. ",
      "Pl. di cr. cont. ed oc. ", " Confine lungo dorsale ", " Confine lungo fossa "},
     {6, 9, 8, 10, 5, 7, 4, 2, 3, 1}},
    {"La SUBDUZIONE.", "immagini\\questim\\subdur.jpg",
     {" Fossa oceanica ", " Crosta oceanica ", " Crosta continentale ", " Mantello superiore ", " Vulcano ",
      " Subduzione ", " Litosfera oceanica ", " Catena montuosa", " Fondale oceanico ", " Sedimenti "},
     {3, 5, 8, 1, 10, 9, 2, 7, 4, 6}},
    {"I FENOMENI ATTUALI.", "immagini\\questim\\terrafis.jpg",
     {" Faglie africane ", " Faglia di San Andreas ", " Sistema himalayano ", " Sistema alpino ", " Arco insulare ",
      " Fossa oceanica ", " Dorsale medioatlantica ", " Altra dorsale oceanica ", " Placca di Nazca ",
      " Placca araba "},
     {1, 3, 5, 10, 4, 2, 7, 6, 9, 8}},
    {"PER LA SINTESI.", "immagini\\questim\\SINTESI.jpg",
     {" Mantello inferiore. ", " Nucleo liquido. ", " Crosta continentale. ", " Subduzione. ", " Crosta oceanica. ",
      " Mantello superiore. ", " Fondale in espansione. ", " Nucleo solido. ", " Litosfera continentale ",
      " Dorsale. "},
     {6, 3, 10, 7, 4, 5, 2, 8, 1, 9}},
};

const std::array<Argomento, 6>& argomenti()
{
    static const std::array<Argomento, 6> tutti = [] {
        std::array<Argomento, 6> a;
        for (int n = 0; n < 6; ++n) {
            const Dati& d = kArgomenti[n];
            a[n].titolo = QString::fromUtf8(d.titolo);
            a[n].immagine = QString::fromUtf8(d.immagine);
            for (int k = 1; k <= 10; ++k)
                a[n].nomiparti[k] = QString::fromUtf8(d.nomi[k - 1]);
            for (int i = 0; i < kCaselle; ++i)
                a[n].numeriesatti[i] = QString::number(d.esatti[i]);
        }
        return a;
    }();
    return tutti;
}

const QRect kPosizioni[kCaselle] = {
    {6000, 3840, 495, 495}, {6000, 2520, 495, 495}, {6000, 1080, 495, 495}, {4200, 360, 615, 375},
    {1800, 360, 615, 375},  {360, 1080, 495, 495},  {360, 2520, 495, 495},  {360, 3840, 495, 495},
    {1800, 4800, 615, 375}, {4320, 4800, 615, 375},
};
}  // namespace

const Argomento* argomento(int numero)
{
    if (numero < 1 || numero > 6)
        return nullptr;
    return &argomenti()[numero - 1];
}

QRect casella(int i)
{
    return kPosizioni[i];
}

int casellaSotto(const QPoint& twips)
{
    for (int i = 0; i < kCaselle; ++i)
        if (kPosizioni[i].contains(twips))
            return i;
    return -1;
}

void Caselle::lascia(int casella, int numero)
{
    m_contenuto[casella] = QString::number(numero);
    m_spostato[numero - 1] = true;
}

int Caselle::lasciaIn(const QPoint& twips, int numero)
{
    const int i = casellaSotto(twips);
    if (i >= 0)
        lascia(i, numero);
    return i;
}

void Caselle::svuota()
{
    m_contenuto.fill(QString());
    m_spostato.fill(false);
}

Caselle::Esito Caselle::valuta(const std::array<QString, kCaselle>& numeriesatti) const
{
    Esito esito;
    for (int i = 0; i < kCaselle; ++i) {
        if (!numeriesatti[i].isEmpty() && m_contenuto[i] == numeriesatti[i])
            ++esito.giuste;
        else
            esito.sbagliata[i] = true;
    }
    return esito;
}

}  // namespace Etichette
