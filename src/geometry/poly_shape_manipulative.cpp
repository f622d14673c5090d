// Groups: every operation goes to the members in order, then to the frame corners, the
// centre and the rotation point.
#include "geometry/poly_shape_manipulative.h"

#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"

#include <algorithm>
#include <string>

namespace quorvel {

namespace {

void ScalePoint(C3DPointDouble& p, double k, const C3DPointDouble& about) {
    p.x = about.x + (p.x - about.x) * k;
    p.y = about.y + (p.y - about.y) * k;
}

void FlipPointCrossAxis(C3DPointDouble& p, const C3DPointDouble& about) {
    p.RotateInSpace(kPi / 2, 0, about);
    p.RotateInSpace(0, kPi / 8, about);
    p.RotateInSpace(-kPi / 2, 0, about);
}

// Group members are shapes, lines, anglemeters and annotations only, each code followed by a
// TAB.
constexpr std::int32_t kMemberTypes[] = {kTypeLine, kTypeShape, kTypePolyShape, kTypeAnglemeter,
                                         kTypeAnnotator};
constexpr CManipulativeForm kMemberForm{kMemberTypes, true, UnknownType::Fails};

} // namespace

CPolyShapeManipulative::CPolyShapeManipulative(MemberList members) : m_members(std::move(members)) {
    if (m_members.empty())
        return;
    C3DPointDouble sum;
    CRect bounds;
    for (const auto& m : m_members) {
        sum.x += m->centre().x;
        sum.y += m->centre().y;
        sum.z += m->centre().z;
        CRect b;
        m->GetBounds(b);
        bounds = bounds.United(b);
    }
    const double n = static_cast<double>(m_members.size());
    m_centre = {sum.x / n, sum.y / n, sum.z / n};
    m_rotationPoint = m_centre;
    // Bounds have exclusive right and bottom edges: the last pixel inside is one less.
    const int left = bounds.left - 1;
    const int top = bounds.top - 1;
    const int right = bounds.right;
    const int bottom = bounds.bottom;
    m_corners = {C3DPointDouble(left, top), C3DPointDouble(right, top),
                 C3DPointDouble(right, bottom), C3DPointDouble(left, bottom)};
}

CPolyShapeManipulative::CPolyShapeManipulative(const CPolyShapeManipulative& other)
    : CManipulative(other), m_corners(other.m_corners) {
    m_members.reserve(other.m_members.size());
    for (const auto& m : other.m_members)
        m_members.push_back(m->Clone());
}

void CPolyShapeManipulative::Serialize(CArchive& ar) {
    static const char* const kCornerNames[4] = {"frame top-left", "frame top-right",
                                                "frame bottom-right", "frame bottom-left"};
    CArchive::NestingGuard guard(ar);
    CManipulative::Serialize(ar);
    const std::size_t count = ar.ExchangeCount(m_members.size(), "member count", "members",
                                               4 + 1 + kMinManipulativeBytes);
    ar.ExchangeTab();
    {
        CArchive::ArrayScope items(ar, "members");
        if (ar.IsStoring()) {
            for (std::size_t i = 0; i < m_members.size(); ++i) {
                CArchive::Item item(ar, i);
                WriteManipulative(ar, *m_members[i], kMemberForm);
            }
        } else {
            MemberList members;
            members.reserve(count);
            for (std::size_t i = 0; i < count; ++i) {
                CArchive::Item item(ar, i);
                members.push_back(ReadManipulative(ar, kMemberForm));
            }
            m_members = std::move(members);
        }
    }
    for (std::size_t i = 0; i < m_corners.size(); ++i) {
        CArchive::Scope corner(ar, kCornerNames[i]);
        m_corners[i].Serialize(ar);
    }
    ar.ExchangeTab();
}

int CPolyShapeManipulative::GetLowestScaleLevel() const {
    int level = 100;
    for (const auto& m : m_members)
        level = std::min(level, m->GetLowestScaleLevel());
    return level;
}

int CPolyShapeManipulative::GetHighestScaleLevel() const {
    int level = -100;
    for (const auto& m : m_members)
        level = std::max(level, m->GetHighestScaleLevel());
    return level;
}

void CPolyShapeManipulative::RaiseScaleLevel() {
    for (auto& m : m_members)
        m->RaiseScaleLevel();
}

void CPolyShapeManipulative::LowerScaleLevel() {
    for (auto& m : m_members)
        m->LowerScaleLevel();
}

void CPolyShapeManipulative::SetSelected(bool selected, bool redraw) {
    CManipulative::SetSelected(selected, redraw);
    // Members draw themselves, so they carry the group's selected style.
    for (auto& m : m_members)
        m->SetSelected(selected, redraw);
}

void CPolyShapeManipulative::SetHighlighted(bool highlighted) {
    CManipulative::SetHighlighted(highlighted);
    for (auto& m : m_members)
        m->SetHighlighted(highlighted);
}

void CPolyShapeManipulative::SetVisible(bool visible) {
    CManipulative::SetVisible(visible);
    for (auto& m : m_members)
        m->SetVisible(visible);
}

std::unique_ptr<CManipulative> CPolyShapeManipulative::Clone() const {
    return std::make_unique<CPolyShapeManipulative>(*this);
}

void CPolyShapeManipulative::Draw(IDrawingSurface& dc) const {
    if (!m_visible)
        return;
    for (const auto& m : m_members)
        m->Draw(dc);
}

void CPolyShapeManipulative::DrawOutline(IDrawingSurface& dc) const {
    for (const auto& m : m_members)
        if (m->GetType() != kTypeAnglemeter && m->GetType() != kTypeAnnotator)
            m->DrawOutline(dc);
}

bool CPolyShapeManipulative::HitTest(double x, double y) const {
    return std::any_of(m_members.begin(), m_members.end(),
                       [&](const auto& m) { return m->HitTest(x, y); });
}

bool CPolyShapeManipulative::GetHitBounds(CRect& r) const {
    r = CRect{};
    for (const auto& m : m_members) {
        CRect b;
        if (!m->GetHitBounds(b))
            return false;
        r = r.United(b);
    }
    return true;
}

bool CPolyShapeManipulative::HitTestLine(double x, double y) const {
    return std::any_of(m_members.begin(), m_members.end(),
                       [&](const auto& m) { return m->HitTestLine(x, y); });
}

bool CPolyShapeManipulative::ToggleLineAt(const C3DPointDouble& p) {
    bool toggled = false;
    for (auto& m : m_members)
        toggled = m->ToggleLineAt(p) || toggled;
    return toggled;
}

void CPolyShapeManipulative::MoveBy(double dx, double dy) {
    if (m_fixed)
        return;
    for (auto& m : m_members)
        m->MoveBy(dx, dy);
    for (C3DPointDouble& corner : m_corners) {
        corner.x += dx;
        corner.y += dy;
    }
    m_centre.x += dx;
    m_centre.y += dy;
    MoveRotationPoint(dx, dy);
}

void CPolyShapeManipulative::Rotate(double angle, const C3DPointDouble& about) {
    for (auto& m : m_members)
        m->Rotate(angle, about);
    for (C3DPointDouble& corner : m_corners)
        corner.Rotate(angle, about);
    if (m_centre != about)
        m_centre.Rotate(angle, about);
    if (m_rotationPoint != about)
        m_rotationPoint.Rotate(angle, about);
}

void CPolyShapeManipulative::FlipStepCrossAxis(const C3DPointDouble& about) {
    for (auto& m : m_members)
        m->FlipStepCrossAxis(about);
    for (C3DPointDouble& corner : m_corners)
        FlipPointCrossAxis(corner, about);
    FlipPointCrossAxis(m_centre, about);
    FlipPointCrossAxis(m_rotationPoint, about);
}

void CPolyShapeManipulative::FlipStep(const C3DPointDouble& about) {
    for (auto& m : m_members)
        m->FlipStep(about);
    for (C3DPointDouble& corner : m_corners)
        corner.RotateInSpace(0, kPi / 8, about);
    m_centre.RotateInSpace(0, kPi / 8, about);
    m_rotationPoint.RotateInSpace(0, kPi / 8, about);
}

void CPolyShapeManipulative::Scale(double factor, const C3DPointDouble& about) {
    if (factor < 1) {
        const CRect frame = GetFrameOf();
        if (frame.Width() <= kMinScaleFrame && frame.Height() <= kMinScaleFrame)
            return;
    }
    for (auto& m : m_members)
        m->Scale(factor, about);
    for (C3DPointDouble& corner : m_corners)
        ScalePoint(corner, factor, about);
    ScalePoint(m_centre, factor, about);
    ScalePoint(m_rotationPoint, factor, about);
}

void CPolyShapeManipulative::GetFrame(CRect& r) const {
    r = CRect{};
    for (const auto& m : m_members)
        r = r.United(m->GetFrameOf());
    if (m_selected && !r.IsEmpty()) {
        const CPoint p = m_rotationPoint.Rounded();
        r = r.United(CRect{p.x, p.y, p.x + 1, p.y + 1});
    }
}

void CPolyShapeManipulative::GetBounds(CRect& r) const {
    r = CRect{};
    for (const auto& m : m_members) {
        CRect b;
        m->GetBounds(b);
        r = r.United(b);
    }
}

void CPolyShapeManipulative::SetColor(Color color) {
    for (auto& m : m_members)
        m->SetColor(color);
}

void CPolyShapeManipulative::SetLineColor(Color color) {
    for (auto& m : m_members)
        m->SetLineColor(color);
}

Color CPolyShapeManipulative::GetColor() const {
    if (m_members.empty())
        return kNoColor;
    const Color first = m_members.front()->GetColor();
    for (const auto& m : m_members)
        if (m->GetColor() != first)
            return kNoColor;
    return first;
}

void CPolyShapeManipulative::SetLineWidth(int width) {
    for (auto& m : m_members)
        m->SetLineWidth(width);
}

int CPolyShapeManipulative::GetLineWidth() const {
    if (m_members.empty())
        return -1;
    const int first = m_members.front()->GetLineWidth();
    for (const auto& m : m_members)
        if (m->GetLineWidth() != first)
            return -1;
    return first;
}

int GroupDepth(const CManipulative& m) {
    const auto* members = m.GetMembers();
    if (!members)
        return 0;
    int deepest = 0;
    for (const auto& member : *members)
        deepest = std::max(deepest, GroupDepth(*member));
    return deepest + 1;
}

} // namespace quorvel
