// The Designs page: the pane over a two-by-two workspace where the core draws the design
// machine, the pane's clicks handed to the controller in workspace coordinates, the box the
// pupil types times or angle in, and the Design menu.
#include "ui/patterns/designs_view.h"

#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "ui/platform/qt_timer_host.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/workspace_navigator.h"
#include "ui/workspace/workspace_pane.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <functional>

namespace quorvel {

namespace {

constexpr int kMargin = 5;
constexpr double kNavigatorStep = 0.5;

struct CMenuItem {
    int id;
    const char* text;
};
constexpr CMenuItem kMenuItems[] = {
    {kCmdHideMachine, "&Hide Machine"},
    {kCmdShowMachine, "&Show Machine"},
    {kCmdDesignOptions, "&Design Options..."},
    {0, nullptr},
    {kCmdExportDesign, "Export Design as PNG/SVG..."},
};

std::unique_ptr<CUnitViewController> MakeController(CUnitDocument& doc, IUnitViewWindow& window) {
    return std::make_unique<CDesignsViewController>(static_cast<CDesignPatternsDocument&>(doc),
                                                    window, std::make_unique<CQtTimerHost>());
}

} // namespace

// The box over the times or angle box while the pupil types.
class CDesignEditBox : public QLineEdit {
public:
    explicit CDesignEditBox(QWidget* parent) : QLineEdit(parent) {
        setObjectName(QStringLiteral("designEdit"));
        setMaxLength(3);
        setFrame(false);
        setAlignment(Qt::AlignCenter);
        setContextMenuPolicy(Qt::NoContextMenu);
        hide();
    }
    std::function<void()> finished;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(e);
            const int k = key->key();
            if (k == Qt::Key_Escape || k < Qt::Key_Escape ||
                (k >= Qt::Key_Backspace && k <= Qt::Key_PageDown)) {
                e->accept();
                return true;
            }
        }
        if (e->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(e)->key();
            if (k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Return ||
                k == Qt::Key_Enter || k == Qt::Key_Escape) {
                if (finished)
                    finished();
                return true;
            }
        }
        return QLineEdit::event(e);
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        if (isVisible() && finished)
            finished();
    }
};

class CDesignPatternsView::CScroller : public INavigatorListener {
public:
    explicit CScroller(CDesignPatternsView& view) : m_view(view) {}
    void ScrollWorkspaceTo(double x, double y) override { m_view.ScrollTo(x, y); }

private:
    CDesignPatternsView& m_view;
};

CDesignPatternsView::CDesignPatternsView(CDesignPatternsDocument& doc, QWidget* parent)
    : CUnitView(doc, parent, MakeController), m_scroller(std::make_unique<CScroller>(*this)) {
    designs().SetDesignsWindow(this);
    BuildMenu();
    CreatePane();
    pane()->SetAntialiasing(false);
    m_edit = new CDesignEditBox(pane());
    m_edit->setAccessibleName(QStringLiteral("Design machine box"));
    m_edit->finished = [this] { EditFinished(); };
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_loadingEdit)
            designs().EditChanged(ToStdString(text));
    });
    CreateNavigator(kDesignsScreensAcross, kDesignsScreensDown, kNavigatorStep);
    navigator()->SetListener(m_scroller.get());
    SetArrowKeysScroll(true);
    // Exactly the Designs tools: Arrow, Writing tool, Help and Mystery.
    for (int tool : {kToolSelector, kToolEraser, kToolAnglemeter, kToolLinemaker, kToolCutShape,
                     kToolHideShowLines})
        palette()->ShowTool(tool, false);
    ApplyOptions();
    LayoutControls();
}

CDesignPatternsView::~CDesignPatternsView() {
    m_edit->finished = nullptr;
    m_edit->blockSignals(true);
    if (navigator())
        navigator()->SetListener(nullptr);
    designs().SetDesignsWindow(nullptr);
    if (m_busy)
        QApplication::restoreOverrideCursor();
}

CDesignsViewController& CDesignPatternsView::designs() const {
    return static_cast<CDesignsViewController&>(controller());
}

QLineEdit* CDesignPatternsView::editBox() const {
    return m_edit;
}

void CDesignPatternsView::BuildMenu() {
    m_menu = new QMenu(QStringLiteral("&Design"), this);
    for (const CMenuItem& item : kMenuItems) {
        if (!item.text) {
            m_menu->addSeparator();
            continue;
        }
        QAction* a = m_menu->addAction(QString::fromLatin1(item.text));
        a->setData(item.id);
        const int id = item.id;
        connect(a, &QAction::triggered, this, [this, id] { controller().OnCommand(id); });
    }
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        for (QAction* a : m_menu->actions())
            if (!a->isSeparator())
                a->setEnabled(designs().IsCommandEnabled(a->data().toInt()));
    });
}

void CDesignPatternsView::ApplyOptions() {
    palette()->ShowTool(kToolMystery, designs().designsDocument().options().mysteryTool != 0);
    if (pane())
        pane()->update();
}

CPoint CDesignPatternsView::ToWorkspace(QPoint onPane) const {
    return pane()->state().ToWorkspace(CPoint{onPane.x(), onPane.y()});
}

