// The Statistics page: its controls and their places, the table's and the mini-table's mouse
// and cursors handed to the controller, the editor over a cell, the menus of each mode and
// the printed table.
#include "ui/statistics/stats_unit_view.h"

#include "statistics/stats_commands.h"
#include "statistics/stats_problems.h"
#include "ui/app/bitmap_button.h"
#include "ui/art/art.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "ui/platform/qt_timer_host.h"
#include "ui/problemsets/problem_set_page.h"
#include "ui/statistics/stats_graph_output.h"
#include "ui/statistics/stats_page_menus.h"
#include "ui/statistics/stats_prompt_editor.h"
#include "ui/workspace/tool_palette.h"
#include "workspace/string_table.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace quorvel {

namespace {

constexpr int kMargin = 5;
constexpr QSize kModeButton(48, 41);
constexpr QSize kColumnButton(20, 20);
constexpr int kScrollBar = 16;
// The row of buttons starts right of the exit and broom buttons.
constexpr int kButtonsLeft = 112;
constexpr int kTagSize = 20;
constexpr int kScaleDisplay = 1376;
constexpr int kScaleField = 1283;
constexpr int kLabelEdit = 1263;
constexpr int kFirstAverage = 1285; // Mean, Median, Mode

struct CModeButton {
    int id;
    const char* label;
    const char* name;
};
// The mode buttons, then the board's, then the sort buttons, in their row.
constexpr CModeButton kModeButtons[] = {
    {kCmdDataTable, "Data\nTable", "Data Table"}, {kCmdDataBoard, "Data\nBoard", "Data Board"},
    {kCmdBarGraph, "Bar\nGraph", "Bar Graph"},    {kCmdPieGraph, "Pie\nGraph", "Pie Graph"},
    {kCmdLineGraph, "Line\nGraph", "Line Graph"},
};
constexpr CModeButton kBoardButtons[] = {{1366, "Data\nStore", "Data Store"},
                                         {1359, "Cluster", "Cluster"},
                                         {1365, "Line\nup", "Auto-arrange"}};
constexpr CModeButton kSortButtons[] = {{kCmdSortAscending, "Sort\n\u2191", "Sort ascending"},
                                        {kCmdSortDescending, "Sort\n\u2193", "Sort descending"}};

// Light faces with dark lettering, rounded like the page's other buttons; the current mode's
// button shows pressed.
const QString kButtonStyle = QStringLiteral(
    "QPushButton{background:#fff6e0;color:#2d3047;border:1.5px solid #2d3047;border-radius:8px;"
    "font:bold 11px 'Liberation Sans';padding:0}"
    "QPushButton:checked{background:#ffd43b}"
    "QPushButton:pressed{background:#f0e0b0}"
    "QPushButton:disabled{color:#a0a0a0;border-color:#a0a0a0}");
const QString kSmallButtonStyle = QStringLiteral(
    "QPushButton{background:#fff6e0;color:#2d3047;border:1px solid #2d3047;border-radius:4px;"
    "font:bold 12px 'Liberation Sans';padding:0}"
    "QPushButton:pressed{background:#f0e0b0}"
    "QPushButton:disabled{color:#a0a0a0;border-color:#a0a0a0}");

QString HelpText(int id, const char* fallback) {
    const auto text = LoadString(id);
    return text ? ToQString(*text) : QString::fromLatin1(fallback);
}

// Where the board and the graphs are drawn: the place of the data table.
CRect SheetOf(const QWidget* grid) {
    const QRect g = grid->geometry();
    return {g.left(), g.top(), g.right() + 1, g.bottom() + 1};
}

QCursor StatsCursor(StatsTool tool) {
    switch (tool) {
    case StatsTool::Eraser:
        return ArtCursor(146);
    case StatsTool::Ignore:
        return ArtCursor(346);
    case StatsTool::Help:
        return ArtCursor(144);
    case StatsTool::Tag:
        return ArtCursor(332);
    case StatsTool::Pointer:
        break;
    }
    return QCursor(Qt::ArrowCursor);
}

} // namespace

