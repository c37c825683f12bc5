#pragma once

#include "ui/Controls.h"
#include "ui/Fonts.h"
#include "ui/Timer.h"
#include "ui/Twips.h"

#include <QColor>
#include <QHash>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

namespace ui {

// One screen of the program. Controls are placed in twips as designed; the form lays them out at the
// scale of the window it stands in. Subclasses build their controls in the constructor, connect them to
// their handlers, and prepare their state in Form_Load, which runs once each time the screen is loaded.
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const QString& name, QWidget* parent = nullptr);
    ~Form() override;

    QString name() const { return objectName(); }
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    virtual void Form_Load() {}

    // The design area the screen is laid out in: the whole 12000 x 9000 twips unless a screen is
    // designed smaller.
    virtual QSize designSize() const { return QSize(kDesignWidth, kDesignHeight); }

    // Design geometry of a control, in twips.
    QRect designRect(const QWidget* control) const;
    void setDesignRect(QWidget* control, const QRect& twips);
    void moveTo(QWidget* control, int left, int top);
    void setDesignFont(QWidget* control, const FontSpec& font);
    FontSpec designFont(const QWidget* control) const;

    void setBackColor(const QColor& colour);
    QColor backColor() const { return m_back; }

    void applyScala(const Scala& scala);
    const Scala& scala() const { return m_scala; }

    // A control by its name; control arrays are named "Command1(0)" ... "Command1(5)".
    template <class T>
    T* control(const QString& name) const
    {
        return findChild<T*>(name, Qt::FindDirectChildrenOnly);
    }
    static QString arrayName(const QString& name, int index);

    // The controls that take the keyboard now (shown and enabled), in reading order: top to bottom, and
    // left to right along a row, as they are laid out. Tab and Shift+Tab follow it.
    QList<QWidget*> ordineDiLettura() const;
    // Where the keyboard goes when the screen comes to the front: the control used last on it, when it
    // still takes the keyboard, otherwise the first in reading order.
    QWidget* primoFuoco() const;
    void ricordaFuoco(QWidget* control);
    // A screen whose controls do not read in the order of their places gives its own order.
    void setOrdine(QList<QWidget*> ordine);

protected:
    bool focusNextPrevChild(bool next) override;
    Button* addButton(const QString& name, const QString& caption, const QRect& twips,
                      const FontSpec& font = {});
    Label* addLabel(const QString& name, const QString& caption, const QRect& twips, const FontSpec& font = {});
    Picture* addPicture(const QString& name, const QRect& twips);
    CheckBox* addCheckBox(const QString& name, const QString& caption, const QRect& twips,
                          const FontSpec& font = {});
    TextBox* addTextBox(const QString& name, const QRect& twips, const FontSpec& font = {});
    ListBox* addListBox(const QString& name, const QRect& twips, const FontSpec& font = {});
    Timer* addTimer(const QString& name, int intervalMs, bool enabled);
    // Any other control (a drop-down list, a table), placed and scaled like the designed ones.
    template <class T>
    T* addControl(T* control, const QString& name, const QRect& twips, const FontSpec& font = {})
    {
        control->setParent(this);
        place(control, name, twips, font);
        return control;
    }

    void resizeEvent(QResizeEvent* event) override;

private:
    struct Placement {
        QRect twips;
        FontSpec font;
    };
    QList<QWidget*> ordineCon(QWidget* anche) const;  // the reading order, `anche` included whatever its state
    void place(QWidget* control, const QString& name, const QRect& twips, const FontSpec& font);
    void layoutControl(QWidget* control, const Placement& p);

    QString m_caption;
    QColor m_back = QColor(192, 192, 192);
    Scala m_scala;
    QPointer<QWidget> m_ultimoFuoco;
    QList<QPointer<QWidget>> m_ordine;  // the screen's own order, when it has one
    QHash<const QWidget*, Placement> m_placements;
};

}  // namespace ui