QRect CDesignPatternsView::ToPane(const CRect& workspace) const {
    const CRect r = pane()->state().ToPane(workspace);
    return QRect(r.left, r.top, r.Width(), r.Height());
}

void CDesignPatternsView::LayoutControls() {
    CUnitView::LayoutControls();
    if (!pane())
        return;
    const int left = workspaceArea().left();
    const int top = kMargin + 41 + kMargin;
    const QRect area(left, top, width() - left - kMargin, height() - kMargin - top);
    pane()->setGeometry(area);
    if (navigator())
        ScrollTo(navigator()->model().FractionX(), navigator()->model().FractionY());
    if (!area.isEmpty())
        designs().designsDocument().SetPresentViewRect({0, 0, area.width(), area.height()});
}

void CDesignPatternsView::ScrollTo(double x, double y) {
    if (!pane())
        return;
    const int sx = static_cast<int>(std::lround(x * pane()->width() * (kDesignsScreensAcross - 1)));
    const int sy = static_cast<int>(std::lround(y * pane()->height() * (kDesignsScreensDown - 1)));
    if (sx == pane()->scrollX() && sy == pane()->scrollY())
        return;
    pane()->SetScroll(sx, sy);
    if (m_edit && m_edit->isVisible())
        if (const auto& edit = designs().edit())
            m_edit->setGeometry(ToPane(edit->rect));
}

void CDesignPatternsView::DrawWorkspace(IDrawingSurface& dc, const CRect&, bool) {
    // The screen and the printed page show the same: what the document draws.
    document().DrawContents(dc);
    document().DrawSelection(dc);
}

void CDesignPatternsView::InvalidateRect(const CRect& r) {
    CRect grown = r;
    grown.Inflate(2, 2);
    CUnitView::InvalidateRect(grown);
}

void CDesignPatternsView::CommandStateChanged() {
    CUnitView::CommandStateChanged();
    if (palette())
        ApplyOptions();
}

void CDesignPatternsView::BeginEdit(const CDesignEdit& edit) {
    m_loadingEdit = true;
    m_edit->setFont(QtFont(CFontSpec{"MS Sans Serif", 80}));
    m_edit->setText(ToQString(edit.text));
    m_loadingEdit = false;
    m_edit->setGeometry(ToPane(edit.rect).adjusted(2, 2, -2, -2));
    m_edit->selectAll();
    m_edit->show();
    m_edit->raise();
    m_edit->setFocus(Qt::OtherFocusReason);
}

void CDesignPatternsView::EndEdit() {
    if (!m_edit->isVisible())
        return;
    const bool focused = m_edit->hasFocus();
    const auto finished = std::exchange(m_edit->finished, nullptr);
    m_edit->hide();
    m_edit->finished = finished;
    if (focused)
        setFocus(Qt::OtherFocusReason);
}

void CDesignPatternsView::EditFinished() {
    designs().EndEdit();
    EndEdit();
}

CPoint CDesignPatternsView::ScreenToWorkspace(CPoint screen) const {
    return ToWorkspace(pane()->mapFromGlobal(QPoint(screen.x, screen.y)));
}

std::optional<CPoint> CDesignPatternsView::PageToWorkspace(CPoint page) const {
    const QPoint onPane = pane()->mapFrom(this, QPoint(page.x, page.y));
    if (!pane()->rect().contains(onPane))
        return std::nullopt;
    return ToWorkspace(onPane);
}

void CDesignPatternsView::SetBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool CDesignPatternsView::WriteDesignPicture(const std::string& path) {
    const CDesignFunctionMachine& m = designs().machine();
    const CRect w = m.DesignRect();
    const CRect at{0, 0, w.Width(), w.Height()};
    const QString file = ToQString(path);
    if (file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(QSize(at.Width(), at.Height()));
        svg.setViewBox(QRect(0, 0, at.Width(), at.Height()));
        svg.setTitle(QStringLiteral("Design"));
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        CQtDrawingSurface dc(painter);
        m.DrawDesign(dc, at);
        return painter.end();
    }
    // The picture is drawn as the page draws it: a core-owned image through the platform.
    CImage image(at.Width(), at.Height());
    {
        CQtSurfaceFactory factory;
        auto dc = factory.SurfaceFor(image);
        m.DrawDesign(*dc, at);
    }
    const QImage picture(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                         image.height, image.width * 4, QImage::Format_ARGB32);
    return picture.save(file, "PNG");
}

bool CDesignPatternsView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == pane() && e->type() == QEvent::MouseButtonPress &&
        document().currentTool() != kToolWriting) {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        if (mouse->button() == Qt::LeftButton) {
            setFocus(Qt::MouseFocusReason);
            designs().MouseDown(ToWorkspace(mouse->position().toPoint()));
        }
        return true;
    }
    return CUnitView::eventFilter(watched, e);
}

void CDesignPatternsView::keyPressEvent(QKeyEvent* e) {
    if (designs().KeyPress(e->key()))
        return;
    // Arrows press the navigator's buttons.
    CUnitView::keyPressEvent(e);
}

} // namespace quorvel
