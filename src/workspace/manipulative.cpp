// The manipulative base: flags, moves, snapping, comparison and the base archive form.
#include "workspace/manipulative.h"

#include "workspace/archive.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvel {

// The best pair so far; a pair within the snap distance replaces it when its |dx| or its |dy|
// is smaller than the best's.
struct CManipulative::SnapSearch {
    C3DPointDouble mine{-1.0, -1.0, 0.0};
    C3DPointDouble theirs{-1.0, -1.0, 0.0};
    double dx = std::numeric_limits<double>::max();
    double dy = std::numeric_limits<double>::max();
    bool found = false;

    void Consider(const C3DPointDouble& a, const C3DPointDouble& b) {
        const double ax = std::fabs(a.x - b.x);
        const double ay = std::fabs(a.y - b.y);
        if (ax > kSnapDistance || ay > kSnapDistance)
            return;
        if (ax < dx || ay < dy) {
            mine = a;
            theirs = b;
            dx = ax;
            dy = ay;
            found = true;
        }
    }
};

namespace {

// Two frames are worth a point search when they overlap or come within the snap distance.
bool FramesNear(const CRect& a, const CRect& b) {
    if (a.IsEmpty() || b.IsEmpty())
        return false;
    CRect grown = a;
    const int d = static_cast<int>(kSnapDistance);
    grown.Inflate(d, d);
    return grown.Intersects(b);
}

} // namespace

CManipulative::CManipulative(const CManipulative& other)
    : m_centre(other.m_centre), m_rotationPoint(other.m_rotationPoint), m_visible(other.m_visible),
      m_kind(other.m_kind), m_scaleLevel(other.m_scaleLevel) {}

void CManipulative::Serialize(CArchive& ar) {
    const std::size_t count = ar.ExchangeCount(m_lines.size(), "line count", "lines", 96);
    {
        CArchive::Scope s(ar, "centre");
        m_centre.Serialize(ar);
    }
    {
        CArchive::Scope s(ar, "rotation point");
        m_rotationPoint.Serialize(ar);
    }
    ar.Exchange(m_selected, "selected");
    ar.Exchange(m_visible, "visible");
    ar.Exchange(m_scriptMark, "script mark");
    ar.Exchange(m_highlighted, "highlighted");
    ar.Exchange(m_kind, "kind");
    ar.Exchange(m_fixed, "fixed");
    CArchive::ArrayScope lines(ar, "lines");
    if (ar.IsLoading()) {
        m_lines.clear();
        m_lines.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            CArchive::Item item(ar, i);
            CLine line;
            line.Serialize(ar);
            m_lines.push_back(line);
        }
        m_scaleLevel = 0;
    } else {
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            CArchive::Item item(ar, i);
            m_lines[i].Serialize(ar);
        }
    }
}

void CManipulative::SetSelected(bool selected, bool /*redraw*/) {
    m_selected = selected;
}

bool CManipulative::ToggleSelected() {
    SetSelected(!m_selected, true);
    return m_selected;
}

C3DPointDouble CManipulative::MoveRotationPoint(double dx, double dy) {
    if (!m_fixed) {
        m_rotationPoint.x += dx;
        m_rotationPoint.y += dy;
    }
    return m_rotationPoint;
}

bool CManipulative::IsOnRotationPoint(const C3DPointDouble& p) const {
    return std::fabs(std::trunc(p.x - m_rotationPoint.x)) <= 3 &&
           std::fabs(std::trunc(p.y - m_rotationPoint.y)) <= 3;
}

void CManipulative::SnapCandidates(std::vector<C3DPointDouble>& out) const {
    out.reserve(out.size() + 3 * m_lines.size() + 1);
    for (const CLine& line : m_lines) {
        out.push_back(line.start());
        out.push_back(line.end());
        out.push_back(line.midpoint());
    }
    out.push_back(m_centre);
}

