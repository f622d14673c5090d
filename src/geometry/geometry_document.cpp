// Tiles and Tessellations document: options, drawers, student drawers, the view switch and the
// file layout with what loading does afterwards.
#include "geometry/geometry_document.h"

#include "geometry/shape_catalogue.h"
#include "geometry/shape_manipulative.h"
#include "problemsets/problem_files.h"
#include "workspace/archive.h"
#include "workspace/notepad_text.h"
#include "workspace/prompter.h"

#include <span>

namespace quorvel {

namespace {

// The navigator's miniature: a workspace two panes across and two down, scrolled by half a pane.
constexpr int kScreensAcross = 2;
constexpr int kScreensDown = 2;
constexpr double kScrollStep = 0.5;
constexpr int kToolCodes = 12;

const char* StudentDrawerArray(int d) {
    return d == 0 ? "student drawer 4" : "student drawer 5";
}

const char* StudentLabelArray(int d) {
    return d == 0 ? "drawer 4 labels" : "drawer 5 labels";
}

} // namespace

CGeometryUnitDocument::CGeometryUnitDocument()
    : CUnitDocument({kGeometrySignature, "Geometry Unit",
                     "Quorvel (*.qvg)|*.qvg||All Files (*.*)|*.*||", "qvg",
                     "The file you are trying to open is not a Quorvel Tiles and Tessellations "
                     "document!"}),
      m_navigator(kScreensAcross, kScreensDown, kScrollStep) {
    RegisterGeometryManipulatives();
    RebuildDrawerNames();
}

CGeometryUnitDocument::~CGeometryUnitDocument() = default;

void CGeometryUnitDocument::AppendProblemFileName(std::string& path, int level) {
    // A pool left from another level could hold numbers this level has no file for.
    if (level >= kLevelA && level <= kLevelC) {
        const int count = kGeometryProblemsPerLevel[static_cast<std::size_t>(level)];
        if (level != problemRun().level() || count != problemCount())
            problemRun().ClearPool();
        SetProblemCount(count);
    }
    quorvel::AppendProblemFileName(*this, path, kGeometryProblemFiles, level);
}

// --- options ---------------------------------------------------------------------------------

void CGeometryUnitDocument::EditOptions() {
    const bool authoring = m_host && m_host->AuthoringMode();
    CTessellationOptionsSheet sheet(m_options, authoring);
    if (!m_geometryView || !m_geometryView->RunOptionsSheet(sheet))
        return;
    SetOptions(sheet.Result(m_options));
    InvalidateAll();
}

void CGeometryUnitDocument::SetOptions(const CGeometryOptions& options) {
    const CGeometryOptions previous = m_options;
    m_options = options;
    // Options live in the file: a change is a change to save.
    if (m_options != previous)
        SetModifiedFlag();
    ApplyOptions(previous);
}

void CGeometryUnitDocument::ApplyOptions(const CGeometryOptions& previous, bool switchView) {
    if (m_options.entireView())
        m_options.user[kOptPhotoFeatures] = kPhotoHideAll;
    RefreshDrawers();
    if (switchView && previous.entireView() != m_options.entireView())
        SwitchView(m_options.entireView());
    if (m_geometryView)
        m_geometryView->OptionsApplied(previous);
}

void CGeometryUnitDocument::SwitchView(bool entire) {
    // Every manipulative is scaled about the workspace origin, so that the layout stays; the
    // hidden annotations stay where they are and come back there.
    const double k = entire ? 0.5 : 2.0;
    const double ox = m_workspaceRect.left;
    const double oy = m_workspaceRect.top;
    for (auto& m : m_manipulatives) {
        if (m->IsAnnotation()) {
            m->SetVisible(!entire);
            continue;
        }
        const bool fixed = m->fixed();
        m->SetFixed(false);
        const C3DPointDouble c = m->centre();
        m->Scale(k, c);
        m->MoveBy((ox + (c.x - ox) * k) - c.x, (oy + (c.y - oy) * k) - c.y);
        m->SetFixed(fixed);
    }
    RecomputeSelectionRotationPoint();
    // Undo snapshots hold the shapes at the other view's size.
    ClearUndoHistory();
    SetModifiedFlag();
    InvalidateAll();
}

// --- drawers ---------------------------------------------------------------------------------

void CGeometryUnitDocument::SetDrawer(int drawer) {
    m_drawer = drawer;
    if (m_geometryView)
        m_geometryView->DrawerChanged();
}

void CGeometryUnitDocument::NextDrawer() {
    StepDrawer(1);
}

void CGeometryUnitDocument::PreviousDrawer() {
    StepDrawer(-1);
}

void CGeometryUnitDocument::StepDrawer(int direction) {
    // From the drawer after (or before) the current one, wrapping; the current one comes last.
    const int from = m_drawer < 0 ? (direction > 0 ? kDrawerCount - 1 : 0) : m_drawer;
    int found = -1;
    for (int i = 1; i <= kDrawerCount; ++i) {
        const int d = ((from + direction * i) % kDrawerCount + kDrawerCount) % kDrawerCount;
        if (IsDrawerAvailable(d)) {
            found = d;
            break;
        }
    }
    SetDrawer(found);
}

void CGeometryUnitDocument::RefreshDrawers() {
    if (IsDrawerAvailable(m_drawer))
        SetDrawer(m_drawer);
    else
        StepDrawer(1);
}

std::unique_ptr<CManipulative>
CGeometryUnitDocument::MakeFromDrawer(int drawer, int slot, const C3DPointDouble& drop) const {
    if (drawer < 0 || drawer >= kDrawerCount || slot < 0 || slot >= kSlotsPerDrawer)
        return nullptr;
    const int index = drawer * kSlotsPerDrawer + slot;
    std::unique_ptr<CManipulative> made;
    if (IsStudentDrawer(drawer)) {
        const CStudentDrawerObject* entry = StudentDrawerEntry(drawer, slot);
        if (!entry)
            return nullptr;
        made = entry->manipulative().Clone();
        made->MoveTo(drop);
    } else {
        made = MakeDrawerShape(index, drop);
        if (!made)
            return nullptr;
    }
    made->SetKind(index);
    // The entire view shows every manipulative halved.
    if (m_options.entireView()) {
        const C3DPointDouble centre = made->centre();
        made->Scale(0.5, centre);
    }
    return made;
}

CManipulative* CGeometryUnitDocument::AddFromDrawer(std::unique_ptr<CManipulative> made) {
    if (!made)
        return nullptr;
    for (const auto& m : m_manipulatives)
        if (m->highlighted())
            Invalidate(m->GetFrameOf());
    ClearMarks();
    return AddManipulative(std::move(made));
}

CManipulative* CGeometryUnitDocument::AddShapeFromDrawer(int slot, const C3DPointDouble& drop) {
    return AddFromDrawer(MakeFromDrawer(m_drawer, slot, drop));
}

std::unique_ptr<CStudentDrawerObject>& CGeometryUnitDocument::Slot(int drawer, int slot) {
    return m_studentDrawers[static_cast<std::size_t>(drawer - kFirstStudentDrawer)]
                           [static_cast<std::size_t>(slot)];
}

const CStudentDrawerObject* CGeometryUnitDocument::StudentDrawerEntry(int drawer, int slot) const {
    if (!IsStudentDrawer(drawer) || slot < 0 || slot >= kSlotsPerDrawer)
        return nullptr;
    return m_studentDrawers[static_cast<std::size_t>(drawer - kFirstStudentDrawer)]
                           [static_cast<std::size_t>(slot)]
                               .get();
}

bool CGeometryUnitDocument::PutSelectionIntoStudentDrawer(int slot, CSize slotSize) {
    if (!IsStudentDrawer(m_drawer) || slot < 0 || slot >= kSlotsPerDrawer || m_selection.empty())
        return false;
    if (m_selection.size() > 1) {
        if (m_host)
            m_host->Prompter().MessageBox(kOneManipulativePerDrawer, MessageIcon::Exclamation);
        return false;
    }
    auto& entry = Slot(m_drawer, slot);
    if (entry) {
        // Without a host nobody can answer: the cautious answer keeps both.
        if (!m_host || m_host->Prompter().MessageBox(kReplaceDrawerShape, MessageIcon::Question,
                                                     MessageButtons::OkCancel) != MessageResult::Ok)
            return false;
        entry.reset();
    }
    CManipulative* chosen = m_selection.front();
    // The drawer keeps the partial view's size, so that a shape comes out of it at the size
    // of the view it goes into.
    std::unique_ptr<CManipulative> kept = chosen->Clone();
    if (m_options.entireView()) {
        const C3DPointDouble centre = kept->centre();
        kept->Scale(2.0, centre);
    }
    entry = std::make_unique<CStudentDrawerObject>(*kept, slotSize);
    DeleteManipulative(chosen);
    const int index = m_drawer * kSlotsPerDrawer + slot;
    for (auto& m : m_manipulatives)
        if (m->kind() == index)
            m->SetKind(-1);
    RecomputeSelectionRotationPoint();
    SetModifiedFlag();
    if (m_geometryView)
        m_geometryView->StudentDrawersChanged();
    return true;
}

DrawerDrop CGeometryUnitDocument::DropSelectionOnDrawerPane(int slot, CPoint dragged) {
    if (m_selection.empty() || m_drawer < 0)
        return DrawerDrop::Refused;
    if (IsFixedDrawer(m_drawer)) {
        DeleteSelection();
        RecomputeSelectionRotationPoint();
        return DrawerDrop::PutBack;
    }
    if (slot >= 0 && slot < kSlotsPerDrawer && PutSelectionIntoStudentDrawer(slot))
        return DrawerDrop::Stored;
    // Missing the slots never erases the pupil's work: the shapes go back where they were.
    const bool reachedSlot = slot >= 0 && slot < kSlotsPerDrawer;
    if (!reachedSlot && m_host)
        m_host->Prompter().MessageBox(kOpenDrawerFirst, MessageIcon::Exclamation);
    for (const CManipulative* m : m_selection)
        Invalidate(m->GetFrameOf());
    MoveSelection(-dragged.x, -dragged.y);
    RecomputeSelectionRotationPoint();
    for (const CManipulative* m : m_selection)
        Invalidate(m->GetFrameOf());
    return reachedSlot ? DrawerDrop::Kept : DrawerDrop::MovedBack;
}

const std::string& CGeometryUnitDocument::StudentDrawerLabel(int drawer, int slot) const {
    static const std::string kNone;
    if (!IsStudentDrawer(drawer) || slot < 0 || slot >= kSlotsPerDrawer)
        return kNone;
    return m_studentLabels[static_cast<std::size_t>(drawer - kFirstStudentDrawer)]
                          [static_cast<std::size_t>(slot)];
}

void CGeometryUnitDocument::SetStudentDrawerLabel(int drawer, int slot, const std::string& label) {
    if (!IsStudentDrawer(drawer) || slot < 0 || slot >= kSlotsPerDrawer)
        return;
    std::string& kept = m_studentLabels[static_cast<std::size_t>(drawer - kFirstStudentDrawer)]
                                       [static_cast<std::size_t>(slot)];
    if (kept == label)
        return;
    kept = label;
    RebuildDrawerNames();
    SetModifiedFlag();
    if (m_geometryView)
        m_geometryView->StudentDrawersChanged();
}

const std::string& CGeometryUnitDocument::DrawerName(int drawer, int slot) const {
    static const std::string kNone;
    if (drawer < 0 || drawer >= kDrawerCount || slot < 0 || slot >= kSlotsPerDrawer)
        return kNone;
    return m_drawerNames[static_cast<std::size_t>(drawer * kSlotsPerDrawer + slot)];
}

void CGeometryUnitDocument::RebuildDrawerNames() {
    for (int i = 0; i < kCatalogueSize; ++i) {
        const int drawer = i / kSlotsPerDrawer;
        m_drawerNames[static_cast<std::size_t>(i)] =
            IsStudentDrawer(drawer) ? StudentDrawerLabel(drawer, i % kSlotsPerDrawer)
                                    : std::string(CatalogueSlot(i).name);
    }
}

void CGeometryUnitDocument::ClearStudentDrawers() {
    for (auto& drawer : m_studentDrawers)
        for (auto& slot : drawer)
            slot.reset();
}

// --- view state ------------------------------------------------------------------------------

void CGeometryUnitDocument::SetPresentGeometry(const CRect& pane, const CRect& workspace) {
    m_paneRect = pane;
    m_workspaceRect = workspace;
    m_presentGeometry = true;
}

// --- files -----------------------------------------------------------------------------------

void CGeometryUnitDocument::DeleteContents() {
    CUnitDocument::DeleteContents();
    ClearStudentDrawers();
}

void CGeometryUnitDocument::NewDocumentContents() {
    ClearStudentDrawers();
    for (auto& drawer : m_studentLabels)
        drawer.fill(std::string());
    RebuildDrawerNames();
    m_scripts.Clear();
    m_photoStrip.Clear();
    if (m_geometryView)
        m_geometryView->StudentDrawersChanged();
    // The pupil's options and the open drawer start again from their defaults (photos hidden,
    // rotation points shown, the first drawer); the teacher's options stay.
    const CGeometryOptions previous = m_options;
    m_options = CGeometryOptions{};
    m_options.teacher = previous.teacher;
    m_drawer = 0;
    ApplyOptions(previous);
}

void CGeometryUnitDocument::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        if (m_geometryView)
            m_geometryView->StoreViewState(*this);
        ar.WriteUInt32(m_identity.signature, "signature");
    }
    const CGeometryOptions previous = m_options;
    CRect savedWorkspace = m_workspaceRect;
    try {
        ar.ExchangeArray(std::span<std::int32_t>(m_options.teacher), "teacher options");
        ar.ExchangeArray(std::span<std::int32_t>(m_options.user), "user options");
        SerializeProblemBlock(ar);
        SerializeViewState(ar);
        ar.Exchange(m_currentTool, "current tool");
        ar.ExchangeTab();
        std::int32_t drawer = m_drawer;
        ar.Exchange(drawer, "current drawer");
        ar.ExchangeTab();
        if (ar.IsStoring()) {
            SerializeManipulativeList(ar);
            SerializeStudentDrawers(ar);
            ar.Exchange(savedWorkspace, "workspace rectangle");
            std::string notepad = m_notepadText;
            if (m_host && m_host->Notepad())
                notepad = m_host->Notepad()->text();
            ar.Exchange(notepad, "notepad text");
            return;
        }
        m_drawer = drawer >= -1 && drawer < kDrawerCount ? drawer : -1;
        // An unknown type id in the list ends the reading; what was read stays.
        if (ReadManipulativeList(ar)) {
            ReadStudentDrawers(ar);
            ar.Exchange(savedWorkspace, "workspace rectangle");
            ar.Exchange(m_notepadText, "notepad text");
            if (m_host && m_host->Notepad())
                m_host->Notepad()->SetText(m_notepadText);
        }
    } catch (...) {
        if (ar.IsLoading()) {
            m_options = previous;
            ClearStudentDrawers();
        }
        throw;
    }
    AfterLoading(previous, savedWorkspace);
}

