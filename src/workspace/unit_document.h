// The document base of the five unit workspaces: the manipulatives in drawing order, the
// selection and its rotation point, and the undo history; its files and its problem-set run
// are parts of their own that it owns.
#pragma once

#include "workspace/document_files.h"
#include "workspace/document_host.h"
#include "workspace/file_chooser.h"
#include "workspace/hit_index.h"
#include "workspace/manipulative.h"
#include "workspace/problem_run.h"
#include "workspace/question.h"
#include "workspace/undo_history.h"
#include "workspace/value_tree.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class CArchive;
class IDrawingSurface;

// What tells one unit's files from another's.
struct CUnitIdentity {
    std::uint32_t signature = 0;
    std::string unitTitle;
    std::string fileFilter;
    std::string defaultExtension; // without the dot
    std::string wrongFileMessage;
};

class CUnitDocument {
public:
    using ManipulativeList = std::vector<std::unique_ptr<CManipulative>>;

    explicit CUnitDocument(CUnitIdentity identity);
    virtual ~CUnitDocument();
    CUnitDocument(const CUnitDocument&) = delete;
    CUnitDocument& operator=(const CUnitDocument&) = delete;

    void SetHost(IDocumentHost* host) { m_host = host; }
    IDocumentHost* host() const { return m_host; }
    void SetView(IWorkspaceView* view) { m_view = view; }
    // The file system Open and Save go through; null is the real one. Tests make it fail.
    void SetFileOps(IFileOps* ops) { m_files.SetFileOps(ops); }

    // Storing writes the signature first; loading starts after it (Open has read it).
    virtual void Serialize(CArchive& ar);

    // Virtual operations.
    virtual void RefillProblemPool();
    virtual void SetActivityFileName(const std::string&) {}
    virtual void EditOptions() {}
    virtual void ClearMarks();
    virtual void AppendProblemFileName(std::string& /*path*/, int /*level*/) {}
    virtual std::string GetProblemText() const { return {}; }
    virtual int DrawProblemNumber();
    virtual void GetSelectionFrame(CRect& r) const;
    virtual void GetSelectionBounds(CRect& r) const;
    virtual void ClearWorkspace();
    virtual void DrawSelection(IDrawingSurface& dc) const;
    // The workspace's contents as printed and rendered: every manipulative, bottom first, the
    // selected ones without their selection marks.
    virtual void DrawContents(IDrawingSurface& dc) const;
    virtual void DeselectAll();
    virtual void Unselect(CManipulative* m);
    virtual CManipulative* HitTest(CPoint p) const;
    virtual bool IsOnSelectionRotationPoint(CPoint p) const;
    virtual void DeleteSelection();
    virtual void DeleteManipulative(CManipulative* m);
    virtual bool MoveSelection(double dx, double dy);
    virtual void SetSelectionRotationPoint(const C3DPointDouble& p);
    virtual void SetCurrentTool(int tool);
    virtual IWorkspaceView* GetWorkspaceView() const { return m_view; }
    virtual bool Select(CManipulative* m);

    // Manipulatives.
    // Appends on top unless already there; the document takes ownership.
    CManipulative* AddManipulative(std::unique_ptr<CManipulative> m);
    // Places m at `index` in drawing order (on top when beyond the end); the document takes
    // ownership.
    CManipulative* InsertManipulative(std::size_t index, std::unique_ptr<CManipulative> m);
    // Takes m out of the array without deleting it; the caller receives ownership.
    std::unique_ptr<CManipulative> RemoveManipulative(CManipulative* m);
    const ManipulativeList& manipulatives() const { return m_manipulatives; }
    const std::vector<CManipulative*>& selection() const { return m_selection; }
    int IndexOf(const CManipulative* m) const;
    const C3DPointDouble& selectionRotationPoint() const { return m_selectionRotationPoint; }
    void SendToBack();
    void BringToFront();

    // Files.
    OpenResult OnOpenDocument(const std::string& path) { return m_files.OpenDocument(path); }
    // Writes the document to `path` atomically; on failure the old file stays whole.
    bool OnSaveDocument(const std::string& path) { return m_files.SaveDocument(path); }
    // The document's bytes as Save writes them.
    std::vector<std::uint8_t> SaveToBytes();
    // Reads a whole file image as Open does (signature included); no messages.
    OpenResult LoadFromBytes(const std::vector<std::uint8_t>& bytes, std::string* error = nullptr);
    // The document field by field, as qvtool dumps it.
    CValue DumpToTree();
    // Reads a field tree made by DumpToTree (its signature already matched); false with the
    // path of the first bad field on failure, leaving the workspace cleared.
    bool LoadFromTree(const CValue& root, std::string* error = nullptr);
    virtual void DeleteContents();

    // File commands (CDocumentFiles).
    bool FileNew() { return m_files.New(); }
    bool FileOpen() { return m_files.Open(); }
    bool FileSave() { return m_files.Save(); }
    bool FileSaveAs() { return m_files.SaveAs(); }
    std::optional<std::string> ChoosePdfPath(const std::string& defaultName) const {
        return m_files.ChoosePdfPath(defaultName);
    }
    bool AskToSave() { return m_files.AskToSave(); }
    void UpdateCaption(const std::string& path) { m_files.UpdateCaption(path); }
    CDocumentFiles& files() { return m_files; }
    const CDocumentFiles& files() const { return m_files; }

