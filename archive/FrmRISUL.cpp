#include "archive/FrmRISUL.h"

namespace {
QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}
}  // namespace

ImpostazioniArchivio FrmRISUL::impostazioni()
{
    using Tipo = Campi::Tipo;
    ImpostazioniArchivio a;
    a.nome = QStringLiteral("frmRISUL");
    a.caption = QStringLiteral("ELENCO DEI RISULTATI");
    a.tabella = QStringLiteral("studenti");
    a.colonne = {
        {QStringLiteral("cognome e nome"), Tipo::Testo, {1440, 720, 1695, 4710}, QStringLiteral("Nome"), 1, 1},
        {QStringLiteral("argomento"), Tipo::Testo, {3360, 720, 2295, 4710}, QStringLiteral("Tipo eserc."), 18, 23},
        {QStringLiteral("punteggio"), Tipo::Numero, {5880, 720, 1215, 4710}, QStringLiteral("Risp. giuste"), 38, 47},
        {QStringLiteral("maxpunti"), Tipo::Numero, {7320, 720, 1215, 4710}, QStringLiteral("Max punti"), 51, 53},
        {QStringLiteral("data"), Tipo::Data, {8760, 720, 1815, 4710}, QStringLiteral("Data"), 62, 60},
    };
    // One line; the blanks place each heading over its list.
    a.intestazione = blanks(6) + QStringLiteral("NOME") + blanks(23) + QStringLiteral("TIPO ESERCIZIO") + blanks(8) +
                     QStringLiteral("Risposte GIUSTE") + blanks(3) + QStringLiteral("MAX PUNTI") + blanks(16) +
                     QStringLiteral("DATA");
    a.posIntestazione = {1440, 360, 9135, 255};
    // At this size the blanks of the caption fall where its headings belong.
    a.fontIntestazione = {QStringLiteral("MS Sans Serif"), 9.75};
    a.selezione = {QStringLiteral("SELEZIONO i dati "), {1440, 5640, 4215, 495}};
    a.tutto = {QStringLiteral("VEDO tutti i dati"), {5880, 5640, 3255, 495}};
    a.continuo = {QStringLiteral("CONTINUO a scorrere   "), {9240, 5640, 2175, 495}};
    a.stampa = {QStringLiteral(" STAMPO "), {1440, 6480, 4215, 495}};
    a.elimina = {QStringLiteral("ELIMINO DALL'ARCHIVIO "), {5880, 6480, 3255, 495}};
    a.menu = {QStringLiteral("Menù"), {9240, 6480, 2175, 495}};
    a.uscita = {QStringLiteral("  ESCO "), {9240, 7080, 2175, 495}};
    a.analisi = {QStringLiteral("ANALISI"), {1440, 7080, 2055, 495}};
    a.esporto = {QStringLiteral("ESPORTO"), {3600, 7080, 2055, 495}};
    a.nomeFile = QStringLiteral("risultati-questionari");
    a.nomeSfondo = QStringLiteral("Image1");
    a.posSfondo = {1200, 240, 9600, 6900};
    a.colore = QColor(226, 214, 192);  // the sand of the picture's edge, a shade darker
    a.continuoRiabilitaSelezione = true;
    a.uscitaConConferma = false;
    a.menuScaricaQuestionario = true;
    return a;
}

FrmRISUL::FrmRISUL(Sessione& sessione) : Archivio(impostazioni(), sessione) {}
