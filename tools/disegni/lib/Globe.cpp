#include "Globe.h"

#include "MapCanvas.h"
#include "Output.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace disegni {

namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

// Bilinear sample with longitude wrapping round and latitude clamped at the poles.
Rgb sample(const QImage &texture, double lon, double lat)
{
    const int w = texture.width();
    const int h = texture.height();
    double u = (lon + 180.0) / 360.0 * w - 0.5;
    const double v = std::clamp((90.0 - lat) / 180.0 * h - 0.5, 0.0, h - 1.0);
    u = std::fmod(u, double(w));
    if (u < 0)
        u += w;
    const int x0 = static_cast<int>(u);
    const int y0 = static_cast<int>(v);
    const int x1 = (x0 + 1) % w;
    const int y1 = std::min(y0 + 1, h - 1);
    const double fx = u - x0;
    const double fy = v - y0;
    const auto *row0 = reinterpret_cast<const QRgb *>(texture.constScanLine(y0));
    const auto *row1 = reinterpret_cast<const QRgb *>(texture.constScanLine(y1));
    const QRgb c[4] = {row0[x0], row0[x1], row1[x0], row1[x1]};
    const double k[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
    Rgb out;
    for (int i = 0; i < 4; ++i) {
        out.r += qRed(c[i]) * k[i];
        out.g += qGreen(c[i]) * k[i];
        out.b += qBlue(c[i]) * k[i];
    }
    return out;
}

} // namespace

Globe::Globe(double centreLon, double centreLat, const QPointF &centrePx, double radiusPx)
    : m_lon0(centreLon)
    , m_sinLat0(std::sin(qDegreesToRadians(centreLat)))
    , m_cosLat0(std::cos(qDegreesToRadians(centreLat)))
    , m_centre(centrePx)
    , m_radius(radiusPx)
{
}

double Globe::visibility(const QPointF &geo) const
{
    const double phi = qDegreesToRadians(geo.y());
    const double dl = qDegreesToRadians(geo.x() - m_lon0);
    return m_sinLat0 * std::sin(phi) + m_cosLat0 * std::cos(phi) * std::cos(dl);
}

std::optional<QPointF> Globe::toPixel(double lon, double lat) const
{
    const double phi = qDegreesToRadians(lat);
    const double dl = qDegreesToRadians(lon - m_lon0);
    const double cosc = m_sinLat0 * std::sin(phi) + m_cosLat0 * std::cos(phi) * std::cos(dl);
    if (cosc < 0)
        return std::nullopt;
    const double x = std::cos(phi) * std::sin(dl);
    const double y = m_cosLat0 * std::sin(phi) - m_sinLat0 * std::cos(phi) * std::cos(dl);
    return QPointF(m_centre.x() + x * m_radius, m_centre.y() - y * m_radius);
}

std::optional<QPointF> Globe::toGeo(const QPointF &pixel) const
{
    const double x = (pixel.x() - m_centre.x()) / m_radius;
    const double y = (m_centre.y() - pixel.y()) / m_radius;
    const double rho2 = x * x + y * y;
    if (rho2 > 1.0)
        return std::nullopt;
    const double z = std::sqrt(1.0 - rho2);
    const double lat = qRadiansToDegrees(std::asin(std::clamp(z * m_sinLat0 + y * m_cosLat0, -1.0, 1.0)));
    const double lon = m_lon0 + qRadiansToDegrees(std::atan2(x, z * m_cosLat0 - y * m_sinLat0));
    return QPointF(lon, lat);
}

QPainterPath Globe::lines(const QList<Ring> &lines, double maxStep) const
{
    QPainterPath path;
    // The horizon point between a visible and a hidden point, by bisection.
    const auto horizon = [this](QPointF in, QPointF out) {
        for (int i = 0; i < 20; ++i) {
            const QPointF mid = (in + out) / 2;
            (visibility(mid) >= 0 ? in : out) = mid;
        }
        return *toPixel(in.x(), in.y());
    };
    for (const Ring &line : lines) {
        // continuous longitudes, so that densifying never cuts across the globe
        const Ring l = planar::densified(planar::continuous(line, 0), maxStep);
        bool drawing = false;
        for (qsizetype i = 0; i < l.size(); ++i) {
            const bool seen = visibility(l.at(i)) >= 0;
            if (seen) {
                const QPointF px = *toPixel(l.at(i).x(), l.at(i).y());
                if (!drawing) {
                    path.moveTo(i > 0 ? horizon(l.at(i), l.at(i - 1)) : px);
                    if (i > 0)
                        path.lineTo(px);
                } else {
                    path.lineTo(px);
                }
                drawing = true;
            } else if (drawing) {
                path.lineTo(horizon(l.at(i - 1), l.at(i)));
                drawing = false;
            }
        }
    }
    return path;
}

