// The Statistics document: flags, column commands, the file layout with its view-state block
// and the fitting of a file saved on another screen.
#include "statistics/stats_document.h"

#include "problemsets/problem_files.h"
#include "statistics/stats_csv.h"
#include "workspace/annotator.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"
#include "workspace/notepad_text.h"

#include <algorithm>

namespace quorvel {

namespace {

constexpr std::int32_t kAnnotatorTypes[] = {kTypeAnnotator, kTypeStaticAnnotator};
const CManipulativeForm kAnnotatorForm{kAnnotatorTypes, false, UnknownType::Fails};

const char* const kGraphLabelArrays[kStatsGraphs] = {"line graph labels", "bar graph labels",
                                                     "pie graph labels"};

bool IsAnnotator(const CManipulative& m) {
    return m.GetType() == kTypeAnnotator || m.GetType() == kTypeStaticAnnotator;
}

const char* FormatName(StatsColumnFormat f) {
    switch (f) {
    case StatsColumnFormat::Categories:
        return "categories";
    case StatsColumnFormat::WholeNumbers:
        return "whole numbers";
    case StatsColumnFormat::OneDecimal:
        return "one decimal";
    case StatsColumnFormat::TwoDecimals:
        return "two decimals";
    case StatsColumnFormat::Fractions:
        return "fractions";
    }
    return "?";
}

} // namespace

CRect StatsBoardRect(const CRect& client) {
    return {client.left + 160, client.top + 55, client.right - 95, client.bottom - 75};
}

CRect StatsTileArea(const CRect& client) {
    const int bottom = client.bottom - 145;
    return {client.left + 200, bottom + (client.top - bottom) / 3, client.right - 193, bottom};
}

// Keeps what the document holds per column and per row in step with the data set: the graphs'
// labels move with their columns, the clusters and the last selected case with their rows.
class CStatsUnitDocument::CColumnTracker : public CStatsDataObserver {
public:
    explicit CColumnTracker(CStatsViewState& state) : m_state(state) {}

