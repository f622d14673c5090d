// Undo and redo stacks of document snapshots in their archive form.
//
// A snapshot is taken at the start of every user action. Steps that changed nothing are
// dropped when undoing, so a controller may mark the start of an action without knowing
// whether it will change anything. The history keeps the last kMaxSteps steps and at most
// kMaxBytes of snapshots, forgetting the oldest first.
//
// Whether there is anything to undo is asked at every menu refresh. The history remembers the
// answer from the last mark or query until the document says its state changed, so a refresh
// needs no snapshot of the current state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace quorvel {

class CUndoHistory {
public:
    using Snapshot = std::vector<std::uint8_t>;
    // The places of the manipulatives selected with a state: given back with it, never compared.
    using Selection = std::vector<int>;
    static constexpr std::size_t kMaxSteps = 100;
    static constexpr std::size_t kMaxBytes = 32u * 1024 * 1024;

    // Records the current state, taken before an action; clears the redo stack when it differs
    // from the newest recorded state.
    void Mark(Snapshot current, Selection selection = {});
    // The state to restore for Undo given the current one, or false when there is none; with
    // the selection it was marked with, and the current selection kept for Redo.
    bool Undo(const Snapshot& current, Snapshot& restore);
    bool Redo(const Snapshot& current, Snapshot& restore);
    bool Undo(const Snapshot& current, const Selection& selected, Snapshot& restore,
              Selection& restoreSelected);
    bool Redo(const Snapshot& current, const Selection& selected, Snapshot& restore,
              Selection& restoreSelected);
    // Whether a recorded state differs from `current`; the answer is kept until StateChanged.
    bool CanUndo(const Snapshot& current);
    // The answer to CanUndo when it is known without the current state: after a mark, a query
    // or Clear, until the state changes.
    std::optional<bool> KnownCanUndo() const;
    // The state may differ from the one last marked or asked about.
    void StateChanged() { m_known.reset(); }
    bool CanRedo() const { return !m_redo.empty(); }
    void Clear();

    std::size_t undoSteps() const { return m_undo.size(); }
    std::size_t redoSteps() const { return m_redo.size(); }
    std::size_t bytes() const { return m_bytes; }

private:
    void Trim();
    bool AnyDiffers(const Snapshot& current) const;

    std::deque<Snapshot> m_undo;
    std::deque<Snapshot> m_redo;
    std::deque<Selection> m_undoSelected; // beside m_undo, one for each
    std::deque<Selection> m_redoSelected;
    std::size_t m_bytes = 0;
    std::optional<bool> m_known;
};

} // namespace quorvel
