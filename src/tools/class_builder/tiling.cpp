// Corners, areas and the outline of a patch of shapes.
#include "tools/class_builder/tiling.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <utility>

namespace quorvel {

namespace {

// A corner's place on a grid fine enough to tell corners apart and coarse enough that the
// rounding of rotations and flips lands every copy of a corner in the same cell.
using CornerKey = std::pair<std::int64_t, std::int64_t>;

CornerKey KeyOf(const C3DPointDouble& p) {
    constexpr double kCells = 1000.0;
    return {std::llround(p.x * kCells), std::llround(p.y * kCells)};
}

double Cross(const C3DPointDouble& o, const C3DPointDouble& a, const C3DPointDouble& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The corners of `all` that lie inside the edge a-b, ordered from a to b.
std::vector<C3DPointDouble> CornersInside(const C3DPointDouble& a, const C3DPointDouble& b,
                                          const std::vector<C3DPointDouble>& all) {
    const double length = Distance(a, b);
    std::vector<std::pair<double, C3DPointDouble>> found;
    if (length <= kCornerTolerance)
        return {};
    for (const C3DPointDouble& p : all) {
        const double along = ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / length;
        const double off = std::fabs(Cross(a, b, p)) / length;
        if (off < kCornerTolerance && along > kCornerTolerance && along < length - kCornerTolerance)
            found.emplace_back(along, p);
    }
    std::sort(found.begin(), found.end(),
              [](const auto& l, const auto& r) { return l.first < r.first; });
    std::vector<C3DPointDouble> inside;
    for (const auto& [along, p] : found)
        if (inside.empty() || Distance(inside.back(), p) > kCornerTolerance)
            inside.push_back(p);
    return inside;
}

// Drops corners where the boundary runs straight on.
CPolygonPoints MergeStraightRuns(const CPolygonPoints& loop) {
    CPolygonPoints kept = loop;
    bool changed = true;
    while (changed && kept.size() > 3) {
        changed = false;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            const C3DPointDouble& prev = kept[(i + kept.size() - 1) % kept.size()];
            const C3DPointDouble& next = kept[(i + 1) % kept.size()];
            const double span = Distance(prev, next);
            const bool forward = (kept[i].x - prev.x) * (next.x - kept[i].x) +
                                     (kept[i].y - prev.y) * (next.y - kept[i].y) >
                                 0;
            if (span > 0 && std::fabs(Cross(prev, next, kept[i])) / span < kCornerTolerance &&
                forward) {
                kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
                break;
            }
        }
    }
    return kept;
}

} // namespace

CPolygonPoints CornersOf(const CManipulative& m) {
    CPolygonPoints corners;
    for (const CLine& line : m.lines())
        corners.push_back(line.start());
    return corners;
}

double SignedArea(const CPolygonPoints& polygon) {
    double twice = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const C3DPointDouble& a = polygon[i];
        const C3DPointDouble& b = polygon[(i + 1) % polygon.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2;
}

double Distance(const C3DPointDouble& a, const C3DPointDouble& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

std::vector<CPolygonPoints> OutlineLoops(const std::vector<CPolygonPoints>& polygons) {
    std::vector<C3DPointDouble> corners;
    for (const CPolygonPoints& p : polygons)
        corners.insert(corners.end(), p.begin(), p.end());

    // Every edge cut at the corners that lie on it, all polygons turned the same way, so that
    // an inner piece of edge is met once in each direction and cancels.
    std::map<std::pair<CornerKey, CornerKey>, int> edges;
    std::map<CornerKey, C3DPointDouble> places;
    for (CPolygonPoints p : polygons) {
        if (SignedArea(p) < 0)
            std::reverse(p.begin(), p.end());
        for (std::size_t i = 0; i < p.size(); ++i) {
            const C3DPointDouble& a = p[i];
            const C3DPointDouble& b = p[(i + 1) % p.size()];
            std::vector<C3DPointDouble> run{a};
            for (const C3DPointDouble& c : CornersInside(a, b, corners))
                run.push_back(c);
            run.push_back(b);
            for (std::size_t k = 0; k + 1 < run.size(); ++k) {
                const CornerKey from = KeyOf(run[k]);
                const CornerKey to = KeyOf(run[k + 1]);
                if (from == to)
                    continue;
                places.emplace(from, run[k]);
                places.emplace(to, run[k + 1]);
                auto back = edges.find({to, from});
                if (back != edges.end() && back->second > 0)
                    --back->second;
                else
                    ++edges[{from, to}];
            }
        }
    }

    std::multimap<CornerKey, CornerKey> outgoing;
    for (const auto& [edge, count] : edges)
        for (int i = 0; i < count; ++i)
            outgoing.emplace(edge.first, edge.second);

    std::vector<CPolygonPoints> loops;
    while (!outgoing.empty()) {
        auto it = outgoing.begin();
        const CornerKey start = it->first;
        CornerKey at = it->second;
        outgoing.erase(it);
        CPolygonPoints loop{places.at(start)};
        while (at != start) {
            loop.push_back(places.at(at));
            auto next = outgoing.find(at);
            if (next == outgoing.end())
                break; // an open run: the polygons were not a patch
            at = next->second;
            outgoing.erase(next);
        }
        loops.push_back(MergeStraightRuns(loop));
    }
    std::stable_sort(loops.begin(), loops.end(), [](const auto& l, const auto& r) {
        return std::fabs(SignedArea(l)) > std::fabs(SignedArea(r));
    });
    return loops;
}

std::vector<const CManipulative*> ShapesOf(const std::vector<const CManipulative*>& list) {
    std::vector<const CManipulative*> shapes;
    for (const CManipulative* m : list) {
        if (const auto* members = m->GetMembers()) {
            std::vector<const CManipulative*> inner;
            for (const auto& member : *members)
                inner.push_back(member.get());
            const auto found = ShapesOf(inner);
            shapes.insert(shapes.end(), found.begin(), found.end());
        } else if (m->GetType() == kTypeShape) {
            shapes.push_back(m);
        }
    }
    return shapes;
}

} // namespace quorvel
