// The Codes page: its controls and their places, the pane's mouse and keys handed to the
// controller in workspace coordinates, the drawer and the message board along the bottom, and
// the box the pupil types in, laid over a card or a machine's box while the controller asks.
#include "ui/patterns/codes_view.h"

#include "ui/patterns/machines_page.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "ui/platform/qt_timer_host.h"
#include "ui/problemsets/problem_set_host.h"
#include "ui/problemsets/problem_set_page.h"
#include "ui/workspace/tool_palette.h"
#include "ui/workspace/workspace_navigator.h"
#include "ui/workspace/workspace_pane.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace quorvel {

namespace {

constexpr int kMargin = 5;
constexpr double kNavigatorStep = 0.5;
// The strip along the bottom that holds the drawer and the message board.
constexpr int kStripHeight = 112;
constexpr QSize kItemPicture(76, 60);
constexpr int kItemName = 28;

struct CMenuItem {
    int id;
    const char* text;
};
constexpr CMenuItem kMenuItems[] = {
    {kCmdHideMessageBoard, "&Hide Message Board"},
    {kCmdShowMessageBoard, "&Show Message Board"},
    {kCmdCodesDeleteOutputCards, "&Delete All Output cards"},
    {kCmdCodesOptions, "&Codes Options..."},
};

std::unique_ptr<CUnitViewController> MakeController(CUnitDocument& doc, IUnitViewWindow& window) {
    auto* page = dynamic_cast<QWidget*>(&window);
    return std::make_unique<CCodesViewController>(
        static_cast<CCodePatternsDocument&>(doc), window, std::make_unique<CQtTimerHost>(),
        std::make_unique<CQtTextMetrics>(),
        std::make_unique<CProblemSetHost>(page, CheckButtonOf(page)));
}

bool IsShift(const QInputEvent* e) {
    return e->modifiers().testFlag(Qt::ShiftModifier);
}

QString ItemName(CodesDrawerItem item) {
    switch (item) {
    case CodesDrawerItem::ShiftMachine:
        return QStringLiteral("Shift Machine");
    case CodesDrawerItem::KeywordMachine:
        return QStringLiteral("Keyword Machine");
    case CodesDrawerItem::GroupMachine:
        return QStringLiteral("Group Machine");
    case CodesDrawerItem::NoteCard:
        return QStringLiteral("Note Card");
    }
    return {};
}

std::unique_ptr<CPatternManipulative> Sample(CodesDrawerItem item) {
    switch (item) {
    case CodesDrawerItem::ShiftMachine:
        return std::make_unique<CShiftMachine>();
    case CodesDrawerItem::KeywordMachine:
        return std::make_unique<CKeywordMachine>();
    case CodesDrawerItem::GroupMachine:
        return std::make_unique<CGroupMachine>();
    case CodesDrawerItem::NoteCard:
        break;
    }
    CQtTextMetrics metrics;
    auto card = std::make_unique<CNoteCardManipulative>(CPoint{0, 0}, metrics);
    card->SetText("Hello!", metrics);
    return card;
}

// One item of the drawer: dragged out into the workspace, or taken with Enter or Space.
class CCodesDrawerItem : public QWidget {
public:
    CCodesDrawerItem(CodesDrawerItem item, QWidget* parent) : QWidget(parent), m_item(item) {
        setFixedSize(kItemPicture.width(), kItemPicture.height() + kItemName);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::OpenHandCursor);
        setAccessibleName(ItemName(item));
        setToolTip(QStringLiteral("Drag a %1 into the workspace.").arg(ItemName(item)));
    }
    std::function<void(CodesDrawerItem, QPoint)> dropped;
    std::function<void(CodesDrawerItem)> activated;

protected:
    void paintEvent(QPaintEvent*) override {
        if (m_picture.isNull())
            m_picture = SamplePicture(*Sample(m_item), kItemPicture, devicePixelRatioF());
        QPainter p(this);
        p.drawPixmap(QRect(QPoint(0, 0), kItemPicture), m_picture);
        if (hasFocus()) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 2));
            p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 5, 5);
        }
        QFont name = font();
        name.setPixelSize(11);
        name.setBold(true);
        p.setFont(name);
        p.setPen(QColor(0x2d, 0x30, 0x47));
        p.drawText(QRect(0, kItemPicture.height(), width(), kItemName),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, ItemName(m_item));
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) {
            m_pressed = true;
            m_dragging = false;
            m_pressAt = e->position().toPoint();
        }
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (m_pressed && !m_dragging &&
            (e->position().toPoint() - m_pressAt).manhattanLength() >=
                QApplication::startDragDistance()) {
            m_dragging = true;
            setCursor(Qt::ClosedHandCursor);
        }
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton || !m_pressed)
            return;
        m_pressed = false;
        setCursor(Qt::OpenHandCursor);
        if (std::exchange(m_dragging, false) && dropped)
            dropped(m_item, mapToGlobal(e->position().toPoint()));
    }
    void keyPressEvent(QKeyEvent* e) override {
        if ((e->key() == Qt::Key_Space || e->key() == Qt::Key_Return ||
             e->key() == Qt::Key_Enter) &&
            activated) {
            activated(m_item);
            return;
        }
        QWidget::keyPressEvent(e);
    }