    bool OpenActivityFile(const std::string& path);
    void SetActivityName(const std::string& name) { m_files.SetActivityName(name); }
    // Copies the problem position and shows "n of count" in the view's problem counter.
    void SetProblemSequence(const CProblemPosition& sequence, int count);
    // Reopens the activity, keeping the problem position in a problem set.
    void RestartActivity();
    // Copies a problem's questions into the document and starts the problem in the view.
    void LoadQuestions(const CQuestionSet& questions, int count, int checkState);
    CProblemRunState& problemRun() { return m_run; }
    const CProblemRunState& problemRun() const { return m_run; }

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);

    // Undo history. A controller marks the start of every user action. CanUndo takes a snapshot
    // only when the document changed since the last mark or query.
    void MarkUndoStep();
    bool CanUndo();
    bool CanRedo() const;
    bool Undo();
    bool Redo();
    void ClearUndoHistory();
    const CUndoHistory& undoHistory() const { return m_undo; }

    // Fields.
    const CUnitIdentity& identity() const { return m_identity; }
    bool loading() const { return m_loading; }
    void SetLoading(bool loading) { m_loading = loading; }
    bool problemSetMode() const { return m_run.problemSetMode(); }
    void SetProblemSetMode(bool on) { m_run.SetProblemSetMode(on); }
    const CProblemPosition& problemPosition() const { return m_run.position(); }
    void SetProblemPosition(const CProblemPosition& p) { m_run.SetPosition(p); }
    const CQuestionSet& questions() const { return m_run.questions(); }
    CQuestionSet& questions() { return m_run.questions(); }
    int questionCount() const { return m_run.questionCount(); }
    void SetQuestionCount(int n) { m_run.SetQuestionCount(n); }
    const std::vector<std::int32_t>& problemPool() const { return m_run.pool(); }
    int level() const { return m_run.level(); }
    void SetLevel(int level) { m_run.SetLevel(level); }
    int problemCount() const { return m_run.problemCount(); }
    void SetProblemCount(int n) { m_run.SetProblemCount(n); }
    bool clearable() const { return m_clearable; }
    void SetClearable(bool clearable) { m_clearable = clearable; }
    int currentTool() const { return m_currentTool; }
    DirectoryChoice directoryChoice() const { return m_files.directoryChoice(); }
    void SetDirectoryChoice(DirectoryChoice d) { m_files.SetDirectoryChoice(d); }
    const std::string& filePath() const { return m_files.filePath(); }
    void SetFilePath(const std::string& p) { m_files.SetFilePath(p); }
    const std::string& activityPath() const { return m_files.activityPath(); }
    const std::string& activityName() const { return m_files.activityName(); }

protected:
    // The problem block: four question records, then question count, tries left, correct
    // answers, current problem index and level.
    void SerializeProblemBlock(CArchive& ar) { m_run.Serialize(ar); }
    void SerializeManipulatives(CArchive& ar);
    // Units whose objects take hits before the manipulatives (hoppers) override this.
    virtual CManipulative* PriorityHitTest(CPoint) const { return nullptr; }
    // File New after the workspace is cleared: units empty what else a new document starts
    // without.
    virtual void NewDocumentContents() {}
    // What Undo restores; units add the state that lives outside the manipulatives.
    virtual void SerializeUndoState(CArchive& ar);
    void RecomputeSelectionRotationPoint();
    // Redraws where the selection's frame and rotation-point marks stand, before they go.
    void InvalidateSelectionMarks();
    void Invalidate(const CRect& r);
    void InvalidateAll();
    // The workspace may differ from what the undo history and the hit index last saw.
    void ContentsChanged();

    CUnitIdentity m_identity;
    IDocumentHost* m_host = nullptr;
    IWorkspaceView* m_view = nullptr;

    bool m_loading = false;
    bool m_clearable = true;
    std::int32_t m_currentTool = 0;
    ManipulativeList m_manipulatives;
    std::vector<CManipulative*> m_selection;
    C3DPointDouble m_selectionRotationPoint;
    bool m_modified = false;
    CUndoHistory m_undo;

private:
    // The file commands read and write the document and keep its undo history across opens.
    friend class CDocumentFiles;

    std::vector<std::uint8_t> UndoSnapshot();
    void RestoreUndoSnapshot(const std::vector<std::uint8_t>& snapshot,
                             const std::vector<int>& selectedIndices);
    // Where the selected manipulatives stand in drawing order, in the order of selection.
    std::vector<int> SelectedPlaces() const;
    // Records `before` as a step when an action that already ran (a failed open) changed the
    // document.
    void MarkUndoStepBefore(std::vector<std::uint8_t> before);
    // After reading: the selection is the manipulatives read with their selected flag set.
    void SelectFlaggedManipulatives();

    CDocumentFiles m_files{*this};
    CProblemRunState m_run;
    // Rebuilt at the first hit test after the document changed or any line moved.
    mutable CHitIndex m_hitIndex;
    mutable std::uint64_t m_hitIndexLines = 0;
};

} // namespace quorvel
