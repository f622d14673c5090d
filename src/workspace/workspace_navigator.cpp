// Workspace navigator: the miniature's geometry, moves, clamping, enabling and archive form.
#include "workspace/workspace_navigator.h"

#include "workspace/archive.h"
#include "workspace/point.h"

#include <algorithm>

namespace quorvel {

namespace {

// The miniature lives inside the ring of buttons, with room for its frame line.
constexpr int kMiniatureInset =
    CWorkspaceNavigatorModel::kButtonInset + CWorkspaceNavigatorModel::kButtonSize + 3;
constexpr int kMiniatureBox = kNavigatorSize - 2 * kMiniatureInset;

} // namespace

CPoint NavStep(NavDirection d) {
    switch (d) {
    case NavDirection::Up:
        return {0, -1};
    case NavDirection::Right:
        return {1, 0};
    case NavDirection::Down:
        return {0, 1};
    case NavDirection::Left:
        return {-1, 0};
    case NavDirection::UpRight:
        return {1, -1};
    case NavDirection::UpLeft:
        return {-1, -1};
    case NavDirection::DownRight:
        return {1, 1};
    case NavDirection::DownLeft:
        return {-1, 1};
    }
    return {};
}

CNavButtonArt NavButtonArt(NavDirection d) {
    static constexpr CNavButtonArt kArt[kNavDirections] = {
        {238, 239, 277}, {244, 245, 276}, {240, 241, 272}, {242, 243, 275},
        {248, 249, 279}, {246, 247, 278}, {250, 251, 274}, {252, 253, 273}};
    return kArt[static_cast<int>(d)];
}

CRect CWorkspaceNavigatorModel::ButtonRect(NavDirection d) {
    // Straight buttons in the middle of their edge, diagonal ones in the corners.
    const CPoint s = NavStep(d);
    const auto place = [](int step) {
        if (step < 0)
            return kButtonInset;
        if (step > 0)
            return kNavigatorSize - kButtonInset - kButtonSize;
        return (kNavigatorSize - kButtonSize) / 2;
    };
    const int x = place(s.x);
    const int y = place(s.y);
    return {x, y, x + kButtonSize, y + kButtonSize};
}

CWorkspaceNavigatorModel::CWorkspaceNavigatorModel(int across, int down, double step, CSize screen)
    : m_across(across), m_down(down), m_step(step) {
    Layout(screen);
    UpdateEnabling();
}

void CWorkspaceNavigatorModel::SetScreen(CSize screen) {
    const double fx = FractionX();
    const double fy = FractionY();
    Layout(screen);
    const int dx = RoundToPixel(fx * (m_frame.Width() - m_shown.Width()));
    const int dy = RoundToPixel(fy * (m_frame.Height() - m_shown.Height()));
    m_shown.Offset(dx, dy);
    Clamp();
    UpdateEnabling();
}

void CWorkspaceNavigatorModel::Layout(CSize screen) {
    // One screen in the miniature, sized so that the whole workspace fits the box; the frame
    // is a whole number of screens, so that the last position is exactly the fraction 1.
    const int n = std::max(m_across, 1);
    const int m = std::max(m_down, 1);
    const double sw = std::max(screen.cx, 1);
    const double sh = std::max(screen.cy, 1);
    const double k = std::min(kMiniatureBox / (n * sw), kMiniatureBox / (m * sh));
    const int w = std::max(1, static_cast<int>(k * sw));
    const int h = std::max(1, static_cast<int>(k * sh));
    const int left = kMiniatureInset + (kMiniatureBox - n * w) / 2;
    const int top = kMiniatureInset + (kMiniatureBox - m * h) / 2;
    m_frame = {left, top, left + n * w, top + m * h};
    m_shown = {left, top, left + w, top + h};
}

bool CWorkspaceNavigatorModel::Press(NavDirection d) {
    if (!IsEnabled(d))
        return false;
    const CPoint s = NavStep(d);
    const int dx = RoundToPixel(m_step * s.x * m_shown.Width());
    const int dy = RoundToPixel(m_step * s.y * m_shown.Height());
    MoveTo({m_shown.left + dx, m_shown.top + dy});
    return true;
}

bool CWorkspaceNavigatorModel::BeginDrag(CPoint p) {
    if (!m_shown.Contains(p))
        return false;
    m_dragging = true;
    m_dragOffset = {p.x - m_shown.left, p.y - m_shown.top};
    return true;
}

void CWorkspaceNavigatorModel::DragTo(CPoint p) {
    if (!m_dragging)
        return;
    p.x = std::clamp(p.x, m_frame.left, m_frame.right - 1);
    p.y = std::clamp(p.y, m_frame.top, m_frame.bottom - 1);
    MoveTo({p.x - m_dragOffset.x, p.y - m_dragOffset.y});
}

void CWorkspaceNavigatorModel::MoveTo(CPoint topLeft) {
    m_shown.Offset(topLeft.x - m_shown.left, topLeft.y - m_shown.top);
    Clamp();
    UpdateEnabling();
    Notify();
}

void CWorkspaceNavigatorModel::Clamp() {
    const int x = std::clamp(m_shown.left, m_frame.left,
                             std::max(m_frame.left, m_frame.right - m_shown.Width()));
    const int y = std::clamp(m_shown.top, m_frame.top,
                             std::max(m_frame.top, m_frame.bottom - m_shown.Height()));
    m_shown.Offset(x - m_shown.left, y - m_shown.top);
}

void CWorkspaceNavigatorModel::UpdateEnabling() {
    // A button is greyed when it points beyond an edge that the shown part touches.
    const bool top = m_shown.top <= m_frame.top;
    const bool bottom = m_shown.bottom >= m_frame.bottom;
    const bool left = m_shown.left <= m_frame.left;
    const bool right = m_shown.right >= m_frame.right;
    for (int i = 0; i < kNavDirections; ++i) {
        const CPoint s = NavStep(static_cast<NavDirection>(i));
        const bool blocked =
            (s.y < 0 && top) || (s.y > 0 && bottom) || (s.x < 0 && left) || (s.x > 0 && right);
        m_enabled[static_cast<std::size_t>(i)] = !blocked;
    }
}

double CWorkspaceNavigatorModel::FractionX() const {
    // A workspace one screen wide has nothing to scroll across: 0.
    if (m_across <= 1)
        return 0.0;
    return static_cast<double>(m_shown.left - m_frame.left) / (m_shown.Width() * (m_across - 1.0));
}

double CWorkspaceNavigatorModel::FractionY() const {
    if (m_down <= 1)
        return 0.0;
    return static_cast<double>(m_shown.top - m_frame.top) / (m_shown.Height() * (m_down - 1.0));
}

void CWorkspaceNavigatorModel::Notify() {
    if (m_listener && m_across != 0 && m_down != 0)
        m_listener->ScrollWorkspaceTo(FractionX(), FractionY());
}

void CWorkspaceNavigatorModel::Serialize(CArchive& ar) {
    CRect r = m_shown;
    std::array<bool, kNavDirections> enabled = m_enabled;
    ar.Exchange(r.left, "navigator left");
    ar.Exchange(r.top, "navigator top");
    ar.Exchange(r.right, "navigator right");
    ar.Exchange(r.bottom, "navigator bottom");
    static constexpr const char* kEnabledFields[kNavDirections] = {
        "up enabled",       "right enabled",   "down enabled",       "left enabled",
        "up right enabled", "up left enabled", "down right enabled", "down left enabled"};
    for (int i = 0; i < kNavDirections; ++i)
        ar.Exchange(enabled[static_cast<std::size_t>(i)], kEnabledFields[i]);
    if (ar.IsStoring())
        return;
    // Every navigator is the same size, so a shown part outside it is a damaged file.
    if (r.IsEmpty() || r.left < 0 || r.top < 0 || r.right > kNavigatorSize ||
        r.bottom > kNavigatorSize)
        ar.Fail("navigator rectangle outside the navigator", "navigator rectangle");
    m_shown = r;
    m_enabled = enabled;
}

} // namespace quorvel
