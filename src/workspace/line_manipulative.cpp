// The manipulative made of segments only; shapes and anglemeters build on it.
#include "workspace/manipulative.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace quorvel {

namespace {

int ClampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// Union of the segment boxes as inclusive edges, in 64 bits so that growing it cannot overflow.
struct Extent {
    std::int64_t left = std::numeric_limits<std::int64_t>::max();
    std::int64_t top = std::numeric_limits<std::int64_t>::max();
    std::int64_t right = std::numeric_limits<std::int64_t>::min();
    std::int64_t bottom = std::numeric_limits<std::int64_t>::min();

    void Add(CPoint p) {
        left = std::min<std::int64_t>(left, p.x);
        top = std::min<std::int64_t>(top, p.y);
        right = std::max<std::int64_t>(right, p.x);
        bottom = std::max<std::int64_t>(bottom, p.y);
    }
    // With exclusive right and bottom edges.
    CRect ToRect() const {
        return {ClampToInt(left), ClampToInt(top), ClampToInt(right + 1), ClampToInt(bottom + 1)};
    }
};

Extent ExtentOf(const std::vector<CLine>& lines) {
    Extent e;
    for (const CLine& line : lines) {
        const CRect box = line.BoundingBox();
        e.Add({box.left, box.top});
        e.Add({box.right, box.bottom});
    }
    return e;
}

} // namespace

CLineManipulative::CLineManipulative() {
    m_visible = false;
}

CLineManipulative::CLineManipulative(const std::vector<CLine>& lines) {
    m_lines = lines;
    RecomputeCentre();
}

CLineManipulative::CLineManipulative(const CLineManipulative& other) : CManipulative(other) {
    m_lines = other.m_lines;
}

void CLineManipulative::RecomputeCentre() {
    if (!m_lines.empty()) {
        C3DPointDouble sum;
        for (const CLine& line : m_lines) {
            sum.x += line.start().x + line.end().x;
            sum.y += line.start().y + line.end().y;
            sum.z += line.start().z + line.end().z;
        }
        const double n = 2.0 * static_cast<double>(m_lines.size());
        m_centre = {sum.x / n, sum.y / n, sum.z / n};
    }
    m_rotationPoint = m_centre;
}

std::unique_ptr<CManipulative> CLineManipulative::Clone() const {
    return std::make_unique<CLineManipulative>(*this);
}

void CLineManipulative::Draw(IDrawingSurface& dc) const {
    if (!m_visible)
        return;
    const LineStyle style = m_selected      ? LineStyle::Selected
                            : m_highlighted ? LineStyle::Highlighted
                                            : LineStyle::Plain;
    for (const CLine& line : m_lines)
        line.Draw(dc, style);
}

void CLineManipulative::DrawOutline(IDrawingSurface& dc) const {
    for (const CLine& line : m_lines)
        line.Draw(dc, LineStyle::HiddenView);
}

bool CLineManipulative::HitTest(double x, double y) const {
    return std::any_of(m_lines.begin(), m_lines.end(),
                       [&](const CLine& line) { return line.HitTest(x, y); });
}

bool CLineManipulative::HitTestLine(double x, double y) const {
    return !m_lines.empty() && m_lines.back().HitTest(x, y);
}

bool CLineManipulative::ToggleLineAt(const C3DPointDouble& p) {
    bool toggled = false;
    for (CLine& line : m_lines) {
        if (line.HitTest(p.x, p.y)) {
            line.SetVisible(!line.visible());
            toggled = true;
        }
    }
    return toggled;
}

void CLineManipulative::MoveBy(double dx, double dy) {
    if (m_fixed)
        return;
    for (CLine& line : m_lines)
        line.Translate(dx, dy);
    m_centre.x += dx;
    m_centre.y += dy;
    MoveRotationPoint(dx, dy);
}

void CLineManipulative::Rotate(double angle, const C3DPointDouble& about) {
    for (CLine& line : m_lines)
        line.Rotate(angle, about);
    if (m_centre != about)
        m_centre.Rotate(angle, about);
    if (m_rotationPoint != about)
        m_rotationPoint.Rotate(angle, about);
}

void CLineManipulative::FlipStepCrossAxis(const C3DPointDouble& about) {
    for (CLine& line : m_lines)
        line.FlipStepHorizontal(about);
    for (C3DPointDouble* p : {&m_centre, &m_rotationPoint}) {
        p->RotateInSpace(kPi / 2, 0, about);
        p->RotateInSpace(0, kPi / 8, about);
        p->RotateInSpace(-kPi / 2, 0, about);
    }
}

void CLineManipulative::FlipStep(const C3DPointDouble& about) {
    for (CLine& line : m_lines)
        line.FlipStepVertical(about);
    m_centre.RotateInSpace(0, kPi / 8, about);
    m_rotationPoint.RotateInSpace(0, kPi / 8, about);
}

void CLineManipulative::Scale(double factor, const C3DPointDouble& about) {
    if (factor < 1) {
        const CRect frame = GetFrameOf();
        if (frame.Width() <= kMinScaleFrame && frame.Height() <= kMinScaleFrame)
            return;
    }
    for (CLine& line : m_lines)
        line.Scale(factor, about);
    for (C3DPointDouble* p : {&m_centre, &m_rotationPoint}) {
        p->x = about.x + (p->x - about.x) * factor;
        p->y = about.y + (p->y - about.y) * factor;
    }
}

void CLineManipulative::GetFrame(CRect& r) const {
    if (m_lines.empty()) {
        r = CRect{};
        return;
    }
    Extent e = ExtentOf(m_lines);
    const std::int64_t w = m_lines.front().width();
    e.left -= w;
    e.top -= w;
    e.right += w;
    e.bottom += w;
    if (m_selected)
        e.Add(m_rotationPoint.Rounded());
    r = e.ToRect();
}

void CLineManipulative::GetBounds(CRect& r) const {
    r = m_lines.empty() ? CRect{} : ExtentOf(m_lines).ToRect();
}

int CLineManipulative::GetVertices(std::vector<CPoint>& out) const {
    out.clear();
    // Without lines the outline is the centre alone.
    const std::size_t count = 2 * m_lines.size() + 1;
    if (count > static_cast<std::size_t>(kMaxVertices))
        return 0;
    out.reserve(count);
    for (const CLine& line : m_lines) {
        out.push_back(line.start().Rounded());
        out.push_back(line.end().Rounded());
    }
    out.push_back(m_centre.Rounded());
    return static_cast<int>(count);
}

void CLineManipulative::SetColor(Color color) {
    for (CLine& line : m_lines)
        line.SetColor(color);
}

} // namespace quorvel
