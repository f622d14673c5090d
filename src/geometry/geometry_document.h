// The Tiles and Tessellations document: its options, the six drawers with the two student
// drawers, the scripts, the view state it saves for its page, and its file layout.
#pragma once

#include "geometry/photo_strip.h"
#include "geometry/script.h"
#include "geometry/student_drawer.h"
#include "geometry/tessellation_options.h"
#include "workspace/unit_document.h"
#include "workspace/workspace_navigator.h"
#include "workspace/workspace_pane.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

inline constexpr std::uint32_t kGeometrySignature = 19992000;
// The class folder holds this many "What's My Core?" problems at levels A, B and C.
inline constexpr std::array<int, 3> kGeometryProblemsPerLevel{6, 6, 12};

inline constexpr const char* kOneManipulativePerDrawer =
    "You may only add a single manipulative to a drawer.\nGroup your selection and try again.";
inline constexpr const char* kReplaceDrawerShape =
    "Do you want to replace the existing shape with the new shape?";
inline constexpr const char* kOpenDrawerFirst =
    "To put the shape in a drawer, first open the drawer. To erase the shape, use the Eraser.";
inline constexpr const char* kStudentDrawerLabelsTip = "The Student Drawer labels.";

class CGeometryUnitDocument;

// What the geometry page does for its document beyond redrawing. Every hook does nothing by
// default, so that the document works without a page (qvtool, tests).
class IGeometryDocumentView {
public:
    virtual ~IGeometryDocumentView() = default;
    // Another drawer is open, or none (-1).
    virtual void DrawerChanged() {}
    // A student drawer's slots or labels changed: the drawer-name table is rebuilt.
    virtual void StudentDrawersChanged() {}
    // The options were applied; `previous` are the ones before. The page shows and hides its
    // controls by ViewControlsFor(document options).
    virtual void OptionsApplied(const CGeometryOptions& /*previous*/) {}
    // Runs the "Tessellation Options" sheet; true on OK.
    virtual bool RunOptionsSheet(CTessellationOptionsSheet&) { return false; }
    // Before storing: the page puts its present pane offsets and angle box into the document's
    // view state (the page's navigator is the document's own).
    virtual void StoreViewState(CGeometryUnitDocument&) {}
    // After reading: the page shows the document's tool, drawer, view state and scripts.
    virtual void ViewStateLoaded(CGeometryUnitDocument&) {}
};

// How a drop of the selection onto the drawer pane ended.
enum class DrawerDrop {
    Refused,   // nothing happened (no selection, recording, no drawer open)
    PutBack,   // a fixed drawer took the shapes back
    Stored,    // a student drawer slot took the manipulative
    Kept,      // the pupil kept both (Cancel) or the selection was too large
    MovedBack, // the drop reached no slot: the message, and the selection went back
};

class CGeometryUnitDocument : public CUnitDocument {
public:
    CGeometryUnitDocument();
    ~CGeometryUnitDocument() override;

    void SetGeometryView(IGeometryDocumentView* view) { m_geometryView = view; }

    // Its problem files: "geopsA", "geopsB" or "geopsC", two digits, ".qvg"; the pool is
    // drawn from the level's own number of problems.
    void AppendProblemFileName(std::string& path, int level) override;
    void Serialize(CArchive& ar) override;
    void DeleteContents() override;
    // "&Tessellation Options...": the sheet with the teacher page in authoring mode only.
    void EditOptions() override;

    // The shape commands recompute it after every command.
    using CUnitDocument::RecomputeSelectionRotationPoint;

    // The workspace's scripts, saved with the document; not part of undo.
    CScriptList& scripts() { return m_scripts; }
    const CScriptList& scripts() const { return m_scripts; }

    // --- options ---
    const CGeometryOptions& options() const { return m_options; }
    // Sets the options and applies them against the ones before.
    void SetOptions(const CGeometryOptions& options);
    // Applies the present options against `previous`: forces "hide all" photo features in the
    // entire view, refreshes the drawers, switches between the partial and the entire view
    // when `switchView` and the view changed, and tells the page.
    void ApplyOptions(const CGeometryOptions& previous, bool switchView = true);
    CGeometryViewControls viewControls() const { return ViewControlsFor(m_options); }
    const CPrintOptions& printOptions() const { return m_printOptions; }
    void SetPrintOptions(const CPrintOptions& p) { m_printOptions = p; }

