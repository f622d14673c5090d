// The Statistics document: the data set with its summary statistics, the authored flags, the
// view state it keeps for the workspace, and its file layout (docs/statistics-files.md).
#pragma once

#include "statistics/stats_csv.h"
#include "statistics/stats_data_set.h"
#include "statistics/summary_statistics.h"
#include "workspace/unit_document.h"

#include <array>
#include <string>
#include <vector>

namespace quorvel {

inline constexpr std::uint32_t kStatisticsSignature = 19992004;

// The string-table ids of the column commands' messages.
inline constexpr int kIdRemoveColumnQuestion = 1378;
inline constexpr int kIdColumnCannotBeRemoved = 1379;
inline constexpr int kIdMergeFailed = 1388;
inline constexpr int kIdNotPermitted = 1415;
// The question before New column and Merge column; %s is the selected column's name.
inline constexpr const char* kInsertColumnQuestion =
    "A new column will be inserted to the right of\nthe selected column \"%s\".\nDo you wish to "
    "continue?";

enum class StatsViewMode : std::int32_t {
    Table = 0,
    Board = 1,
    LineGraph = 2,
    BarGraph = 3,
    PieGraph = 4,
};

// A group of board tiles: 0 a plain cluster, 1 one with a text-label window.
struct CStatsCluster {
    std::int32_t kind = 0;
    std::int32_t format = 0; // the column it was made for: 0 categories, else numbers
    std::vector<std::int32_t> rows;
    std::int32_t labelFlag = 0;
    std::string labelText;
    CRect labelRect; // view client coordinates
    friend bool operator==(const CStatsCluster&, const CStatsCluster&) = default;
};

inline constexpr int kStatsGraphs = 3; // line, bar, pie

// What the workspace shows between sessions, kept by the document so that every file carries it.
struct CStatsViewState {
    std::int32_t dataStoreCount = 0;
    std::int32_t showLabels = 1;
    std::int32_t reserved = 0;
    std::int32_t viewMode = 0;
    std::int32_t problemSetTile = -1;
    std::uint32_t tagColour = 0x7FFFFF; // the first colour of the tag palette
    CNumber currentScale{10};
    std::int32_t lastSelectedCase = -1;
    std::int32_t numberTileWidth = 25;
    std::int32_t categoryTileWidth = 58;
    std::vector<CStatsCluster> clusters;
    CRect boardRect;
    // The horizontal-axis label of each column, per graph (line, bar, pie).
    std::array<std::vector<std::string>, kStatsGraphs> graphLabels;
    std::int32_t showMean = 0;
    std::int32_t showMedian = 0;
    std::int32_t showMode = 0;
};

// The view's client rectangle the document assumes until its page gives the present one.
inline constexpr CRect kStatsDefaultClient{0, 0, 800, 560};
// The board rectangle of a client rectangle.
CRect StatsBoardRect(const CRect& client);
// The tiles' area is the board deflated by this on every side; its bottom is the baseline.
inline constexpr int kStatsTileMargin = 40;
// The area where new cases' tiles are scattered, from the main window's client rectangle.
CRect StatsTileArea(const CRect& client);

// What the statistics page does for its document beyond redrawing; nothing by default.
class IStatsDocumentView {
public:
    virtual ~IStatsDocumentView() = default;
    // A flag, the decimal places or the summary window's visibility changed.
    virtual void StatsStateChanged() {}
};

// The "Did You Mean That?" problem files of levels A, B and C in the class folder.
inline constexpr std::array<int, 3> kStatsProblemsPerLevel{6, 6, 12};

class CStatsUnitDocument : public CUnitDocument {
public:
    CStatsUnitDocument();
    ~CStatsUnitDocument() override;

    void SetStatsView(IStatsDocumentView* view) { m_statsView = view; }

    // Its problem files: "stapsA", "stapsB" or "stapsC", two digits, ".qvs".
    void AppendProblemFileName(std::string& path, int level) override;
    void Serialize(CArchive& ar) override;
    void DeleteContents() override;