    void ColumnInserted(int index) override {
        for (auto& labels : m_state.graphLabels)
            if (static_cast<std::size_t>(index) < labels.size())
                labels.insert(labels.begin() + index, std::string());
    }
    void ColumnRemoved(int index) override {
        for (auto& labels : m_state.graphLabels)
            if (static_cast<std::size_t>(index) < labels.size())
                labels.erase(labels.begin() + index);
    }
    void CaseInserted(int index, CStatsCase&) override {
        for (auto& cluster : m_state.clusters)
            for (auto& row : cluster.rows)
                row += row >= index ? 1 : 0;
        if (m_state.lastSelectedCase >= index)
            ++m_state.lastSelectedCase;
    }
    void CaseRemoved(int index, CStatsCase&) override {
        for (auto& cluster : m_state.clusters) {
            std::erase(cluster.rows, index);
            for (auto& row : cluster.rows)
                row -= row > index ? 1 : 0;
        }
        std::erase_if(m_state.clusters, [](const CStatsCluster& c) { return c.rows.empty(); });
        if (m_state.lastSelectedCase == index)
            m_state.lastSelectedCase = -1;
        else if (m_state.lastSelectedCase > index)
            --m_state.lastSelectedCase;
    }

private:
    CStatsViewState& m_state;
};

CStatsUnitDocument::CStatsUnitDocument()
    : CUnitDocument({kStatisticsSignature, "Statistics Unit",
                     "Quorvel (*.qvs)|*.qvs||All Files (*.*)|*.*||", "qvs",
                     "The file you are trying to open is not a Quorvel Statistics document!"}),
      m_tracker(std::make_unique<CColumnTracker>(m_viewState)) {
    m_data.Attach(&m_summary);
    m_data.Attach(m_tracker.get());
    m_viewState.boardRect = StatsBoardRect(m_client);
    ResetToNew();
}

CStatsUnitDocument::~CStatsUnitDocument() {
    m_data.Detach(m_tracker.get());
    m_data.Detach(&m_summary);
}

void CStatsUnitDocument::AppendProblemFileName(std::string& path, int level) {
    // A pool left from another level could hold numbers this level has no file for.
    if (level >= kLevelA && level <= kLevelC) {
        const int count = kStatsProblemsPerLevel[static_cast<std::size_t>(level)];
        if (level != problemRun().level() || count != problemCount())
            problemRun().ClearPool();
        SetProblemCount(count);
    }
    quorvel::AppendProblemFileName(*this, path, kStatisticsProblemFiles, level);
}

// --- new and cleared -------------------------------------------------------------------------

void CStatsUnitDocument::ResetToNew() {
    m_data.SetTileArea(StatsTileArea(m_client));
    m_data.Reset(kStatsBlankCases, 1);
    m_data.Cell(0, 1).SetText("Column 1");
    m_data.Cell(0, 1).format = static_cast<std::int32_t>(StatsColumnFormat::Categories);
    m_data.SetLocked(false);
    // The window keeps its place, visibility and decimals; the rest starts afresh.
    CStatsViewState fresh;
    fresh.boardRect = StatsBoardRect(m_client);
    m_viewState = std::move(fresh);
    m_data.NotifyDataChanged();
}

void CStatsUnitDocument::DeleteContents() {
    CUnitDocument::DeleteContents();
    ResetToNew();
}

void CStatsUnitDocument::NewDocumentContents() {
    ResetToNew();
    UpdateAllViews();
}

// --- flags -----------------------------------------------------------------------------------

void CStatsUnitDocument::StateChanged() {
    SetModifiedFlag();
    if (m_statsView)
        m_statsView->StatsStateChanged();
    UpdateAllViews();
}

void CStatsUnitDocument::SetEditable(bool on) {
    m_data.SetEditable(on);
    StateChanged();
}

void CStatsUnitDocument::SetGraphViewers(bool on) {
    m_graphViewers = on ? 1 : 0;
    StateChanged();
}

void CStatsUnitDocument::SetMiniTable(bool on) {
    m_miniTable = on ? 1 : 0;
    StateChanged();
}

void CStatsUnitDocument::SetComputerChecked(bool on) {
    m_computerChecked = on ? 1 : 0;
    SetProblemSetMode(on);
    StateChanged();
}

void CStatsUnitDocument::SetDecimalPlaces(int decimals) {
    m_summary.SetDecimals(decimals);
    StateChanged();
}

bool CStatsUnitDocument::SetSummaryVisible(bool visible) {
    if (!SummaryCommandsEnabled())
        return false;
    m_summary.window().visible = visible ? 1 : 0;
    if (m_statsView)
        m_statsView->StatsStateChanged();
    return true;
}

void CStatsUnitDocument::UpdateAllViews() {
    m_data.NotifyDataChanged();
    InvalidateAll();
}

// --- column commands -------------------------------------------------------------------------

CStatsUnitDocument::ColumnPlace CStatsUnitDocument::NewColumnPlace() const {
    const int current = m_data.currentColumn();
    if (current < 0 || current >= m_data.columnCount()) {
        const int n = m_data.columnCount();
        return {n, "Column " + std::to_string(n)};
    }
    const int after = std::max(current, 1);
    return {after + 1, m_data.GetColumnName(after)};
}

void CStatsUnitDocument::InsertNamedColumn(int index, const std::string& name,
                                           StatsColumnFormat format) {
    index = std::clamp(index, 1, m_data.columnCount());
    m_data.InsertColumn(index, format);
    m_data.Cell(0, index).SetText(name);
    m_data.SetCurrentColumn(index);
    SetModifiedFlag();
    UpdateAllViews();
}

void CStatsUnitDocument::RemoveCurrentColumn() {
    if (!CanRemoveCurrentColumn())
        return;
    m_data.RemoveColumn(m_data.currentColumn());
    SetModifiedFlag();
    UpdateAllViews();
}

bool CStatsUnitDocument::MergeColumnsFrom(CStatsDataSet& other) {
    if (!m_data.MergeColumns(&other))
        return false;
    SetModifiedFlag();
    UpdateAllViews();
    return true;
}

void CStatsUnitDocument::SetAllCaseStates(CaseState state) {
    m_data.SetAllCaseStates(state);
    SetModifiedFlag();
    InvalidateAll();
}

void CStatsUnitDocument::SortByCurrentColumn(bool descending) {
    const std::vector<int> from = m_data.SortByCurrentColumn(descending);
    std::vector<int> to(from.size());
    for (std::size_t i = 0; i < from.size(); ++i)
        to[static_cast<std::size_t>(from[i])] = static_cast<int>(i);
    const auto moved = [&to](std::int32_t row) {
        return row >= 0 && static_cast<std::size_t>(row) < to.size()
                   ? to[static_cast<std::size_t>(row)]
                   : row;
    };
    for (auto& cluster : m_viewState.clusters)
        for (auto& row : cluster.rows)
            row = moved(row);
    m_viewState.lastSelectedCase = moved(m_viewState.lastSelectedCase);
    SetModifiedFlag();
    InvalidateAll();
}

std::optional<std::string> CStatsUnitDocument::ImportCsv(std::string_view text) {
    if (auto error = quorvel::ImportCsv(m_data, text))
        return error;
    // The rows and columns are new: nothing of the old board or graphs refers to them.
    m_viewState.clusters.clear();
    m_viewState.lastSelectedCase = -1;
    for (auto& labels : m_viewState.graphLabels)
        labels.clear();
    SetModifiedFlag();
    UpdateAllViews();
    return std::nullopt;
}

// --- geometry --------------------------------------------------------------------------------

void CStatsUnitDocument::SetPresentGeometry(CSize screen, const CRect& client) {
    // A page laid out before it has its size has no board yet: fitting the tiles to it would
    // squeeze them all into one spot for good.
    if (StatsBoardRect(client).IsEmpty())
        return;
    m_screen = screen;
    m_client = client;
    m_presentGeometry = true;
    m_data.SetTileArea(StatsTileArea(client));
    m_summary.window().screenWidth = screen.cx;
    m_summary.window().screenHeight = screen.cy;
    const CRect board = StatsBoardRect(client);
    if (board != m_viewState.boardRect)
        FitToBoard(m_viewState.boardRect, board);
    m_viewState.boardRect = board;
}

void CStatsUnitDocument::FitToBoard(const CRect& fromBoard, const CRect& toBoard) {
    // The tile areas are fitted to each other, not the boards: the baseline is the tile area's
    // bottom and a number tile's height its share of the tile area's, so tiles standing on the
    // baseline stay on it and keep their heights on the scale. The boards' 40-pixel margins do
    // not grow or shrink with them.
    CRect from = fromBoard, to = toBoard;
    from.Inflate(-kStatsTileMargin, -kStatsTileMargin);
    to.Inflate(-kStatsTileMargin, -kStatsTileMargin);
    if (from.IsEmpty() || to.IsEmpty()) {
        from = fromBoard;
        to = toBoard;
    }
    const double fw = static_cast<double>(from.right) - from.left;
    const double fh = static_cast<double>(from.bottom) - from.top;
    if (fw <= 0 || fh <= 0)
        return;
    const double tw = static_cast<double>(to.right) - to.left;
    const double th = static_cast<double>(to.bottom) - to.top;
    const auto x = [&](double v) { return (v - from.left) * tw / fw + to.left; };
    const auto y = [&](double v) { return (v - from.top) * th / fh + to.top; };
    for (int r = 0; r < m_data.rowCount(); ++r) {
        CStatsCase& c = m_data.Case(r);
        for (CStatsPosition* p : {&c.numberTilePosition, &c.categoryTilePosition})
            *p = {x(p->x), y(p->y)};
    }
    const auto round = [](double v) {
        return static_cast<std::int32_t>(
            std::clamp(v < 0 ? v - 0.5 : v + 0.5, -2147483648.0, 2147483647.0));
    };
    for (auto& cluster : m_viewState.clusters) {
        CRect& r = cluster.labelRect;
        r = {round(x(r.left)), round(y(r.top)), round(x(r.right)), round(y(r.bottom))};
    }
    for (auto& m : m_manipulatives) {
        const C3DPointDouble c = m->centre();
        const bool fixed = m->fixed();
        m->SetFixed(false);
        m->MoveBy(x(c.x) - c.x, y(c.y) - c.y);
        m->SetFixed(fixed);
    }
}

// --- file ------------------------------------------------------------------------------------

void CStatsUnitDocument::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteUInt32(m_identity.signature, "signature");
        m_summary.window().screenWidth = m_screen.cx;
        m_summary.window().screenHeight = m_screen.cy;
        SerializeBody(ar);
        return;
    }
    // The window's place stays what it was when a file fails to open.
    const CSummaryWindowState window = m_summary.window();
    const std::int32_t flags[] = {m_graphViewers, m_computerChecked, m_miniTable};
    try {
        SerializeBody(ar);
    } catch (...) {
        m_summary.window() = window;
        m_graphViewers = flags[0];
        m_computerChecked = flags[1];
        m_miniTable = flags[2];
        throw;
    }
}

