// The Statistics workspace page: the mode buttons, the data table and the mini-table that the
// core draws, the editor laid over a cell while the pupil types, the column, sort and scale
// controls, the tag palette and the menus that change with the mode, over a
// CStatsTableController that holds the rules.
#pragma once

#include "statistics/stats_problems.h"
#include "statistics/stats_table_controller.h"
#include "ui/workspace/unit_view.h"

#include <map>

class QCheckBox;
class QLineEdit;
class QMenu;
class QScrollBar;
class QToolButton;

namespace quorvel {

class CBitmapButton;
class CStatsPageMenus;
class CStatsCellEditor;
class CStatsGridWidget;
class CStatsMiniWidget;

inline constexpr int kDataTableId = 1367;
inline constexpr int kMiniTableId = 1368;

class CStatsUnitView : public CUnitView, public IStatsTableWindow, public CStatsDataObserver {
    Q_OBJECT
public:
    CStatsUnitView(CStatsUnitDocument& doc, QWidget* parent);
    ~CStatsUnitView() override;

    CStatsTableController& table() { return m_table; }
    CStatsUnitDocument& statsDocument() const { return m_doc; }
    QWidget* grid() const;
    QWidget* miniTable() const;
    QLineEdit* cellEditor() const;
    // A mode, sort, column or scale button by its id.
    QWidget* control(int id) const;
    // "&Statistics", and the mode's menu ("Ta&ble", "&Board" or "&Circle") beside it.
    QMenu* unitMenu() const;
    QMenu* modeMenu() const { return m_modeMenu; }
    void Command(int id);

    // IStatsTableWindow.
    void BeginCellEdit(bool mini, const CRect& cell, const std::string& text) override;
    void EndCellEdit() override;
    void TableChanged() override;
    std::optional<CNewColumnChoice> AskNewColumn(const std::string& name) override;
    std::unique_ptr<CStatsUnitDocument> ChooseMergeSource() override;

    // CStatsDataObserver: undo, open and the menus change the data behind the page's back.
    void DataChanged() override;

    // IUnitViewWindow.
    void ToolChanged(int code) override;
    // In Table mode the printed form is the whole table, page after page.
    bool PrintTo(QPrinter& printer) override;

protected:
    void DrawWorkspace(IDrawingSurface& dc, const CRect& area, bool printing) override;
    void LayoutControls() override;
    void showEvent(QShowEvent* e) override;
    // The board's mouse and keys (stats_unit_view_board.cpp).
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void BuildControls();
    void BuildModeMenu();
    void ApplyMode();
    void EditorKey(int key, bool shift);
    void EditorFinished();
    void EditorCancelled();
    // The tag palette's latched colour and the cursors over the tables.
    void ShowStatsTool();
    void DrawBoard(IDrawingSurface& dc, const CRect& area, bool printing);
    // "Export Graph as PNG/SVG...": the graph on show, at its size on the page.
    void ExportGraph();
    // The board's client: the page, above the prompt window in a computer-checked document.
    void FitBoardToPage();
    // The page's "Did You Mean That?" rule, or null.
    CStatsProblemRule* problemRule() const;

    CStatsUnitDocument& m_doc;
    std::unique_ptr<IPrompter> m_ownPrompter;
    CStatsTableController m_table;
    std::unique_ptr<ITimerHost> m_timers;
    CStatsPageMenus* m_menus = nullptr;
    // The mode the controls were last laid out for; a document opened in another one relays them.
    int m_shownMode = -1;
    QMenu* m_modeMenu = nullptr;
    CStatsGridWidget* m_grid = nullptr;
    CStatsMiniWidget* m_mini = nullptr;
    CStatsCellEditor* m_editor = nullptr;
    std::map<int, QWidget*> m_controls;
    QLineEdit* m_labelEdit = nullptr;
    QLineEdit* m_scaleEdit = nullptr;
    QCheckBox* m_averages[3] = {};
    std::vector<QToolButton*> m_tags;
    bool m_editorTyped = false;
    bool m_loadingEditor = false;
    bool m_choosingTag = false; // the Arrow latched for the tag tool
};

} // namespace quorvel