// The editor over a cell: it owns the typing keys while it has the focus; Tab, Enter and the
// arrows move it on, Escape calls it off, losing the focus commits.
class CStatsCellEditor : public QLineEdit {
public:
    explicit CStatsCellEditor(QWidget* parent) : QLineEdit(parent) {
        setObjectName(QStringLiteral("statsCellEditor"));
        setAccessibleName(QStringLiteral("Cell"));
        setProperty("controlId", 200);
        setFrame(false);
        setContextMenuPolicy(Qt::NoContextMenu);
        hide();
    }
    std::function<void(int, bool)> moved;
    std::function<void()> finished;
    std::function<void()> cancelled;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        if (e->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(e);
            const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
            switch (key->key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Up:
            case Qt::Key_Down:
                if (moved)
                    moved(key->key(), shift);
                return true;
            case Qt::Key_Left:
            case Qt::Key_Right:
                // Within the text the caret moves; at its edge the editor does.
                if (hasSelectedText() ||
                    (key->key() == Qt::Key_Left ? cursorPosition() > 0
                                                : cursorPosition() < text().size()))
                    break;
                if (moved)
                    moved(key->key(), shift);
                return true;
            case Qt::Key_Escape:
                if (cancelled)
                    cancelled();
                return true;
            default:
                break;
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

// The common window of the table and the mini-table: white, drawn whole by the core onto the
// widget's own back buffer, a left click passed on in its own coordinates.
class CStatsView : public QWidget {
public:
    CStatsView(CStatsTableController& table, int controlId, const char* name, QWidget* parent)
        : QWidget(parent), m_table(table) {
        setProperty("controlId", controlId);
        setAccessibleName(QString::fromLatin1(name));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    // The part of the window the core draws in.
    virtual QSize DrawnSize() const { return size(); }
    virtual void DrawContents(IDrawingSurface& dc) = 0;
    virtual void Click(CPoint p) = 0;

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const QSize s = DrawnSize();
        p.setClipRect(0, 0, s.width(), s.height());
        CQtDrawingSurface dc(p);
        DrawContents(dc);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            Click({e->position().toPoint().x(), e->position().toPoint().y()});
    }

    CStatsTableController& m_table;
};

// The data table: the core draws it, the scroll bars move it.
class CStatsGridWidget : public CStatsView {
public:
    CStatsGridWidget(CStatsTableController& table, QWidget* parent)
        : CStatsView(table, kDataTableId, "Data Table", parent) {
        m_v = new QScrollBar(Qt::Vertical, this);
        m_h = new QScrollBar(Qt::Horizontal, this);
        for (QScrollBar* bar : {m_v, m_h})
            connect(bar, &QScrollBar::valueChanged, this, [this] {
                if (m_syncing)
                    return;
                m_table.grid().ScrollTo(m_v->value(), m_h->value());
                update();
            });
    }
    QSize TableSize() const {
        return {std::max(0, width() - kScrollBar), std::max(0, height() - kScrollBar)};
    }
    void Sync() {
        CQtTextMetrics metrics;
        const QSize s = TableSize();
        m_table.grid().Layout(metrics, {s.width(), s.height()});
        m_syncing = true;
        const stats::CGridView& g = m_table.grid();
        m_v->setRange(1, g.MaxFirstRow());
        m_v->setPageStep(std::max(1, g.VisibleRows() - 1));
        m_v->setValue(g.firstRow());
        m_h->setRange(2, g.MaxFirstColumn());
        m_h->setValue(g.firstColumn());
        m_h->setEnabled(g.MaxFirstColumn() > 2);
        m_syncing = false;
        update();
    }

protected:
    void resizeEvent(QResizeEvent*) override {
        m_v->setGeometry(width() - kScrollBar, 0, kScrollBar, height() - kScrollBar);
        m_h->setGeometry(0, height() - kScrollBar, width() - kScrollBar, kScrollBar);
        Sync();
    }
    QSize DrawnSize() const override { return TableSize(); }
    void paintEvent(QPaintEvent* e) override {
        CStatsView::paintEvent(e);
        QPainter(this).fillRect(width() - kScrollBar, height() - kScrollBar, kScrollBar, kScrollBar,
                                palette().window());
    }
    void DrawContents(IDrawingSurface& dc) override { m_table.grid().Draw(dc); }
    void Click(CPoint p) override {
        m_table.TableClick(p);
        Sync();
    }
    void wheelEvent(QWheelEvent* e) override {
        const int steps = e->angleDelta().y() / 120;
        m_v->setValue(m_v->value() - 3 * steps);
    }

private:
    QScrollBar* m_v;
    QScrollBar* m_h;
    bool m_syncing = false;
};

// The mini-table beside the board, with its previous, next and New buttons.
class CStatsMiniWidget : public CStatsView {
public:
    CStatsMiniWidget(CStatsTableController& table, QWidget* parent)
        : CStatsView(table, kMiniTableId, "Mini-table", parent) {
        setFixedSize(CMiniTable::kSize.cx, CMiniTable::kSize.cy);
    }

protected:
    void DrawContents(IDrawingSurface& dc) override {
        m_table.miniTable().Draw(dc, CMiniTable::kSize);
    }
    void Click(CPoint p) override { m_table.MiniTableClick(CMiniTable::kSize, p); }
};

// --- the page --------------------------------------------------------------------------------

CStatsUnitView::CStatsUnitView(CStatsUnitDocument& doc, QWidget* parent)
    : CUnitView(doc, parent, ProblemSetControllerFactory(MakeStatsProblemRule, false)), m_doc(doc),
      m_table(doc, doc.host() ? &doc.host()->Prompter() : nullptr),
      m_timers(std::make_unique<CQtTimerHost>()) {
    if (CStatsProblemRule* rule = problemRule())
        rule->Attach(&m_table.board(), m_timers.get(), [this](CStatsPromptEditor& editor) {
            IPrompter* prompter = m_doc.host() ? &m_doc.host()->Prompter() : m_ownPrompter.get();
            if (!prompter)
                return false;
            CStatsPromptEditorDialog dialog(editor, *prompter, this);
            return dialog.exec() == QDialog::Accepted;
        });
    m_menus = new CStatsPageMenus(doc, this);
    // The teacher's prompts for a "Did You Mean That?" problem, in authoring mode only.
    if (auto* problems = dynamic_cast<CProblemSetViewController*>(&controller());
        problems && problems->authoring()) {
        QMenu* menu = m_menus->statisticsMenu();
        menu->addSeparator();
        QAction* a = menu->addAction(QStringLiteral("Problem Set &Prompts..."));
        a->setData(kCmdStatsPrompts);
        connect(a, &QAction::triggered, this, [problems] { problems->EditPrompts(); });
    }
    // The Statistics tools: Ignore in the third row, nothing below.
    palette()->ShowTool(kToolIgnore);
    for (int code :
         {kToolSelector, kToolLinemaker, kToolLinking, kToolCutShape, kToolHideShowLines})
        palette()->ShowTool(code, false);
    BuildControls();
    BuildModeMenu();
    m_table.SetWindow(this);
    doc.dataSet().Attach(this);
    LayoutControls();
    ApplyMode();
    ToolChanged(doc.currentTool());
}

CStatsUnitView::~CStatsUnitView() {
    if (CStatsProblemRule* rule = problemRule())
        rule->Attach(nullptr, nullptr);
    m_editor->finished = nullptr;
    m_editor->moved = nullptr;
    m_editor->cancelled = nullptr;
    m_table.SetWindow(nullptr);
    m_doc.dataSet().Detach(this);
}

CStatsProblemRule* CStatsUnitView::problemRule() const {
    auto* problems = dynamic_cast<CProblemSetViewController*>(&controller());
    return problems ? dynamic_cast<CStatsProblemRule*>(&problems->rule()) : nullptr;
}

QWidget* CStatsUnitView::grid() const {
    return m_grid;
}

QWidget* CStatsUnitView::miniTable() const {
    return m_mini;
}

QLineEdit* CStatsUnitView::cellEditor() const {
    return m_editor;
}

QWidget* CStatsUnitView::control(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

QMenu* CStatsUnitView::unitMenu() const {
    return m_menus->statisticsMenu();
}

void CStatsUnitView::BuildControls() {
    const auto drawn = [this](int id, const char* label, const char* name, QSize size) {
        auto* b = new QPushButton(QString::fromUtf8(label), this);
        b->setAccessibleName(QString::fromLatin1(name));
        b->setProperty("controlId", id);
        b->setCursor(Qt::ArrowCursor);
        b->setFocusPolicy(Qt::NoFocus);
        b->resize(size);
        b->setStyleSheet(size.height() < 30 ? kSmallButtonStyle : kButtonStyle);
        b->setToolTip(HelpText(id, name));
        connect(b, &QAbstractButton::clicked, this, [this, id] { Command(id); });
        m_controls[id] = b;
        return b;
    };
    for (const CModeButton& m : kModeButtons)
        static_cast<QPushButton*>(drawn(m.id, m.label, m.name, kModeButton))->setCheckable(true);
    for (const CModeButton& m : kBoardButtons)
        drawn(m.id, m.label, m.name, kModeButton);
    for (const CModeButton& m : kSortButtons)
        drawn(m.id, m.label, m.name, kModeButton);
    drawn(kCmdPreviousColumn, "\u25C0", "Previous column", kColumnButton);
    drawn(kCmdNextColumn, "\u25B6", "Next column", kColumnButton);

    // The scale: a display that gives way to a field with spin buttons when clicked.
    drawn(kScaleDisplay, "10", "Scale", kModeButton);
    m_scaleEdit = new QLineEdit(this);
    m_scaleEdit->setProperty("controlId", kScaleField);
    m_scaleEdit->setMaxLength(6);
    m_scaleEdit->setToolTip(HelpText(1385, "Scale"));
    m_scaleEdit->hide();
    m_controls[kScaleField] = m_scaleEdit;
    // A typed scale is raised to a round one; the display comes back.
    connect(m_scaleEdit, &QLineEdit::returnPressed, this, [this] {
        if (m_table.board().TypeScale(ToStdString(m_scaleEdit->text()))) {
            m_scaleEdit->hide();
            ApplyMode();
        }
    });
    drawn(kCmdScaleUp, "\u25B2", "Scale up", QSize(18, 11));
    drawn(kCmdScaleDown, "\u25BC", "Scale down", QSize(18, 11));
    for (int id : {kCmdScaleUp, kCmdScaleDown})
        control(id)->setStyleSheet(kSmallButtonStyle + QStringLiteral("QPushButton{font:7px}"));

    m_labelEdit = new QLineEdit(this);
    m_labelEdit->setProperty("controlId", kLabelEdit);
    m_labelEdit->setAccessibleName(QStringLiteral("Graph label"));
    m_labelEdit->setToolTip(QStringLiteral("Enter a label for the graph of the current column."));
    connect(m_labelEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_table.graphs().SetLabel(m_table.mode(), ToStdString(text));
        update();
    });
    m_controls[kLabelEdit] = m_labelEdit;

    const char* names[] = {"Mean", "Median", "Mode"};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(names[i]), this);
        QFont small = box->font();
        small.setPixelSize(11);
        box->setFont(small);
        box->setProperty("controlId", kFirstAverage + i);
        box->setChecked(m_table.graphs().average(i));
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
            m_table.graphs().SetAverage(i, on);
            update();
        });
        m_averages[i] = box;
        m_controls[kFirstAverage + i] = box;
    }

    // The tag palette: choosing a colour takes up the tag tool.
    for (int i = 0; i < static_cast<int>(std::size(kTagColours)); ++i) {
        auto* b = new QToolButton(this);
        b->setProperty("controlId", 1071 + i);
        b->setToolTip(QStringLiteral("Use the tag palette to tag data cells with a color."));
        b->setFixedSize(kTagSize, kTagSize);
        b->setCheckable(true);
        b->setStyleSheet(QStringLiteral("QToolButton{background:%1;border:1px solid #808080}"
                                        "QToolButton:checked{border:2px solid black}")
                             .arg(QtColor(StatsColour(kTagColours[i])).name()));
        connect(b, &QToolButton::clicked, this, [this, i] {
            // The tag tool works with the Arrow's palette button latched.
            m_choosingTag = true;
            controller().SelectArrow();
            m_choosingTag = false;
            m_table.ChooseTagColour(i);
            ShowStatsTool();
        });
        m_tags.push_back(b);
    }

    m_grid = new CStatsGridWidget(m_table, this);
    m_mini = new CStatsMiniWidget(m_table, this);
    m_editor = new CStatsCellEditor(m_grid);
    m_editor->finished = [this] { EditorFinished(); };
    m_editor->cancelled = [this] { EditorCancelled(); };
    m_editor->moved = [this](int key, bool shift) { EditorKey(key, shift); };
    connect(m_editor, &QLineEdit::textEdited, this, [this] {
        if (!m_loadingEditor)
            m_editorTyped = true;
    });
    for (int id : {kCmdMiniPrevious, kCmdMiniNext})
        drawn(id, id == kCmdMiniPrevious ? "\u25C0" : "\u25B6", "Mini-table column", kColumnButton);
    drawn(kCmdMiniNew, "New", "New row", QSize(48, 24));
}