void CGeometryUnitDocument::SerializeViewState(CArchive& ar) {
    {
        CArchive::Scope s(ar, "workspace pane");
        if (m_presentGeometry)
            m_pane.Serialize(ar, m_paneRect);
        else
            m_pane.SerializeAdopting(ar, m_paneRect);
        for (int d = 0; d < kStudentDrawerCount; ++d)
            ar.ExchangeArray(std::span<std::string>(m_studentLabels[static_cast<std::size_t>(d)]),
                             StudentLabelArray(d));
        CArchive::Scope strip(ar, "photo strip");
        m_photoStrip.Serialize(ar);
    }
    {
        CArchive::Scope s(ar, "navigator");
        m_navigator.Serialize(ar);
    }
    ar.Exchange(m_angle, "angle");
    ar.ExchangeTab();
    CArchive::Scope s(ar, "scripts");
    m_scripts.Serialize(ar);
}

void CGeometryUnitDocument::SerializeManipulativeList(CArchive& ar) {
    ar.ExchangeCount(m_manipulatives.size(), "manipulative count", "manipulatives", 0);
    ar.ExchangeTab();
    CArchive::ArrayScope items(ar, "manipulatives");
    for (std::size_t i = 0; i < m_manipulatives.size(); ++i) {
        CArchive::Item item(ar, i);
        WriteManipulative(ar, *m_manipulatives[i], GeometryManipulativeForm(true));
    }
}

