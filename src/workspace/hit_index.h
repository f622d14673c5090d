// A uniform grid over the boxes the manipulatives can be hit in, so that a hit test looks only
// at the few whose box holds the point. Manipulatives that cannot say where they may be hit are
// looked at for every point. The index is rebuilt lazily: the document says when its contents
// may have changed, and the next query builds it again.
#pragma once

#include "workspace/types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quorvel {

class CManipulative;

class CHitIndex {
public:
    using List = std::vector<std::unique_ptr<CManipulative>>;

    // The index no longer describes the list.
    void Invalidate() { m_valid = false; }

    // Calls `visit(m)` for every manipulative that might be hit at `p`, topmost first, until
    // it returns true; returns that manipulative, or null.
    template <typename Visit> CManipulative* Find(const List& list, CPoint p, Visit visit) {
        if (!m_valid || m_built != list.size())
            Build(list);
        const std::uint32_t* cell = nullptr;
        const std::uint32_t* cellEnd = nullptr;
        if (p.x >= m_origin.x && p.y >= m_origin.y) {
            const std::int64_t cx = (std::int64_t{p.x} - m_origin.x) / m_cellSize;
            const std::int64_t cy = (std::int64_t{p.y} - m_origin.y) / m_cellSize;
            if (cx < m_columns && cy < m_rows) {
                const std::size_t c = static_cast<std::size_t>(cy * m_columns + cx);
                cell = m_entries.data() + m_offsets[c];
                cellEnd = m_entries.data() + m_offsets[c + 1];
            }
        }
        const std::uint32_t* always = m_always.data();
        const std::uint32_t* alwaysEnd = always + m_always.size();
        // Both runs ascend in drawing order: walk them back to front, merged.
        while (cell != cellEnd || always != alwaysEnd) {
            std::uint32_t i;
            if (always == alwaysEnd || (cell != cellEnd && cellEnd[-1] > alwaysEnd[-1])) {
                i = *--cellEnd;
                if (!m_bounds[i].Contains(p))
                    continue;
            } else {
                i = *--alwaysEnd;
                if (!m_bounds[i].IsEmpty() && !m_bounds[i].Contains(p))
                    continue;
            }
            CManipulative* m = list[i].get();
            if (visit(m))
                return m;
        }
        return nullptr;
    }

private:
    void Build(const List& list);

    bool m_valid = false;
    std::size_t m_built = 0;
    CPoint m_origin;
    std::int64_t m_cellSize = 1;
    std::int64_t m_columns = 0;
    std::int64_t m_rows = 0;
    std::vector<CRect> m_bounds;          // by place in the list; empty when it cannot say
    std::vector<std::uint32_t> m_offsets; // cell c holds m_entries[offsets[c], offsets[c + 1])
    std::vector<std::uint32_t> m_entries;
    std::vector<std::uint32_t> m_always;
};

} // namespace quorvel