void CStatsUnitView::BuildModeMenu() {
    m_modeMenu = new QMenu(QStringLiteral("Ta&ble"), this);
    // Ignore All and Use All sit in the Statistics menu for the table and the board.
    QMenu* stats = m_menus->statisticsMenu();
    stats->addSeparator();
    for (auto [id, text] : {std::pair{kCmdIgnoreAll, "&Ignore All"}, {kCmdUseAll, "&Use All"}}) {
        QAction* a = stats->addAction(QString::fromLatin1(text));
        a->setData(id);
        const int cmd = id;
        connect(a, &QAction::triggered, this, [this, cmd] { Command(cmd); });
    }
    // The graph on show as a picture for a worksheet.
    QAction* exportGraph = stats->addAction(QStringLiteral("Export Graph as PNG/SVG..."));
    exportGraph->setData(kCmdExportGraph);
    connect(exportGraph, &QAction::triggered, this, [this] { Command(kCmdExportGraph); });
    connect(stats, &QMenu::aboutToShow, this, [this, stats] {
        for (QAction* a : stats->actions()) {
            const int id = a->data().toInt();
            if (id == kCmdIgnoreAll || id == kCmdUseAll)
                a->setEnabled(m_table.IsCommandEnabled(id));
            if (id == kCmdExportGraph)
                a->setEnabled(IsGraphMode(m_table.mode()));
        }
    });
}

