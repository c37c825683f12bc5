#pragma once

#include <QCheckBox>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace ui {

// The controls of the screens. Each keeps the caption as the program wrote it (carriage returns and
// blanks included) and shows it the way the pupil should see it.

class Button : public QPushButton {
    Q_OBJECT
public:
    explicit Button(const QString& caption, QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    // Pressed from the program: runs the click handler exactly as a pupil's click, even while the
    // button is hidden or disabled.
    void press();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // A caption too long for one line wraps at blanks, as on the designed screens.
    void rewrap();

    QString m_caption;
};

class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(const QString& caption, QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    void setBackColor(const QColor& colour);  // an invalid colour: transparent
    QColor backColor() const { return m_back; }
    void setForeColor(const QColor& colour);
    void setCentred(bool centred);

    // What the label is to a screen reader: text to read, a button the pupil presses, or a box the pupil
    // ticks and unticks (then `spuntata` says whether it is ticked now).
    enum class Ruolo { Testo, Pulsante, Spunta };
    void setRuolo(Ruolo ruolo) { m_ruolo = ruolo; }
    Ruolo ruolo() const { return m_ruolo; }
    void setSpuntata(bool spuntata);
    bool spuntata() const { return m_spuntata; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void restyle();

    // Qt fills the outline of every letter taller than 64 device pixels afresh at each paint. A label with
    // such letters keeps each caption's letters painted, on a transparent ground cut to what they cover.
    struct Dipinta {
        QImage lettere;
        QPoint dove;  // in the label's device pixels
    };
    struct Aspetto {  // all the painted letters depend on besides the caption
        qreal dpr = 0;
        QFont font;
        QRgb colore = 0;
        int allineamento = 0;
        bool aCapo = false;
        bool attiva = true;
        const void* stile = nullptr;
        QRect dentro;  // contentsRect(): the size, the frame and the contents margins in one
        int margine = 0;
        int rientro = 0;
        bool operator==(const Aspetto&) const = default;
    };
    Aspetto aspetto() const;
    Dipinta dipingi() const;
    QHash<QString, Dipinta> m_dipinte;
    Aspetto m_aspettoDipinte;

    QString m_caption;
    QColor m_back;
    QColor m_fore = Qt::black;
    Ruolo m_ruolo = Ruolo::Testo;
    bool m_spuntata = false;
};

class Picture : public QWidget {
    Q_OBJECT
public:
    explicit Picture(QWidget* parent = nullptr);

    // Loads a picture file by its name relative to the program's folder. With `naturalSize` the control
    // takes the picture's own design size (its position stays); otherwise the picture is stretched to
    // the control. A file that cannot be read leaves the control empty and the program goes on.
    bool load(const QString& relativePath, bool naturalSize);
    // Shows a picture already prepared at the size it is shown (an animation's read-ahead), under its name.
    void showPrepared(const QString& relativePath, const QImage& image);
    void setImage(const QImage& image);
    void clear();

    QString fileName() const { return m_fileName; }
    const QImage& image() const { return m_image; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_image;
    QPixmap m_scaled;
    QString m_fileName;
};

class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(const QString& caption, QWidget* parent = nullptr);
};

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
    void setBackColor(const QColor& colour);
    QColor backColor() const { return m_back; }

private:
    QColor m_back = Qt::white;
};

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);
};

// A caption as a pupil reads it: carriage returns (alone or before a line feed) become line breaks.
QString displayText(const QString& caption);
// A button caption with its ampersands kept as text.
QString buttonText(const QString& caption);

}  // namespace ui