void CStatsUnitDocument::SerializeBody(CArchive& ar) {
    {
        CArchive::Scope s(ar, "data set");
        m_data.Serialize(ar);
    }
    ar.Exchange(m_graphViewers, "graph viewers");
    ar.Exchange(m_computerChecked, "computer checked");
    ar.Exchange(m_miniTable, "mini-table");
    SerializeProblemBlock(ar);
    SerializeAnnotators(ar);
    const CSize savedScreen{m_summary.window().screenWidth, m_summary.window().screenHeight};
    const CRect savedBoard = m_viewState.boardRect;
    {
        CArchive::Scope s(ar, "view state");
        SerializeViewState(ar);
    }
    std::string notepad = m_notepadText;
    if (ar.IsStoring() && m_host && m_host->Notepad())
        notepad = m_host->Notepad()->text();
    ar.Exchange(notepad, "notepad text");
    if (ar.IsStoring())
        return;
    m_notepadText = notepad;
    if (m_host && m_host->Notepad())
        m_host->Notepad()->SetText(m_notepadText);
    const CSize readScreen{m_summary.window().screenWidth, m_summary.window().screenHeight};
    const CRect readBoard = m_viewState.boardRect;
    m_summary.window().screenWidth = savedScreen.cx;
    m_summary.window().screenHeight = savedScreen.cy;
    m_viewState.boardRect = savedBoard;
    AfterLoading(readScreen, readBoard);
}

