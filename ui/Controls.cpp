#include "ui/Controls.h"

#include "ui/Form.h"
#include "ui/Pictures.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace ui {

QString displayText(const QString& caption)
{
    QString text = caption;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString buttonText(const QString& caption)
{
    QString text = displayText(caption);
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    return text;
}

// --- Button ---

Button::Button(const QString& caption, QWidget* parent) : QPushButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(false);
    setCaption(caption);
}

void Button::setCaption(const QString& caption)
{
    m_caption = caption;
    setAccessibleName(displayText(caption).simplified());
    rewrap();
}

void Button::rewrap()
{
    const QString text = buttonText(m_caption);
    const int room = width() - 8;
    const QFontMetrics metrics(font());
    if (room <= 0 || text.contains(QLatin1Char('\n')) || metrics.horizontalAdvance(text) <= room) {
        setText(text);
        return;
    }
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > room) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    lines << line;
    setText(lines.join(QLatin1Char('\n')));
}

void Button::resizeEvent(QResizeEvent* event)
{
    QPushButton::resizeEvent(event);
    rewrap();
}

void Button::changeEvent(QEvent* event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        rewrap();
}

void Button::press()
{
    emit clicked(false);
}

void Button::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        if (isEnabled())
            click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

// --- Label ---

Label::Label(const QString& caption, QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCaption(caption);
    restyle();
}

void Label::setCaption(const QString& caption)
{
    m_caption = caption;
    setText(displayText(caption));
    const QString spoken = displayText(caption).simplified();
    setAccessibleName(spoken.isEmpty() ? objectName() : spoken.left(200));
}

void Label::setBackColor(const QColor& colour)
{
    m_back = colour;
    restyle();
}

void Label::setForeColor(const QColor& colour)
{
    m_fore = colour;
    restyle();
}

void Label::setCentred(bool centred)
{
    setAlignment(centred ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop));
}

void Label::restyle()
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, m_fore);
    if (m_back.isValid()) {
        pal.setColor(QPalette::Window, m_back);
        setAutoFillBackground(true);
    } else {
        setAutoFillBackground(false);
    }
    setPalette(pal);
}

void Label::setSpuntata(bool spuntata)
{
    if (spuntata == m_spuntata)
        return;
    m_spuntata = spuntata;
    QAccessible::State cambiato;
    cambiato.checked = true;
    QAccessibleStateChangeEvent evento(this, cambiato);
    QAccessible::updateAccessibility(&evento);
}

namespace {
// The tallest letters Qt keeps as ready masks, in device pixels; and the memory a label's painted captions
// may take (an animation's counters run through some fifty captions of some 30 KB on a 4K board).
constexpr int kLettereInMaschera = 64;
constexpr qsizetype kByteDipinte = 4 * 1024 * 1024;
}  // namespace

Label::Aspetto Label::aspetto() const
{
    return {devicePixelRatioF(), font(), palette().color(foregroundRole()).rgba(), int(alignment()), wordWrap(),
            isEnabled(), style(), contentsRect(), margin(), indent()};
}

