// The Tiles and Tessellations page: its panels and their places, the pane's mouse handed to
// the controller in workspace coordinates, drawer drags with the shape following the pointer,
// and the script windows kept in step with the controller.
#include "ui/geometry/geometry_unit_view.h"

#include "geometry/geometry_document.h"
#include "geometry/outlines_only_surface.h"
#include "ui/app/bitmap_button.h"
#include "ui/geometry/command_panel.h"
#include "ui/geometry/core_question_dialog.h"
#include "ui/geometry/drawer_pane.h"
#include "ui/geometry/photo_controls.h"
#include "ui/geometry/script_panel.h"
#include "ui/geometry/tessellation_options_dialog.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "ui/platform/qt_timer_host.h"
#include "ui/problemsets/problem_set_page.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/workspace_navigator.h"
#include "ui/workspace/workspace_pane.h"

#include <QAbstractButton>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>

#include <cmath>
#include <cstdio>
#include <map>

namespace quorvel {

namespace {

constexpr int kMargin = 5;
// The exit and broom buttons take the top left corner; the command panel starts beside them.
constexpr int kPanelLeft = 112;
constexpr int kMenuOptions = kTessellationOptionsCommand;

struct CMenuItem {
    int id;
    const char* text;
};
constexpr CMenuItem kMenuItems[] = {
    {kCmdSendToBack, "Send to &Back"},
    {kCmdBringToFront, "Bring to &Front"},
    {kCmdSelectAllShapes, "&Select All Shapes"},
    {kCmdClearAnglemeters, "&Clear Anglemeters"},
    {kCmdResetRotationPoint, "&Reset Rotation Point"},
    {kMenuOptions, "&Tessellation Options..."},
};

// As the spin buttons show the angle: one decimal when it has a fraction.
std::string AngleText(double angle) {
    char text[32];
    std::snprintf(text, sizeof text, angle != std::floor(angle) ? "%.1f" : "%g", angle);
    return text;
}

MouseModifiers ModifiersOf(const QInputEvent* e) {
    return {e->modifiers().testFlag(Qt::ShiftModifier),
            e->modifiers().testFlag(Qt::ControlModifier)};
}

std::unique_ptr<CUnitViewController> MakeController(CUnitDocument& doc, IUnitViewWindow& window) {
    // The page's prompt window and score dialog go on the page itself.
    auto* page = dynamic_cast<QWidget*>(&window);
    return std::make_unique<CGeometryViewController>(
        static_cast<CGeometryUnitDocument&>(doc), window, std::make_unique<CQtTimerHost>(),
        std::make_unique<CQtTextMetrics>(),
        std::make_unique<CProblemSetHost>(page, CheckButtonOf(page)));
}

} // namespace

CGeometryUnitView::CGeometryUnitView(CGeometryUnitDocument& doc, QWidget* parent)
    : CUnitView(doc, parent, MakeController) {
    CGeometryViewController& g = geometry();
    g.SetGeometryWindow(this);
    g.scripts().SetView(this);

    m_commandPanel = new CCommandPanel(this);
    g.commands().SetPanel(m_commandPanel);
    connect(m_commandPanel, &CCommandPanel::command, this, &CGeometryUnitView::Command);
    connect(m_commandPanel, &CCommandPanel::spin, this,
            [this](int delta) { geometry().SpinAngle(delta); });

    m_drawerPane = new CDrawerPane(g, this);
    connect(m_drawerPane, &CDrawerPane::dragMoved, this, &CGeometryUnitView::SlotDragMoved);
    connect(m_drawerPane, &CDrawerPane::dropped, this, &CGeometryUnitView::SlotDropped);
    connect(m_drawerPane, &CDrawerPane::activated, this, [this](int slot) {
        const QRect shown = pane()->rect();
        const CPoint topLeft = ToWorkspace(shown.topLeft());
        const CPoint bottomRight = ToWorkspace(shown.bottomRight());
        geometry().TakeFromDrawerByKey(slot, {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
        UpdateControls();
    });

    m_scriptPanel = new CScriptPanel(g.scripts(), this);
    m_scriptPanel->hide();
    connect(m_scriptPanel, &CScriptPanel::command, this, &CGeometryUnitView::Command);

    BuildMenu();
    CreatePane();
    pane()->installEventFilter(this);
    pane()->setMouseTracking(false);
    SetAntialiasing(true);
    // A crowded workspace, or a large animated selection, draws aliased so that every rotate
    // or flip tick still repaints in time.
    pane()->SetAntialiasingWhile([this] { return geometry().commands().SmoothingAffordable(); });
    CreateNavigator(doc.navigator());
    m_photos = new CPhotoControls(*this);
    SetArrowKeysScroll(false);
    // The page's own tools; the Mystery and Ignore places show the Anglemeter, Linking's the
    // Linemaker.
    palette()->ShowTool(kToolAnglemeter);
    palette()->ShowTool(kToolLinemaker);
    LayoutControls();
    UpdateControls();
}

CGeometryUnitView::~CGeometryUnitView() {
    // The controller outlives this part of the page: it must not call back into it.
    geometry().photos().SetWindow(nullptr);
    geometry().scripts().SetView(nullptr);
    geometry().commands().SetPanel(nullptr);
    geometry().SetGeometryWindow(nullptr);
}

CGeometryViewController& CGeometryUnitView::geometry() const {
    return static_cast<CGeometryViewController&>(controller());
}

CScriptWindow* CGeometryUnitView::scriptWindow(std::size_t script) const {
    const auto it = m_scriptWindows.find(script);
    return it == m_scriptWindows.end() ? nullptr : it->second;
}

void CGeometryUnitView::BuildMenu() {
    m_menu = new QMenu(QStringLiteral("Te&ssellations"), this);
    for (const CMenuItem& item : kMenuItems) {
        QAction* a = m_menu->addAction(QString::fromLatin1(item.text));
        a->setData(item.id);
        const int id = item.id;
        connect(a, &QAction::triggered, this, [this, id] { Command(id); });
    }
    // The teacher's question for a "What's My Core?" problem, in authoring mode only.
    if (geometry().authoring()) {
        m_menu->addSeparator();
        QAction* a = m_menu->addAction(QStringLiteral("Problem Set &Question..."));
        a->setData(kCmdCoreQuestion);
        connect(a, &QAction::triggered, this, [this] { Command(kCmdCoreQuestion); });
    }
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        for (QAction* a : m_menu->actions()) {
            const int id = a->data().toInt();
            a->setEnabled(geometry().IsCommandEnabled(id));
        }
    });
}

void CGeometryUnitView::Command(int id) {
    controller().OnCommand(id);
    UpdateControls();
}

void CGeometryUnitView::SetScriptControlsShown(bool shown) {
    m_scriptControls = shown;
    m_scriptPanel->setVisible(shown);
    LayoutControls();
    UpdateControls();
}

void CGeometryUnitView::SetAntialiasing(bool on) {
    m_antialiasing = on;
    if (pane()) {
        pane()->SetAntialiasing(on);
        pane()->update();
    }
}

CPoint CGeometryUnitView::ToWorkspace(QPoint onPane) const {
    return pane()->state().ToWorkspace(CPoint{onPane.x(), onPane.y()});
}

QPoint CGeometryUnitView::ToPane(CPoint workspace) const {
    return {workspace.x - pane()->scrollX(), workspace.y - pane()->scrollY()};
}

// --- layout ----------------------------------------------------------------------------------

void CGeometryUnitView::LayoutControls() {
    CUnitView::LayoutControls();
    if (!m_commandPanel || !pane())
        return;
    m_commandPanel->setGeometry(kPanelLeft, kMargin, width() - kPanelLeft - kMargin,
                                m_commandPanel->height());
    int top = kMargin + m_commandPanel->height() + kMargin + 2;
    const int left = workspaceArea().left();
    if (m_scriptControls) {
        m_scriptPanel->setGeometry(left, top, width() - left - kMargin, m_scriptPanel->height());
        top += m_scriptPanel->height() + kMargin;
    }
    const QSize drawer = m_drawerPane->size();
    const int drawerTop = height() - kMargin - drawer.height();
    m_drawerPane->move(kMargin, drawerTop);
    const QRect area(left, top, width() - left - kMargin, drawerTop - kMargin - top);
    pane()->setGeometry(area);
    if (m_photos) {
        const int photosLeft = kMargin + drawer.width() + kMargin;
        m_photos->Layout(
            QRect(photosLeft, drawerTop, width() - photosLeft - kMargin, drawer.height()));
    }
    geometry().SetPaneSize({area.width(), area.height()});
    // Files saved with another pane size are spread to this one; before the page has a size
    // the document keeps what its file says.
    if (!area.isEmpty())
        geometry().geometryDocument().SetPresentGeometry(
            {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()},
            {0, 0, area.width() * kGeometryScreensAcross, area.height() * kGeometryScreensDown});
}

// --- drawing ---------------------------------------------------------------------------------

void CGeometryUnitView::DrawWorkspace(IDrawingSurface& dc, const CRect& area, bool printing) {
    if (printing) {
        const CPrintOptions& print = geometry().geometryDocument().printOptions();
        if (print.workspace == kPrintPhotoStrip) {
            DrawPhotoStripForPrint(dc, geometry().geometryDocument().photoStrip());
            return;
        }
        if (print.shapes == kPrintOutlinesOnly) {
            COutlinesOnlySurface outlines(dc);
            CUnitView::DrawWorkspace(outlines, area, true);
        } else {
            CUnitView::DrawWorkspace(dc, area, true);
        }
        return;
    }
    geometry().Draw(dc, area);
    if (m_photos)
        m_photos->DrawBox(dc);
    if (const CManipulative* preview = geometry().drawerPreview())
        preview->Draw(dc);
}

void CGeometryUnitView::InvalidateRect(const CRect& r) {
    // Smoothed edges and round pen ends reach a pixel or two beyond a redraw box.
    CRect grown = r;
    grown.Inflate(2, 2);
    CUnitView::InvalidateRect(grown);
}

void CGeometryUnitView::ToolChanged(int code) {
    CUnitView::ToolChanged(code);
    UpdateControls();
}

void CGeometryUnitView::ScrollPaneTo(int x, int y) {
    pane()->SetScroll(x, y);
}

void CGeometryUnitView::DrawerChanged() {
    m_drawerPane->Refresh();
}

// --- options and the document's view state ---------------------------------------------------

void CGeometryUnitView::OptionsApplied(const CGeometryViewControls& controls,
                                       const CGeometryOptions&) {
    if (controls.scriptPanel != m_scriptControls)
        SetScriptControlsShown(controls.scriptPanel);
    if (navigator())
        navigator()->setVisible(controls.navigator);
    const auto show = [this](int id, bool shown) {
        if (QAbstractButton* b = m_commandPanel->button(id))
            b->setVisible(shown);
    };
    show(kCmdEnlarge, controls.scaleButtons);
    show(kCmdReduce, controls.scaleButtons);
    show(kCmdGroup, controls.groupButtons);
    show(kCmdUngroup, controls.groupButtons);
    for (int id = kCmdFirstColor; id <= kCmdLastColor; ++id)
        show(id, controls.colorPalette);
    m_drawerPane->Refresh();
    if (m_photos)
        m_photos->Apply(controls);
    pane()->update();
    UpdateControls();
}

CRect CGeometryUnitView::PaneRect() const {
    if (!pane())
        return {};
    const QRect r = pane()->geometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

CPoint CGeometryUnitView::PageToWorkspace(CPoint p) const {
    return ToWorkspace(pane()->mapFrom(this, QPoint(p.x, p.y)));
}

bool CGeometryUnitView::RunCoreQuestionDialog(CCoreQuestionEditor& editor) {
    CCoreQuestionDialog dialog(editor, this);
    return dialog.exec() == QDialog::Accepted;
}

void CGeometryUnitView::StoreViewState(CGeometryUnitDocument& doc) {
    doc.paneState().SetScroll(pane()->scrollX(), pane()->scrollY());
    bool ok = false;
    const double angle = m_commandPanel->angleBox()->text().toDouble(&ok);
    if (ok && std::isfinite(angle))
        doc.SetAngleValue(angle);
}

void CGeometryUnitView::ViewStateLoaded(CGeometryUnitDocument& doc) {
    pane()->SetScroll(doc.paneState().scrollX(), doc.paneState().scrollY());
    if (navigator())
        navigator()->Refresh();
    m_commandPanel->SetAngleText(AngleText(doc.angleValue()));
    ScriptsChanged();
    m_drawerPane->Refresh();
    if (m_photos)
        m_photos->Refresh();
    pane()->update();
}

void CGeometryUnitView::Print() {
    CGeometryUnitDocument& doc = geometry().geometryDocument();
    CPrintOptionsDialog dialog(doc.printOptions(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    doc.SetPrintOptions(dialog.options());
    CUnitView::Print();
}

CRect CGeometryUnitView::PrintRect() const {
    const CGeometryUnitDocument& doc = geometry().geometryDocument();
    switch (doc.printOptions().workspace) {
    case kPrintVisibleWorkspace:
        return pane()->state().ToWorkspace(CRect{0, 0, pane()->width(), pane()->height()});
    case kPrintPhotoStrip:
        return PhotoStripPrintRect(doc.photoStrip());
    default:
        return CUnitView::PrintRect();
    }
}

// --- enabling --------------------------------------------------------------------------------

void CGeometryUnitView::UpdateControls() {
    CGeometryViewController& g = geometry();
    const auto enabled = [&g](int id) { return g.IsCommandEnabled(id); };
    m_commandPanel->UpdateEnabling(enabled);
    m_scriptPanel->UpdateControls(enabled);
    const bool tools = g.scripts().ToolsEnabled();
    for (const CToolInfo& tool : ToolTable())
        if (tool.code != kToolArrow)
            palette()->EnableTool(tool.code, tools);
    m_drawerPane->setEnabled(g.DrawersEnabled());
    if (CBitmapButton* broom = button(kBroomCommand))
        broom->setEnabled(enabled(kBroomCommand));
    if (m_photos)
        m_photos->UpdateEnabling();
}

// --- scripts ---------------------------------------------------------------------------------

void CGeometryUnitView::ScriptsChanged() {
    m_scriptPanel->RefreshScripts();
    SyncScriptWindows();
    UpdateControls();
}

void CGeometryUnitView::ScriptWindowChanged(std::size_t) {
    SyncScriptWindows();
}

void CGeometryUnitView::SyncScriptWindows() {
    CScriptController& scripts = geometry().scripts();
    for (auto it = m_scriptWindows.begin(); it != m_scriptWindows.end();) {
        if (it->first >= scripts.scripts().size() || !scripts.windowState(it->first).open) {
            it->second->hide();
            it->second->deleteLater();
            it = m_scriptWindows.erase(it);
        } else {
            ++it;
        }
    }
    for (std::size_t i = 0; i < scripts.scripts().size(); ++i) {
        if (!scripts.windowState(i).open)
            continue;
        CScriptWindow*& window = m_scriptWindows[i];
        if (!window) {
            window = new CScriptWindow(scripts, i, this);
            const ScriptStructList& script = scripts.scripts().at(i);
            // The window stands on its own, in screen coordinates.
            const QRect p(pane()->mapToGlobal(QPoint(0, 0)), pane()->size());
            const CPoint at =
                ScriptWindowPlace({script.windowX, script.windowY},
                                  {p.left(), p.top(), p.left() + p.width(), p.top() + p.height()});
            window->move(at.x, at.y);
            window->show();
        }
        window->Refresh();
    }
}

void CGeometryUnitView::ControlsChanged() {
    UpdateControls();
    SyncScriptWindows();
    pane()->update();
}

void CGeometryUnitView::SelectArrowTool() {
    controller().SelectArrow();
}

void CGeometryUnitView::FocusRepeatNumber() {
    m_scriptPanel->FocusRepeatNumber();
}

CPoint CGeometryUnitView::ClientOriginOnScreen() const {
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y()};
}

// --- drawer drags ----------------------------------------------------------------------------

void CGeometryUnitView::SlotDragMoved(int slot, QPoint global) {
    const QPoint onPane = pane()->mapFromGlobal(global);
    if (pane()->rect().contains(onPane))
        geometry().PreviewFromDrawer(slot, ToWorkspace(onPane));
    else
        geometry().ClearDrawerPreview();
}

void CGeometryUnitView::SlotDropped(int slot, QPoint global) {
    geometry().ClearDrawerPreview();
    const QPoint onPane = pane()->mapFromGlobal(global);
    if (!pane()->rect().contains(onPane))
        return;
    geometry().TakeFromDrawer(slot, ToWorkspace(onPane));
    UpdateControls();
}

// --- mouse and keys --------------------------------------------------------------------------

bool CGeometryUnitView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == pane() && PaneMouse(e))
        return true;
    if (watched == pane() && e->type() == QEvent::ToolTip) {
        // An anglemeter names itself; the rest of the workspace has no tip.
        const auto* help = static_cast<QHelpEvent*>(e);
        if (const char* tip = geometry().tools().ObjectHelpAt(ToWorkspace(help->pos())))
            QToolTip::showText(help->globalPos(), QString::fromLatin1(tip), pane());
        else
            QToolTip::hideText();
        return true;
    }
    return CUnitView::eventFilter(watched, e);
}

bool CGeometryUnitView::PaneMouse(QEvent* e) {
    const QEvent::Type type = e->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    // The Writing tool's clicks are the page's own.
    if (document().currentTool() == kToolWriting)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(e);
    const QPoint at = mouse->position().toPoint();
    const CPoint p = ToWorkspace(at);
    CGeometryViewController& g = geometry();
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton)
            return true;
        setFocus(Qt::MouseFocusReason);
        g.MouseDown(p, ModifiersOf(mouse));
        break;
    case QEvent::MouseButtonDblClick:
        if (mouse->button() == Qt::LeftButton)
            g.DoubleClick(p, ModifiersOf(mouse));
        break;
    case QEvent::MouseMove:
        if (mouse->buttons().testFlag(Qt::LeftButton))
            g.MouseMove(p);
        break;
    default: {
        if (mouse->button() != Qt::LeftButton)
            return true;
        // A selection dragged onto the open drawer goes back into it.
        const QPoint onView = pane()->mapTo(this, at);
        if (g.DraggingSelection() && m_drawerPane->geometry().contains(onView) &&
            g.DropSelectionOnDrawer(m_drawerPane->SlotAt(m_drawerPane->mapFrom(this, onView)), p))
            break;
        g.MouseUp(p);
        break;
    }
    }
    UpdateControls();
    return true;
}

