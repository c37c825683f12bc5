#pragma once

#include "ui/Controls.h"

#include <QVector>
#include <QWidget>

// A panel of a screen: a background and the controls that stand on it, shown and hidden together.
class Riquadro {
public:
    void setFondo(ui::Label* fondo) { m_fondo = fondo; }
    ui::Label* fondo() const { return m_fondo; }
    void aggiungi(QWidget* control) { m_controlli.append(control); }
    bool isVisible() const { return m_visibile; }

    void setVisible(bool visible)
    {
        m_visibile = visible;
        if (m_fondo)
            m_fondo->setVisible(visible);
        for (QWidget* control : std::as_const(m_controlli))
            control->setVisible(visible);
    }

private:
    ui::Label* m_fondo = nullptr;
    QVector<QWidget*> m_controlli;
    bool m_visibile = true;
};