void CStatsUnitView::Command(int id) {
    if (id == kScaleDisplay) {
        // The typed scale and its spin buttons belong to the board.
        control(kScaleDisplay)->hide();
        m_scaleEdit->setText(ToQString(m_doc.viewState().currentScale.Format()));
        m_scaleEdit->show();
        m_scaleEdit->setFocus();
        m_scaleEdit->selectAll();
        ApplyMode();
        return;
    }
    if (id == kCmdImportCsv || id == kCmdExportCsv) {
        m_menus->Command(id);
        return;
    }
    if (id == kCmdExportGraph) {
        ExportGraph();
        return;
    }
    if (m_table.editing())
        EditorFinished();
    m_table.OnCommand(id);
    ApplyMode();
}

// --- modes and menus -------------------------------------------------------------------------

void CStatsUnitView::ApplyMode() {
    const StatsViewMode mode = m_table.mode();
    m_shownMode = static_cast<int>(mode);
    const CStatsControls c = StatsModeControls(m_doc, mode);
    const bool checked = m_doc.computerChecked();
    m_grid->setVisible(c.grid);
    m_mini->setVisible(c.miniTable);
    for (int id : {kCmdMiniPrevious, kCmdMiniNext, kCmdMiniNew})
        control(id)->setVisible(c.miniTable);
    m_labelEdit->setVisible(c.labelEdit);
    for (const CModeButton& m : kSortButtons)
        control(m.id)->setVisible(c.sortButtons);
    for (const CModeButton& m : kBoardButtons)
        control(m.id)->setVisible(c.boardButtons);
    for (int id : {kCmdPreviousColumn, kCmdNextColumn})
        control(id)->setVisible(c.columnButtons);
    if (!c.scaleDisplay)
        m_scaleEdit->hide();
    static_cast<QPushButton*>(control(kScaleDisplay))
        ->setText(ToQString(m_doc.viewState().currentScale.Format()));
    control(kScaleDisplay)->setVisible(c.scaleDisplay && !m_scaleEdit->isVisible());
    for (int id : {kCmdScaleUp, kCmdScaleDown})
        control(id)->setVisible(m_scaleEdit->isVisible());
    if (m_scaleEdit->isVisible())
        m_scaleEdit->setText(ToQString(m_doc.viewState().currentScale.Format()));
    for (int i = 0; i < 3; ++i) {
        // A document opened with its lines on ticks its boxes.
        const QSignalBlocker quiet(m_averages[i]);
        m_averages[i]->setChecked(m_table.graphs().average(i));
        m_averages[i]->setVisible(c.averages);
    }
    for (QToolButton* b : m_tags)
        b->setVisible(!checked);
    for (int id : {kCmdBarGraph, kCmdPieGraph, kCmdLineGraph}) {
        control(id)->setEnabled(m_doc.graphViewers());
        // A pupil solving a problem sees the graphs only when the teacher allows them.
        control(id)->setVisible(!checked || m_doc.graphViewers());
    }
    control(kCmdDataTable)->setVisible(!checked);
    const int modeIds[] = {kCmdDataTable, kCmdDataBoard, kCmdLineGraph, kCmdBarGraph, kCmdPieGraph};
    for (int i = 0; i < 5; ++i)
        static_cast<QPushButton*>(control(modeIds[i]))->setChecked(static_cast<int>(mode) == i);
    if (c.labelEdit)
        m_labelEdit->setText(ToQString(m_table.graphs().Label(mode)));

    // The mode's menu beside "&Statistics". A command of this menu rebuilds it while its action
    // is still firing, so the old actions go when control is back in the event loop.
    for (QAction* old : m_modeMenu->actions()) {
        m_modeMenu->removeAction(old);
        old->deleteLater();
    }
    const auto add = [this](int id, const char* text, bool enabled) {
        QAction* a = m_modeMenu->addAction(QString::fromLatin1(text));
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, this, [this, id] { Command(id); });
    };
    const bool editable = m_doc.dataSet().editable();
    switch (c.menu) {
    case StatsModeMenu::Table:
        m_modeMenu->setTitle(QStringLiteral("Ta&ble"));
        add(kCmdNewColumn, "&New column...", editable);
        add(kCmdRemoveColumn, "&Remove column", editable);
        add(kCmdMergeColumn, "&Merge column...", editable);
        m_modeMenu->addSeparator();
        for (const CStatsMenuItem& item : kTableMenuItems)
            add(item.id, item.text.data(), StatsCommandState(m_doc, item.id).enabled);
        break;
    case StatsModeMenu::Board:
        m_modeMenu->setTitle(QStringLiteral("&Board"));
        for (auto [id, text] : {std::pair{kCmdNarrowTiles, "&Narrow tiles"},
                                {kCmdWideTiles, "&Wide tiles"},
                                {kCmdShowLabels, "&Show labels"},
                                {kCmdHideLabels, "&Hide labels"}}) {
            add(id, text, true);
            m_modeMenu->actions().back()->setCheckable(id == kCmdNarrowTiles ||
                                                       id == kCmdWideTiles);
            m_modeMenu->actions().back()->setChecked(m_table.board().IsChecked(id));
        }
        break;
    case StatsModeMenu::Circle:
        m_modeMenu->setTitle(QStringLiteral("&Circle"));
        for (const CStatsMenuItem& item : kCircleMenuItems) {
            add(item.id, item.text.data(), true);
            m_modeMenu->actions().back()->setCheckable(true);
            m_modeMenu->actions().back()->setChecked(m_table.graphs().IsChecked(item.id));
        }
        break;
    case StatsModeMenu::None:
        break;
    }
    m_modeMenu->menuAction()->setVisible(c.menu != StatsModeMenu::None);
    m_grid->Sync();
    m_mini->update();
    update();
}

