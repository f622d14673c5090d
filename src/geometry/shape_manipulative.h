// The polygon shape of the Tiles and Tessellations workspace: a closed path of segments with a
// fill colour.
#pragma once

#include "workspace/manipulative.h"

#include <cstddef>

namespace quorvel {

// The drawing buffer holds this many vertices; a shape with more segments is drawn without
// its fill.
inline constexpr std::size_t kMaxFilledVertices = 100;
// A shape with more segments than this never reports a hit.
inline constexpr std::size_t kMaxHitSegments = 49;

class CShapeManipulative : public CLineManipulative {
public:
    // Empty and invisible, as a loaded shape starts before its form is read.
    CShapeManipulative() = default;
    // The segments copied; centre the mean of all end points, rotation point the centre.
    explicit CShapeManipulative(const std::vector<CLine>& lines, Color fill = kNoColor);
    CShapeManipulative(const CShapeManipulative& other);

    void Serialize(CArchive& ar) override;

    std::int32_t GetType() const override { return kTypeShape; }
    std::unique_ptr<CManipulative> Clone() const override;
    // The polygon in the fill colour (unless there is none), then the segments in the style
    // the flags choose.
    void Draw(IDrawingSurface& dc) const override;
    // The polygon of the rounded start points under the alternate rule.
    bool HitTest(double x, double y) const override;
    bool GetHitBounds(CRect& r) const override;
    // Two pieces along the line between boundary points near `from` and `to` (vertices or
    // midpoints, within 3 pixels), each closed by the cut; nothing when fixed, when a point
    // is not on the boundary or when one piece would be empty.
    void CutAlong(const C3DPointDouble& from, const C3DPointDouble& to,
                  std::vector<std::unique_ptr<CManipulative>>& pieces) override;
    void SetColor(Color color) override { m_fill = color; }
    void SetLineColor(Color color) override;
    Color GetColor() const override { return m_fill; }
    // A shape without sides has no outline to export.
    int GetVertices(std::vector<CPoint>& out) const override;

    Color fillColor() const { return m_fill; }
    void SetCentre(const C3DPointDouble& centre) { m_centre = centre; }

private:
    Color m_fill = kNoColor;
};

// Registers the shape, the group and the anglemeter with the manipulative registry (type
// codes 1, 2 and 3).
// Idempotent; every geometry document calls it.
void RegisterGeometryManipulatives();

} // namespace quorvel
