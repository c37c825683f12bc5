#pragma once

// The paging of an archive list, 20 lines a page, with the counters the archives have always used.
// The whole table is counted one past its rows (a table of 19 rows already pages, into an empty second
// page); a pupil's selection is counted as it is. A list of fewer than 20 counts is one page with no
// paging; otherwise the first page is followed by `pagine` further pages, and the press after the last
// of them ends the paging.
class Paginazione {
public:
    static constexpr int kRighe = 20;

    int riga() const { return m_riga; }  // the last row written to the lists (0: none yet)
    int numrec() const { return m_numrec; }
    int contapagine() const { return m_contapagine; }
    int pagine() const { return m_pagine; }

    void azzera();
    // A new list counted as `numrec`, before its first page.
    void inizia(int numrec);
    // The page about to be written: its first row; the rows up to riga() + kRighe are then written.
    int scrivi();
    // After the first page: true when further pages follow (pagine() set), false for a single page (the
    // counters back to 0).
    bool dopoPrimaPagina();
    // A press of CONTINUO: true when another page is to be written, false when the paging has ended
    // (the counters back to 0).
    bool avanti();

private:
    int m_riga = 0;
    int m_numrec = 0;
    int m_contapagine = 0;
    int m_pagine = 0;
};