void CStatsUnitView::TableChanged() {
    ApplyMode();
}

void CStatsUnitView::DataChanged() {
    // Columns may have gone (undo, open): the editor's cell with them.
    if (m_table.editing() && m_table.editedCell().column >= m_doc.dataSet().columnCount())
        m_table.CancelEdit();
    if (m_shownMode >= 0 && m_shownMode != static_cast<int>(m_table.mode())) {
        ApplyMode();
        return;
    }
    if (m_grid)
        m_grid->Sync();
    if (m_mini)
        m_mini->update();
    // A document opened on the page (a problem of the run) brings its own mode and flags.
    if (m_grid && m_mini)
        ApplyMode();
    update();
}

void CStatsUnitView::ToolChanged(int code) {
    CUnitView::ToolChanged(code);
    if (!m_choosingTag)
        m_table.SetTagging(false);
    ShowStatsTool();
}

void CStatsUnitView::ShowStatsTool() {
    for (int i = 0; i < static_cast<int>(m_tags.size()); ++i)
        m_tags[static_cast<std::size_t>(i)]->setChecked(
            m_table.tagging() && m_doc.viewState().tagColour == kTagColours[i]);
    const QCursor cursor = StatsCursor(m_table.tool());
    m_grid->setCursor(cursor);
    m_mini->setCursor(cursor);
    // Over the board too (the page shows the palette's other tools itself).
    if (m_table.tagging())
        setCursor(cursor);
}

