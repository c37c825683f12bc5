#include "lessons/MotorePagine.h"

MotorePagine::MotorePagine(const Argomento& argomento) : m_argomento(argomento)
{
    carica();
}

void MotorePagine::carica()
{
    const Argomento& a = m_argomento;
    m_vista = Vista();
    m_vista.numpagina = 1;
    m_vista.titoloVisibile = true;
    m_vista.titolo = a.titoli[1];
    m_vista.testo = a.testi[1];
    m_vista.immagine = a.pagina(1).immagine;
    m_vista.descrizioneImmagine = a.pagina(1).descrizioneImmagine;
    m_vista.posizioneImmagine = a.progettoImmagine.topLeft();
    m_vista.pannello = a.progettoPannello;
    m_vista.animazione = a.animazioneAlCaricamento;
    m_vista.animazioneVisibile = a.haAnimazione() && a.animazioneAlCaricamento > 0;
    m_vista.avantiAbilitato = a.ultimaPagina > 1;
}

void MotorePagine::avanti()
{
    if (m_vista.numpagina >= m_argomento.ultimaPagina)
        return;  // the button is disabled there
    ++m_vista.numpagina;
    m_vista.rivediAbilitato = true;
    m_vista.indietroAbilitato = true;
    const QString& nuovo = m_argomento.testi[m_vista.numpagina];
    if (m_argomento.accodata(m_vista.numpagina))
        m_vista.testo = m_vista.testo + QLatin1Char('\r') + nuovo;
    else
        m_vista.testo = nuovo;
    applica(false);
    if (m_vista.numpagina == m_argomento.ultimaPagina)
        m_vista.avantiAbilitato = false;
}

void MotorePagine::indietro()
{
    m_vista.avantiAbilitato = true;
    --m_vista.numpagina;
    if (m_vista.numpagina >= 1) {
        m_vista.indietroAbilitato = true;
        m_vista.testo = m_argomento.testi[m_vista.numpagina];
        applica(true);
    } else {
        m_vista.numpagina = 1;
        m_vista.indietroAbilitato = false;
    }
}

void MotorePagine::clicFinestrella(const QString& label)
{
    const auto it = m_argomento.finestrelle.constFind(label);
    if (it != m_argomento.finestrelle.cend() && m_vista.finestrelle.contains(label))
        m_vista.testo = it->testo;
}

void MotorePagine::nascondiAnimazione()
{
    m_vista.animazioneVisibile = false;
}

void MotorePagine::applica(bool indietro)
{
    const Pagina& p = m_argomento.pagina(m_vista.numpagina);
    switch (p.tipoTitolo) {
    case Pagina::Titolo::Voce:
        m_vista.titoloVisibile = true;
        m_vista.titolo = m_argomento.titoli[p.voceTitolo];
        break;
    case Pagina::Titolo::Letterale:
        m_vista.titoloVisibile = true;
        m_vista.titolo = p.titoloLetterale;
        break;
    case Pagina::Titolo::Nascosto:
        m_vista.titoloVisibile = false;
        break;
    }
    const bool altraIndietro = indietro && !p.immagineIndietro.isEmpty();
    m_vista.immagine = altraIndietro ? p.immagineIndietro : p.immagine;
    m_vista.descrizioneImmagine =
        altraIndietro && !p.descrizioneIndietro.isEmpty() ? p.descrizioneIndietro : p.descrizioneImmagine;
    if (p.posizioneImmagine)
        m_vista.posizioneImmagine = *p.posizioneImmagine;
    if (indietro && p.pannelloIndietro)
        m_vista.pannello = *p.pannelloIndietro;
    else if (p.pannello)
        m_vista.pannello = *p.pannello;
    m_vista.finestrelle = p.finestrelle;
    m_vista.animazione = p.animazione > 0 ? p.animazione : m_vista.animazione;
    m_vista.animazioneVisibile = m_argomento.haAnimazione() && p.animazione > 0;
}
