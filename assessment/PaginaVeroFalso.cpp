#include "assessment/PaginaVeroFalso.h"

#include "ui/Form.h"

#include <QKeyEvent>

PaginaVeroFalso::PaginaVeroFalso(ui::Form* form, QVector<ui::TextBox*> testi, QVector<ui::CheckBox*> vero,
                                 QVector<ui::CheckBox*> falso, std::array<qint16, 11>& risposte)
    : QObject(form), m_testi(std::move(testi)), m_vero(std::move(vero)), m_falso(std::move(falso)),
      m_risposte(risposte)
{
    for (int r = 0; r < kRighe; ++r) {
        connect(m_vero[r], &QCheckBox::toggled, this, [this, r] { Check1_Click(r); });
        connect(m_falso[r], &QCheckBox::toggled, this, [this, r] { Check2_Click(r); });
        m_vero[r]->installEventFilter(this);
        m_falso[r]->installEventFilter(this);
        accessibile(r);
        descrivi(r);
    }
    // The row digits work wherever the focus is on the screen.
    form->installEventFilter(this);
}

void PaginaVeroFalso::scrivi(int r, const QString& testo)
{
    m_testi[r]->setText(testo);
    m_testi[r]->setCursorPosition(0);
    accessibile(r);
    descrivi(r);
}

void PaginaVeroFalso::accessibile(int riga)
{
    // A row without a statement (before the first page) is no stop for Tab: the keyboard goes straight
    // to the buttons that bring the statements.
    const Qt::FocusPolicy politica = m_testi[riga]->text().isEmpty() ? Qt::NoFocus : Qt::StrongFocus;
    m_vero[riga]->setFocusPolicy(politica);
    m_falso[riga]->setFocusPolicy(politica);
}

void PaginaVeroFalso::svuota()
{
    for (int r = 0; r < kRighe; ++r) {
        m_vero[r]->setChecked(false);
        m_falso[r]->setChecked(false);
    }
}

int PaginaVeroFalso::primaMancante() const
{
    for (int r = 0; r < kRighe; ++r)
        if (!m_vero[r]->isChecked() && !m_falso[r]->isChecked())
            return r;
    return -1;
}

int PaginaVeroFalso::mancanti() const
{
    int n = 0;
    for (int r = 0; r < kRighe; ++r)
        n += !m_vero[r]->isChecked() && !m_falso[r]->isChecked();
    return n;
}

void PaginaVeroFalso::vaiA(int riga, int colonna)
{
    if (riga < 0 || riga >= kRighe)
        return;
    ui::CheckBox* box = (colonna == 0 ? m_vero : m_falso)[riga];
    if (box->isEnabled() && !m_testi[riga]->text().isEmpty())
        box->setFocus(Qt::ShortcutFocusReason);
}

void PaginaVeroFalso::Check1_Click(int Index)
{
    if (m_vero[Index]->isChecked()) {
        m_falso[Index]->setChecked(false);
        m_risposte[Index + 1] = 1;
    }
    descrivi(Index);
}

void PaginaVeroFalso::Check2_Click(int Index)
{
    if (m_falso[Index]->isChecked()) {
        m_vero[Index]->setChecked(false);
        m_risposte[Index + 1] = 0;
    }
    descrivi(Index);
}

void PaginaVeroFalso::descrivi(int riga)
{
    // Each box reads which it is, the statement of its row and the answer given so far, so that a pupil
    // moving from box to box hears the whole row.
    const QString testo = m_testi[riga]->text().simplified();
    const QString risposta = m_vero[riga]->isChecked()    ? QStringLiteral("risposta: vero")
                             : m_falso[riga]->isChecked() ? QStringLiteral("risposta: falso")
                                                          : QStringLiteral("senza risposta");
    for (const bool vero : {true, false}) {
        ui::CheckBox* box = (vero ? m_vero : m_falso)[riga];
        box->setAccessibleName(QStringLiteral("riga %1, %2: %3 (%4)")
                                   .arg(riga + 1)
                                   .arg(vero ? QStringLiteral("V vero") : QStringLiteral("F falso"),
                                        testo.isEmpty() ? QStringLiteral("nessuna affermazione") : testo, risposta));
        box->setAccessibleDescription(testo);
    }
}

int PaginaVeroFalso::rigaDi(const QObject* box, int* colonna) const
{
    for (int r = 0; r < kRighe; ++r) {
        if (box == m_vero[r] || box == m_falso[r]) {
            *colonna = box == m_vero[r] ? 0 : 1;
            return r;
        }
    }
    return -1;
}

bool PaginaVeroFalso::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9) {
        vaiA(key->key() == Qt::Key_0 ? 9 : key->key() - Qt::Key_1, 0);
        return true;
    }
    int colonna = 0;
    const int riga = rigaDi(watched, &colonna);
    if (riga < 0)
        return false;
    switch (key->key()) {
    case Qt::Key_V:
    case Qt::Key_F:
        // A row without a statement (before the first page) takes no answer.
        if (m_testi[riga]->text().isEmpty())
            return true;
        (key->key() == Qt::Key_V ? m_vero : m_falso)[riga]->setChecked(true);
        if (riga < kRighe - 1)
            vaiA(riga + 1, 0);
        else
            emit ultimaRigaRisposta();
        return true;
    case Qt::Key_Up:
        vaiA(riga - 1, colonna);
        return true;
    case Qt::Key_Down:
        vaiA(riga + 1, colonna);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        vaiA(riga, 1 - colonna);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit invio();
        return true;
    default:
        return false;
    }
}
