// The workspace point: three doubles in logical pixels (x right, y down); z leaves 0 only
// while a flip turns points out of the plane.
#pragma once

#include "workspace/types.h"

namespace quorvel {

class CArchive;

// The value of pi the workspace geometry has always used; rotations and flips depend on it.
inline constexpr double kPi = 3.14159265359;
// Two points count as the same within this distance in x and in y (z is not compared).
inline constexpr double kPointTolerance = 0.05;

// Rounded coordinates are held within +-kPixelLimit (NaN becomes 0), so that frames grown by
// pen widths stay inside int range.
inline constexpr int kPixelLimit = 1 << 29;

// Rounds half away from zero, as every conversion to pixels does.
int RoundToPixel(double v);

class C3DPointDouble {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    C3DPointDouble() = default;
    C3DPointDouble(int ix, int iy) : x(ix), y(iy) {}
    // Two doubles would quietly truncate through the integer constructor; give z as well.
    C3DPointDouble(double, double) = delete;
    C3DPointDouble(double dx, double dy, double dz) : x(dx), y(dy), z(dz) {}
    explicit C3DPointDouble(CPoint p) : x(p.x), y(p.y) {}

    friend bool operator==(const C3DPointDouble&, const C3DPointDouble&) = default;

    int RoundedX() const { return RoundToPixel(x); }
    int RoundedY() const { return RoundToPixel(y); }
    CPoint Rounded() const { return {RoundedX(), RoundedY()}; }
    // Same point within kPointTolerance in x and y.
    bool IsNear(const C3DPointDouble& o) const;

    // Turns about `centre` in the plane; a positive angle is clockwise on the screen.
    void Rotate(double angle, const C3DPointDouble& centre);
    // Turns about the axis through `centre` parallel to z by `a`, then about the one parallel
    // to x by `b`.
    void RotateInSpace(double a, double b, const C3DPointDouble& centre);

    // 27 bytes: x, TAB, y, TAB, z, TAB.
    void Serialize(CArchive& ar);
};

} // namespace quorvel
