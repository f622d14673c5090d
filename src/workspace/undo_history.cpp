// Snapshot undo history.
#include "workspace/undo_history.h"

namespace quorvel {

void CUndoHistory::Mark(Snapshot current, Selection selection) {
    if (m_undo.empty() || m_undo.back() != current) {
        m_bytes += current.size();
        m_undo.push_back(std::move(current));
        m_undoSelected.push_back(std::move(selection));
        for (const auto& s : m_redo)
            m_bytes -= s.size();
        m_redo.clear();
        m_redoSelected.clear();
        Trim();
    } else {
        // Nothing changed since the last mark: its selection is the one before this action.
        m_undoSelected.back() = std::move(selection);
    }
    // The newest step is the current state, unless trimming dropped it with all the others.
    m_known = !m_undo.empty() && AnyDiffers(m_undo.back());
}

bool CUndoHistory::AnyDiffers(const Snapshot& current) const {
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
        if (*it != current)
            return true;
    return false;
}

bool CUndoHistory::CanUndo(const Snapshot& current) {
    m_known = AnyDiffers(current);
    return *m_known;
}

std::optional<bool> CUndoHistory::KnownCanUndo() const {
    if (m_undo.empty())
        return false;
    return m_known;
}

bool CUndoHistory::Undo(const Snapshot& current, Snapshot& restore) {
    Selection ignored;
    return Undo(current, {}, restore, ignored);
}

bool CUndoHistory::Redo(const Snapshot& current, Snapshot& restore) {
    Selection ignored;
    return Redo(current, {}, restore, ignored);
}

bool CUndoHistory::Undo(const Snapshot& current, const Selection& selected, Snapshot& restore,
                        Selection& restoreSelected) {
    // The restored state is read back into the document, which need not write it the same.
    m_known.reset();
    // Marks of actions that changed nothing hold the current state: drop them.
    while (!m_undo.empty() && m_undo.back() == current) {
        m_bytes -= m_undo.back().size();
        m_undo.pop_back();
        m_undoSelected.pop_back();
    }
    if (m_undo.empty())
        return false;
    restore = std::move(m_undo.back());
    restoreSelected = std::move(m_undoSelected.back());
    m_bytes -= restore.size();
    m_undo.pop_back();
    m_undoSelected.pop_back();
    m_bytes += current.size();
    m_redo.push_back(current);
    m_redoSelected.push_back(selected);
    Trim();
    return true;
}

bool CUndoHistory::Redo(const Snapshot& current, const Selection& selected, Snapshot& restore,
                        Selection& restoreSelected) {
    m_known.reset();
    if (m_redo.empty())
        return false;
    restore = std::move(m_redo.back());
    restoreSelected = std::move(m_redoSelected.back());
    m_bytes -= restore.size();
    m_redo.pop_back();
    m_redoSelected.pop_back();
    m_bytes += current.size();
    m_undo.push_back(current);
    m_undoSelected.push_back(selected);
    Trim();
    return true;
}

void CUndoHistory::Clear() {
    m_undo.clear();
    m_redo.clear();
    m_undoSelected.clear();
    m_redoSelected.clear();
    m_bytes = 0;
    m_known.reset();
}

void CUndoHistory::Trim() {
    while (!m_undo.empty() && (m_undo.size() > kMaxSteps || m_bytes > kMaxBytes)) {
        m_bytes -= m_undo.front().size();
        m_undo.pop_front();
        m_undoSelected.pop_front();
    }
    while (!m_redo.empty() && m_bytes > kMaxBytes) {
        m_bytes -= m_redo.front().size();
        m_redo.pop_front();
        m_redoSelected.pop_front();
    }
}

} // namespace quorvel
