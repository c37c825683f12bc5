#include "ui/Accessibile.h"

#include "ui/Controls.h"

#include <QAccessibleWidget>

namespace ui {

namespace {

class EtichettaAccessibile : public QAccessibleWidget {
public:
    explicit EtichettaAccessibile(Label* label) : QAccessibleWidget(label) {}

    QAccessible::Role role() const override
    {
        switch (etichetta()->ruolo()) {
        case Label::Ruolo::Pulsante:
            return QAccessible::Button;
        case Label::Ruolo::Spunta:
            return QAccessible::CheckBox;
        case Label::Ruolo::Testo:
            break;
        }
        return QAccessible::StaticText;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (etichetta()->ruolo() == Label::Ruolo::Spunta) {
            s.checkable = true;
            s.checked = etichetta()->spuntata();
        }
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        const QString detto = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && detto.isEmpty())
            return etichetta()->text().simplified();
        return detto;
    }

    QStringList actionNames() const override
    {
        switch (etichetta()->ruolo()) {
        case Label::Ruolo::Pulsante:
            return QStringList{pressAction()} + QAccessibleWidget::actionNames();
        case Label::Ruolo::Spunta:
            return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
        case Label::Ruolo::Testo:
            break;
        }
        return QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        const Label::Ruolo ruolo = etichetta()->ruolo();
        const bool premuta = (ruolo == Label::Ruolo::Pulsante && action == pressAction()) ||
                             (ruolo == Label::Ruolo::Spunta && action == toggleAction());
        if (!premuta) {
            QAccessibleWidget::doAction(action);
            return;
        }
        // What a click does, and only where a click would reach.
        if (etichetta()->isEnabled() && etichetta()->isVisible())
            emit etichetta()->clicked();
    }

private:
    Label* etichetta() const { return static_cast<Label*>(widget()); }
};

QAccessibleInterface* fabbrica(const QString& classe, QObject* oggetto)
{
    if (!oggetto || !oggetto->isWidgetType())
        return nullptr;
    if (classe == QLatin1String("ui::Label"))
        return new EtichettaAccessibile(static_cast<Label*>(oggetto));
    // The one top-level window: a frame, named after the screen in front, as screen readers expect.
    if (classe == QLatin1String("ui::Window"))
        return new QAccessibleWidget(static_cast<QWidget*>(oggetto), QAccessible::Window);
    if (classe == QLatin1String("ui::Picture"))
        return new QAccessibleWidget(static_cast<QWidget*>(oggetto), QAccessible::Graphic);
    return nullptr;
}

}  // namespace

void installaAccessibilita()
{
    static const bool installata = [] {
        QAccessible::installFactory(&fabbrica);
        return true;
    }();
    (void)installata;
}

}  // namespace ui