void CManipulative::CollectSnapPair(const CManipulative& other, SnapSearch& search) const {
    if (const auto* members = GetMembers()) {
        for (const auto& m : *members)
            m->CollectSnapPair(other, search);
        return;
    }
    if (const auto* members = other.GetMembers()) {
        for (const auto& m : *members)
            CollectSnapPair(*m, search);
        return;
    }
    if (!FramesNear(GetFrameOf(), other.GetFrameOf()))
        return;
    std::vector<C3DPointDouble> mine;
    std::vector<C3DPointDouble> theirs;
    SnapCandidates(mine);
    other.SnapCandidates(theirs);
    for (const auto& a : mine)
        for (const auto& b : theirs)
            search.Consider(a, b);
}

void CManipulative::CollectSnapPoint(const C3DPointDouble& p, SnapSearch& search) const {
    if (const auto* members = GetMembers()) {
        for (const auto& m : *members)
            m->CollectSnapPoint(p, search);
        return;
    }
    std::vector<C3DPointDouble> mine;
    SnapCandidates(mine);
    for (const auto& a : mine)
        search.Consider(a, p);
}

bool CManipulative::FindSnapPair(const CManipulative& other, C3DPointDouble& mine,
                                 C3DPointDouble& theirs) const {
    SnapSearch search;
    CollectSnapPair(other, search);
    mine = search.mine;
    theirs = search.theirs;
    return search.found;
}

bool CManipulative::FindSnapPoint(const C3DPointDouble& p, C3DPointDouble& mine) const {
    SnapSearch search;
    CollectSnapPoint(p, search);
    mine = search.mine;
    return search.found;
}

bool CManipulative::IsEqualTo(const CManipulative& other) const {
    const auto* mine = GetMembers();
    const auto* theirs = other.GetMembers();
    if (mine || theirs) {
        if (!mine || !theirs || mine->size() != theirs->size())
            return false;
        for (std::size_t i = 0; i < mine->size(); ++i)
            if (!(*mine)[i]->IsEqualTo(*(*theirs)[i]))
                return false;
        return true;
    }
    if (m_lines.size() != other.m_lines.size())
        return false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (!m_lines[i].start().IsNear(other.m_lines[i].start()) ||
            !m_lines[i].end().IsNear(other.m_lines[i].end()))
            return false;
    }
    return m_centre.IsNear(other.m_centre);
}

std::unique_ptr<CManipulative> CManipulative::Clone() const {
    return std::make_unique<CManipulative>();
}

void CManipulative::Draw(IDrawingSurface&) const {}
void CManipulative::DrawOutline(IDrawingSurface&) const {}
bool CManipulative::HitTest(double, double) const {
    return false;
}
bool CManipulative::HitTestLine(double, double) const {
    return false;
}
bool CManipulative::ToggleLineAt(const C3DPointDouble&) {
    return false;
}
bool CManipulative::BeginHandleDrag(const C3DPointDouble&) {
    return false;
}
bool CManipulative::DragHandle(const C3DPointDouble&) {
    return false;
}
void CManipulative::CutAlong(const C3DPointDouble&, const C3DPointDouble&,
                             std::vector<std::unique_ptr<CManipulative>>&) {}
void CManipulative::MoveBy(double, double) {}

void CManipulative::MoveTo(const C3DPointDouble& p) {
    if (!m_fixed)
        MoveBy(p.x - m_centre.x, p.y - m_centre.y);
}

void CManipulative::Rotate(double, const C3DPointDouble&) {}
void CManipulative::FlipStepCrossAxis(const C3DPointDouble&) {}
void CManipulative::FlipStep(const C3DPointDouble&) {}
void CManipulative::Scale(double, const C3DPointDouble&) {}

void CManipulative::GetFrame(CRect& r) const {
    r = CRect{};
}

void CManipulative::GetBounds(CRect&) const {}

CRect CManipulative::GetFrameOf() const {
    CRect r;
    GetFrame(r);
    return r;
}

int CManipulative::GetVertices(std::vector<CPoint>&) const {
    return 0;
}

void CManipulative::SetColor(Color) {}
void CManipulative::SetLineColor(Color) {}

Color CManipulative::GetColor() const {
    return m_lines.empty() ? kNoColor : m_lines.front().color();
}

void CManipulative::SetLineWidth(int width) {
    for (CLine& line : m_lines)
        line.SetWidth(width);
}

int CManipulative::GetLineWidth() const {
    return m_lines.empty() ? 0 : m_lines.front().width();
}

} // namespace quorvel