Label::Dipinta Label::dipingi() const
{
    // Where and how the label sets its plain text: inside the frame and the margin, moved in by the indent
    // on the sides the text is aligned to (half an x when a framed label sets none).
    QRect dentro = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const int rientro = indent() < 0 && frameWidth() != 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin()
                                                           : indent();
    if (rientro > 0) {
        const Qt::Alignment a = alignment();
        dentro.adjust(a & Qt::AlignLeft ? rientro : 0, a & Qt::AlignTop ? rientro : 0, a & Qt::AlignRight ? -rientro : 0,
                      a & Qt::AlignBottom ? -rientro : 0);
    }
    const int flags = int(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0) | Qt::TextForceLeftToRight;
    // Painted on a ground as large as the text and a letter's height around it (slanted letters reach out
    // of their box), not the whole label, which on a 4K board can be megabytes for one line.
    const int agio = QFontInfo(font()).pixelSize();
    const QRect fondo = fontMetrics().boundingRect(dentro, flags, text()).adjusted(-agio, -agio, agio, agio) & rect();
    Dipinta d;
    if (fondo.isEmpty())
        return d;
    const qreal dpr = devicePixelRatioF();
    QImage tela((QSizeF(fondo.size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    tela.setDevicePixelRatio(dpr);
    tela.fill(Qt::transparent);
    {
        QPainter painter(&tela);
        painter.translate(-fondo.topLeft());
        painter.setFont(font());
        style()->drawItemText(&painter, dentro, flags, palette(), isEnabled(), text(), foregroundRole());
    }
    int sinistra = tela.width(), destra = -1, sopra = tela.height(), sotto = -1;
    for (int y = 0; y < tela.height(); ++y) {
        const auto* riga = reinterpret_cast<const QRgb*>(tela.constScanLine(y));
        for (int x = 0; x < tela.width(); ++x)
            if (qAlpha(riga[x]) != 0) {
                sinistra = std::min(sinistra, x);
                destra = std::max(destra, x);
                sopra = std::min(sopra, y);
                sotto = y;
            }
    }
    if (destra < 0)
        return d;
    const QRect coperto(QPoint(sinistra, sopra), QPoint(destra, sotto));
    d.lettere = tela.copy(coperto);
    d.lettere.setDevicePixelRatio(dpr);
    d.dove = (QPointF(fondo.topLeft()) * dpr).toPoint() + coperto.topLeft();
    return d;
}

void Label::paintEvent(QPaintEvent* event)
{
    const qreal dpr = devicePixelRatioF();
    if (text().isEmpty() || textFormat() != Qt::PlainText || QFontInfo(font()).pixelSize() * dpr <= kLettereInMaschera) {
        QLabel::paintEvent(event);
        return;
    }
    const Aspetto ora = aspetto();
    if (ora != m_aspettoDipinte) {
        m_dipinte.clear();
        m_aspettoDipinte = ora;
    }
    auto it = m_dipinte.constFind(text());
    if (it == m_dipinte.constEnd()) {
        const Dipinta nuova = dipingi();
        qsizetype byte = nuova.lettere.sizeInBytes();
        for (const Dipinta& d : std::as_const(m_dipinte))
            byte += d.lettere.sizeInBytes();
        if (byte > kByteDipinte)
            m_dipinte.clear();
        it = m_dipinte.insert(text(), nuova);
    }
    QPainter painter(this);
    drawFrame(&painter);
    if (!it->lettere.isNull())
        painter.drawImage(QPointF(it->dove) / dpr, it->lettere);
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void Label::keyPressEvent(QKeyEvent* event)
{
    // Labels that take the focus (hotspots) are pressed like buttons.
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

// --- Picture ---

Picture::Picture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

bool Picture::load(const QString& relativePath, bool naturalSize)
{
    m_fileName = relativePath;
    // A stretched picture shown smaller than it is drawn comes at the size it is shown.
    const QSize shown = naturalSize ? QSize() : (QSizeF(size()) * devicePixelRatioF()).toSize();
    const Pictures::Loaded loaded = Pictures::load(relativePath, shown);
    setImage(loaded.image);
    if (!loaded.isNull() && naturalSize) {
        if (auto* form = qobject_cast<Form*>(parentWidget())) {
            const QRect r = form->designRect(this);
            form->setDesignRect(this, QRect(r.topLeft(), loaded.twips));
        }
    }
    return !loaded.isNull();
}

void Picture::showPrepared(const QString& relativePath, const QImage& image)
{
    m_fileName = relativePath;
    setImage(image);
}

void Picture::setImage(const QImage& image)
{
    m_image = image;
    m_scaled = QPixmap();
    // A picture without transparency covers the whole control: what is behind it needs no painting, which
    // on a large display is as much work again as the picture itself.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_image.isNull() && !m_image.hasAlphaChannel());
    update();
}

void Picture::clear()
{
    m_fileName.clear();
    setImage(QImage());
}

void Picture::paintEvent(QPaintEvent*)
{
    if (m_image.isNull() || width() <= 0 || height() <= 0)
        return;
    const qreal dpr = devicePixelRatioF();
    const QSize target = (QSizeF(size()) * dpr).toSize();
    QPainter painter(this);
    if (m_image.size() == target) {
        // Prepared at the size shown: one device pixel for one pixel, nothing to scale or convert here.
        painter.drawImage(QRectF(rect()), m_image);
        return;
    }
    if (m_scaled.size() != target) {
        m_scaled = QPixmap::fromImage(m_image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        m_scaled.setDevicePixelRatio(dpr);
    }
    painter.drawPixmap(QRectF(rect()), m_scaled, QRectF(m_scaled.rect()));  // the whole control: it is opaque
}

void Picture::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

// --- the rest ---

CheckBox::CheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(caption.isEmpty() ? QStringLiteral("casella") : caption);
}

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    setBackColor(m_back);
}

void TextBox::setBackColor(const QColor& colour)
{
    m_back = colour;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, colour);
    setPalette(pal);
}

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {}

}  // namespace ui
