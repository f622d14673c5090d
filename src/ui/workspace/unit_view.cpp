// The workspace page: its controls and their places, the Help and Mystery clicks, painting
// and printing.
#include "ui/workspace/unit_view.h"

#include "app/frame_resources.h"
#include "ui/app/bitmap_button.h"
#include "ui/art/art.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_page_setup.h"
#include "ui/platform/qt_pdf_export.h"
#include "ui/platform/qt_text.h"
#include "ui/workspace/annotator_edit.h"
#include "ui/workspace/options_sheet_dialog.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/workspace_navigator.h"
#include "ui/workspace/workspace_pane.h"
#include "workspace/string_table.h"
#include "workspace/unit_document.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace quorvel {

namespace {

constexpr int kMargin = 5;
constexpr QSize kSmallButton(48, 41);
constexpr QSize kProblemButton(120, 41);

QRect ToQRect(const CRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
CRect ToCRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

int ControlId(const QWidget* w) {
    return w ? w->property("controlId").toInt() : 0;
}

// The topmost visible child of `parent` under `p` (parent coordinates), other than `skip`.
QWidget* VisibleChildAt(const QWidget* parent, QPoint p, const QWidget* skip = nullptr) {
    const QObjectList& children = parent->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* w = qobject_cast<QWidget*>(*it);
        if (w && w != skip && !w->isWindow() && w->isVisible() && w->geometry().contains(p))
            return w;
    }
    return nullptr;
}

} // namespace

// While Help or Mystery is the tool, the view takes no clicks itself: this sheet over it shows
// the tool's cursor and hands the next left click to HelpAt or MysteryAt.
class CUnitView::CClickCatcher : public QWidget {
public:
    explicit CClickCatcher(CUnitView* view) : QWidget(view), m_view(view) {
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton)
            return;
        const QPoint at = e->position().toPoint();
        const QPoint screen = e->globalPosition().toPoint();
        m_view->controller().ClickOverDisabledView({at.x(), at.y()}, {screen.x(), screen.y()});
    }

private:
    CUnitView* m_view;
};

CUnitView::CUnitView(CUnitDocument& doc, QWidget* parent, const ControllerFactory& factory)
    : QWidget(parent) {
    m_controller = factory ? factory(doc, *this) : nullptr;
    if (!m_controller)
        m_controller = std::make_unique<CUnitViewController>(doc, *this);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);

    const auto addButton = [this](int id, CBitmapButton::Bitmaps art, const char* name) {
        auto* b = new CBitmapButton(id, art, QString::fromLatin1(name), this);
        b->setProperty("controlId", id);
        b->setCursor(Qt::ArrowCursor);
        if (const auto tip = LoadString(id))
            b->setToolTip(ToQString(*tip));
        connect(b, &QAbstractButton::clicked, this, [this, id] { m_controller->OnCommand(id); });
        m_buttons[id] = b;
        return b;
    };
    addButton(kExitCommand, {168, 169, 204, 0}, "Leave the unit")->resize(kSmallButton);
    addButton(kBroomCommand, {166, 167, 203, 0}, "Clear the workspace")->resize(kSmallButton);
    for (auto [id, art, name] :
         {std::tuple{kCheckCommand, CBitmapButton::Bitmaps{430, 428, 429, 0}, "Check"},
          std::tuple{kContinueCommand, CBitmapButton::Bitmaps{427, 426, 0, 0}, "Continue"},
          std::tuple{kViewSolutionCommand, CBitmapButton::Bitmaps{437, 438, 0, 0},
                     "View Solution"}}) {
        CBitmapButton* b = addButton(id, art, name);
        b->resize(kProblemButton);
        b->hide();
    }

    m_palette = new CToolPalette(this);
    connect(m_palette, &CToolPalette::toolChosen, this,
            [this](int command) { m_controller->OnCommand(command); });

    // The Writing tool writes where the workspace is drawn: in the view, or in the pane.
    m_writing = new CAnnotatorEdit(doc, this, [this](CPoint p) {
        return m_pane ? QPoint(p.x - m_pane->scrollX(), p.y - m_pane->scrollY()) : QPoint(p.x, p.y);
    });
    installEventFilter(this);

    m_catcher = new CClickCatcher(this);
    // A document that comes with its tool (a loaded file) shows it latched.
    m_controller->SelectTool(ToolCommand(doc.currentTool()));
}

CUnitView::~CUnitView() = default;