QPainterPath Globe::graticule(double step) const
{
    QList<Ring> rings;
    for (double lon = -180; lon < 180; lon += step) {
        Ring meridian;
        for (double lat = -90 + step; lat <= 90 - step + 1e-9; lat += 1)
            meridian.append(QPointF(lon, lat));
        rings.append(meridian);
    }
    for (double lat = -90 + step; lat < 90 - 1e-9; lat += step) {
        Ring parallel;
        for (double lon = -180; lon <= 180; lon += 1)
            parallel.append(QPointF(lon, lat));
        rings.append(parallel);
    }
    return lines(rings, 1.0);
}

QPainterPath Globe::disc() const
{
    QPainterPath path;
    path.addEllipse(m_centre, m_radius, m_radius);
    return path;
}

QImage Globe::render(const QImage &textureIn, const QSize &layerSize, const Light &light, int supersample) const
{
    const QImage texture = textureIn.convertToFormat(QImage::Format_RGB32);
    QImage out = newLayer(layerSize);
    const int n = std::max(1, supersample);
    const QVector3D l = light.direction.normalized();
    const QVector3D half = (l + QVector3D(0, 0, 1)).normalized();
    const int x0 = std::max(0, static_cast<int>(std::floor(m_centre.x() - m_radius)) - 1);
    const int x1 = std::min(layerSize.width() - 1, static_cast<int>(std::ceil(m_centre.x() + m_radius)) + 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(m_centre.y() - m_radius)) - 1);
    const int y1 = std::min(layerSize.height() - 1, static_cast<int>(std::ceil(m_centre.y() + m_radius)) + 1);
    for (int py = y0; py <= y1; ++py) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(py));
        for (int px = x0; px <= x1; ++px) {
            double r = 0, g = 0, b = 0;
            int inside = 0;
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const QPointF p(px + (sx + 0.5) / n, py + (sy + 0.5) / n);
                    const double x = (p.x() - m_centre.x()) / m_radius;
                    const double y = (m_centre.y() - p.y()) / m_radius;
                    const double rho2 = x * x + y * y;
                    if (rho2 > 1.0)
                        continue;
                    const double z = std::sqrt(1.0 - rho2);
                    const double lat = qRadiansToDegrees(std::asin(std::clamp(z * m_sinLat0 + y * m_cosLat0, -1.0, 1.0)));
                    const double lon = m_lon0 + qRadiansToDegrees(std::atan2(x, z * m_cosLat0 - y * m_sinLat0));
                    Rgb c = sample(texture, lon, lat);
                    const QVector3D normal{float(x), float(y), float(z)};
                    const double diffuse = std::max(0.0f, QVector3D::dotProduct(normal, l));
                    double shade = light.ambient + (1.0 - light.ambient) * diffuse;
                    shade *= 1.0 - light.rim * std::pow(std::sqrt(rho2), 6);
                    const double sheen = light.highlight * std::pow(std::max(0.0f, QVector3D::dotProduct(normal, half)), 40);
                    r += std::min(255.0, c.r * shade + 255.0 * sheen);
                    g += std::min(255.0, c.g * shade + 255.0 * sheen);
                    b += std::min(255.0, c.b * shade + 255.0 * sheen);
                    ++inside;
                }
            }
            if (inside == 0)
                continue;
            // premultiplied: the colour sums already carry the coverage
            const double total = double(n * n);
            row[px] = qRgba(qRound(r / total), qRound(g / total), qRound(b / total), qRound(255.0 * inside / total));
        }
    }
    return out;
}

} // namespace disegni
