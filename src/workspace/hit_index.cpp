// The hit index's grid: cells about as large as the average box, at most 128 by 128 of them;
// a box that would cover many cells is looked at for every point instead.
#include "workspace/hit_index.h"

#include "workspace/manipulative.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {
constexpr std::int64_t kMaxCells = 128;
constexpr std::int64_t kMaxCellsPerBox = 64;
} // namespace

void CHitIndex::Build(const List& list) {
    m_valid = true;
    m_built = list.size();
    m_bounds.assign(list.size(), CRect{});
    m_always.clear();
    m_entries.clear();
    std::vector<std::uint32_t> boxed;
    boxed.reserve(list.size());
    std::int64_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    double sides = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        CRect& b = m_bounds[i];
        if (!list[i]->GetHitBounds(b)) {
            b = CRect{};
            m_always.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        if (b.IsEmpty())
            continue; // never hit
        boxed.push_back(static_cast<std::uint32_t>(i));
        left = std::min<std::int64_t>(left, b.left);
        top = std::min<std::int64_t>(top, b.top);
        right = std::max<std::int64_t>(right, b.right);
        bottom = std::max<std::int64_t>(bottom, b.bottom);
        sides += static_cast<double>(b.Width()) + b.Height();
    }
    if (boxed.empty()) {
        m_columns = m_rows = 0;
        m_offsets.assign(1, 0);
        return;
    }
    const std::int64_t width = right - left, height = bottom - top;
    const auto average =
        static_cast<std::int64_t>(sides / (2.0 * static_cast<double>(boxed.size())));
    m_cellSize = std::max({average, std::int64_t{1}, (width + kMaxCells - 1) / kMaxCells,
                           (height + kMaxCells - 1) / kMaxCells});
    m_origin = {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top)};
    m_columns = (width + m_cellSize - 1) / m_cellSize;
    m_rows = (height + m_cellSize - 1) / m_cellSize;
    const auto cellsOf = [&](const CRect& b, std::int64_t& c0, std::int64_t& c1, std::int64_t& r0,
                             std::int64_t& r1) {
        c0 = (b.left - left) / m_cellSize;
        c1 = (b.right - 1 - left) / m_cellSize;
        r0 = (b.top - top) / m_cellSize;
        r1 = (b.bottom - 1 - top) / m_cellSize;
        return (c1 - c0 + 1) * (r1 - r0 + 1) <= kMaxCellsPerBox;
    };
    // Counted first, then placed: every cell's run ascends in drawing order.
    m_offsets.assign(static_cast<std::size_t>(m_columns * m_rows) + 1, 0);
    std::vector<std::uint32_t> gridded;
    gridded.reserve(boxed.size());
    for (std::uint32_t i : boxed) {
        std::int64_t c0, c1, r0, r1;
        if (!cellsOf(m_bounds[i], c0, c1, r0, r1)) {
            m_always.push_back(i);
            continue;
        }
        gridded.push_back(i);
        for (std::int64_t r = r0; r <= r1; ++r)
            for (std::int64_t c = c0; c <= c1; ++c)
                ++m_offsets[static_cast<std::size_t>(r * m_columns + c) + 1];
    }
    std::sort(m_always.begin(), m_always.end());
    for (std::size_t c = 1; c < m_offsets.size(); ++c)
        m_offsets[c] += m_offsets[c - 1];
    m_entries.resize(m_offsets.back());
    std::vector<std::uint32_t> next(m_offsets.begin(), m_offsets.end() - 1);
    for (std::uint32_t i : gridded) {
        std::int64_t c0, c1, r0, r1;
        cellsOf(m_bounds[i], c0, c1, r0, r1);
        for (std::int64_t r = r0; r <= r1; ++r)
            for (std::int64_t c = c0; c <= c1; ++c)
                m_entries[next[static_cast<std::size_t>(r * m_columns + c)]++] = i;
    }
}

} // namespace quorvel