// --- the editor ------------------------------------------------------------------------------

void CStatsUnitView::BeginCellEdit(bool mini, const CRect& cell, const std::string& text) {
    QWidget* host = mini ? static_cast<QWidget*>(m_mini) : m_grid;
    if (m_editor->parentWidget() != host)
        m_editor->setParent(host);
    m_loadingEditor = true;
    m_editor->setText(ToQString(text));
    m_loadingEditor = false;
    m_editorTyped = false;
    const bool right = !mini || true;
    const int column = m_table.editedCell().column;
    m_editor->setAlignment(right && m_doc.dataSet().IsNumberColumn(column)
                               ? Qt::AlignRight | Qt::AlignVCenter
                               : Qt::AlignLeft | Qt::AlignVCenter);
    m_editor->setFont(QFont(QStringLiteral("Arial"), 12));
    m_editor->setGeometry(cell.left + 2, cell.top + 2, cell.Width() - 3, cell.Height() - 3);
    m_editor->show();
    m_editor->raise();
    m_editor->selectAll();
    m_editor->setFocus();
}

void CStatsUnitView::EndCellEdit() {
    m_editor->hide();
}

void CStatsUnitView::EditorFinished() {
    if (!m_table.editing())
        return;
    m_table.CommitEdit(ToStdString(m_editor->text()), m_editorTyped);
}

void CStatsUnitView::EditorCancelled() {
    m_table.CancelEdit();
    m_grid->update();
}

void CStatsUnitView::EditorKey(int key, bool shift) {
    using Move = CStatsTableController::Move;
    Move move = Move::Down;
    switch (key) {
    case Qt::Key_Tab:
        move = shift ? Move::Previous : Move::Next;
        break;
    case Qt::Key_Backtab:
        move = Move::Previous;
        break;
    case Qt::Key_Up:
        move = Move::Up;
        break;
    case Qt::Key_Left:
        move = Move::Left;
        break;
    case Qt::Key_Right:
        move = Move::Right;
        break;
    default:
        move = shift ? Move::Up : Move::Down;
        break;
    }
    m_table.MoveEditor(move, ToStdString(m_editor->text()), m_editorTyped);
}

// --- dialogs ---------------------------------------------------------------------------------

