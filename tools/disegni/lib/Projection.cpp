#include "Projection.h"

#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>

namespace disegni {

namespace {

// Robinson's table at 5° steps of latitude: length of the parallel and distance from the equator.
constexpr std::array<double, 19> kRobinsonX = {
    1.0000, 0.9986, 0.9954, 0.9900, 0.9822, 0.9730, 0.9600, 0.9427, 0.9216, 0.8962,
    0.8679, 0.8350, 0.7986, 0.7597, 0.7186, 0.6732, 0.6213, 0.5722, 0.5322};
constexpr std::array<double, 19> kRobinsonY = {
    0.0000, 0.0620, 0.1240, 0.1860, 0.2480, 0.3100, 0.3720, 0.4340, 0.4958, 0.5571,
    0.6176, 0.6769, 0.7346, 0.7903, 0.8435, 0.8936, 0.9394, 0.9761, 1.0000};

// Catmull-Rom through the table, so parallels bend smoothly instead of kinking every 5°. The
// table is mirrored below the equator (X even, Y odd) and extended linearly past the pole.
double robinsonTable(const std::array<double, 19> &t, bool odd, double absPhiDeg)
{
    const double u = std::clamp(absPhiDeg, 0.0, 90.0) / 5.0;
    const int i = std::min(static_cast<int>(u), 17);
    const double f = u - i;
    const auto at = [&t, odd](int k) {
        if (k < 0)
            return odd ? -t[1] : t[1];
        if (k > 18)
            return 2 * t[18] - t[17];
        return t[static_cast<size_t>(k)];
    };
    const double p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
    return p1 + 0.5 * f * (p2 - p0 + f * (2 * p0 - 5 * p1 + 4 * p2 - p3 + f * (3 * (p1 - p2) + p3 - p0)));
}

} // namespace

Projection::Projection(Kind kind, double centralLongitude)
    : m_kind(kind)
    , m_central(centralLongitude)
{
}

QPointF Projection::forward(double lambda, double phi) const
{
    const double l = qDegreesToRadians(lambda);
    const double p = qDegreesToRadians(std::clamp(phi, -90.0, 90.0));
    switch (m_kind) {
    case Kind::Equirectangular:
        return QPointF(l, p);
    case Kind::NaturalEarth: {
        const double p2 = p * p;
        const double p4 = p2 * p2;
        const double x = l * (0.8707 - 0.131979 * p2 + p4 * (-0.013791 + p4 * (0.003971 * p2 - 0.001529 * p4)));
        const double y = p * (1.007226 + p2 * (0.015085 + p4 * (-0.044475 + 0.028874 * p2 - 0.005916 * p4)));
        return QPointF(x, y);
    }
    case Kind::Robinson: {
        const double a = std::abs(phi);
        const double x = 0.8487 * robinsonTable(kRobinsonX, false, a) * l;
        const double y = 1.3523 * robinsonTable(kRobinsonY, true, a) * (phi < 0 ? -1 : 1);
        return QPointF(x, y);
    }
    case Kind::Miller:
        return QPointF(l, 1.25 * std::log(std::tan(M_PI / 4 + 0.4 * p)));
    case Kind::GallStereographic:
        return QPointF(l * M_SQRT1_2, (1 + M_SQRT1_2) * std::tan(p / 2));
    case Kind::Mercator: {
        const double limit = qDegreesToRadians(85.0);
        return QPointF(l, std::log(std::tan(M_PI / 4 + std::clamp(p, -limit, limit) / 2)));
    }
    }
    return {};
}

double Projection::relativeLongitude(double lon) const
{
    double d = std::fmod(lon - m_central + 180.0, 360.0);
    if (d < 0)
        d += 360.0;
    return d - 180.0;
}

QPointF Projection::project(double lon, double lat) const
{
    return forward(relativeLongitude(lon), lat);
}

QPainterPath Projection::outline(int samples) const
{
    QPainterPath path;
    path.moveTo(forward(-180, -90));
    for (int i = 1; i <= samples; ++i)
        path.lineTo(forward(-180, -90 + 180.0 * i / samples));
    path.lineTo(forward(180, 90));
    for (int i = samples - 1; i >= 0; --i)
        path.lineTo(forward(180, -90 + 180.0 * i / samples));
    path.closeSubpath();
    return path;
}

QRectF Projection::bounds() const
{
    return outline().boundingRect();
}

} // namespace disegni