bool CGeometryUnitDocument::ReadManipulativeList(CArchive& ar) {
    const std::size_t count =
        ar.ExchangeCount(0, "manipulative count", "manipulatives", 4 + 1 + kMinManipulativeBytes);
    ar.ExchangeTab();
    CArchive::ArrayScope items(ar, "manipulatives");
    m_manipulatives.reserve(count);
    // The file's layout ends the list at a code the document does not hold.
    const CManipulativeForm form = GeometryManipulativeForm(true, UnknownType::EndsTheList);
    for (std::size_t i = 0; i < count; ++i) {
        CArchive::Item item(ar, i);
        auto m = ReadManipulative(ar, form);
        if (!m)
            return false;
        m_manipulatives.push_back(std::move(m));
    }
    return true;
}

void CGeometryUnitDocument::SerializeStudentDrawers(CArchive& ar) {
    for (int d = 0; d < kStudentDrawerCount; ++d) {
        auto& drawer = m_studentDrawers[static_cast<std::size_t>(d)];
        std::size_t filled = 0;
        for (const auto& slot : drawer)
            filled += slot ? 1 : 0;
        ar.ExchangeCount(filled, "filled slot count", StudentDrawerArray(d), 0);
        CArchive::ArrayScope items(ar, StudentDrawerArray(d));
        std::size_t n = 0;
        for (std::size_t s = 0; s < drawer.size(); ++s) {
            if (!drawer[s])
                continue;
            CArchive::Item item(ar, n++);
            std::int32_t index = static_cast<std::int32_t>(s);
            ar.Exchange(index, "slot");
            WriteManipulative(ar, drawer[s]->manipulative(), GeometryManipulativeForm());
        }
    }
}

