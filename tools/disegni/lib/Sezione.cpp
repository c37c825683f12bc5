#include "Sezione.h"

#include "Labels.h"
#include "Style.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <limits>

namespace disegni::sezione {

namespace colore {
QColor cielo() { return QColor(0xF5, 0xF2, 0xE6); }
QColor cieloAlto() { return QColor(0xDA, 0xE9, 0xF1); }
QColor mare() { return QColor(0x9C, 0xCB, 0xE6); }
QColor mareProfondo() { return QColor(0x6A, 0xA5, 0xD0); }
QColor continentale() { return QColor(0xF2, 0xD4, 0x6A); }
QColor verde() { return QColor(0x78, 0xB0, 0x4E); }
QColor oceanica() { return QColor(0xCC, 0x4B, 0x3C); }
QColor oceanicaGiovane() { return QColor(0xE2, 0x6F, 0x5A); }
QColor litosfera() { return QColor(0xA8, 0x7B, 0x5C); }
QColor astenosfera() { return QColor(0xF0, 0xB5, 0x7C); }
QColor astenosferaProfonda() { return QColor(0xE6, 0x9C, 0x62); }
QColor magma() { return QColor(0xF5, 0x7A, 0x1C); }
QColor magmaChiaro() { return QColor(0xFF, 0xD2, 0x4F); }
QColor vulcano() { return QColor(0x8A, 0x78, 0x6C); }
QColor neve() { return QColor(0xFB, 0xFC, 0xFD); }
QColor contorno() { return QColor(0x3A, 0x3A, 0x44); }
QColor freccia() { return QColor(0x2F, 0x4E, 0x6B); }
QColor cella() { return QColor(0x94, 0x43, 0x1C); }
QColor testo() { return style::text(); }
} // namespace colore

double liscio(double u)
{
    u = std::clamp(u, 0.0, 1.0);
    return u * u * (3 - 2 * u);
}

double mescola(double a, double b, double t)
{
    return a + (b - a) * t;
}

// --- Sezione ---

Sezione::Sezione(const QSizeF &pixels, double larghezzaKm, double sopraKm)
    : m_pixels(pixels)
    , m_larghezza(larghezzaKm)
    , m_sopra(sopraKm)
    , m_scala(pixels.width() / larghezzaKm)
{
    m_transform = QTransform::fromScale(m_scala, m_scala);
    m_transform.translate(0, m_sopra);
}

double Sezione::fondo() const
{
    return m_pixels.height() / m_scala - m_sopra;
}

QPointF Sezione::px(double x, double z) const
{
    return QPointF(x * m_scala, (z + m_sopra) * m_scala);
}

QPainterPath Sezione::px(const QPainterPath &km) const
{
    return m_transform.map(km);
}

QPolygonF Sezione::px(const QPolygonF &km) const
{
    return m_transform.map(km);
}

QPolygonF Sezione::linea(const Profilo &z, double x0, double x1, double passo)
{
    QPolygonF line;
    const int n = std::max(1, int(std::ceil((x1 - x0) / passo)));
    for (int i = 0; i <= n; ++i) {
        const double x = x0 + (x1 - x0) * i / n;
        line << QPointF(x, z(x));
    }
    return line;
}

QPainterPath Sezione::tra(const Profilo &sopra, const Profilo &sotto, double x0, double x1, double passo)
{
    QPolygonF ring = linea(sopra, x0, x1, passo);
    const QPolygonF below = linea(sotto, x0, x1, passo);
    for (auto it = below.rbegin(); it != below.rend(); ++it)
        ring << *it;
    ring << ring.first();
    QPainterPath path;
    path.addPolygon(ring);
    path.closeSubpath();
    return path;
}

// --- Lastra ---

Lastra::Lastra(const Profilo &fondale, double x0, const Forma &forma)
{
    const double passo = 1.0;
    // along the sea floor s is simply the distance from the trench
    for (double x = x0; x < forma.fossa; x += passo) {
        m_s.push_back(x - forma.fossa);
        m_p.emplace_back(x, fondale(x));
    }
    const double z0 = fondale(forma.fossa);
    const double slope = std::atan2(z0 - fondale(forma.fossa - 2.0), 2.0);
    for (size_t i = 0; i < m_p.size(); ++i) {
        const size_t j = std::min(i + 1, m_p.size() - 1);
        const size_t k = i == j ? i - 1 : i;
        m_angolo.push_back(std::atan2(m_p[j].y() - m_p[k].y(), m_p[j].x() - m_p[k].x()));
    }
    const double finale = forma.pendenza * M_PI / 180.0;
    QPointF p(forma.fossa, z0);
    for (double s = 0; s <= forma.lunghezza + 1e-9; s += passo) {
        const double a = slope + (finale - slope) * liscio(s / forma.curva);
        m_s.push_back(s);
        m_p.push_back(p);
        m_angolo.push_back(a);
        const double amid = slope + (finale - slope) * liscio((s + passo / 2) / forma.curva);
        p += QPointF(std::cos(amid), std::sin(amid)) * passo;
    }
}

int Lastra::indice(double s) const
{
    const auto it = std::upper_bound(m_s.begin(), m_s.end(), s);
    const int i = int(it - m_s.begin()) - 1;
    return std::clamp(i, 0, int(m_s.size()) - 2);
}

QPointF Lastra::punto(double s) const
{
    const int i = indice(s);
    const double t = (s - m_s[i]) / (m_s[i + 1] - m_s[i]);
    return m_p[i] + (m_p[i + 1] - m_p[i]) * t;
}

double Lastra::pendenza(double s) const
{
    const int i = indice(s);
    const double t = std::clamp((s - m_s[i]) / (m_s[i + 1] - m_s[i]), 0.0, 1.0);
    return (m_angolo[i] + (m_angolo[i + 1] - m_angolo[i]) * t) * 180.0 / M_PI;
}

QPointF Lastra::normale(double s) const
{
    const double a = pendenza(s) * M_PI / 180.0;
    return QPointF(-std::sin(a), std::cos(a));
}

QPainterPath Lastra::fascia(double s0, double s1, const std::function<double(double)> &d0,
                            const std::function<double(double)> &d1, double passo) const
{
    s0 = std::max(s0, inizio());
    s1 = std::min(s1, fine());
    QPainterPath path;
    if (s1 <= s0)
        return path;
    const int n = std::max(1, int(std::ceil((s1 - s0) / passo)));
    QPolygonF top, bottom;
    for (int i = 0; i <= n; ++i) {
        const double s = s0 + (s1 - s0) * i / n;
        const QPointF q = punto(s);
        const QPointF nn = normale(s);
        top << q + nn * d0(s);
        bottom << q + nn * d1(s);
    }
    QPolygonF ring = top;
    for (auto it = bottom.rbegin(); it != bottom.rend(); ++it)
        ring << *it;
    ring << ring.first();
    path.addPolygon(ring);
    path.closeSubpath();
    return path;
}

double Lastra::profondita(double x, double sMax) const
{
    const auto first = std::lower_bound(m_s.begin(), m_s.end(), 0.0);
    for (auto it = first; it + 1 != m_s.end(); ++it) {
        const size_t i = size_t(it - m_s.begin());
        if (m_s[i] > sMax)
            break;
        const QPointF a = m_p[i], b = m_p[i + 1];
        if ((a.x() <= x && x <= b.x()) || (b.x() <= x && x <= a.x())) {
            const double t = b.x() == a.x() ? 0 : (x - a.x()) / (b.x() - a.x());
            return a.y() + (b.y() - a.y()) * t;
        }
    }
    return std::numeric_limits<double>::infinity();
}

double Lastra::aProfondita(double z) const
{
    for (size_t i = 0; i < m_s.size(); ++i) {
        if (m_s[i] >= 0 && m_p[i].y() >= z)
            return m_s[i];
    }
    return m_s.back();
}

// --- symbols ---

QPainterPath freccia(const QPointF &a, const QPointF &b, double spessore, double punta, double larghezzaPunta)
{
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    QPainterPath path;
    if (len < 1e-6)
        return path;
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    punta = std::min(punta, len * 0.7);
    const QPointF base = b - u * punta;
    QPolygonF poly;
    poly << a + n * (spessore / 2) << base + n * (spessore / 2) << base + n * (larghezzaPunta / 2) << b
         << base - n * (larghezzaPunta / 2) << base - n * (spessore / 2) << a - n * (spessore / 2);
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

void disegnaFreccia(QPainter &p, const QPointF &a, const QPointF &b, double spessore, const QColor &colore,
                    const QColor &bordo)
{
    const QPainterPath path = freccia(a, b, spessore, spessore * 2.6, spessore * 2.8);
    p.save();
    if (bordo.isValid())
        p.strokePath(path, style::pen(bordo, std::max(1.5, spessore * 0.45)));
    p.fillPath(path, colore);
    p.restore();
}

void disegnaCella(QPainter &p, const QPointF &centro, double rx, double ry, bool orario, double fase,
                  double spessore, const QColor &colore, int punte)
{
    // On the picture y grows downwards, so growing angle turns clockwise.
    const auto at = [&](double turn) {
        const double a = 2 * M_PI * (orario ? turn : -turn);
        return centro + QPointF(rx * std::cos(a), ry * std::sin(a));
    };
    p.save();
    QPainterPath loop;
    const int n = 120;
    for (int i = 0; i <= n; ++i) {
        const QPointF q = at(double(i) / n);
        if (i == 0)
            loop.moveTo(q);
        else
            loop.lineTo(q);
    }
    p.setBrush(Qt::NoBrush);
    p.strokePath(loop, style::pen(colore, spessore));
    const double head = spessore * 3.2;
    for (int k = 0; k < punte; ++k) {
        const double t = std::fmod(fase + double(k) / punte, 1.0);
        const QPointF tip = at(t);
        // the direction of travel: a little further along the loop
        QPointF ahead = at(t + 0.002) - tip;
        ahead /= std::hypot(ahead.x(), ahead.y());
        const QPointF nn(-ahead.y(), ahead.x());
        QPolygonF tri;
        tri << tip + ahead * head * 0.6 << tip - ahead * head * 0.9 + nn * head * 0.75
            << tip - ahead * head * 0.9 - nn * head * 0.75;
        QPainterPath h;
        h.addPolygon(tri);
        h.closeSubpath();
        p.fillPath(h, colore);
    }
    p.restore();
}

void disegnaTerremoto(QPainter &p, const QPointF &centro, double raggio, double forza)
{
    if (forza <= 0)
        return;
    const QColor dark(0xB0, 0x1E, 0x14);
    p.save();
    p.setOpacity(p.opacity() * std::clamp(forza, 0.0, 1.0));
    // waves first, under the star
    p.setBrush(Qt::NoBrush);
    for (int k = 1; k <= 2; ++k) {
        const double r = raggio * (1.0 + 0.7 * k);
        p.setPen(style::pen(style::withAlpha(dark, 0.85 - 0.25 * k), std::max(1.4, raggio * 0.16)));
        p.drawEllipse(centro, r, r);
    }
    QPolygonF star;
    const int points = 8;
    for (int i = 0; i < points * 2; ++i) {
        const double a = M_PI * i / points - M_PI / 2;
        const double r = i % 2 == 0 ? raggio : raggio * 0.45;
        star << centro + QPointF(r * std::cos(a), r * std::sin(a));
    }
    QPainterPath sp;
    sp.addPolygon(star);
    sp.closeSubpath();
    p.strokePath(sp, style::pen(dark, std::max(1.6, raggio * 0.24)));
    p.fillPath(sp, QColor(0xFF, 0xE8, 0x5C));
    p.restore();
}

QPainterPath goccia(const QPointF &centro, double raggio, double coda)
{
    QPainterPath path;
    const QPointF tail = centro + QPointF(0, raggio + coda);
    path.moveTo(tail);
    path.cubicTo(centro + QPointF(raggio * 0.35, raggio + coda * 0.45), centro + QPointF(raggio * 1.05, raggio * 0.55),
                 centro + QPointF(raggio, 0));
    path.arcTo(QRectF(centro.x() - raggio, centro.y() - raggio, 2 * raggio, 2 * raggio), 0, 180);
    path.cubicTo(centro + QPointF(-raggio * 1.05, raggio * 0.55), centro + QPointF(-raggio * 0.35, raggio + coda * 0.45),
                 tail);
    path.closeSubpath();
    return path;
}

void disegnaMagma(QPainter &p, const QPainterPath &forma, double spessoreBordo)
{
    const QRectF r = forma.boundingRect();
    QRadialGradient g(r.center() - QPointF(0, r.height() * 0.15), std::max(r.width(), r.height()) * 0.6);
    g.setColorAt(0.0, colore::magmaChiaro());
    g.setColorAt(0.55, colore::magma());
    g.setColorAt(1.0, colore::magma().darker(112));
    p.save();
    p.setPen(style::pen(QColor(0xA8, 0x3A, 0x10), spessoreBordo));
    p.setBrush(g);
    p.drawPath(forma);
    p.restore();
}

void disegnaEruzione(QPainter &p, const QPointF &cratere, double scala, double forza)
{
    if (forza <= 0)
        return;
    forza = std::clamp(forza, 0.0, 1.0);
    p.save();
    // a fountain of lava just over the crater
    QPainterPath lava;
    lava.moveTo(cratere + QPointF(-2.5 * scala, 0));
    lava.quadTo(cratere + QPointF(-1.5 * scala, -6 * scala * forza), cratere + QPointF(0, -7 * scala * forza));
    lava.quadTo(cratere + QPointF(1.5 * scala, -6 * scala * forza), cratere + QPointF(2.5 * scala, 0));
    lava.closeSubpath();
    p.fillPath(lava, colore::magma());
    // ash: puffs growing upwards
    const QColor ash(0x7D, 0x7A, 0x78);
    const double puffs[][3] = {{0, -11, 4.2}, {-3.5, -15, 3.8}, {3.0, -17, 4.4}, {-1.0, -21, 5.0}, {4.0, -23, 3.6}};
    int shown = int(std::ceil(forza * 5));
    for (int i = 0; i < shown; ++i) {
        const QPointF c = cratere + QPointF(puffs[i][0], puffs[i][1] * (0.55 + 0.45 * forza)) * scala;
        const double r = puffs[i][2] * scala * (0.7 + 0.3 * forza);
        p.setPen(style::pen(ash.darker(125), std::max(1.0, scala * 0.35)));
        p.setBrush(style::mix(ash, QColor(0xC9, 0xC6, 0xC2), 0.35 + 0.1 * i));
        p.drawEllipse(c, r, r);
    }
    p.restore();
}

namespace {
QFont fontOf(const Etichetta &e)
{
    // never smaller than a pupil can read, however small the scene
    return style::font(std::max(e.dimensione, kReadablePixelSize), e.grassetto ? QFont::Bold : QFont::Normal);
}
} // namespace

QRectF ingombro(const Etichetta &e)
{
    const QFontMetricsF fm(fontOf(e));
    QRectF r;
    const QStringList lines = e.testo.split(QLatin1Char('\n'));
    double w = 0;
    for (const QString &line : lines)
        w = std::max(w, fm.horizontalAdvance(line));
    const double h = fm.height() * lines.size();
    double left = e.punto.x() - w / 2;
    if (e.allineamento & Qt::AlignLeft)
        left = e.punto.x();
    else if (e.allineamento & Qt::AlignRight)
        left = e.punto.x() - w;
    // punto is the baseline of the last line
    const double top = e.punto.y() - fm.ascent() - fm.height() * (lines.size() - 1);
    return QRectF(left, top, w, h);
}

void disegnaEtichetta(QPainter &p, const Etichetta &e)
{
    p.save();
    p.setOpacity(p.opacity() * e.opacita);
    const QFont font = fontOf(e);
    const QFontMetricsF fm(font);
    const QRectF box = ingombro(e);
    const QColor ink = e.colore.isValid() ? e.colore : colore::testo();
    const QColor halo = ink.lightness() > 140 ? QColor(0x24, 0x2C, 0x36, 170) : QColor(255, 255, 255, 215);
    if (e.guida.x() >= 0) {
        // the leader starts at the edge of the text nearest to the point
        const QPointF from(std::clamp(e.guida.x(), box.left(), box.right()),
                           e.guida.y() < box.top() ? box.top() + 2 : (e.guida.y() > box.bottom() ? box.bottom() - 2 : box.center().y()));
        p.setPen(style::pen(halo, e.dimensione * 0.22));
        p.drawLine(from, e.guida);
        p.setPen(style::pen(ink, e.dimensione * 0.08));
        p.drawLine(from, e.guida);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(e.guida, e.dimensione * 0.12, e.dimensione * 0.12);
    }
    QPainterPath text;
    const QStringList lines = e.testo.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const double w = fm.horizontalAdvance(lines.at(i));
        double x = box.left() + (box.width() - w) / 2;
        if (e.allineamento & Qt::AlignLeft)
            x = box.left();
        else if (e.allineamento & Qt::AlignRight)
            x = box.right() - w;
        text.addText(QPointF(x, box.top() + fm.ascent() + fm.height() * i), font, lines.at(i));
    }
    QPen haloPen = style::pen(halo, e.dimensione * 0.2);
    p.strokePath(text, haloPen);
    p.fillPath(text, ink);
    p.restore();
    drawnTexts::note(p, e.testo, box, font.pixelSize());
}

} // namespace disegni::sezione
