// The Numbers page: its controls and their places, the pane's mouse and keys handed to the
// controller in workspace coordinates, drawer drops, and the box the pupil types in, laid over
// a card, an operator or a label while the controller asks for it.
#include "ui/patterns/numbers_view.h"

#include "ui/app/bitmap_button.h"
#include "ui/patterns/machines_page.h"
#include "ui/patterns/numbers_drawer.h"
#include "ui/patterns/patterns_prompt_editor.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_page_setup.h"
#include "ui/platform/qt_pdf_export.h"
#include "ui/platform/qt_text.h"
#include "ui/platform/qt_timer_host.h"
#include "ui/problemsets/problem_set_host.h"
#include "ui/problemsets/problem_set_page.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/workspace_navigator.h"
#include "ui/workspace/workspace_pane.h"
#include "workspace/string_table.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace quorvel {

namespace {

constexpr int kMargin = 5;
constexpr QSize kViewButton(48, 41);
// Copy and New table sit in the top row, right of the exit and broom buttons.
constexpr int kViewButtonsLeft = 112;
// A pane's worth of scrolling per navigator press is too far to follow; half of one.
constexpr double kNavigatorStep = 0.5;

struct CMenuItem {
    int id;
    const char* text;
};
constexpr CMenuItem kMenuItems[] = {
    {kCmdDeleteOutputCards, "&Delete All Output cards"},
    {kCmdNumberOptions, "&Number Options..."},
};

std::unique_ptr<CUnitViewController> MakeController(CUnitDocument& doc, IUnitViewWindow& window) {
    // The page's prompt window and score dialog go on the page itself.
    auto* page = dynamic_cast<QWidget*>(&window);
    return std::make_unique<CNumbersViewController>(
        static_cast<CNumberPatternsDocument&>(doc), window, std::make_unique<CQtTimerHost>(),
        std::make_unique<CQtTextMetrics>(),
        std::make_unique<CProblemSetHost>(page, CheckButtonOf(page)));
}

bool IsShift(const QInputEvent* e) {
    return e->modifiers().testFlag(Qt::ShiftModifier);
}
bool IsCtrl(const QInputEvent* e) {
    return e->modifiers().testFlag(Qt::ControlModifier);
}

} // namespace

CNumberPatternsView::CNumberPatternsView(CNumberPatternsDocument& doc, QWidget* parent)
    : CUnitView(doc, parent, MakeController), m_scroller(std::make_unique<CNavigatorScroller>(
                                                  [this](double x, double y) { ScrollTo(x, y); })) {
    numbers().SetNumbersWindow(this);
    numbers().tables().SetWindow(this);

    const auto viewButton = [this](int id, const char* art, const char* name) {
        auto* b = new CBitmapButton(id, QString::fromLatin1(art), QString::fromLatin1(name), this);
        b->setProperty("controlId", id);
        b->setCursor(Qt::ArrowCursor);
        b->resize(kViewButton);
        const auto tip = LoadString(id);
        b->setToolTip(tip ? ToQString(*tip) : QString::fromLatin1(name));
        connect(b, &QAbstractButton::clicked, this, [this, id] { Command(id); });
        return b;
    };
    m_copy = viewButton(kCmdNumbersCopy, "numbers_copy", "Copy");
    m_newTable = viewButton(kCmdNewTable, "new_table", "New table");

    m_drawer = new CNumbersDrawer(this);
    connect(m_drawer, &CNumbersDrawer::dropped, this, &CNumberPatternsView::DropFromDrawer);
    connect(m_drawer, &CNumbersDrawer::activated, this, &CNumberPatternsView::DropFromDrawerByKey);

    BuildMenu();
    CreatePane();
    pane()->SetAntialiasing(true);
    // The box the pupil types a card's number, an operator or a label in.
    m_edit =
        new CMachinesEditBox(pane(), QStringLiteral("numbersEdit"), QStringLiteral("Number"), true);
    m_edit->setAlignment(Qt::AlignCenter);
    m_edit->finished = [this] { EditFinished(); };
    m_edit->cancelled = [this] { EditCancelled(); };
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_loadingEdit)
            numbers().EditChanged(ToStdString(text));
    });

    CreateNavigator(kNumbersScreensAcross, kNumbersScreensDown, kNavigatorStep);
    navigator()->SetListener(m_scroller.get());
    // The Numbers tools: Mystery in the place of the Anglemeter, Linking in the Linemaker's.
    palette()->ShowTool(kToolMystery);
    palette()->ShowTool(kToolLinking);
    palette()->ShowTool(kToolCutShape, false);
    palette()->ShowTool(kToolHideShowLines, false);
    OptionsApplied();
    LayoutControls();
    UpdateControls();
}

