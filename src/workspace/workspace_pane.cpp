// Workspace pane: the archive form of its scroll offsets.
#include "workspace/workspace_pane.h"

#include "workspace/archive.h"

#include <cmath>
#include <limits>

namespace quorvel {

namespace {

// offset x present / saved, truncated; a degenerate saved size leaves the offset alone.
std::int32_t Rescale(std::int32_t offset, std::int64_t present, std::int64_t saved) {
    if (saved <= 0 || present == saved)
        return offset;
    const double v = std::trunc(static_cast<double>(offset) * static_cast<double>(present) /
                                static_cast<double>(saved));
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::fmax(lo, std::fmin(hi, v)));
}

} // namespace

void CWorkspacePaneState::Serialize(CArchive& ar, const CRect& present) {
    std::int32_t x = m_x;
    std::int32_t y = m_y;
    CRect saved = present;
    ar.Exchange(x, "pane x offset");
    ar.Exchange(y, "pane y offset");
    ar.Exchange(saved, "pane rectangle");
    if (ar.IsStoring())
        return;
    if (saved != present) {
        x = Rescale(x, present.Width(), std::int64_t{saved.right} - saved.left);
        y = Rescale(y, present.Height(), std::int64_t{saved.bottom} - saved.top);
    }
    m_x = x;
    m_y = y;
}

void CWorkspacePaneState::SerializeAdopting(CArchive& ar, CRect& rect) {
    ar.Exchange(m_x, "pane x offset");
    ar.Exchange(m_y, "pane y offset");
    ar.Exchange(rect, "pane rectangle");
}

} // namespace quorvel
