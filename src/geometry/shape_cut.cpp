// Cutting a shape in two along a line between two of its boundary points.
#include "geometry/shape_manipulative.h"

#include <cstdlib>
#include <optional>
#include <utility>

namespace quorvel {

namespace {

// A boundary point is within this many whole pixels of the pupil's point in x and in y.
constexpr int kCutReach = 3;
// The cut edge's colour as the cut has always written it: plain 0, which draws black.
constexpr Color kCutEdgeColor = 0;

// A vertex (the start of `segment`) or the midpoint of `segment`.
struct BoundaryPoint {
    std::size_t segment;
    bool midpoint;
    // Half-segment steps along the outline from vertex 0.
    std::size_t position() const { return 2 * segment + (midpoint ? 1 : 0); }
};

bool Near(const C3DPointDouble& p, const C3DPointDouble& q) {
    return std::abs(static_cast<long long>(p.RoundedX()) - q.RoundedX()) <= kCutReach &&
           std::abs(static_cast<long long>(p.RoundedY()) - q.RoundedY()) <= kCutReach;
}

// Vertices are preferred to midpoints.
std::optional<BoundaryPoint> FindBoundaryPoint(const std::vector<CLine>& lines,
                                               const C3DPointDouble& p) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (Near(lines[i].start(), p))
            return BoundaryPoint{i, false};
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (Near(lines[i].midpoint(), p))
            return BoundaryPoint{i, true};
    return std::nullopt;
}

// One piece would be empty when the two points lie on one segment: the same point, a vertex
// and a midpoint beside it, or two consecutive vertices.
bool LeavesEmptyPiece(BoundaryPoint a, BoundaryPoint b, std::size_t n) {
    const std::size_t steps = 2 * n;
    const std::size_t d = (b.position() + steps - a.position()) % steps;
    if (d <= 1 || d >= steps - 1)
        return true;
    return !a.midpoint && !b.midpoint && (d == 2 || d == steps - 2);
}

// The outline from `a` forwards to `b`, closed by the cut edge from `b` back to `a`.
std::vector<CLine> PieceBetween(const std::vector<CLine>& lines, BoundaryPoint a, BoundaryPoint b) {
    const std::size_t n = lines.size();
    std::vector<CLine> piece;
    for (std::size_t i = a.segment; i != b.segment; i = (i + 1) % n) {
        CLine line = lines[i];
        if (i == a.segment && a.midpoint)
            line.SetPoints(line.midpoint(), line.end());
        piece.push_back(line);
    }
    if (b.midpoint) {
        CLine line = lines[b.segment];
        line.SetPoints(line.start(), line.midpoint());
        piece.push_back(line);
    }
    CLine cut(piece.back().end(), piece.front().start());
    cut.SetWidth(1);
    cut.SetColor(kCutEdgeColor);
    piece.push_back(cut);
    return piece;
}

} // namespace

void CShapeManipulative::CutAlong(const C3DPointDouble& from, const C3DPointDouble& to,
                                  std::vector<std::unique_ptr<CManipulative>>& pieces) {
    if (m_fixed || m_lines.empty())
        return;
    const auto a = FindBoundaryPoint(m_lines, from);
    const auto b = FindBoundaryPoint(m_lines, to);
    if (!a || !b || LeavesEmptyPiece(*a, *b, m_lines.size()))
        return;
    for (const auto& [start, end] : {std::pair{*a, *b}, std::pair{*b, *a}}) {
        auto piece =
            std::make_unique<CShapeManipulative>(PieceBetween(m_lines, start, end), m_fill);
        // The pieces keep the shape's size steps, so that Enlarge and Reduce stay within
        // their limits.
        while (piece->scaleLevel() < m_scaleLevel)
            piece->RaiseScaleLevel();
        while (piece->scaleLevel() > m_scaleLevel)
            piece->LowerScaleLevel();
        pieces.push_back(std::move(piece));
    }
}

} // namespace quorvel