private:
    CodesDrawerItem m_item;
    QPixmap m_picture;
    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_pressAt;
};

} // namespace

// --- the drawer ------------------------------------------------------------------------------

CCodesDrawer::CCodesDrawer(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Drawer"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(6);
}

void CCodesDrawer::SetItems(const std::vector<CodesDrawerItem>& items) {
    for (QWidget* w : m_items)
        delete w;
    m_items.clear();
    for (CodesDrawerItem item : items) {
        auto* w = new CCodesDrawerItem(item, this);
        w->setProperty("drawerItem", static_cast<int>(item));
        w->dropped = [this](CodesDrawerItem i, QPoint g) { emit dropped(i, g); };
        w->activated = [this](CodesDrawerItem i) { emit activated(i); };
        layout()->addWidget(w);
        m_items.push_back(w);
        w->show();
    }
    setFixedSize(layout()->sizeHint());
}

QWidget* CCodesDrawer::itemWidget(CodesDrawerItem item) const {
    for (QWidget* w : m_items)
        if (w->property("drawerItem").toInt() == static_cast<int>(item))
            return w;
    return nullptr;
}

void CCodesDrawer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x9c, 0xb8, 0xd6));
    p.setBrush(QColor(0xe8, 0xf2, 0xfc));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

// --- the message board -----------------------------------------------------------------------

CMessageBoard::CMessageBoard(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Message Board"));
    setToolTip(
        QStringLiteral("The Message Board keeps a record of the last input to a coding machine."));
}

void CMessageBoard::Show(const std::string& text, std::size_t count,
                         const std::array<int, 26>& letters) {
    m_text = ToQString(text);
    m_count = count;
    m_letters = letters;
    setAccessibleDescription(
        QStringLiteral("Messages stored: %1. The last: %2").arg(count).arg(m_text));
    update();
}

QRect CMessageBoard::slotRect() const {
    return QRect(10, 24, width() - 20 - 54, 26);
}

QRect CMessageBoard::counterRect() const {
    return QRect(width() - 10 - 46, 24, 46, 26);
}