std::optional<CNewColumnChoice> CStatsUnitView::AskNewColumn(const std::string& name) {
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("New Column"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    auto* nameEdit = new QLineEdit(ToQString(name), &dialog);
    form->addRow(QStringLiteral("Column Name:"), nameEdit);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Choose the type of data you wish to enter.")));
    auto* categories = new QRadioButton(QStringLiteral("Categories"), &dialog);
    auto* numbers = new QRadioButton(QStringLiteral("Numbers"), &dialog);
    categories->setChecked(true);
    layout->addWidget(categories);
    layout->addWidget(numbers);
    auto* group = new QGroupBox(QStringLiteral("Number Format"), &dialog);
    auto* groupLayout = new QVBoxLayout(group);
    QRadioButton* formats[4];
    const char* names[] = {"Whole Numbers", "One Decimal Digit", "Two Decimal Digits",
                           "Fractions and Mixed Numbers"};
    for (int i = 0; i < 4; ++i) {
        formats[i] = new QRadioButton(QString::fromLatin1(names[i]), group);
        groupLayout->addWidget(formats[i]);
    }
    formats[0]->setChecked(true);
    group->setEnabled(false);
    connect(numbers, &QRadioButton::toggled, group, &QWidget::setEnabled);
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    nameEdit->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    CNewColumnChoice choice{ToStdString(nameEdit->text()), StatsColumnFormat::Categories};
    for (int i = 0; i < 4 && numbers->isChecked(); ++i)
        if (formats[i]->isChecked())
            choice.format = static_cast<StatsColumnFormat>(i + 1);
    return choice;
}

std::unique_ptr<CStatsUnitDocument> CStatsUnitView::ChooseMergeSource() {
    QString folder;
    if (m_doc.host())
        folder = ToQString(m_doc.host()->Directories().personal);
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Merge column"), folder,
                                     QStringLiteral("Quorvel (*.qvs);;All Files (*)"));
    if (path.isEmpty())
        return nullptr;
    auto source = std::make_unique<CStatsUnitDocument>();
    QFile file(path);
    // A statistics file of a class is small; anything past 64 MB is no such file.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024 * 1024) {
        QMessageBox::warning(this, QStringLiteral("Merge column"),
                             QStringLiteral("Failed to open document."));
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    if (source->LoadFromBytes(data) != OpenResult::Opened) {
        QMessageBox::warning(
            this, QStringLiteral("Merge column"),
            QStringLiteral(
                "The file you are trying to open is not a Quorvel Statistics document!"));
        return nullptr;
    }
    // The chosen file's table: clicking a header marks its column for the merge.
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Merge column"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Please select one or more columns to merge.")));
    CStatsTableController chooser(*source, nullptr);
    chooser.grid().SetColumnChoice(true);
    auto* grid = new CStatsGridWidget(chooser, &dialog);
    grid->setMinimumSize(560, 300);
    layout->addWidget(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return source;
}

// --- layout, drawing and printing ------------------------------------------------------------

void CStatsUnitView::LayoutControls() {
    CUnitView::LayoutControls();
    if (!m_grid)
        return;
    const QRect area = workspaceArea();
    int x = kButtonsLeft;
    const int top = kMargin;
    for (const CModeButton& m : kModeButtons) {
        control(m.id)->move(x, top);
        x += kModeButton.width() + kMargin;
    }
    // Previous and next column after the modes, then the mode's own tools.
    const int columnTop = top + (kModeButton.height() - kColumnButton.height()) / 2;
    control(kCmdPreviousColumn)->move(x, columnTop);
    control(kCmdNextColumn)->move(x + kColumnButton.width() + 2, columnTop);
    x += 2 * kColumnButton.width() + 2 + 2 * kMargin;
    const int tools = x;
    for (const CModeButton& m : kSortButtons) {
        control(m.id)->move(x, top);
        x += kModeButton.width() + kMargin;
    }
    x = tools;
    for (const CModeButton& m : kBoardButtons) {
        control(m.id)->move(x, top);
        x += kModeButton.width() + kMargin;
    }
    control(kScaleDisplay)->move(x, top);
    m_scaleEdit->setGeometry(x, top + 10, 48, 22);
    control(kCmdScaleUp)->move(x + 48, top + 10);
    control(kCmdScaleDown)->move(x + 48, top + 21);
    // Mean, Median and Mode stacked at the right; the graph label before them.
    const int boxesX = area.right() - 80;
    for (int i = 0; i < 3; ++i) {
        m_averages[i]->adjustSize();
        m_averages[i]->move(boxesX, 1 + i * 15);
    }
    m_labelEdit->setGeometry(tools, top + 10, std::max(80, boxesX - kMargin - tools), 22);
    // The tag palette under the tool palette.
    const int tagTop = palette()->geometry().bottom() + 1 + 2 * kMargin;
    for (int i = 0; i < static_cast<int>(m_tags.size()); ++i)
        m_tags[static_cast<std::size_t>(i)]->move(kMargin + 2 + (i % 4) * (kTagSize + 1),
                                                  tagTop + (i / 4) * (kTagSize + 1));
    const int below = top + kModeButton.height() + kMargin;
    m_grid->setGeometry(area.left(), below, std::max(0, area.width() - kMargin),
                        std::max(0, height() - below - kMargin - 50));
    FitBoardToPage();
    // The mini-table inside the board's top right corner, its buttons before it.
    const CRect& board = m_table.board().geometry().board;
    const int miniX = std::max(board.left + kMargin, board.right - 2 * kMargin - m_mini->width());
    const int miniY = board.top + 2 * kMargin;
    m_mini->move(miniX, miniY);
    control(kCmdMiniPrevious)->move(miniX - 2 * kColumnButton.width() - 4, miniY);
    control(kCmdMiniNext)->move(miniX - kColumnButton.width() - 2, miniY);
    control(kCmdMiniNew)->move(miniX - 50, miniY + kColumnButton.height() + 2);
}