bool CGeometryUnitView::event(QEvent* e) {
    // With the page itself focused, Tab steps the selection through the workspace's shapes
    // before the focus moves on.
    if (e->type() == QEvent::KeyPress && hasFocus()) {
        const auto* key = static_cast<QKeyEvent*>(e);
        const bool tab = key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier;
        const bool backtab = key->key() == Qt::Key_Backtab;
        if ((tab || backtab) && geometry().TabSelect(backtab)) {
            UpdateControls();
            return true;
        }
    }
    // Escape ends the line being made before it can leave the unit.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Escape &&
            (!geometry().tools().pendingSegments().empty() ||
             geometry().tools().action() != SegmentToolAction::None)) {
            e->accept();
            return true;
        }
    }
    return CUnitView::event(e);
}

void CGeometryUnitView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && geometry().Escape())
        return;
    const int step = (e->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    const std::map<int, QPoint> arrows{{Qt::Key_Left, {-step, 0}},
                                       {Qt::Key_Right, {step, 0}},
                                       {Qt::Key_Up, {0, -step}},
                                       {Qt::Key_Down, {0, step}}};
    if (const auto it = arrows.find(e->key()); it != arrows.end()) {
        if (geometry().KeyMove(it->second.x(), it->second.y())) {
            UpdateControls();
            return;
        }
    }
    CUnitView::keyPressEvent(e);
}

void CGeometryUnitView::keyReleaseEvent(QKeyEvent* e) {
    // Letting go of an arrow ends the burst of moves that makes one undo step.
    if (!e->isAutoRepeat() && (e->key() == Qt::Key_Left || e->key() == Qt::Key_Right ||
                               e->key() == Qt::Key_Up || e->key() == Qt::Key_Down))
        geometry().EndKeyMoves();
    CUnitView::keyReleaseEvent(e);
}

} // namespace quorvel