CBitmapButton* CUnitView::button(int id) const {
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

QWidget* CUnitView::clickCatcher() const {
    return m_catcher->isVisible() ? m_catcher : nullptr;
}

CWorkspaceNavigator* CUnitView::CreateNavigator(int across, int down, double step) {
    delete m_navigator;
    m_navigator = new CWorkspaceNavigator(across, down, step, workspaceArea().size(), this);
    m_navigator->SetListener(m_controller.get());
    return ShowNavigator();
}

CWorkspaceNavigator* CUnitView::CreateNavigator(CWorkspaceNavigatorModel& model) {
    delete m_navigator;
    m_navigator = new CWorkspaceNavigator(model, workspaceArea().size(), this);
    return ShowNavigator();
}

CWorkspaceNavigator* CUnitView::ShowNavigator() {
    LayoutControls();
    m_navigator->show();
    m_catcher->raise();
    return m_navigator;
}

CWorkspacePane* CUnitView::CreatePane() {
    // The edit box leaves the old pane before it goes.
    m_writing->EndWriting();
    m_writing->setParent(this);
    delete m_pane;
    m_pane = new CWorkspacePane(this);
    m_pane->SetDrawHook(
        [this](IDrawingSurface& dc, const CRect& area) { DrawWorkspace(dc, area, false); });
    m_pane->lower();
    m_writing->setParent(m_pane);
    m_pane->installEventFilter(this);
    LayoutControls();
    m_pane->show();
    ToolChanged(document().currentTool());
    return m_pane;
}

QRect CUnitView::workspaceArea() const {
    const int left = kMargin + m_palette->width() + kMargin;
    return QRect(left, 0, std::max(0, width() - left), height());
}

CRect CUnitView::PrintRect() const {
    const CRect& unit = m_controller->workspaceRect();
    if (!unit.IsEmpty())
        return unit;
    if (m_pane)
        return m_pane->state().ToWorkspace(CRect{0, 0, m_pane->width(), m_pane->height()});
    return ToCRect(workspaceArea());
}

void CUnitView::LayoutControls() {
    button(kExitCommand)->move(kMargin, kMargin);
    button(kBroomCommand)->move(kMargin + kSmallButton.width() + kMargin, kMargin);
    const int paletteTop = kMargin + kSmallButton.height() + kMargin;
    m_palette->move(kMargin, paletteTop);
    if (m_navigator) {
        m_navigator->move(kMargin + (m_palette->width() - m_navigator->width()) / 2,
                          paletteTop + m_palette->height() + kMargin);
        // Made before the page had its size: the miniature follows the workspace area.
        m_navigator->SetScreenSize(workspaceArea().size());
    }
    // The problem-set buttons at the bottom right; Continue takes Check's place.
    const QPoint check(width() - kMargin - kProblemButton.width(),
                       height() - kMargin - kProblemButton.height());
    button(kCheckCommand)->move(check);
    button(kContinueCommand)->move(check);
    button(kViewSolutionCommand)->move(check.x() - kMargin - kProblemButton.width(), check.y());
    if (m_pane)
        m_pane->setGeometry(workspaceArea());
    m_catcher->setGeometry(rect());
}

void CUnitView::resizeEvent(QResizeEvent*) {
    LayoutControls();
}

void CUnitView::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.fillRect(e->rect(), QtColor(kWorkspaceColor));
    if (m_pane)
        return;
    const QRect area = workspaceArea().intersected(e->rect());
    if (area.isEmpty())
        return;
    p.setClipRect(area);
    CQtDrawingSurface dc(p);
    DrawWorkspace(dc, ToCRect(area), false);
}

void CUnitView::DrawWorkspace(IDrawingSurface& dc, const CRect& /*area*/, bool printing) {
    if (printing) {
        document().DrawContents(dc);
        return;
    }
    for (const auto& m : document().manipulatives())
        m->Draw(dc);
    document().DrawSelection(dc);
}