void CStatsUnitDocument::SerializeAnnotators(CArchive& ar) {
    if (ar.IsStoring()) {
        std::size_t count = 0;
        for (const auto& m : m_manipulatives)
            count += IsAnnotator(*m) ? 1 : 0;
        ar.ExchangeCount(count, "annotator count", "annotators", 0);
        CArchive::ArrayScope items(ar, "annotators");
        std::size_t i = 0;
        for (const auto& m : m_manipulatives) {
            if (!IsAnnotator(*m))
                continue;
            CArchive::Item item(ar, i++);
            WriteManipulative(ar, *m, kAnnotatorForm);
        }
        return;
    }
    const std::size_t count =
        ar.ExchangeCount(0, "annotator count", "annotators", 4 + kMinManipulativeBytes);
    CArchive::ArrayScope items(ar, "annotators");
    for (std::size_t i = 0; i < count; ++i) {
        CArchive::Item item(ar, i);
        m_manipulatives.push_back(ReadManipulative(ar, kAnnotatorForm));
    }
}

void CStatsUnitDocument::SerializeClusters(CArchive& ar) {
    CStatsViewState& v = m_viewState;
    const std::size_t rows = static_cast<std::size_t>(m_data.rowCount());
    // A cluster takes at least its kind, format and tile count; a tile is a row, and no more
    // clusters than rows can hold two tiles each.
    const std::size_t clusters =
        ar.ExchangeCount(v.clusters.size(), "cluster count", "clusters", 12);
    if (ar.IsLoading()) {
        if (clusters > rows)
            ar.Fail("more clusters than rows", "cluster count");
        v.clusters.assign(clusters, CStatsCluster{});
    }
    {
        CArchive::ArrayScope items(ar, "clusters");
        for (std::size_t i = 0; i < clusters; ++i) {
            CArchive::Item item(ar, i);
            CStatsCluster& c = v.clusters[i];
            ar.Exchange(c.kind, "kind");
            if (ar.IsLoading() && c.kind != 0 && c.kind != 1)
                ar.Fail("cluster kind " + std::to_string(c.kind) + " is unknown", "kind");
            ar.Exchange(c.format, "format");
            const std::size_t tiles = ar.ExchangeCount(c.rows.size(), "tile count", "tiles", 4);
            if (ar.IsLoading()) {
                if (tiles > rows)
                    ar.Fail("a cluster with more tiles than rows", "tile count");
                c.rows.assign(tiles, 0);
            }
            ar.ExchangeArray(std::span<std::int32_t>(c.rows), "tiles");
            if (ar.IsLoading())
                for (std::int32_t row : c.rows)
                    if (row < 0 || static_cast<std::size_t>(row) >= rows)
                        ar.Fail("a cluster's tile names no row", "tiles");
            if (c.kind == 1) {
                ar.Exchange(c.labelFlag, "label flag");
                ar.Exchange(c.labelText, "label text");
                ar.Exchange(c.labelRect, "label rectangle");
            }
        }
    }
}

