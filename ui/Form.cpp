#include "ui/Form.h"

#include "ui/Accessibile.h"

#include <QApplication>
#include <QResizeEvent>

#include <algorithm>

namespace ui {

Form::Form(const QString& name, QWidget* parent) : QWidget(parent)
{
    installaAccessibilita();
    setObjectName(name);
    setAutoFillBackground(true);
    setBackColor(m_back);
    setAccessibleName(name);
}

Form::~Form()
{
    // The controls go first, while the table of their placements still exists to forget them.
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

void Form::setCaption(const QString& caption)
{
    m_caption = caption;
    setWindowTitle(caption);
    setAccessibleName(caption);
}

QString Form::arrayName(const QString& name, int index)
{
    return QStringLiteral("%1(%2)").arg(name).arg(index);
}

namespace {
QWidget* controlloDi(const QWidget* form, QWidget* w)
{
    // The direct child of the form that holds `w` (a control may give the keyboard to a part of itself).
    while (w && w->parentWidget() != form)
        w = w->parentWidget();
    return w;
}

bool prendeLaTastiera(const QWidget* w)
{
    return (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled();
}
}  // namespace

QList<QWidget*> Form::ordineDiLettura() const
{
    return ordineCon(nullptr);
}

void Form::setOrdine(QList<QWidget*> ordine)
{
    m_ordine.clear();
    for (QWidget* w : ordine)
        m_ordine.append(w);
}

QList<QWidget*> Form::ordineCon(QWidget* anche) const
{
    QList<QWidget*> controlli;
    if (!m_ordine.isEmpty()) {
        for (const QPointer<QWidget>& w : m_ordine)
            if (w && (prendeLaTastiera(w) || w == anche))
                controlli.append(w);
        return controlli;
    }
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (prendeLaTastiera(w) || w == anche)
            controlli.append(w);
    // Top to bottom; a control whose top lies within half the height of a row's first control stands on
    // that row, and each row reads left to right.
    std::stable_sort(controlli.begin(), controlli.end(),
                     [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
    for (auto riga = controlli.begin(); riga != controlli.end();) {
        const QWidget* primo = *riga;
        const auto fine = std::find_if(riga, controlli.end(), [primo](const QWidget* w) {
            return w->y() - primo->y() > primo->height() / 2;
        });
        std::stable_sort(riga, fine, [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
        riga = fine;
    }
    return controlli;
}

QWidget* Form::primoFuoco() const
{
    if (m_ultimoFuoco && m_ultimoFuoco->parentWidget() == this && prendeLaTastiera(m_ultimoFuoco))
        return m_ultimoFuoco;
    const QList<QWidget*> controlli = ordineDiLettura();
    return controlli.isEmpty() ? nullptr : controlli.first();
}

void Form::ricordaFuoco(QWidget* control)
{
    if (QWidget* c = controlloDi(this, control))
        m_ultimoFuoco = c;
}

bool Form::focusNextPrevChild(bool next)
{
    // The control that has the keyboard keeps its place in the order even when it has just been
    // disabled or hidden: the keyboard then goes on to its neighbour, not back to the start.
    QWidget* qui = controlloDi(this, window()->focusWidget());
    const QList<QWidget*> controlli = ordineCon(qui);
    const qsizetype at = controlli.indexOf(qui);
    const qsizetype n = controlli.size();
    for (qsizetype passo = 1; passo <= n; ++passo) {
        const qsizetype i = at < 0 ? (next ? passo - 1 : n - passo) : ((at + (next ? passo : n - passo)) % n);
        if (QWidget* w = controlli[i]; w != qui) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

QRect Form::designRect(const QWidget* control) const
{
    return m_placements.value(control).twips;
}

void Form::setDesignRect(QWidget* control, const QRect& twips)
{
    auto it = m_placements.find(control);
    if (it == m_placements.end())
        return;
    it->twips = twips;
    layoutControl(control, *it);
}

void Form::moveTo(QWidget* control, int left, int top)
{
    const QRect r = designRect(control);
    setDesignRect(control, QRect(QPoint(left, top), r.size()));
}

void Form::setDesignFont(QWidget* control, const FontSpec& font)
{
    auto it = m_placements.find(control);
    if (it == m_placements.end())
        return;
    it->font = font;
    layoutControl(control, *it);
}

FontSpec Form::designFont(const QWidget* control) const
{
    return m_placements.value(control).font;
}

void Form::setBackColor(const QColor& colour)
{
    m_back = colour;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
}

void Form::applyScala(const Scala& scala)
{
    m_scala = scala;
    for (auto it = m_placements.cbegin(); it != m_placements.cend(); ++it)
        layoutControl(const_cast<QWidget*>(it.key()), it.value());
}

void Form::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    applyScala(Scala::perArea(event->size(), designSize()));
}

void Form::layoutControl(QWidget* control, const Placement& p)
{
    control->setGeometry(m_scala.rect(p.twips));
    control->setFont(Fonts::font(p.font, m_scala.pointsToPixels(1.0)));
}

void Form::place(QWidget* control, const QString& name, const QRect& twips, const FontSpec& font)
{
    control->setObjectName(name);
    m_placements.insert(control, {twips, font});
    connect(control, &QObject::destroyed, this, [this, control] { m_placements.remove(control); });
    layoutControl(control, m_placements.value(control));
}

Button* Form::addButton(const QString& name, const QString& caption, const QRect& twips, const FontSpec& font)
{
    auto* b = new Button(caption, this);
    place(b, name, twips, font);
    return b;
}

Label* Form::addLabel(const QString& name, const QString& caption, const QRect& twips, const FontSpec& font)
{
    auto* l = new Label(caption, this);
    place(l, name, twips, font);
    return l;
}

Picture* Form::addPicture(const QString& name, const QRect& twips)
{
    auto* p = new Picture(this);
    place(p, name, twips, {});
    p->setAccessibleName(name);
    return p;
}

CheckBox* Form::addCheckBox(const QString& name, const QString& caption, const QRect& twips, const FontSpec& font)
{
    auto* c = new CheckBox(caption, this);
    place(c, name, twips, font);
    return c;
}

TextBox* Form::addTextBox(const QString& name, const QRect& twips, const FontSpec& font)
{
    auto* t = new TextBox(this);
    place(t, name, twips, font);
    t->setAccessibleName(name);
    return t;
}

ListBox* Form::addListBox(const QString& name, const QRect& twips, const FontSpec& font)
{
    auto* l = new ListBox(this);
    place(l, name, twips, font);
    l->setAccessibleName(name);
    return l;
}

Timer* Form::addTimer(const QString& name, int intervalMs, bool enabled)
{
    auto* t = new Timer(this);
    t->setObjectName(name);
    t->setInterval(intervalMs);
    t->setEnabled(enabled);
    return t;
}

}  // namespace ui