void CGeometryUnitDocument::ReadStudentDrawers(CArchive& ar) {
    ClearStudentDrawers();
    const CManipulativeForm form = GeometryManipulativeForm();
    for (int d = 0; d < kStudentDrawerCount; ++d) {
        const std::size_t count = ar.ExchangeCount(0, "filled slot count", StudentDrawerArray(d),
                                                   4 + kMinTypedManipulativeBytes);
        if (count > static_cast<std::size_t>(kSlotsPerDrawer))
            ar.Fail("more filled slots than a drawer has", "filled slot count");
        CArchive::ArrayScope items(ar, StudentDrawerArray(d));
        for (std::size_t i = 0; i < count; ++i) {
            CArchive::Item item(ar, i);
            std::int32_t slot = -1;
            ar.Exchange(slot, "slot");
            if (slot < 0 || slot >= kSlotsPerDrawer)
                ar.Fail("slot " + std::to_string(slot) + " of a student drawer", "slot");
            auto& entry = Slot(kFirstStudentDrawer + d, slot);
            if (entry)
                ar.Fail("slot " + std::to_string(slot) + " stored twice", "slot");
            const auto m = ReadManipulative(ar, form);
            entry =
                std::make_unique<CStudentDrawerObject>(*m, CSize{kDrawerSlotSize, kDrawerSlotSize});
        }
    }
}