void CStatsUnitDocument::SerializeViewState(CArchive& ar) {
    CStatsViewState& v = m_viewState;
    ar.Exchange(v.dataStoreCount, "data store count");
    ar.Exchange(v.showLabels, "show labels");
    ar.Exchange(v.reserved, "reserved");
    ar.Exchange(v.viewMode, "view mode");
    ar.Exchange(v.problemSetTile, "problem set tile");
    ar.Exchange(v.tagColour, "tag colour");
    {
        CArchive::Scope s(ar, "current scale");
        v.currentScale.Serialize(ar);
    }
    {
        CArchive::Scope s(ar, "summary window");
        CSummaryWindowState& w = m_summary.window();
        ar.Exchange(w.visible, "visible");
        ar.Exchange(w.decimals, "decimal places");
        ar.Exchange(w.rect, "rectangle");
        ar.Exchange(w.screenWidth, "screen width");
        ar.Exchange(w.screenHeight, "screen height");
    }
    {
        CArchive::Scope s(ar, "board layout");
        ar.Exchange(v.lastSelectedCase, "last selected case");
        ar.Exchange(v.numberTileWidth, "number tile width");
        ar.Exchange(v.categoryTileWidth, "category tile width");
    }
    SerializeClusters(ar);
    ar.Exchange(v.boardRect, "board rectangle");
    const std::size_t columns = static_cast<std::size_t>(m_data.columnCount());
    for (int g = 0; g < kStatsGraphs; ++g) {
        auto& labels = v.graphLabels[static_cast<std::size_t>(g)];
        const std::size_t n =
            ar.ExchangeCount(labels.size(), "label count", kGraphLabelArrays[g], 1);
        if (ar.IsLoading()) {
            if (n > columns)
                ar.Fail("more graph labels than columns", "label count");
            labels.assign(n, std::string());
        }
        ar.ExchangeArray(std::span<std::string>(labels), kGraphLabelArrays[g]);
    }
    ar.Exchange(v.showMean, "mean shown");
    ar.Exchange(v.showMedian, "median shown");
    ar.Exchange(v.showMode, "mode shown");
}

