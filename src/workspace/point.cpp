// The workspace point: rounding to pixels, plane and space rotations, archive form.
#include "workspace/point.h"

#include "workspace/archive.h"

#include <utility>

#include <cmath>

namespace quorvel {

int RoundToPixel(double v) {
    // Coordinates come from files too; keep absurd values inside the range that pixel
    // arithmetic (frames grown by widths, exclusive edges) can handle without overflow.
    if (std::isnan(v))
        return 0;
    const double r = std::trunc(v < 0 ? v - 0.5 : v + 0.5);
    if (r > kPixelLimit)
        return kPixelLimit;
    if (r < -kPixelLimit)
        return -kPixelLimit;
    return static_cast<int>(r);
}

bool C3DPointDouble::IsNear(const C3DPointDouble& o) const {
    return std::fabs(x - o.x) <= kPointTolerance && std::fabs(y - o.y) <= kPointTolerance;
}

void C3DPointDouble::Rotate(double angle, const C3DPointDouble& centre) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double dx = x - centre.x;
    const double dy = y - centre.y;
    x = centre.x + dx * c - dy * s;
    y = centre.y + dx * s + dy * c;
}

void C3DPointDouble::RotateInSpace(double a, double b, const C3DPointDouble& centre) {
    const double dx = x - centre.x;
    const double dy = y - centre.y;
    const double dz = z - centre.z;
    const double y1 = dx * std::sin(a) + dy * std::cos(a);
    x = centre.x + dx * std::cos(a) - dy * std::sin(a);
    y = centre.y + dz * std::sin(b) + y1 * std::cos(b);
    z = centre.z + dz * std::cos(b) - y1 * std::sin(b);
}

void C3DPointDouble::Serialize(CArchive& ar) {
    const std::pair<double*, const char*> coordinates[] = {{&x, "x"}, {&y, "y"}, {&z, "z"}};
    for (auto [v, name] : coordinates) {
        ar.Exchange(*v, name);
        ar.ExchangeTab();
    }
}

} // namespace quorvel