CNumberPatternsView::~CNumberPatternsView() {
    // The controller outlives this part of the page: it must not call back into it.
    m_edit->finished = nullptr;
    m_edit->cancelled = nullptr;
    m_edit->blockSignals(true);
    if (navigator())
        navigator()->SetListener(nullptr);
    numbers().SetNumbersWindow(nullptr);
    numbers().tables().SetWindow(nullptr);
}

CNumbersViewController& CNumberPatternsView::numbers() const {
    return static_cast<CNumbersViewController&>(controller());
}

CBitmapButton* CNumberPatternsView::viewButton(int id) const {
    return id == kCmdNumbersCopy ? m_copy : id == kCmdNewTable ? m_newTable : nullptr;
}

QLineEdit* CNumberPatternsView::editBox() const {
    return m_edit;
}

void CNumberPatternsView::BuildMenu() {
    m_menu = new QMenu(QStringLiteral("&Numbers"), this);
    for (const CMenuItem& item : kMenuItems) {
        QAction* a = m_menu->addAction(QString::fromLatin1(item.text));
        a->setData(item.id);
        const int id = item.id;
        connect(a, &QAction::triggered, this, [this, id] { Command(id); });
    }
    // The teacher's prompts for a "Mystery Machines" problem, in authoring mode only.
    if (numbers().authoring()) {
        m_menu->addSeparator();
        QAction* a = m_menu->addAction(QStringLiteral("Problem Set &Prompts..."));
        a->setData(kCmdPatternsPrompts);
        connect(a, &QAction::triggered, this, [this] { Command(kCmdPatternsPrompts); });
    }
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        for (QAction* a : m_menu->actions())
            a->setEnabled(numbers().IsCommandEnabled(a->data().toInt()));
    });

    m_tableMenu = new QMenu(QStringLiteral("&Table"), this);
    const bool teacher = document().host() && document().host()->AuthoringMode();
    for (const CTableMenuItem& item : TableMenuItems()) {
        // The CSV export is the teachers'.
        if (item.id == kCmdExportTableCsv && !teacher)
            continue;
        if (item.separatorBefore)
            m_tableMenu->addSeparator();
        QAction* a = m_tableMenu->addAction(QString::fromLatin1(item.text));
        a->setData(item.id);
        if (item.id == kCmdCopyCells)
            a->setShortcut(QKeySequence::Copy);
        const int id = item.id;
        connect(a, &QAction::triggered, this, [this, id] {
            // A shortcut reaches a greyed item only while the menu was not refreshed.
            if (numbers().IsCommandEnabled(id))
                Command(id);
        });
    }
    connect(m_tableMenu, &QMenu::aboutToShow, this, [this] {
        for (QAction* a : m_tableMenu->actions())
            if (!a->isSeparator())
                a->setEnabled(numbers().IsCommandEnabled(a->data().toInt()));
    });
}

void CNumberPatternsView::Command(int id) {
    controller().OnCommand(id);
    UpdateControls();
}

void CNumberPatternsView::UpdateControls() {
    m_copy->setEnabled(numbers().IsCommandEnabled(kCmdNumbersCopy));
    m_newTable->setEnabled(numbers().IsCommandEnabled(kCmdNewTable));
}

CPoint CNumberPatternsView::ToWorkspace(QPoint onPane) const {
    return pane()->state().ToWorkspace(CPoint{onPane.x(), onPane.y()});
}

QPoint CNumberPatternsView::ToPane(CPoint workspace) const {
    return {workspace.x - pane()->scrollX(), workspace.y - pane()->scrollY()};
}