void CMessageBoard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x8a, 0x6d, 0x3b));
    p.setBrush(QColor(0xf3, 0xe3, 0xc3));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    QFont title = font();
    title.setPixelSize(12);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0x4a, 0x35, 0x10));
    p.drawText(QRect(10, 4, width() - 20, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Message Board"));
    // The slot: the last message on a note.
    const QRect slot = slotRect();
    p.setPen(QColor(0x2d, 0x2d, 0x46));
    p.setBrush(m_text.isEmpty() ? QColor(0xfa, 0xf5, 0xe6) : QColor(255, 250, 200));
    p.drawRect(slot);
    QFont text = font();
    text.setPixelSize(13);
    p.setFont(text);
    const QString shown = p.fontMetrics().elidedText(m_text, Qt::ElideRight, slot.width() - 10);
    p.drawText(slot.adjusted(5, 0, -5, 0), Qt::AlignLeft | Qt::AlignVCenter, shown);
    const QRect counter = counterRect();
    p.setBrush(Qt::white);
    p.drawRect(counter);
    p.setFont(title);
    p.drawText(counter, Qt::AlignCenter, QString::number(m_count));
    // How often each letter occurs in the message shown.
    const int top = slot.bottom() + 6, bottom = height() - 18;
    const int most = std::max(1, *std::max_element(m_letters.begin(), m_letters.end()));
    const double cell = (width() - 20) / 26.0;
    QFont small = font();
    small.setPixelSize(10);
    p.setFont(small);
    for (int i = 0; i < 26; ++i) {
        const int x = 10 + static_cast<int>(i * cell);
        const int w = std::max(2, static_cast<int>(cell) - 3);
        const int h = (bottom - top) * m_letters[static_cast<std::size_t>(i)] / most;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x5b, 0x8d, 0xc9));
        if (h > 0)
            p.drawRect(QRect(x + 1, bottom - h, w, h));
        p.setPen(QColor(0x2d, 0x2d, 0x46));
        p.drawText(QRect(x, bottom + 1, static_cast<int>(cell), 15), Qt::AlignCenter,
                   QString(QChar(u'A' + i)));
    }
}

void CMessageBoard::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && slotRect().contains(e->position().toPoint()) &&
        !m_text.isEmpty()) {
        m_taking = true;
        emit slotPressed(e->globalPosition().toPoint());
    }
}

void CMessageBoard::mouseMoveEvent(QMouseEvent* e) {
    if (m_taking)
        emit slotDragged(e->globalPosition().toPoint());
}

void CMessageBoard::mouseReleaseEvent(QMouseEvent* e) {
    if (m_taking && e->button() == Qt::LeftButton) {
        m_taking = false;
        emit slotReleased(e->globalPosition().toPoint());
    }
}

// --- the page --------------------------------------------------------------------------------

CCodePatternsView::CCodePatternsView(CCodePatternsDocument& doc, QWidget* parent)
    : CUnitView(doc, parent, MakeController), m_scroller(std::make_unique<CNavigatorScroller>(
                                                  [this](double x, double y) { ScrollTo(x, y); })) {
    codes().SetCodesWindow(this);
    m_drawer = new CCodesDrawer(this);
    connect(m_drawer, &CCodesDrawer::dropped, this, &CCodePatternsView::DropFromDrawer);
    connect(m_drawer, &CCodesDrawer::activated, this, &CCodePatternsView::DropFromDrawerByKey);
    m_board = new CMessageBoard(this);
    connect(m_board, &CMessageBoard::slotPressed, this, &CCodePatternsView::BoardPressed);
    connect(m_board, &CMessageBoard::slotDragged, this, &CCodePatternsView::BoardDragged);
    connect(m_board, &CMessageBoard::slotReleased, this, &CCodePatternsView::BoardReleased);

    BuildMenu();
    CreatePane();
    pane()->SetAntialiasing(true);
    // The box the pupil types a message or a machine's parameter in.
    m_edit =
        new CMachinesEditBox(pane(), QStringLiteral("codesEdit"), QStringLiteral("Message"), false);
    m_edit->finished = [this] { EditFinished(); };
    m_edit->cancelled = [this] { EditCancelled(); };
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_loadingEdit)
            return;
        codes().EditChanged(ToStdString(text));
        if (const auto& edit = codes().edit())
            m_edit->setGeometry(ToPane(edit->rect));
    });

    CreateNavigator(kCodesScreensAcross, kCodesScreensDown, kNavigatorStep);
    navigator()->SetListener(m_scroller.get());
    SetArrowKeysScroll(true);
    // Exactly the Codes tools: Mystery and Linking; no Anglemeter, Cut-shape or Hide/Show.
    palette()->ShowTool(kToolCutShape, false);
    palette()->ShowTool(kToolHideShowLines, false);
    OptionsApplied();
    BoardChanged();
    LayoutControls();
}

CCodePatternsView::~CCodePatternsView() {
    m_edit->finished = nullptr;
    m_edit->cancelled = nullptr;
    m_edit->blockSignals(true);
    if (navigator())
        navigator()->SetListener(nullptr);
    codes().SetCodesWindow(nullptr);
}

