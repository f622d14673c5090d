// Snapshot undo history.
#include "workspace/undo_history.h"

namespace quorvel {

void CUndoHistory::Mark(Snapshot before) {
    if (!m_undo.empty() && m_undo.back() == before)
        return;
    m_bytes += before.size();
    m_undo.push_back(std::move(before));
    for (const auto& s : m_redo)
        m_bytes -= s.size();
    m_redo.clear();
    Trim();
}

bool CUndoHistory::CanUndo(const Snapshot& current) const {
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
        if (*it != current)
            return true;
    return false;
}

bool CUndoHistory::Undo(const Snapshot& current, Snapshot& restore) {
    // Marks of actions that changed nothing hold the current state: drop them.
    while (!m_undo.empty() && m_undo.back() == current) {
        m_bytes -= m_undo.back().size();
        m_undo.pop_back();
    }
    if (m_undo.empty())
        return false;
    restore = std::move(m_undo.back());
    m_bytes -= restore.size();
    m_undo.pop_back();
    m_bytes += current.size();
    m_redo.push_back(current);
    Trim();
    return true;
}

bool CUndoHistory::Redo(const Snapshot& current, Snapshot& restore) {
    if (m_redo.empty())
        return false;
    restore = std::move(m_redo.back());
    m_bytes -= restore.size();
    m_redo.pop_back();
    m_bytes += current.size();
    m_undo.push_back(current);
    Trim();
    return true;
}

void CUndoHistory::Clear() {
    m_undo.clear();
    m_redo.clear();
    m_bytes = 0;
}

void CUndoHistory::Trim() {
    while (!m_undo.empty() && (m_undo.size() > kMaxSteps || m_bytes > kMaxBytes)) {
        m_bytes -= m_undo.front().size();
        m_undo.pop_front();
    }
    while (!m_redo.empty() && m_bytes > kMaxBytes) {
        m_bytes -= m_redo.front().size();
        m_redo.pop_front();
    }
}

} // namespace quorvel