    // --- drawers ---
    // 0 to 5, or -1 when no drawer is available.
    int currentDrawer() const { return m_drawer; }
    bool IsDrawerAvailable(int drawer) const { return m_options.DrawerAvailable(drawer); }
    void NextDrawer();
    void PreviousDrawer();
    // Keeps the current drawer when it is available, else moves on to the next available one.
    void RefreshDrawers();
    // What slot `slot` of drawer `drawer` gives at `drop`, not yet added: the catalogue shape,
    // or a copy of the student drawer's manipulative moved there, with its catalogue index as
    // its kind and, in the entire view, halved about its centre. Null for an empty slot.
    std::unique_ptr<CManipulative> MakeFromDrawer(int drawer, int slot,
                                                  const C3DPointDouble& drop) const;
    // Clears the highlights and puts what MakeFromDrawer made on top; null stays null.
    CManipulative* AddFromDrawer(std::unique_ptr<CManipulative> made);
    // The open drawer's slot dragged to `drop`: the new manipulative on top, or null for an
    // empty slot or no open drawer.
    CManipulative* AddShapeFromDrawer(int slot, const C3DPointDouble& drop);

    // Student drawers: drawer 3 or 4 (drawers 4 and 5 on the pane), slot 0 to 5.
    const CStudentDrawerObject* StudentDrawerEntry(int drawer, int slot) const;
    // Puts the one selected manipulative into a slot of the open student drawer; `slot` is
    // the slot's size on the pane. False when nothing was stored.
    bool PutSelectionIntoStudentDrawer(int slot,
                                       CSize slotSize = {kDrawerSlotSize, kDrawerSlotSize});
    // The selection dragged by `dragged` dropped onto the drawer pane, on slot `slot` of the
    // open drawer or on no slot (-1).
    DrawerDrop DropSelectionOnDrawerPane(int slot, CPoint dragged);
    const std::string& StudentDrawerLabel(int drawer, int slot) const;
    void SetStudentDrawerLabel(int drawer, int slot, const std::string& label);
    // The 36 slot names, rebuilt after loading and whenever a label changes.
    const std::array<std::string, 36>& drawerNames() const { return m_drawerNames; }
    const std::string& DrawerName(int drawer, int slot) const;

    // --- view state saved for the page ---
    CWorkspacePaneState& paneState() { return m_pane; }
    const CRect& paneRect() const { return m_paneRect; }
    // The one navigator model: the page's navigator shows and moves it.
    CWorkspaceNavigatorModel& navigator() { return m_navigator; }
    const CWorkspaceNavigatorModel& navigator() const { return m_navigator; }
    CPhotoStrip& photoStrip() { return m_photoStrip; }
    const CPhotoStrip& photoStrip() const { return m_photoStrip; }
    double angleValue() const { return m_angle; }
    void SetAngleValue(double angle) { m_angle = angle; }
    const CRect& workspaceRect() const { return m_workspaceRect; }
    // The page's present pane and workspace rectangles. Until a page gives them, a document
    // adopts those stored in the file it reads, so that saving again moves nothing.
    void SetPresentGeometry(const CRect& pane, const CRect& workspace);
    // The notepad text read from the file (saved again when there is no program notepad).
    const std::string& notepadText() const { return m_notepadText; }

protected:
    void SerializeUndoState(CArchive& ar) override;
    // A new document has empty student drawers without labels, no scripts and no photos; the
    // options stay as the teacher set them.
    void NewDocumentContents() override;

private:
    void StepDrawer(int direction);
    void SetDrawer(int drawer);
    void SerializeViewState(CArchive& ar);
    void SerializeUndoPhotos(CArchive& ar);
    void SerializeManipulativeList(CArchive& ar);
    // False when reading ended at a type id the document does not know.
    bool ReadManipulativeList(CArchive& ar);
    void SerializeStudentDrawers(CArchive& ar);
    // Every code there is one the document holds; any other is a read error.
    void ReadStudentDrawers(CArchive& ar);
    void AfterLoading(const CGeometryOptions& previous, const CRect& savedWorkspace);
    void SwitchView(bool entire);
    void SpreadManipulatives(const CRect& from, const CRect& to);
    void RebuildDrawerNames();
    void ClearStudentDrawers();
    std::unique_ptr<CStudentDrawerObject>& Slot(int drawer, int slot);

    IGeometryDocumentView* m_geometryView = nullptr;
    CScriptList m_scripts;
    CGeometryOptions m_options;
    CPrintOptions m_printOptions;
    int m_drawer = 0;
    std::array<std::array<std::unique_ptr<CStudentDrawerObject>, 6>, kStudentDrawerCount>
        m_studentDrawers;
    std::array<std::array<std::string, 6>, kStudentDrawerCount> m_studentLabels;
    std::array<std::string, 36> m_drawerNames;

    CWorkspacePaneState m_pane;
    CRect m_paneRect;
    CWorkspaceNavigatorModel m_navigator;
    CPhotoStrip m_photoStrip;
    double m_angle = 90.0;
    CRect m_workspaceRect;
    bool m_presentGeometry = false;
    std::string m_notepadText;
};

// What qvtool info says of a geometry document beyond its manipulatives: the options, the
// scripts, the current tool and drawer and the student drawers' labels and contents.
std::vector<std::string> DescribeGeometryDocument(const CGeometryUnitDocument& doc);

} // namespace quorvel
