#include "archive/Paginazione.h"

void Paginazione::azzera()
{
    m_riga = m_numrec = m_contapagine = m_pagine = 0;
}

void Paginazione::inizia(int numrec)
{
    azzera();
    m_numrec = numrec;
}

int Paginazione::scrivi()
{
    const int first = m_riga + 1;
    m_riga += kRighe;
    return first;
}

bool Paginazione::dopoPrimaPagina()
{
    if (m_numrec < kRighe) {
        azzera();
        return false;
    }
    m_pagine = m_numrec / kRighe;
    return true;
}

bool Paginazione::avanti()
{
    ++m_contapagine;
    if (m_contapagine > m_pagine) {
        azzera();
        return false;
    }
    return true;
}
