// Shapes: fill, drawing, the polygon hit test and the archive form.
#include "geometry/shape_manipulative.h"

#include "geometry/anglemeter_manipulative.h"
#include "geometry/poly_shape_manipulative.h"
#include "workspace/archive.h"
#include "workspace/drawing_surface.h"
#include "workspace/manipulative_registry.h"

#include <algorithm>

namespace quorvel {

CShapeManipulative::CShapeManipulative(const std::vector<CLine>& lines, Color fill)
    : CLineManipulative(lines), m_fill(fill) {
    m_visible = true;
}

CShapeManipulative::CShapeManipulative(const CShapeManipulative& other)
    : CLineManipulative(other), m_fill(other.m_fill) {}

void CShapeManipulative::Serialize(CArchive& ar) {
    CManipulative::Serialize(ar);
    ar.ExchangeColor(m_fill, "fill colour");
    if (ar.IsStoring())
        ar.WriteTab();
    else
        ar.SkipTab();
}

std::unique_ptr<CManipulative> CShapeManipulative::Clone() const {
    return std::make_unique<CShapeManipulative>(*this);
}

void CShapeManipulative::Draw(IDrawingSurface& dc) const {
    if (!m_visible)
        return;
    // A shape read from a file may have any number of segments; the fill buffer does not grow.
    if (!m_lines.empty() && m_lines.size() <= kMaxFilledVertices) {
        std::vector<CPoint> points;
        points.reserve(m_lines.size());
        for (const CLine& line : m_lines)
            points.push_back(line.start().Rounded());
        dc.SetPen(1, m_fill);
        if (m_fill == kNoColor)
            dc.SetNullBrush();
        else
            dc.SetBrush(m_fill);
        dc.Polygon(points);
    }
    const LineStyle style = m_selected      ? LineStyle::Selected
                            : m_highlighted ? LineStyle::Highlighted
                                            : LineStyle::Plain;
    for (const CLine& line : m_lines)
        line.Draw(dc, style);
}

bool CShapeManipulative::HitTest(double x, double y) const {
    const std::size_t n = m_lines.size();
    if (n == 0 || n > kMaxHitSegments)
        return false;
    CPoint points[kMaxHitSegments];
    int left = kPixelLimit, top = kPixelLimit, right = -kPixelLimit, bottom = -kPixelLimit;
    for (std::size_t i = 0; i < n; ++i) {
        const CPoint p = m_lines[i].start().Rounded();
        points[i] = p;
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    // A polygon region holds its left and top edges but not its right and bottom ones.
    if (x < left || x >= right || y < top || y >= bottom)
        return false;
    // Alternate rule: inside when a ray to the right crosses the outline an odd number of times.
    bool inside = false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const CPoint a = points[i];
        const CPoint b = points[j];
        if ((a.y > y) != (b.y > y)) {
            const double crossX =
                a.x + (y - a.y) * static_cast<double>(b.x - a.x) / static_cast<double>(b.y - a.y);
            if (x < crossX)
                inside = !inside;
        }
    }
    return inside;
}

bool CShapeManipulative::GetHitBounds(CRect& r) const {
    r = CRect{};
    const std::size_t n = m_lines.size();
    if (n == 0 || n > kMaxHitSegments)
        return true;
    r = {kPixelLimit, kPixelLimit, -kPixelLimit, -kPixelLimit};
    for (const CLine& line : m_lines) {
        const CPoint p = line.start().Rounded();
        r.left = std::min(r.left, p.x);
        r.right = std::max(r.right, p.x);
        r.top = std::min(r.top, p.y);
        r.bottom = std::max(r.bottom, p.y);
    }
    return true;
}

int CShapeManipulative::GetVertices(std::vector<CPoint>& out) const {
    if (m_lines.empty()) {
        out.clear();
        return 0;
    }
    return CLineManipulative::GetVertices(out);
}

void CShapeManipulative::SetLineColor(Color color) {
    for (CLine& line : m_lines)
        line.SetColor(color);
}

void RegisterGeometryManipulatives() {
    CManipulativeRegistry& registry = CManipulativeRegistry::Instance();
    registry.Register(kTypeShape, [] { return std::make_unique<CShapeManipulative>(); });
    registry.Register(kTypePolyShape, [] { return std::make_unique<CPolyShapeManipulative>(); });
    registry.Register(kTypeAnglemeter, [] { return std::make_unique<CAnglemeterManipulative>(); });
}

} // namespace quorvel