    CStatsDataSet& dataSet() { return m_data; }
    const CStatsDataSet& dataSet() const { return m_data; }
    CSummaryStatistics& summary() { return m_summary; }
    const CSummaryStatistics& summary() const { return m_summary; }
    CStatsViewState& viewState() { return m_viewState; }
    const CStatsViewState& viewState() const { return m_viewState; }

    // --- authored modes ---
    bool graphViewers() const { return m_graphViewers != 0; }
    bool computerChecked() const { return m_computerChecked != 0; }
    bool miniTable() const { return m_miniTable != 0; }
    void SetEditable(bool on);
    void SetGraphViewers(bool on);
    void SetMiniTable(bool on);
    // Also turns the document's problem set on or off.
    void SetComputerChecked(bool on);
    // "No Decimal Places", "One Decimal Place", "Two Decimal Places".
    void SetDecimalPlaces(int decimals);
    // "&Show Summary Statistics window" / "&Hide ...": refused (false) during a problem set.
    bool SetSummaryVisible(bool visible);
    bool SummaryCommandsEnabled() const { return !problemSetMode(); }

    // --- column commands ---
    // Where New column puts a column: after the current one (column 0 counts as 1), or at the
    // end with none; and the name the question shows.
    struct ColumnPlace {
        int index = 0;
        std::string name;
    };
    ColumnPlace NewColumnPlace() const;
    // Inserts the column, names it and makes it current; all views hear of it.
    void InsertNamedColumn(int index, const std::string& name, StatsColumnFormat format);
    // Only columns above 1 can go: column 0 holds the case numbers and column 1 their names.
    bool CanRemoveCurrentColumn() const { return m_data.currentColumn() > 1; }
    void RemoveCurrentColumn();
    // MergeColumns, then all views hear of it; false when nothing was merged.
    bool MergeColumnsFrom(CStatsDataSet& other);
    void SetAllCaseStates(CaseState state);
    // Sorts by the current column; the clusters follow their tiles.
    void SortByCurrentColumn(bool descending);
    // The data set's cells from CSV text; the message when the text holds no table.
    std::optional<std::string> ImportCsv(std::string_view text);
    std::string ExportCsv() const { return quorvel::ExportCsv(m_data); }

    // The present screen size and view client rectangle: a file saved with others is fitted
    // to them. Until a page gives them, the document adopts those stored in the file it reads.
    void SetPresentGeometry(CSize screen, const CRect& client);

    // The summary statistics window's client area and the annotators, as rendered.
    void DrawContents(IDrawingSurface& dc) const override;

    // Observers, the views and the summary window hear that everything may have changed.
    void UpdateAllViews();

    const std::string& notepadText() const { return m_notepadText; }

protected:
    void NewDocumentContents() override;
    void SerializeUndoState(CArchive& ar) override;

private:
    class CColumnTracker;

    void ResetToNew();
    void SerializeBody(CArchive& ar);
    void SerializeAnnotators(CArchive& ar);
    void SerializeViewState(CArchive& ar);
    void SerializeClusters(CArchive& ar);
    void AfterLoading(CSize savedScreen, const CRect& savedBoard);
    void FitToBoard(const CRect& from, const CRect& to);
    void StateChanged();

    CStatsDataSet m_data;
    CSummaryStatistics m_summary;
    std::unique_ptr<CColumnTracker> m_tracker;
    IStatsDocumentView* m_statsView = nullptr;
    std::int32_t m_graphViewers = 1;
    std::int32_t m_computerChecked = 0;
    std::int32_t m_miniTable = 1;
    CStatsViewState m_viewState;
    CSize m_screen{800, 600};
    CRect m_client = kStatsDefaultClient;
    bool m_presentGeometry = false;
    std::string m_notepadText;
};

// What qvtool info says of a statistics document: its cases and columns, flags and view.
std::vector<std::string> DescribeStatsDocument(const CStatsUnitDocument& doc);

} // namespace quorvel
