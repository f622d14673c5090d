// Unit document base: manipulatives and selection, z-order, hit testing and undo.
#include "workspace/unit_document.h"

#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quorvel {

CUnitDocument::CUnitDocument(CUnitIdentity identity) : m_identity(std::move(identity)) {}

CUnitDocument::~CUnitDocument() = default;

// --- serialisation ---------------------------------------------------------------------------

void CUnitDocument::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar.WriteUInt32(m_identity.signature, "signature");
    SerializeProblemBlock(ar);
    SerializeManipulatives(ar);
}

void CUnitDocument::SerializeManipulatives(CArchive& ar) {
    if (ar.IsStoring())
        WriteManipulatives(ar, m_manipulatives);
    else
        ReadManipulatives(ar, m_manipulatives);
}

// --- virtual operations ----------------------------------------------------------------------

void CUnitDocument::RefillProblemPool() {
    m_run.RefillPool();
}

void CUnitDocument::ClearMarks() {
    for (auto& m : m_manipulatives)
        m->SetHighlighted(false);
}

int CUnitDocument::DrawProblemNumber() {
    if (m_run.pool().empty())
        RefillProblemPool();
    return m_run.TakeFromPool();
}

void CUnitDocument::GetSelectionFrame(CRect& r) const {
    r = CRect{};
    for (const CManipulative* m : m_selection)
        r = r.United(m->GetFrameOf());
    if (m_selection.size() > 1) {
        const CPoint p = m_selectionRotationPoint.Rounded();
        r = r.United(CRect{p.x, p.y, p.x + 1, p.y + 1});
    }
    r.Inflate(8, 8);
}

void CUnitDocument::GetSelectionBounds(CRect& r) const {
    r = CRect::Inverted();
    for (const CManipulative* m : m_selection) {
        CRect b;
        m->GetBounds(b);
        r.left = std::min(r.left, b.left);
        r.top = std::min(r.top, b.top);
        r.right = std::max(r.right, b.right);
        r.bottom = std::max(r.bottom, b.bottom);
    }
}

void CUnitDocument::ClearWorkspace() {
    m_selection.clear();
    m_manipulatives.clear();
    if (m_host)
        m_host->SetStatusText({});
    RecomputeSelectionRotationPoint();
    ContentsChanged();
    InvalidateAll();
}

void CUnitDocument::DrawSelection(IDrawingSurface& dc) const {
    for (const CManipulative* m : m_selection)
        m->Draw(dc);
}

void CUnitDocument::DrawContents(IDrawingSurface& dc) const {
    // Paper shows the work, not the marks of a selection that is only on screen.
    for (const auto& m : m_manipulatives) {
        if (m->selected())
            m->Clone()->Draw(dc);
        else
            m->Draw(dc);
    }
}

void CUnitDocument::InvalidateSelectionMarks() {
    // The marks of a selection reach its rotation point, which may stand away from it.
    if (m_selection.empty())
        return;
    CRect marks;
    GetSelectionFrame(marks);
    const CPoint r = m_selectionRotationPoint.Rounded();
    marks = marks.United({r.x - 8, r.y - 8, r.x + 9, r.y + 9});
    Invalidate(marks);
}

void CUnitDocument::DeselectAll() {
    InvalidateSelectionMarks();
    for (CManipulative* m : m_selection) {
        m->SetSelected(false, true);
        Invalidate(m->GetFrameOf());
    }
    m_selection.clear();
    RecomputeSelectionRotationPoint();
    SetModifiedFlag();
}

void CUnitDocument::Unselect(CManipulative* m) {
    InvalidateSelectionMarks();
    const auto it = std::find(m_selection.begin(), m_selection.end(), m);
    if (it != m_selection.end())
        m_selection.erase(it);
    RecomputeSelectionRotationPoint();
    SetModifiedFlag();
}

CManipulative* CUnitDocument::HitTest(CPoint p) const {
    if (CManipulative* m = PriorityHitTest(p))
        return m;
    const auto skipped = [](const CManipulative* m) {
        return m->GetType() == kTypeAnglemeter || m->GetType() == kTypeAnnotator;
    };
    for (auto it = m_selection.rbegin(); it != m_selection.rend(); ++it)
        if (!skipped(*it) && (*it)->HitTest(p.x, p.y))
            return *it;
    if (m_hitIndexLines != CLine::pointChanges()) {
        m_hitIndexLines = CLine::pointChanges();
        m_hitIndex.Invalidate();
    }
    return m_hitIndex.Find(m_manipulatives, p, [&](const CManipulative* m) {
        return !skipped(m) && m->HitTest(p.x, p.y);
    });
}

