#include "archive/FLIsomm.h"

namespace {
QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}
}  // namespace

ImpostazioniArchivio FLIsomm::impostazioni()
{
    using Tipo = Campi::Tipo;
    ImpostazioniArchivio a;
    a.nome = QStringLiteral("FLIsomm");
    a.caption = QStringLiteral("ELENCO DEI RISULTATI NEL QUESTIONARIO SOMMATIVO");
    a.tabella = QStringLiteral("studsomm");
    a.colonne = {
        {QStringLiteral("cognome e nome"), Tipo::Testo, {1200, 1080, 1815, 4710}, QStringLiteral("Nome"), 1, 1},
        {QStringLiteral("punteggio totale"), Tipo::Numero, {3120, 1080, 855, 4710}, QStringLiteral("Tot"), 23, 23},
        {QStringLiteral("valutazione"), Tipo::Testo, {4080, 1080, 1695, 4710}, QStringLiteral("Valutazione"), 27, 27},
        {QStringLiteral("conscere"), Tipo::Numero, {5880, 1080, 855, 4710}, QStringLiteral("Con"), 45, 45},
        {QStringLiteral("comprendere"), Tipo::Numero, {6840, 1080, 855, 4710}, QStringLiteral("Comp"), 50, 50},
        {QStringLiteral("applicare"), Tipo::Numero, {7800, 1080, 855, 4710}, QStringLiteral("App"), 55, 55},
        {QStringLiteral("data"), Tipo::Data, {8760, 1080, 1815, 4710}, QStringLiteral("Data"), 60, 60},
    };
    // Two lines: the headings, then a percent mark under each percentage.
    a.intestazione = blanks(17) + QStringLiteral("NOME") + blanks(20) + QStringLiteral("TOTALE") + blanks(13) +
                     QStringLiteral("VALUTAZIONE") + blanks(6) + QStringLiteral("CONOSCENZE") + blanks(2) +
                     QStringLiteral("COMPRENS.") + blanks(2) + QStringLiteral("ESTRAPOL.") + blanks(13) +
                     QStringLiteral("DATA") + QLatin1Char('\r') + blanks(53) + QLatin1Char('%') + blanks(61) +
                     QLatin1Char('%') + blanks(20) + QLatin1Char('%') + blanks(22) + QLatin1Char('%');
    a.posIntestazione = {960, 600, 9975, 495};
    a.fontIntestazione = {QStringLiteral("MS Sans Serif"), 8.25, true};
    a.selezione = {QStringLiteral("   SELEZIONO i dati  "), {1200, 6000, 3375, 495}};
    a.tutto = {QStringLiteral("VEDO tutti i dati"), {4680, 6000, 3495, 495}};
    a.continuo = {QStringLiteral("CONTINUO a scorrere "), {8280, 6000, 2295, 495}};
    a.stampa = {QStringLiteral(" STAMPO l'elenco che ho scelto"), {1200, 6720, 3375, 495}};
    a.elimina = {QStringLiteral("ELIMINO DALL'ARCHIVIO"), {4680, 6720, 3495, 495}};
    a.menu = {QStringLiteral("Menù"), {5880, 7440, 2295, 495}};
    a.uscita = {QStringLiteral("  ESCO "), {8280, 7440, 2295, 495}};
    a.analisi = {QStringLiteral("ANALISI"), {1200, 7440, 2055, 495}};
    a.esporto = {QStringLiteral("ESPORTO"), {3360, 7440, 2295, 495}};
    a.nomeFile = QStringLiteral("risultati-sommativi");
    // The screen's own decoration, behind everything: it is no control of the design.
    a.nomeSfondo = QStringLiteral("sfondo");
    a.posSfondo = {0, 0, 12000, 9000};
    a.selezioneDopoEliminazione = QStringLiteral("SELEZIONO i dati da mostrare");
    a.uscitaConConferma = true;
    return a;
}

FLIsomm::FLIsomm(Sessione& sessione) : Archivio(impostazioni(), sessione) {}