void CStatsUnitView::FitBoardToPage() {
    // A pupil solving a problem sees the whole board above the prompt window.
    int bottom = height();
    if (m_doc.computerChecked())
        bottom = std::clamp(controller().GetPromptRect().top, 0, bottom);
    const CRect client{0, 0, width(), bottom};
    m_doc.SetPresentGeometry(screen() ? CSize{screen()->size().width(), screen()->size().height()}
                                      : CSize{800, 600},
                             client);
    m_table.board().SetClient(client);
}

void CStatsUnitView::showEvent(QShowEvent* e) {
    CUnitView::showEvent(e);
    LayoutControls();
}

void CStatsUnitView::DrawWorkspace(IDrawingSurface& dc, const CRect& area, bool printing) {
    const StatsViewMode mode = m_table.mode();
    if (mode == StatsViewMode::Board) {
        DrawBoard(dc, area, printing);
        return;
    }
    if (IsGraphMode(mode) && !printing && m_grid) {
        const CRect sheet = SheetOf(m_grid);
        dc.FillRect(sheet, PaletteRGB(255, 255, 255));
        m_table.graphs().Draw(dc, sheet, mode);
    }
    CUnitView::DrawWorkspace(dc, area, printing);
}

bool CStatsUnitView::PrintTo(QPrinter& printer) {
    if (IsGraphMode(m_table.mode())) {
        if (!m_table.graphs().Validate(m_table.mode()))
            return false;
        const CRect sheet = SheetOf(m_grid);
        return PrintGraph(printer, m_table.graphs(), m_table.mode(),
                          {sheet.Width(), sheet.Height()});
    }
    if (m_table.mode() != StatsViewMode::Table)
        return CUnitView::PrintTo(printer);
    QPainter p;
    if (!p.begin(&printer))
        return false;
    // The whole table, as wide as the page, its header on every page.
    CStatsDataSet& data = m_doc.dataSet();
    stats::CGridView sheet(data);
    CQtTextMetrics metrics;
    int width = 0;
    for (int c = 0; c < data.columnCount(); ++c)
        width += sheet.ColumnWidth(c);
    const QRect page = p.viewport();
    // A table pixel becomes a printer's point, or less when the table is wider than the page.
    const double scale =
        std::min(printer.resolution() / 72.0, double(page.width()) / std::max(1, width + 1));
    const int pageHeight = static_cast<int>(page.height() / scale);
    sheet.Layout(metrics, {width + 1, pageHeight});
    const int perPage = std::max(1, (pageHeight - sheet.headerHeight()) / sheet.rowHeight());
    const int saved = data.currentColumn();
    const int selected = data.selectedRow();
    data.SetCurrentColumn(-1); // no outline on paper
    data.SetSelectedRow(-1);
    // The data cases only; a table without any prints its header.
    const int end = std::max(2, data.dataCaseEnd());
    for (int first = 1; first < end; first += perPage) {
        if (first > 1)
            printer.newPage();
        const int rows = std::min(perPage, end - first);
        sheet.Layout(metrics, {width + 1, sheet.headerHeight() + rows * sheet.rowHeight()});
        sheet.ScrollTo(first, 2);
        p.save();
        p.scale(scale, scale);
        CQtDrawingSurface dc(p);
        sheet.Draw(dc);
        p.restore();
    }
    data.SetCurrentColumn(saved);
    data.SetSelectedRow(selected);
    return true;
}

void CStatsUnitView::ExportGraph() {
    const StatsViewMode mode = m_table.mode();
    if (!IsGraphMode(mode) || !m_table.graphs().Validate(mode))
        return;
    const QString title = QStringLiteral("Export Graph as PNG/SVG");
    const QString path =
        QFileDialog::getSaveFileName(this, title, QStringLiteral("graph.png"),
                                     QStringLiteral("PNG picture (*.png);;SVG picture (*.svg)"));
    if (path.isEmpty())
        return;
    const CRect sheet = SheetOf(m_grid);
    if (!SaveGraphPicture(m_table.graphs(), mode, {sheet.Width(), sheet.Height()}, path))
        QMessageBox::warning(this, title, QStringLiteral("The picture could not be written."));
}

} // namespace quorvel