CCodesViewController& CCodePatternsView::codes() const {
    return static_cast<CCodesViewController&>(controller());
}

QLineEdit* CCodePatternsView::editBox() const {
    return m_edit;
}

void CCodePatternsView::BuildMenu() {
    m_menu = new QMenu(QStringLiteral("&Codes"), this);
    for (const CMenuItem& item : kMenuItems) {
        QAction* a = m_menu->addAction(QString::fromLatin1(item.text));
        a->setData(item.id);
        const int id = item.id;
        connect(a, &QAction::triggered, this, [this, id] { controller().OnCommand(id); });
    }
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        for (QAction* a : m_menu->actions())
            a->setEnabled(codes().IsCommandEnabled(a->data().toInt()));
    });
}

CPoint CCodePatternsView::ToWorkspace(QPoint onPane) const {
    return pane()->state().ToWorkspace(CPoint{onPane.x(), onPane.y()});
}

QRect CCodePatternsView::ToPane(const CRect& workspace) const {
    const CRect r = pane()->state().ToPane(workspace);
    return QRect(r.left, r.top, r.Width(), r.Height());
}

void CCodePatternsView::LayoutControls() {
    CUnitView::LayoutControls();
    if (!m_drawer || !pane())
        return;
    const int left = workspaceArea().left();
    const int top = kMargin + 41 + kMargin;
    const int stripTop = height() - kMargin - kStripHeight;
    m_drawer->move(left, stripTop + (kStripHeight - m_drawer->height()) / 2);
    const int boardLeft = left + m_drawer->width() + kMargin;
    m_board->setGeometry(boardLeft, stripTop, std::max(0, width() - kMargin - boardLeft),
                         kStripHeight);
    const bool boardShown = codes().boardShown();
    m_board->setVisible(boardShown);
    const QRect area(left, top, width() - left - kMargin, stripTop - kMargin - top);
    pane()->setGeometry(area);
    if (navigator())
        ScrollTo(navigator()->model().FractionX(), navigator()->model().FractionY());
    if (!area.isEmpty())
        codes().codesDocument().SetPresentViewRect({0, 0, area.width(), area.height()});
}

void CCodePatternsView::ShowPaneOffset(CPoint offset) {
    if (!pane() || !navigator())
        return;
    ShowNavigatorAt(*navigator(), *pane(), offset, kCodesScreensAcross, kCodesScreensDown);
}

void CCodePatternsView::ScrollTo(double x, double y) {
    if (!pane())
        return;
    const auto offset = ScrollPaneTo(*pane(), x, y, kCodesScreensAcross, kCodesScreensDown);
    if (!offset)
        return;
    codes().codesDocument().SetPaneOffset(*offset);
    if (m_edit && m_edit->isVisible())
        if (const auto& edit = codes().edit())
            m_edit->setGeometry(ToPane(edit->rect));
}

void CCodePatternsView::DrawWorkspace(IDrawingSurface& dc, const CRect& area, bool printing) {
    if (printing) {
        CUnitView::DrawWorkspace(dc, area, true);
        return;
    }
    codes().Draw(dc, area);
}

void CCodePatternsView::InvalidateRect(const CRect& r) {
    CRect grown = r;
    grown.Inflate(2, 2);
    CUnitView::InvalidateRect(grown);
}

void CCodePatternsView::CommandStateChanged() {
    CUnitView::CommandStateChanged();
    if (m_board)
        BoardChanged();
}

void CCodePatternsView::OptionsApplied() {
    const CCodesOptions& o = codes().codesDocument().options();
    palette()->ShowTool(kToolMystery, o.mysteryTool != 0);
    palette()->ShowTool(kToolLinking, o.linking != 0);
    if (m_drawer) {
        m_drawer->SetItems(codes().DrawerItems());
        LayoutControls();
    }
    if (pane())
        pane()->update();
}

void CCodePatternsView::BoardChanged() {
    if (!m_board)
        return;
    m_board->Show(codes().BoardText(), codes().BoardCount(), codes().BoardLetterCounts());
    m_board->setVisible(codes().boardShown());
}