void CStatsUnitDocument::AfterLoading(CSize savedScreen, const CRect& savedBoard) {
    CSummaryWindowState& w = m_summary.window();
    w.decimals = std::clamp(w.decimals, 0, 2);
    if (m_viewState.viewMode < 0 || m_viewState.viewMode > 4)
        m_viewState.viewMode = 0;
    const int columns = m_data.columnCount();
    if (m_data.currentColumn() < -1 || m_data.currentColumn() >= columns)
        m_data.SetCurrentColumn(columns > 1 ? 1 : -1);
    if (m_data.selectedRow() < -1 || m_data.selectedRow() >= m_data.rowCount())
        m_data.SetSelectedRow(-1);
    if (!m_presentGeometry) {
        // Without a page the file's screen and board are the document's own.
        m_screen = savedScreen;
        w.screenWidth = savedScreen.cx;
        w.screenHeight = savedScreen.cy;
        m_viewState.boardRect = savedBoard;
    } else {
        if (savedScreen != m_screen && savedScreen.cx > 0 && savedScreen.cy > 0) {
            const auto scale = [](int v, int to, int from) {
                return static_cast<std::int32_t>(static_cast<std::int64_t>(v) * to / from);
            };
            CRect& r = w.rect;
            r = {scale(r.left, m_screen.cx, savedScreen.cx),
                 scale(r.top, m_screen.cy, savedScreen.cy),
                 scale(r.right, m_screen.cx, savedScreen.cx),
                 scale(r.bottom, m_screen.cy, savedScreen.cy)};
        }
        const CRect board = StatsBoardRect(m_client);
        if (savedBoard != board)
            FitToBoard(savedBoard, board);
        m_viewState.boardRect = board;
    }
    m_data.SetLocked(m_computerChecked != 0);
    if (m_computerChecked) {
        SetProblemSetMode(true);
        LoadQuestions(questions(), questionCount(), problemPosition().triesLeft);
    } else if (problemSetMode()) {
        SetProblemSetMode(false);
    }
    if (m_statsView)
        m_statsView->StatsStateChanged();
    UpdateAllViews();
}

void CStatsUnitDocument::SerializeUndoState(CArchive& ar) {
    // The data, the annotators and the board are undone; the flags and the rest of the view
    // state are no steps.
    {
        CArchive::Scope s(ar, "data set");
        m_data.Serialize(ar);
    }
    SerializeAnnotators(ar);
    // The board's own state: what its commands change.
    {
        CArchive::Scope s(ar, "board");
        CStatsViewState& v = m_viewState;
        ar.Exchange(v.dataStoreCount, "data store count");
        ar.Exchange(v.showLabels, "show labels");
        {
            CArchive::Scope scale(ar, "current scale");
            v.currentScale.Serialize(ar);
        }
        ar.Exchange(v.lastSelectedCase, "last selected case");
        ar.Exchange(v.numberTileWidth, "number tile width");
        ar.Exchange(v.categoryTileWidth, "category tile width");
        SerializeClusters(ar);
    }
    if (ar.IsLoading())
        UpdateAllViews();
}

// --- drawing ---------------------------------------------------------------------------------

void CStatsUnitDocument::DrawContents(IDrawingSurface& dc) const {
    CUnitDocument::DrawContents(dc);
}

// --- qvtool ----------------------------------------------------------------------------------

std::vector<std::string> DescribeStatsDocument(const CStatsUnitDocument& doc) {
    const CStatsDataSet& d = doc.dataSet();
    std::vector<std::string> out;
    out.push_back("data: " + std::to_string(std::max(d.dataCaseEnd() - 1, 0)) + " cases (" +
                  std::to_string(d.rowCount()) + " rows), " + std::to_string(d.columnCount()) +
                  " columns, current column " + std::to_string(d.currentColumn()) +
                  ", selected row " + std::to_string(d.selectedRow()) +
                  ", editable=" + std::to_string(d.storedEditable()));
    constexpr int kListed = 20;
    for (int c = 1; c < d.columnCount() && c <= kListed; ++c)
        out.push_back("column " + std::to_string(c) + ": \"" + d.GetColumnName(c) + "\" " +
                      FormatName(d.GetColumnFormat(c)));
    if (d.columnCount() - 1 > kListed)
        out.push_back("... and " + std::to_string(d.columnCount() - 1 - kListed) + " more columns");
    out.push_back("flags: graph viewers=" + std::to_string(doc.graphViewers()) +
                  " computer checked=" + std::to_string(doc.computerChecked()) +
                  " mini-table=" + std::to_string(doc.miniTable()));
    const CStatsViewState& v = doc.viewState();
    out.push_back("view: mode " + std::to_string(v.viewMode) + ", decimal places " +
                  std::to_string(doc.summary().decimals()) + ", summary window " +
                  (doc.summary().window().visible ? "shown" : "hidden") + ", clusters " +
                  std::to_string(v.clusters.size()) + ", problem set tile " +
                  std::to_string(v.problemSetTile));
    return out;
}

} // namespace quorvel