bool CUnitDocument::IsOnSelectionRotationPoint(CPoint p) const {
    if (m_selection.empty())
        return false;
    if (m_selection.size() == 1)
        return m_selection.front()->IsOnRotationPoint(C3DPointDouble(p));
    return std::abs(p.x - m_selectionRotationPoint.x) <= 3 &&
           std::abs(p.y - m_selectionRotationPoint.y) <= 3;
}

void CUnitDocument::DeleteSelection() {
    const std::vector<CManipulative*> doomed = m_selection;
    m_selection.clear();
    for (CManipulative* m : doomed) {
        Invalidate(m->GetFrameOf());
        std::erase_if(m_manipulatives, [m](const auto& p) { return p.get() == m; });
    }
    SetModifiedFlag();
}

void CUnitDocument::DeleteManipulative(CManipulative* m) {
    std::erase(m_selection, m);
    const auto it = std::find_if(m_manipulatives.begin(), m_manipulatives.end(),
                                 [m](const auto& p) { return p.get() == m; });
    if (it != m_manipulatives.end()) {
        Invalidate(m->GetFrameOf());
        m_manipulatives.erase(it);
    }
    SetModifiedFlag();
}

bool CUnitDocument::MoveSelection(double dx, double dy) {
    if (m_selection.empty())
        return false;
    for (CManipulative* m : m_selection)
        m->MoveBy(dx, dy);
    SetModifiedFlag();
    return true;
}

void CUnitDocument::SetSelectionRotationPoint(const C3DPointDouble& p) {
    if (m_selection.size() == 1) {
        CManipulative* m = m_selection.front();
        m->SetRotationPoint(p);
        m_selectionRotationPoint = m->rotationPoint();
    } else if (m_selection.size() > 1) {
        m_selectionRotationPoint.x = p.x;
        m_selectionRotationPoint.y = p.y;
    }
    SetModifiedFlag();
}

void CUnitDocument::SetCurrentTool(int tool) {
    m_currentTool = tool;
    ClearMarks();
}

bool CUnitDocument::Select(CManipulative* m) {
    if (!m || m->fixed() ||
        std::find(m_selection.begin(), m_selection.end(), m) != m_selection.end())
        return false;
    m_selection.push_back(m);
    m->SetSelected(true, true);
    RecomputeSelectionRotationPoint();
    SetModifiedFlag();
    return true;
}

void CUnitDocument::RecomputeSelectionRotationPoint() {
    if (m_selection.empty())
        return;
    if (m_selection.size() == 1) {
        m_selectionRotationPoint = m_selection.front()->rotationPoint();
        return;
    }
    C3DPointDouble sum;
    for (const CManipulative* m : m_selection) {
        sum.x += m->rotationPoint().x;
        sum.y += m->rotationPoint().y;
        sum.z += m->rotationPoint().z;
    }
    const double n = static_cast<double>(m_selection.size());
    m_selectionRotationPoint = {sum.x / n, sum.y / n, sum.z / n};
}

// --- manipulatives ---------------------------------------------------------------------------

CManipulative* CUnitDocument::AddManipulative(std::unique_ptr<CManipulative> m) {
    CManipulative* raw = m.get();
    if (IndexOf(raw) < 0) {
        m_manipulatives.push_back(std::move(m));
        Invalidate(raw->GetFrameOf());
    } else {
        m.release(); // already owned by the array
    }
    SetModifiedFlag();
    return raw;
}

CManipulative* CUnitDocument::InsertManipulative(std::size_t index,
                                                 std::unique_ptr<CManipulative> m) {
    CManipulative* raw = m.get();
    if (IndexOf(raw) >= 0) {
        m.release(); // already owned by the array
        return raw;
    }
    index = std::min(index, m_manipulatives.size());
    m_manipulatives.insert(m_manipulatives.begin() + static_cast<std::ptrdiff_t>(index),
                           std::move(m));
    Invalidate(raw->GetFrameOf());
    SetModifiedFlag();
    return raw;
}

std::unique_ptr<CManipulative> CUnitDocument::RemoveManipulative(CManipulative* m) {
    std::unique_ptr<CManipulative> out;
    const auto it = std::find_if(m_manipulatives.begin(), m_manipulatives.end(),
                                 [m](const auto& p) { return p.get() == m; });
    if (it != m_manipulatives.end()) {
        out = std::move(*it);
        m_manipulatives.erase(it);
        // A manipulative outside the document cannot stay selected in it.
        if (std::erase(m_selection, m) > 0)
            RecomputeSelectionRotationPoint();
        Invalidate(m->GetFrameOf());
    }
    SetModifiedFlag();
    return out;
}