bool CUnitView::eventFilter(QObject* watched, QEvent* e) {
    // A left click on the workspace with the Writing tool writes there.
    QWidget* surface = m_pane ? static_cast<QWidget*>(m_pane) : this;
    if (watched == surface && e->type() == QEvent::MouseButtonPress &&
        document().currentTool() == kToolWriting) {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        const QPoint at = mouse->position().toPoint();
        if (mouse->button() == Qt::LeftButton && (m_pane || workspaceArea().contains(at))) {
            const CPoint p = m_pane ? m_pane->state().ToWorkspace(CPoint{at.x(), at.y()})
                                    : CPoint{at.x(), at.y()};
            m_writing->ClickAt(p);
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void CUnitView::keyPressEvent(QKeyEvent* e) {
    if (m_arrowKeysScroll && m_navigator) {
        static const std::map<int, NavDirection> kKeys{{Qt::Key_Left, NavDirection::Left},
                                                       {Qt::Key_Up, NavDirection::Up},
                                                       {Qt::Key_Right, NavDirection::Right},
                                                       {Qt::Key_Down, NavDirection::Down}};
        if (const auto it = kKeys.find(e->key()); it != kKeys.end()) {
            m_navigator->PressKey(it->second);
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

// --- IUnitViewWindow -----------------------------------------------------------------------

void CUnitView::EnableView(bool enabled) {
    if (enabled) {
        m_catcher->hide();
        return;
    }
    // Only a modal tool disables the view: its cursor shows.
    m_catcher->setCursor(ToolCursor(document().currentTool()));
    m_catcher->setGeometry(rect());
    m_catcher->raise();
    m_catcher->show();
}

void CUnitView::ShowButton(int id, bool shown) {
    if (CBitmapButton* b = button(id))
        b->setVisible(shown);
}

CRect CUnitView::ButtonRect(int id) const {
    const CBitmapButton* b = button(id);
    return b ? ToCRect(b->geometry()) : CRect{};
}

int CUnitView::ControlIdAt(CPoint p) const {
    const QPoint at(p.x, p.y);
    const QWidget* child = VisibleChildAt(this, at, m_catcher);
    if (!child)
        return 0;
    // A control inside a child window (a palette button) speaks for itself.
    const QWidget* inner = VisibleChildAt(child, at - child->pos());
    if (inner && ControlId(inner))
        return ControlId(inner);
    return ControlId(child);
}

void CUnitView::PressToolButton(int command) {
    m_palette->SetPressed(command);
}

void CUnitView::ToolChanged(int code) {
    if (m_writing && code != kToolWriting)
        m_writing->EndWriting();
    // Over the drawing area the cursor shows the tool; the Arrow keeps the standard one.
    QWidget* surface = m_pane ? static_cast<QWidget*>(m_pane) : this;
    if (code == kToolArrow || IsModalTool(code))
        surface->unsetCursor();
    else
        surface->setCursor(ToolCursor(code));
}

void CUnitView::InvalidateRect(const CRect& r) {
    if (m_pane)
        m_pane->InvalidateWorkspace(r);
    else
        update(ToQRect(r));
}

void CUnitView::InvalidateAll() {
    // Undo, New or Open took the annotator being written away.
    if (m_writing && m_writing->isVisible() && !m_writing->tool().IsEditing())
        m_writing->EndWriting();
    update();
    if (m_pane)
        m_pane->update();
}

// --- printing ------------------------------------------------------------------------------

bool CUnitView::PrintTo(QPrinter& printer) {
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const CRect workspace = PrintRect();
    const QRect page = p.viewport();
    const auto mapping = PrintMapping(workspace, {page.width(), page.height()});
    if (!mapping)
        return true; // an empty page
    // One factor for both directions, the workspace's top-left at the page's, clipped to it.
    p.scale(mapping->scale, mapping->scale);
    p.translate(-workspace.left, -workspace.top);
    p.setClipRect(ToQRect(workspace));
    CQtDrawingSurface dc(p);
    DrawWorkspace(dc, workspace, true);
    return true;
}

void CUnitView::Print() {
    QPrinter printer(QPrinter::HighResolution);
    ApplyPageSetup(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(printer);
}

void CUnitView::PrintPreview() {
    QPrinter printer(QPrinter::HighResolution);
    ApplyPageSetup(printer);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { PrintTo(*target); });
    preview.exec();
}

bool CUnitView::ExportPdf() {
    const std::string& name = document().activityName();
    return quorvel::ExportPdf(document(), name.empty() ? "workspace" : name,
                              [this](QPrinter& printer) { return PrintTo(printer); });
}

bool CUnitView::ExportPdfTo(const QString& path) {
    return PrintToPdf(path, [this](QPrinter& printer) { return PrintTo(printer); });
}

bool CUnitView::RunOptionsSheet(COptionsSheet& sheet) {
    COptionsSheetDialog dialog(sheet, this);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace quorvel