BoardPart CCodePatternsView::BoardPartAt(CPoint page) const {
    if (!m_board || !m_board->isVisible())
        return BoardPart::None;
    const QPoint at = m_board->mapFrom(this, QPoint(page.x, page.y));
    if (!m_board->rect().contains(at))
        return BoardPart::None;
    if (m_board->slotRect().contains(at))
        return BoardPart::Slot;
    if (m_board->counterRect().contains(at))
        return BoardPart::Counter;
    return BoardPart::Board;
}

// --- the edit box ----------------------------------------------------------------------------

void CCodePatternsView::BeginEdit(const CCodesEdit& edit) {
    m_edit->setAlignment(edit.kind == CodesEditKind::Note ? Qt::AlignLeft | Qt::AlignVCenter
                                                          : Qt::AlignCenter);
    m_edit->Begin(ToPane(edit.rect), ToQString(edit.text), edit.maxChars, QtFont(edit.font),
                  m_loadingEdit);
}

void CCodePatternsView::EndEdit() {
    m_edit->End(*this);
}

void CCodePatternsView::EditFinished() {
    if (codes().editing())
        codes().EndEdit();
    // The keyword question may have begun the typing again.
    if (!codes().editing())
        EndEdit();
}

void CCodePatternsView::EditCancelled() {
    codes().CancelMouse();
    EndEdit();
}

CPoint CCodePatternsView::ScreenToWorkspace(CPoint screen) const {
    return ToWorkspace(pane()->mapFromGlobal(QPoint(screen.x, screen.y)));
}

std::optional<CPoint> CCodePatternsView::PageToWorkspace(CPoint page) const {
    const QPoint onPane = pane()->mapFrom(this, QPoint(page.x, page.y));
    if (!pane()->rect().contains(onPane))
        return std::nullopt;
    return ToWorkspace(onPane);
}

// --- drawer and board ------------------------------------------------------------------------

void CCodePatternsView::DropFromDrawer(CodesDrawerItem item, QPoint global) {
    const QPoint onPane = pane()->mapFromGlobal(global);
    if (!pane()->rect().contains(onPane))
        return;
    codes().TakeFromDrawer(item, ToWorkspace(onPane));
}

void CCodePatternsView::DropFromDrawerByKey(CodesDrawerItem item) {
    const CSize size = item == CodesDrawerItem::NoteCard
                           ? CSize{160, 30}
                           : CSize{CCodeMachine::kWidth, CCodeMachine::kHeight};
    const CPoint at = FreePlaceFor(*pane(), document(), size, true, m_keyDrops);
    codes().TakeFromDrawer(item, at);
}

void CCodePatternsView::BoardPressed(QPoint global) {
    codes().TakeFromBoard(ToWorkspace(pane()->mapFromGlobal(global)));
}

void CCodePatternsView::BoardDragged(QPoint global) {
    codes().MouseMove(ToWorkspace(pane()->mapFromGlobal(global)));
}

void CCodePatternsView::BoardReleased(QPoint global) {
    codes().MouseUp(ToWorkspace(pane()->mapFromGlobal(global)));
}

// --- mouse and keys --------------------------------------------------------------------------

bool CCodePatternsView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == pane() && PaneMouse(e))
        return true;
    return CUnitView::eventFilter(watched, e);
}

bool CCodePatternsView::PaneMouse(QEvent* e) {
    const QEvent::Type type = e->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    if (document().currentTool() == kToolWriting)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(e);
    PaneMouseTo(codes(), *this, *mouse, ToWorkspace(mouse->position().toPoint()), false);
    return true;
}

bool CCodePatternsView::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress && hasFocus()) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            codes().KeyPress(key->key(), IsShift(key), false))
            return true;
    }
    if (e->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Escape &&
            (codes().dragging() || codes().editing() || codes().rubberWire())) {
            e->accept();
            return true;
        }
    }
    return CUnitView::event(e);
}

void CCodePatternsView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        if (codes().CancelMouse())
            return;
    } else if (codes().KeyPress(e->key(), IsShift(e), false)) {
        return;
    }
    // Arrows press the navigator's buttons.
    CUnitView::keyPressEvent(e);
}

} // namespace quorvel