void CGeometryUnitDocument::AfterLoading(const CGeometryOptions& previous,
                                         const CRect& savedWorkspace) {
    if (m_currentTool < 0 || m_currentTool >= kToolCodes)
        m_currentTool = 0;
    // The shapes were saved at the size of the view they were saved in: no switch now.
    ApplyOptions(previous, false);
    m_selection.clear();
    for (auto& m : m_manipulatives)
        if (m->selected())
            m_selection.push_back(m.get());
    if (!m_presentGeometry)
        m_workspaceRect = savedWorkspace;
    else if (savedWorkspace != m_workspaceRect)
        SpreadManipulatives(savedWorkspace, m_workspaceRect);
    RecomputeSelectionRotationPoint();
    if (m_options.Teacher(kOptComputerChecked)) {
        SetProblemSetMode(true);
        LoadQuestions(questions(), questionCount(), problemPosition().triesLeft);
    }
    RebuildDrawerNames();
    if (m_geometryView)
        m_geometryView->ViewStateLoaded(*this);
}

void CGeometryUnitDocument::SpreadManipulatives(const CRect& from, const CRect& to) {
    // Centres keep their relative place; a degenerate saved size leaves that direction alone.
    const double fw = static_cast<double>(from.right) - from.left;
    const double fh = static_cast<double>(from.bottom) - from.top;
    const double tw = static_cast<double>(to.right) - to.left;
    const double th = static_cast<double>(to.bottom) - to.top;
    for (auto& m : m_manipulatives) {
        const C3DPointDouble c = m->centre();
        const double x = fw > 0 ? (c.x - from.left) * tw / fw + to.left : c.x;
        const double y = fh > 0 ? (c.y - from.top) * th / fh + to.top : c.y;
        const bool fixed = m->fixed();
        m->SetFixed(false);
        m->MoveBy(x - c.x, y - c.y);
        m->SetFixed(fixed);
    }
}