int CUnitDocument::IndexOf(const CManipulative* m) const {
    for (std::size_t i = 0; i < m_manipulatives.size(); ++i)
        if (m_manipulatives[i].get() == m)
            return static_cast<int>(i);
    return -1;
}

void CUnitDocument::SendToBack() {
    const std::vector<CManipulative*> chosen = m_selection;
    for (CManipulative* m : chosen) {
        auto owned = RemoveManipulative(m);
        if (owned)
            m_manipulatives.insert(m_manipulatives.begin(), std::move(owned));
    }
    m_selection = chosen; // RemoveManipulative dropped them; DeselectAll clears their flags
    DeselectAll();
    SetModifiedFlag();
    InvalidateAll();
}

void CUnitDocument::BringToFront() {
    const std::vector<CManipulative*> chosen = m_selection;
    for (CManipulative* m : chosen) {
        auto owned = RemoveManipulative(m);
        if (owned)
            m_manipulatives.push_back(std::move(owned));
    }
    m_selection = chosen;
    DeselectAll();
    SetModifiedFlag();
    InvalidateAll();
}

// --- files -----------------------------------------------------------------------------------

void CUnitDocument::DeleteContents() {
    ClearWorkspace();
}

OpenResult CUnitDocument::LoadFromBytes(const std::vector<std::uint8_t>& bytes,
                                        std::string* error) {
    if (bytes.empty())
        return OpenResult::EmptyFile;
    CArchive ar(bytes);
    const bool wasLoading = m_loading;
    try {
        const std::uint32_t signature = ar.ReadUInt32("document signature");
        if (signature != m_identity.signature)
            return OpenResult::WrongSignature;
        m_loading = true;
        DeleteContents();
        SetModifiedFlag();
        Serialize(ar);
    } catch (const CArchiveException& e) {
        m_loading = wasLoading;
        DeleteContents();
        ContentsChanged();
        if (error)
            *error = e.what();
        return OpenResult::Failed;
    } catch (const std::exception& e) {
        // Anything else a damaged file provokes (a value a unit refuses, memory) is a failed open.
        m_loading = wasLoading;
        DeleteContents();
        ContentsChanged();
        if (error)
            *error = e.what();
        return OpenResult::Failed;
    }
    m_loading = wasLoading;
    SelectFlaggedManipulatives();
    m_modified = false;
    ContentsChanged();
    return OpenResult::Opened;
}

CValue CUnitDocument::DumpToTree() {
    CValue root;
    CArchive ar = CArchive::ForDump(root);
    Serialize(ar);
    return root;
}

bool CUnitDocument::LoadFromTree(const CValue& root, std::string* error) {
    const bool wasLoading = m_loading;
    try {
        CArchive ar = CArchive::ForBuild(root);
        ar.Consume("signature");
        m_loading = true;
        DeleteContents();
        Serialize(ar);
        ar.FinishTree();
    } catch (const std::exception& e) {
        m_loading = wasLoading;
        DeleteContents();
        ContentsChanged();
        if (error)
            *error = e.what();
        return false;
    }
    m_loading = wasLoading;
    SelectFlaggedManipulatives();
    m_modified = false;
    ContentsChanged();
    return true;
}

void CUnitDocument::SelectFlaggedManipulatives() {
    m_selection.clear();
    for (auto& m : m_manipulatives)
        if (m->selected())
            m_selection.push_back(m.get());
    RecomputeSelectionRotationPoint();
}

std::vector<std::uint8_t> CUnitDocument::SaveToBytes() {
    CArchive ar;
    Serialize(ar);
    return ar.TakeBytes();
}

bool CUnitDocument::OpenActivityFile(const std::string& path) {
    if (OnOpenDocument(path) != OpenResult::Opened)
        return false;
    m_files.SetActivityPath(path);
    return true;
}

void CUnitDocument::SetProblemSequence(const CProblemPosition& sequence, int count) {
    m_run.SetPosition(sequence);
    m_run.SetProblemSetMode(true);
    m_run.SetViewProblemCount(count);
    if (m_view) {
        m_view->SetProblemCount(count);
        char text[64];
        std::snprintf(text, sizeof text, "%d of %d", sequence.index + 1, count);
        m_view->SetProblemCounterText(text);
    }
}

void CUnitDocument::RestartActivity() {
    const std::string& path = m_files.activityPath();
    if (path.empty())
        return;
    const CProblemPosition kept = m_run.position();
    m_loading = true;
    OnOpenDocument(path);
    m_loading = false;
    if (m_run.problemSetMode()) {
        SetProblemSequence(kept, m_run.viewProblemCount());
        if (m_view)
            m_view->SetCurrentProblem(kept.index);
    }
}