QRect CNumberPatternsView::ToPane(const CRect& workspace) const {
    const CRect r = pane()->state().ToPane(workspace);
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// --- layout ----------------------------------------------------------------------------------

void CNumberPatternsView::LayoutControls() {
    CUnitView::LayoutControls();
    if (!m_drawer || !pane())
        return;
    m_copy->move(kViewButtonsLeft, kMargin);
    m_newTable->move(kViewButtonsLeft + kViewButton.width() + kMargin, kMargin);
    // The drawer under the navigator, in the column of the palette.
    const int paletteTop = kMargin + kViewButton.height() + kMargin;
    int drawerTop = paletteTop + palette()->height() + kMargin;
    if (navigator())
        drawerTop = navigator()->geometry().bottom() + 1 + kMargin;
    m_drawer->move(kMargin + (palette()->width() - m_drawer->width()) / 2, drawerTop);
    const int left = workspaceArea().left();
    const int top = paletteTop;
    const QRect area(left, top, width() - left - kMargin, height() - kMargin - top);
    pane()->setGeometry(area);
    if (navigator())
        ScrollTo(navigator()->model().FractionX(), navigator()->model().FractionY());
    if (!area.isEmpty())
        numbers().numbersDocument().SetPresentViewRect({0, 0, area.width(), area.height()});
}

void CNumberPatternsView::ShowPaneOffset(CPoint offset) {
    if (!pane() || !navigator())
        return;
    ShowNavigatorAt(*navigator(), *pane(), offset, kNumbersScreensAcross, kNumbersScreensDown);
}

void CNumberPatternsView::ScrollTo(double x, double y) {
    if (!pane())
        return;
    const auto offset = ScrollPaneTo(*pane(), x, y, kNumbersScreensAcross, kNumbersScreensDown);
    if (!offset)
        return;
    numbers().numbersDocument().SetPaneOffset(*offset);
    // The box being typed in stays over its card.
    if (m_edit && m_edit->isVisible())
        if (const auto& edit = numbers().edit())
            m_edit->setGeometry(ToPane(edit->rect));
}

// --- drawing ---------------------------------------------------------------------------------

void CNumberPatternsView::DrawWorkspace(IDrawingSurface& dc, const CRect& area, bool printing) {
    if (printing) {
        CUnitView::DrawWorkspace(dc, area, true);
        return;
    }
    numbers().Draw(dc, area);
}

void CNumberPatternsView::InvalidateRect(const CRect& r) {
    // Smoothed edges and round pen ends reach a pixel or two beyond a redraw box.
    CRect grown = r;
    grown.Inflate(2, 2);
    CUnitView::InvalidateRect(grown);
}

void CNumberPatternsView::ToolChanged(int code) {
    CUnitView::ToolChanged(code);
    if (m_drawer)
        UpdateControls();
}

void CNumberPatternsView::CommandStateChanged() {
    CUnitView::CommandStateChanged();
    if (m_drawer)
        UpdateControls();
}

void CNumberPatternsView::OptionsApplied() {
    // The teacher's Mystery Tool option shows or hides its palette button.
    palette()->ShowTool(kToolMystery, numbers().numbersDocument().options().mysteryTool != 0);
    if (pane())
        pane()->update();
}

bool CNumberPatternsView::RunPromptEditor(CPatternsPromptEditor& editor) {
    CPatternsPromptEditorDialog dialog(editor, this);
    return dialog.exec() == QDialog::Accepted;
}

// --- tables: the clipboard and the printer ---------------------------------------------------

bool CNumberPatternsView::PutOnClipboard(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    const QString q = ToQString(text);
    clipboard->setText(q);
    return clipboard->text() == q;
}

bool CNumberPatternsView::PrintTablesTo(QPrinter& printer,
                                        const std::vector<const CTableManipulative*>& tables) {
    printer.setDocName(QString::fromLatin1(kTablePrintTitle));
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const QRect page = p.viewport();
    bool first = true;
    for (const CTableManipulative* table : tables) {
        const CTablePrintPlan plan = PlanTablePrint(*table, {page.width(), page.height()});
        for (const CTablePrintPage& part : plan.pages) {
            if (!first)
                printer.newPage();
            first = false;
            p.save();
            p.scale(plan.scale, plan.scale);
            p.setRenderHint(QPainter::Antialiasing);
            CQtDrawingSurface dc(p);
            table->DrawPrintPage(dc, part.firstRow, part.rowCount);
            p.restore();
        }
    }
    return true;
}

void CNumberPatternsView::PrintTables(const std::vector<const CTableManipulative*>& tables) {
    QPrinter printer(QPrinter::HighResolution);
    ApplyPageSetup(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QString::fromLatin1(kTablePrintTitle));
    if (dialog.exec() == QDialog::Accepted)
        PrintTablesTo(printer, tables);
}

void CNumberPatternsView::ExportTablesPdf(const std::vector<const CTableManipulative*>& tables) {
    quorvel::ExportPdf(document(), "table", [this, tables](QPrinter& printer) {
        return PrintTablesTo(printer, tables);
    });
}

// --- the edit box ----------------------------------------------------------------------------

void CNumberPatternsView::BeginEdit(const CNumbersEdit& edit) {
    m_edit->Begin(ToPane(edit.rect), ToQString(edit.text), edit.maxChars, QtFont(edit.font),
                  m_loadingEdit);
}

void CNumberPatternsView::EndEdit() {
    m_edit->End(*this);
}

void CNumberPatternsView::EditFinished() {
    if (numbers().editing())
        numbers().EndEdit();
    EndEdit();
    UpdateControls();
}

void CNumberPatternsView::EditCancelled() {
    numbers().CancelMouse();
    EndEdit();
    UpdateControls();
}

CPoint CNumberPatternsView::ScreenToWorkspace(CPoint screen) const {
    return ToWorkspace(pane()->mapFromGlobal(QPoint(screen.x, screen.y)));
}

std::optional<CPoint> CNumberPatternsView::PageToWorkspace(CPoint page) const {
    const QPoint onPane = pane()->mapFrom(this, QPoint(page.x, page.y));
    if (!pane()->rect().contains(onPane))
        return std::nullopt;
    return ToWorkspace(onPane);
}

// --- the drawer ------------------------------------------------------------------------------

void CNumberPatternsView::DropFromDrawer(NumbersDrawerItem item, QPoint global) {
    const QPoint onPane = pane()->mapFromGlobal(global);
    if (!pane()->rect().contains(onPane))
        return;
    numbers().TakeFromDrawer(item, ToWorkspace(onPane));
    UpdateControls();
}

void CNumberPatternsView::DropFromDrawerByKey(NumbersDrawerItem item) {
    CQtTextMetrics metrics;
    const CSize size = item == NumbersDrawerItem::Machine
                           ? CSize{CNumberMachine::kWidth, CNumberMachine::kHeight}
                           : NumberCardSize(metrics);
    const CPoint at = FreePlaceFor(*pane(), document(), size, false, m_keyDrops);
    numbers().TakeFromDrawer(item, at);
    UpdateControls();
}

// --- mouse and keys --------------------------------------------------------------------------

bool CNumberPatternsView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == pane() && PaneMouse(e))
        return true;
    return CUnitView::eventFilter(watched, e);
}

