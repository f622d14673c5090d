// A straight segment: drawing styles, bounding box, hit test, transformations, archive form.
#include "workspace/line.h"

#include "workspace/archive.h"
#include "workspace/drawing_surface.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace quorvel {

namespace {

// Widths come from files; a pen width grown for a style must not overflow.
int GrownWidth(std::int32_t width, int extra) {
    const std::int64_t w = static_cast<std::int64_t>(width) + extra;
    return static_cast<int>(std::min<std::int64_t>(w, std::numeric_limits<int>::max()));
}

C3DPointDouble Scaled(const C3DPointDouble& p, double k, const C3DPointDouble& c) {
    return {c.x + (p.x - c.x) * k, c.y + (p.y - c.y) * k, p.z};
}

void FlipHorizontal(C3DPointDouble& p, const C3DPointDouble& c) {
    p.RotateInSpace(kPi / 2, 0, c);
    p.RotateInSpace(0, kPi / 8, c);
    p.RotateInSpace(-kPi / 2, 0, c);
}

} // namespace

CLine::CLine(CPoint start, CPoint end) : CLine(C3DPointDouble(start), C3DPointDouble(end)) {}

CLine::CLine(const C3DPointDouble& start, const C3DPointDouble& end)
    : m_start(start), m_end(end), m_visible(true) {
    UpdateMidpoint();
}

void CLine::SetPoints(const C3DPointDouble& start, const C3DPointDouble& end) {
    m_start = start;
    m_end = end;
    UpdateMidpoint();
}

void CLine::UpdateMidpoint() {
    ++s_pointChanges;
    m_mid = {(m_start.x + m_end.x) / 2, (m_start.y + m_end.y) / 2, (m_start.z + m_end.z) / 2};
}

std::int32_t CLine::SetWidth(std::int32_t width) {
    return std::exchange(m_width, width);
}

Color CLine::SetColor(Color color) {
    return std::exchange(m_color, color);
}

void CLine::Draw(IDrawingSurface& dc, LineStyle style) const {
    switch (style) {
    case LineStyle::Plain:
        if (!m_visible)
            return;
        dc.SetPen(m_width, m_color);
        break;
    case LineStyle::Selected:
        dc.SetPen(GrownWidth(m_width, 2), m_color);
        break;
    case LineStyle::Highlighted:
        dc.SetPen(GrownWidth(m_width, 8), kHighlightColor);
        break;
    case LineStyle::HiddenView:
        if (m_visible)
            return;
        dc.SetPen(m_width, kHiddenSegmentColor);
        break;
    }
    dc.Line(m_start.Rounded(), m_end.Rounded());
}

CRect CLine::BoundingBox() const {
    const CPoint a = m_start.Rounded();
    const CPoint b = m_end.Rounded();
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void CLine::Translate(double dx, double dy) {
    m_start.x += dx;
    m_start.y += dy;
    m_end.x += dx;
    m_end.y += dy;
    UpdateMidpoint();
}

void CLine::Rotate(double angle, const C3DPointDouble& centre) {
    m_start.Rotate(angle, centre);
    m_end.Rotate(angle, centre);
    UpdateMidpoint();
}

void CLine::FlipStepHorizontal(const C3DPointDouble& centre) {
    FlipHorizontal(m_start, centre);
    FlipHorizontal(m_end, centre);
    UpdateMidpoint();
}

void CLine::FlipStepVertical(const C3DPointDouble& centre) {
    m_start.RotateInSpace(0, kPi / 8, centre);
    m_end.RotateInSpace(0, kPi / 8, centre);
    UpdateMidpoint();
}

void CLine::Scale(double factor, const C3DPointDouble& centre) {
    m_start = Scaled(m_start, factor, centre);
    m_end = Scaled(m_end, factor, centre);
    UpdateMidpoint();
}

bool CLine::HitTest(double x, double y) const {
    const CRect box = BoundingBox();
    if (!(x >= box.left - 3 && x < box.right + 3 && y >= box.top - 2 && y < box.bottom + 3))
        return false;

    const double ux = std::trunc(m_end.x - m_start.x);
    const double uy = std::trunc(m_end.y - m_start.y);
    const double wx = std::trunc(x - m_start.x);
    const double wy = std::trunc(y - m_start.y);
    const double ww = wx * wx + wy * wy;
    const double uu = ux * ux + uy * uy;
    if (uu == 0)
        return ww <= 4;
    // |w|·sqrt(1 - c²) with c = u·w / (|u|·|w|) is |u × w| / |u|. Compared squared it is exact on
    // whole pixels; through the cosine, points exactly 2 pixels away come out a hair above 2
    // (or the root of a negative number) and would be missed.
    const double cross = ux * wy - uy * wx;
    return cross * cross <= 4 * uu;
}

void CLine::Serialize(CArchive& ar) {
    ++s_pointChanges;
    {
        CArchive::Scope s(ar, "start");
        m_start.Serialize(ar);
    }
    {
        CArchive::Scope s(ar, "end");
        m_end.Serialize(ar);
    }
    {
        CArchive::Scope s(ar, "midpoint");
        m_mid.Serialize(ar);
    }
    ar.Exchange(m_width, "line width");
    ar.ExchangeTab();
    ar.ExchangeColor(m_color, "line colour");
    ar.ExchangeTab();
    ar.Exchange(m_visible, "line visible");
    ar.ExchangeTab();
}

} // namespace quorvel