void CUnitDocument::LoadQuestions(const CQuestionSet& questions, int count, int checkState) {
    m_run.questions() = questions;
    m_run.SetQuestionCount(count);
    if (m_view)
        m_view->BeginProblem(m_run.questions(), m_run.questionCount(), checkState);
}

void CUnitDocument::SetModifiedFlag(bool modified) {
    const bool changed = m_modified != modified;
    // The first change after the view last heard that nothing could be undone may have made
    // something undoable: the view hears of it once (Undo's menu item and its keys follow),
    // not at every step of a drag.
    const bool undoWasOff = m_undo.KnownCanUndo() == std::optional<bool>(false);
    m_modified = modified;
    // Every change of the workspace marks the document modified: what Undo can do may differ.
    ContentsChanged();
    if ((changed || undoWasOff) && m_view)
        m_view->DocumentStateChanged();
}

void CUnitDocument::ContentsChanged() {
    m_undo.StateChanged();
    m_hitIndex.Invalidate();
}

void CUnitDocument::Invalidate(const CRect& r) {
    if (m_view && !m_loading)
        m_view->InvalidateRect(r);
}

void CUnitDocument::InvalidateAll() {
    if (m_view && !m_loading)
        m_view->InvalidateAll();
}

// --- undo ------------------------------------------------------------------------------------

void CUnitDocument::SerializeUndoState(CArchive& ar) {
    SerializeManipulatives(ar);
}

std::vector<std::uint8_t> CUnitDocument::UndoSnapshot() {
    // Selection is not part of a step: selecting alone is nothing to undo.
    std::vector<CManipulative*> selected = m_selection;
    for (CManipulative* m : selected)
        m->SetSelected(false, false);
    CArchive ar;
    SerializeUndoState(ar);
    for (CManipulative* m : selected)
        m->SetSelected(true, false);
    return ar.TakeBytes();
}

std::vector<int> CUnitDocument::SelectedPlaces() const {
    std::vector<int> places;
    for (CManipulative* m : m_selection)
        places.push_back(IndexOf(m));
    return places;
}

void CUnitDocument::RestoreUndoSnapshot(const std::vector<std::uint8_t>& snapshot,
                                        const std::vector<int>& selectedIndices) {
    m_selection.clear();
    m_manipulatives.clear();
    CArchive ar(snapshot);
    SerializeUndoState(ar);
    // Selected again is what was selected with that state (the shapes a group was made of
    // come back selected), where it can be selected.
    for (int i : selectedIndices)
        if (i >= 0 && i < static_cast<int>(m_manipulatives.size()))
            Select(m_manipulatives[static_cast<std::size_t>(i)].get());
    RecomputeSelectionRotationPoint();
    SetModifiedFlag();
    if (m_view) {
        m_view->ResetView();
        m_view->InvalidateAll();
        m_view->DocumentStateChanged();
    }
}

void CUnitDocument::MarkUndoStep() {
    m_undo.Mark(UndoSnapshot(), SelectedPlaces());
    if (m_view)
        m_view->DocumentStateChanged();
}

void CUnitDocument::MarkUndoStepBefore(std::vector<std::uint8_t> before) {
    if (before == UndoSnapshot())
        return;
    m_undo.Mark(std::move(before));
    // The step marked is the state before the open, not the one the document holds now.
    ContentsChanged();
}

bool CUnitDocument::CanUndo() {
    if (const std::optional<bool> known = m_undo.KnownCanUndo())
        return *known;
    return m_undo.CanUndo(UndoSnapshot());
}

bool CUnitDocument::CanRedo() const {
    return m_undo.CanRedo();
}

bool CUnitDocument::Undo() {
    std::vector<std::uint8_t> restore;
    std::vector<int> selected;
    if (!m_undo.Undo(UndoSnapshot(), SelectedPlaces(), restore, selected))
        return false;
    RestoreUndoSnapshot(restore, selected);
    return true;
}

bool CUnitDocument::Redo() {
    std::vector<std::uint8_t> restore;
    std::vector<int> selected;
    if (!m_undo.Redo(UndoSnapshot(), SelectedPlaces(), restore, selected))
        return false;
    RestoreUndoSnapshot(restore, selected);
    return true;
}

void CUnitDocument::ClearUndoHistory() {
    m_undo.Clear();
    if (m_view)
        m_view->DocumentStateChanged();
}

} // namespace quorvel