void CGeometryUnitDocument::SerializeUndoState(CArchive& ar) {
    // The student drawers and the photos are undone with the workspace: putting a shape away,
    // taking a photo or editing one is one step.
    if (ar.IsStoring()) {
        SerializeManipulativeList(ar);
        SerializeStudentDrawers(ar);
    } else {
        ReadManipulativeList(ar);
        ReadStudentDrawers(ar);
        if (m_geometryView)
            m_geometryView->StudentDrawersChanged();
    }
    SerializeUndoPhotos(ar);
}

void CGeometryUnitDocument::SerializeUndoPhotos(CArchive& ar) {
    // Where the strip is scrolled, how wide it shows and which photos are picked out are no
    // steps of their own, as the selection of shapes is none: they stay as they are now.
    const int scroll = m_photoStrip.scroll();
    const int width = m_photoStrip.visibleWidth();
    std::vector<bool> picked;
    for (std::size_t i = 0; i < m_photoStrip.size(); ++i) {
        picked.push_back(m_photoStrip.at(i).selected());
        m_photoStrip.at(i).SetSelected(false);
    }
    m_photoStrip.SetVisibleWidth(0);
    m_photoStrip.ScrollTo(0);
    CArchive::Scope strip(ar, "photo strip");
    m_photoStrip.Serialize(ar);
    for (std::size_t i = 0; i < picked.size() && i < m_photoStrip.size(); ++i)
        m_photoStrip.at(i).SetSelected(picked[i]);
    m_photoStrip.SetVisibleWidth(width);
    m_photoStrip.ScrollTo(scroll);
}

std::vector<std::string> DescribeGeometryDocument(const CGeometryUnitDocument& doc) {
    static constexpr const char* kTeacherNames[kTeacherOptionCount] = {
        "drawer 1", "drawer 2",        "drawer 3",         "student drawers",
        "drawer 6", "script controls", "scrolling",        "grouping",
        "scaling",  "color palette",   "computer checked", "photo functionality"};
    static constexpr const char* kUserNames[kUserOptionCount] = {
        "rotation points", "view", "snapping", "photo features", "reserved"};
    std::vector<std::string> out;
    const CGeometryOptions& o = doc.options();
    std::string line = "teacher options:";
    for (int i = 0; i < kTeacherOptionCount; ++i)
        line += std::string(" ") + kTeacherNames[i] + "=" +
                std::to_string(o.teacher[static_cast<std::size_t>(i)]);
    out.push_back(line);
    line = "user options:";
    for (int i = 0; i < kUserOptionCount; ++i)
        line += std::string(" ") + kUserNames[i] + "=" +
                std::to_string(o.user[static_cast<std::size_t>(i)]);
    out.push_back(line);
    line = "scripts: " + std::to_string(doc.scripts().size());
    for (const ScriptStructList& s : doc.scripts().scripts())
        line += " \"" + s.name + "\" (" + std::to_string(s.steps.size()) + " steps)";
    out.push_back(line);
    out.push_back("current tool: " + std::to_string(doc.currentTool()) +
                  ", current drawer: " + std::to_string(doc.currentDrawer() + 1));
    for (int d = kFirstStudentDrawer; d < kFirstStudentDrawer + kStudentDrawerCount; ++d) {
        line = "drawer " + std::to_string(d + 1) + ":";
        for (int s = 0; s < kSlotsPerDrawer; ++s) {
            const CStudentDrawerObject* e = doc.StudentDrawerEntry(d, s);
            const std::string& label = doc.StudentDrawerLabel(d, s);
            if (!e && label.empty())
                continue;
            line += " [" + std::to_string(s + 1) + "] \"" + label + "\" " +
                    (e ? CManipulativeRegistry::ClassName(e->manipulative().GetType()) : "empty");
        }
        out.push_back(line);
    }
    return out;
}

} // namespace quorvel