bool CNumberPatternsView::PaneMouse(QEvent* e) {
    const QEvent::Type type = e->type();
    if (type == QEvent::Wheel) {
        // The wheel over a table scrolls its rows (with Shift its columns).
        const auto* wheel = static_cast<QWheelEvent*>(e);
        const int steps = -wheel->angleDelta().y() / 120;
        if (steps != 0 && numbers().tables().Wheel(ToWorkspace(wheel->position().toPoint()), steps,
                                                   IsShift(wheel)))
            return true;
        return false;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    // The Writing tool's clicks are the page's own.
    if (document().currentTool() == kToolWriting)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(e);
    if (PaneMouseTo(numbers(), *this, *mouse, ToWorkspace(mouse->position().toPoint()),
                    IsCtrl(mouse)))
        UpdateControls();
    return true;
}

bool CNumberPatternsView::ControllerKey(const QKeyEvent* key) {
    if (!numbers().KeyPress(key->key(), IsShift(key), IsCtrl(key)))
        return false;
    UpdateControls();
    return true;
}

bool CNumberPatternsView::event(QEvent* e) {
    // With the page itself focused, Tab steps through the workspace's cards and machines
    // before the focus moves on.
    if (e->type() == QEvent::KeyPress && hasFocus()) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && !IsCtrl(key) &&
            ControllerKey(key))
            return true;
    }
    // Escape ends a drag or a wire being drawn before it can do anything else.
    if (e->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Escape &&
            (numbers().dragging() || numbers().editing() || numbers().rubberWire())) {
            e->accept();
            return true;
        }
    }
    return CUnitView::event(e);
}

void CNumberPatternsView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        if (numbers().CancelMouse()) {
            UpdateControls();
            return;
        }
    } else if (ControllerKey(e)) {
        return;
    }
    CUnitView::keyPressEvent(e);
}

} // namespace quorvel
