// What the Numbers page does with machine tables: the New table button, the Table menu, the
// Arrow on a table's cells and scroll bars, typing in a cell, wiring a machine's plugs to a
// table, and the rows a run records. The Numbers controller hands its table events here.
#pragma once

#include "patterns/machine_table.h"
#include "patterns/patterns_documents.h"
#include "workspace/prompter.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class CNumberMachine;

// The Table menu.
inline constexpr int kCmdSortLargest = 32792;    // "Sort &Largest to Smallest "
inline constexpr int kCmdSortSmallest = 32793;   // "Sort &Smallest to Largest "
inline constexpr int kCmdCreateCards = 32794;    // "&Create Cards"
inline constexpr int kCmdClearTable = 32795;     // "Clear &Table"
inline constexpr int kCmdPrintTable = 32796;     // "&Print Table"
inline constexpr int kCmdCopyCells = 32797;      // "C&opy Cells"
inline constexpr int kCmdExportTablePdf = 32798; // "Export Table as P&DF..."
inline constexpr int kCmdExportTableCsv = 32799; // "Export Table as CSV..." (teachers)

struct CTableMenuItem {
    int id;
    const char* text;
    bool separatorBefore = false;
};
// The Table menu in its order.
const std::vector<CTableMenuItem>& TableMenuItems();
inline constexpr const char* kFailedToExportCsv = "Failed to export the table.";

// What tables ask of the page: the clipboard and the printer.
class ITableWindow {
public:
    virtual ~ITableWindow() = default;
    // Puts plain text on the clipboard; false when the clipboard did not take it.
    virtual bool PutOnClipboard(const std::string& text) = 0;
    // Prints the tables, or exports them as one PDF, each from a new page.
    virtual void PrintTables(const std::vector<const CTableManipulative*>& tables) = 0;
    virtual void ExportTablesPdf(const std::vector<const CTableManipulative*>& tables) = 0;
};

// The box over a cell while the pupil types in it.
struct CCellEdit {
    CRect rect; // workspace coordinates
    std::string text;
};

class CTableTool {
public:
    CTableTool(CNumberPatternsDocument& doc, ITextMetrics& metrics);

    void SetWindow(ITableWindow* window) { m_window = window; }

    // New table (1337): an empty table at the top right of what the pane shows.
    CTableManipulative* NewTable();
    // The Table menu; false for other ids.
    bool OnCommand(int id, IPrompter* prompter);
    // Whether a Table menu item can be chosen now; nothing for other ids.
    std::optional<bool> CommandEnabled(int id) const;
    // The selected tables, in the order they were selected.
    std::vector<CTableManipulative*> SelectedTables() const;
    // Gives every table the page's font sizes, drawn or not (a document just read, or a
    // state Undo brought back): a table's size never depends on whether it was shown.
    void MeasureTables() const;

    // The Arrow pressed on a table away from its title band: cells, headers and scroll bars.
    // False when the press is the page's (the band drags the table).
    bool MouseDown(CTableManipulative& table, CPoint p, bool shift);
    // A selection being dragged over cells; false when none is.
    bool MouseMove(CPoint p);
    bool MouseUp();
    // The wheel over a table scrolls its rows (or columns, with `sideways`).
    bool Wheel(CPoint p, int steps, bool sideways);

    // Double-click on a data cell: the box to type in, after the cell has been chosen.
    std::optional<CCellEdit> BeginCellEdit(CTableManipulative& table, CPoint p);
    void CellTextChanged(const std::string& text);
    void EndCellEdit() { m_edit.reset(); }

    // A machine's plug of `kind` wired to the table: kAccepted, 0 or a message id.
    int Attach(CTableManipulative& table, CFunctionMachine& machine, int kind);
    // The table under a workspace point, if any.
    CTableManipulative* TableAt(CPoint p) const;

    // A run of the supermachine starts: its tables get a new row.
    static void PrepareRun(CFunctionMachine& anyMember);
    // A machine computed: its inputs go into its input columns.
    static void RecordInputs(CNumberMachine& machine);
    // A machine delivered its result.
    static void RecordOutput(CFunctionMachine& machine);
    // The supermachines' tables that hold rows.
    static std::vector<CTableManipulative*>
    TablesWithRows(std::initializer_list<CFunctionMachine*> machines);
    // After machines or links went: each table keeps the machines of one supermachine.
    void AfterErase();

    // The wires from plugs to tables, under everything else.
    void DrawWires(IDrawingSurface& dc) const;

private:
    bool Alive(const CManipulative* m) const;
    void Changed();
    void CreateCards(CTableManipulative& table);
    void ExportCsv(CTableManipulative& table, IPrompter* prompter);

    struct Selecting {
        CTableManipulative* table;
        int row;
        int column;
    };
    struct Editing {
        CTableManipulative* table;
        int row;
        int column;
    };

    CNumberPatternsDocument& m_doc;
    ITextMetrics& m_metrics;
    ITableWindow* m_window = nullptr;
    std::optional<Selecting> m_selecting;
    std::optional<Editing> m_edit;
};

} // namespace quorvel
