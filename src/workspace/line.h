// A straight segment of a manipulative's outline.
#pragma once

#include "workspace/point.h"
#include "workspace/types.h"

#include <cstdint>

namespace quorvel {

class CArchive;
class IDrawingSurface;

inline constexpr Color kHighlightColor = PaletteRGB(255, 0, 255);
inline constexpr Color kHiddenSegmentColor = PaletteRGB(199, 199, 199);

// Plain: only a visible segment, own pen. Selected: width + 2. Highlighted: width + 8 in the
// highlight colour. HiddenView: only a hidden segment, light grey at its own width.
enum class LineStyle { Plain, Selected, Highlighted, HiddenView };

class CLine {
public:
    // All points zero, invisible.
    CLine() = default;
    CLine(CPoint start, CPoint end);
    CLine(const C3DPointDouble& start, const C3DPointDouble& end);

    const C3DPointDouble& start() const { return m_start; }
    const C3DPointDouble& end() const { return m_end; }
    const C3DPointDouble& midpoint() const { return m_mid; }
    void SetPoints(const C3DPointDouble& start, const C3DPointDouble& end);

    std::int32_t width() const { return m_width; }
    Color color() const { return m_color; }
    bool visible() const { return m_visible; }
    // Each returns the previous value.
    std::int32_t SetWidth(std::int32_t width);
    Color SetColor(Color color);
    void SetVisible(bool visible) { m_visible = visible; }

    void Draw(IDrawingSurface& dc, LineStyle style) const;
    // (min x, min y, max x, max y) of the rounded end points.
    CRect BoundingBox() const;

    void Translate(double dx, double dy);
    void Rotate(double angle, const C3DPointDouble& centre);
    void FlipStepHorizontal(const C3DPointDouble& centre);
    void FlipStepVertical(const C3DPointDouble& centre);
    void Scale(double factor, const C3DPointDouble& centre);
    // Inside the bounding box widened by 3 pixels (2 upwards) and at most 2 pixels from the
    // line through the segment, measured on whole-pixel differences.
    bool HitTest(double x, double y) const;
    bool HitTest(CPoint p) const { return HitTest(p.x, p.y); }

    // 96 bytes: start, end, midpoint, then width, TAB, colour, TAB, visible, TAB.
    void Serialize(CArchive& ar);

    // Counts the moves of every line's end points (made, set, moved, turned, read): what caches
    // places derived from lines (the hit index) compare to see whether any moved.
    static std::uint64_t pointChanges() { return s_pointChanges; }

private:
    void UpdateMidpoint();

    inline static std::uint64_t s_pointChanges = 0;

    C3DPointDouble m_start;
    C3DPointDouble m_end;
    C3DPointDouble m_mid;
    std::int32_t m_width = 1;
    Color m_color = PaletteRGB(0, 0, 0);
    bool m_visible = false;
};

} // namespace quorvel
