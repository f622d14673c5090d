// The data board's rules and drawing: tiles, their places, the board's commands, the mouse
// and the keys. Each action is one undo step, marked before it changes anything.
#include "statistics/stats_board.h"

#include "numbers/number_exceptions.h"
#include "numbers/number_text.h"
#include "statistics/stats_scale.h"
#include "statistics/stats_table_controller.h"
#include "workspace/prompter.h"
#include "workspace/string_table.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace quorvel {

namespace {

constexpr Color kBlack = PaletteRGB(0, 0, 0);
constexpr Color kWhite = PaletteRGB(255, 255, 255);
constexpr Color kSelectedRowColour = PaletteRGB(255, 247, 0);
constexpr Color kIgnoredColour = PaletteRGB(199, 199, 199);
constexpr Color kStoreColour = PaletteRGB(236, 236, 236);

// A board coordinate in pixels, rounded half away from zero; positions read from a file may
// be anything, so they are held within reach first.
int Px(double v) {
    v = std::clamp(v, -1e7, 1e7);
    return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5);
}

bool Inside(const CRect& outer, const CRect& r) {
    return r.left >= outer.left && r.right <= outer.right && r.top >= outer.top &&
           r.bottom <= outer.bottom;
}

} // namespace

CStatsBoardGeometry StatsBoardGeometry(const CRect& client) {
    CStatsBoardGeometry g;
    g.client = client;
    g.board = StatsBoardRect(client);
    g.tiles = g.board;
    g.tiles.Inflate(-kStatsTileMargin, -kStatsTileMargin);
    g.strip = {g.tiles.right, g.tiles.top, g.board.right, g.tiles.bottom};
    g.store = {g.board.right + 5, g.board.bottom - 120,
               std::max(g.board.right + 45, client.right - 5), g.board.bottom};
    return g;
}

CFontSpec StatsTileLabelFont() {
    return {"Arial", 80};
}

CStatsBoardController::CStatsBoardController(CStatsUnitDocument& doc, IPrompter* prompter)
    : m_doc(doc), m_data(doc.dataSet()), m_prompter(prompter) {
    m_data.Attach(this);
}

CStatsBoardController::~CStatsBoardController() {
    m_data.Detach(this);
}

void CStatsBoardController::DataChanged() {
    if (m_data.selectedRow() > 0)
        m_doc.viewState().lastSelectedCase = m_data.selectedRow();
}

void CStatsBoardController::Message(int id) const {
    if (m_prompter)
        m_prompter->MessageBox(std::string(LoadString(id).value_or("")), MessageIcon::Exclamation);
}

void CStatsBoardController::Changed() {
    m_doc.SetModifiedFlag(true);
    if (m_changed)
        m_changed();
}

// --- the scale -------------------------------------------------------------------------------

void CStatsBoardController::SetUpScale() {
    if (!HasColumn())
        return;
    const int column = m_data.currentColumn();
    CNumber s = m_data.Scale(column);
    if (s.ToDouble() == 0.0) {
        m_doc.summary().Recompute();
        if (NumberColumn())
            s = ChooseScale(m_data.GetColumnFormat(column), m_doc.summary().maximum()).scale;
        else
            s = CNumber(std::max(m_doc.summary().topFrequency(), 10));
        m_data.SetScale(column, s);
    }
    m_doc.viewState().currentScale = s;
}

bool CStatsBoardController::TypeScale(std::string_view text) {
    if (!HasColumn())
        return false;
    CNumber typed;
    try {
        typed = CNumber(text);
    } catch (const CNumberException& e) {
        if (m_prompter)
            m_prompter->MessageBox(e.message(), MessageIcon::Exclamation);
        return false;
    }
    const int column = m_data.currentColumn();
    m_doc.MarkUndoStep();
    const CNumber raised = ChooseScale(m_data.GetColumnFormat(column), typed.ToDouble()).scale;
    m_data.SetScale(column, raised);
    m_doc.viewState().currentScale = raised;
    RelayClusters();
    Changed();
    return true;
}

bool CStatsBoardController::SpinScale(bool up) {
    if (!HasColumn())
        return false;
    const int column = m_data.currentColumn();
    const StatsColumnFormat format = m_data.GetColumnFormat(column);
    // The place in the table is the one the present scale is raised to.
    const CScaleStep at = ChooseScale(format, scale().ToDouble()).step;
    std::optional<CScaleStep> step;
    if (up) {
        if (scale().ToDouble() >= 999999)
            return false;
        step = NextScale(at);
        if (!NumberColumn() && ScaleAt(*step).scale.ToDouble() > m_geometry.tiles.Height() / 4.0)
            return false;
    } else {
        step = PreviousScale(at);
        if (!step)
            return false;
    }
    m_doc.MarkUndoStep();
    const CNumber s = ScaleAt(*step).scale;
    m_data.SetScale(column, s);
    m_doc.viewState().currentScale = s;
    RelayClusters();
    Changed();
    return true;
}

// --- tiles -----------------------------------------------------------------------------------

double CStatsBoardController::PixelsPerUnit() const {
    const double s = scale().ToDouble();
    return s > 1e-11 ? m_geometry.tiles.Height() / s : 0.0;
}

bool CStatsBoardController::HasColumn() const {
    const int c = m_data.currentColumn();
    return c >= 1 && c < m_data.columnCount();
}

bool CStatsBoardController::NumberColumn() const {
    return HasColumn() && m_data.IsNumberColumn(m_data.currentColumn());
}

int CStatsBoardController::TileWidth() const {
    return NumberColumn() ? m_doc.viewState().numberTileWidth : m_doc.viewState().categoryTileWidth;
}

bool CStatsBoardController::IsTile(int row) const {
    return row >= 1 && row < m_data.dataCaseEnd() && !m_data.Case(row).inDataStore;
}

CStatsPosition& CStatsBoardController::Position(int row) {
    CStatsCase& c = m_data.Case(row);
    return NumberColumn() ? c.numberTilePosition : c.categoryTilePosition;
}

const CStatsPosition& CStatsBoardController::Position(int row) const {
    const CStatsCase& c = m_data.Case(row);
    return NumberColumn() ? c.numberTilePosition : c.categoryTilePosition;
}

double CStatsBoardController::TileHeight(int row) const {
    const int column = m_data.currentColumn();
    if (!NumberColumn())
        return PixelsPerUnit();
    if (m_data.IsCellEmpty(row, column))
        return TileWidth();
    return m_data.GetCellNumber(row, column).ToDouble() * PixelsPerUnit();
}

double CStatsBoardController::TileWidthOf(int row) const {
    // An empty category cell is as wide as a unit is high.
    return !NumberColumn() && m_data.IsCellEmpty(row, m_data.currentColumn()) ? PixelsPerUnit()
                                                                              : TileWidth();
}

CRect CStatsBoardController::TileRect(int row) const {
    if (!HasColumn() || row < 1 || row >= m_data.rowCount())
        return {};
    return RectOf(row, NumberColumn(), PixelsPerUnit());
}

CRect CStatsBoardController::RectOf(int row, bool numbers, double perUnit) const {
    const CStatsCase& c = m_data.Case(row);
    const CStatsCell& cell = c.cells.at(static_cast<std::size_t>(m_data.currentColumn()));
    const CStatsPosition& at = numbers ? c.numberTilePosition : c.categoryTilePosition;
    const CStatsViewState& v = m_doc.viewState();
    double width = numbers ? v.numberTileWidth : v.categoryTileWidth;
    double height = perUnit;
    if (numbers)
        height = cell.empty ? width : cell.number.ToDouble() * perUnit;
    else if (cell.empty)
        width = perUnit; // an empty category cell is as wide as a unit is high
    int top = Px(at.y - height), bottom = Px(at.y);
    if (top > bottom)
        std::swap(top, bottom);
    return {Px(at.x), std::clamp(top, -5000, 10000), Px(at.x + width),
            std::clamp(bottom, -5000, 10000)};
}

std::vector<CRect> CStatsBoardController::TileRects() const {
    std::vector<CRect> rects(static_cast<std::size_t>(std::max(m_data.dataCaseEnd(), 0)));
    if (!HasColumn())
        return rects;
    const bool numbers = NumberColumn();
    const double perUnit = PixelsPerUnit();
    for (int row = 1; row < m_data.dataCaseEnd(); ++row)
        if (IsTile(row))
            rects[static_cast<std::size_t>(row)] = RectOf(row, numbers, perUnit);
    return rects;
}

std::vector<bool> CStatsBoardController::Handles(const std::vector<CRect>& rects) const {
    // The edges of the tiles wholly outside the client, by left edge and height.
    const CRect& client = m_geometry.client;
    std::multimap<std::pair<int, int>, int> edges;
    for (int row = 1; row < static_cast<int>(rects.size()); ++row) {
        const CRect& r = rects[static_cast<std::size_t>(row)];
        if (IsTile(row) && (r.bottom <= client.top || r.top >= client.bottom)) {
            edges.emplace(std::pair{r.left, r.top}, row);
            edges.emplace(std::pair{r.left, r.bottom}, row);
        }
    }
    std::vector<bool> handles(rects.size());
    if (edges.empty())
        return handles;
    const auto meets = [&](int row, int left, int y) {
        const auto [from, to] = edges.equal_range({left, y});
        return std::any_of(from, to, [row](const auto& e) { return e.second != row; });
    };
    for (int row = 1; row < static_cast<int>(rects.size()); ++row) {
        const CRect& r = rects[static_cast<std::size_t>(row)];
        handles[static_cast<std::size_t>(row)] =
            IsTile(row) && (meets(row, r.left, r.top) || meets(row, r.left, r.bottom));
    }
    return handles;
}

int CStatsBoardController::TileAt(CPoint p) const {
    if (!HasColumn())
        return -1;
    const bool numbers = NumberColumn();
    const double perUnit = PixelsPerUnit();
    // Selected tiles lie on top.
    for (int pass = 1; pass >= 0; --pass)
        for (int row = m_data.dataCaseEnd() - 1; row >= 1; --row)
            if (IsTile(row) && (m_data.Case(row).selected != 0) == (pass == 1) &&
                RectOf(row, numbers, perUnit).Contains(p))
                return row;
    return -1;
}

bool CStatsBoardController::IsHandle(int row) const {
    if (!IsTile(row) || !HasColumn())
        return false;
    return Handles(TileRects())[static_cast<std::size_t>(row)];
}

int CStatsBoardController::StoredTiles() const {
    int n = 0;
    for (int row = 1; row < m_data.dataCaseEnd(); ++row)
        n += m_data.Case(row).inDataStore != 0;
    return n;
}

// --- selection and moving --------------------------------------------------------------------

void CStatsBoardController::ClearSelection() {
    for (int row = 0; row < m_data.rowCount(); ++row)
        m_data.Case(row).selected = 0;
}

void CStatsBoardController::SelectWithCluster(int row) {
    m_data.Case(row).selected = 1;
    // A cluster is a selection group: its tiles go together.
    const bool numbers = NumberColumn();
    for (const CStatsCluster& c : m_doc.viewState().clusters)
        if ((c.format != 0) == numbers && std::ranges::find(c.rows, row) != c.rows.end())
            for (std::int32_t r : c.rows)
                if (IsTile(r))
                    m_data.Case(r).selected = 1;
}

void CStatsBoardController::MoveSelected(double dx, double dy) {
    for (int row = 1; row < m_data.dataCaseEnd(); ++row)
        if (IsTile(row) && m_data.Case(row).selected) {
            CStatsPosition& p = Position(row);
            p.x += dx;
            p.y += dy;
        }
}

void CStatsBoardController::PutInStore(int row) {
    CStatsCase& c = m_data.Case(row);
    c.inDataStore = 1;
    c.selected = 0;
    ++m_doc.viewState().dataStoreCount;
    if (m_data.selectedRow() == row)
        m_data.SetSelectedRow(-1);
}

void CStatsBoardController::Scatter(int row, int width, double height) {
    const CRect& s = m_geometry.strip;
    const int h = static_cast<int>(std::min<double>(height, s.Height()));
    CStatsPosition& p = Position(row);
    p.x = RandomInRange(s.left, std::max(s.left, s.right - width));
    p.y = RandomInRange(s.top + h, s.bottom);
}

// --- commands --------------------------------------------------------------------------------

bool CStatsBoardController::IsChecked(int id) const {
    const CStatsViewState& v = m_doc.viewState();
    const bool numbers = NumberColumn();
    switch (id) {
    case kCmdNarrowTiles:
        return numbers ? v.numberTileWidth == kNarrowNumberTile
                       : v.categoryTileWidth == kNarrowCategoryTile;
    case kCmdWideTiles:
        return numbers ? v.numberTileWidth == kWideNumberTile
                       : v.categoryTileWidth == kWideCategoryTile;
    default:
        return false;
    }
}

bool CStatsBoardController::OnCommand(int id) {
    switch (id) {
    case kCmdCluster:
        Cluster();
        return true;
    case kCmdAutoArrange:
        AutoArrange();
        return true;
    case kCmdDataStore:
        StoreAll();
        return true;
    case kCmdScaleUp:
    case kCmdScaleDown:
        SpinScale(id == kCmdScaleUp);
        return true;
    case kCmdNarrowTiles:
    case kCmdWideTiles:
        SetNarrow(id == kCmdNarrowTiles);
        return true;
    case kCmdShowLabels:
    case kCmdHideLabels:
        SetShowLabels(id == kCmdShowLabels);
        return true;
    default:
        return false;
    }
}

void CStatsBoardController::StackTiles(const std::vector<std::int32_t>& rows, double centre,
                                       double bottom) {
    for (std::int32_t row : rows) {
        if (!IsTile(row))
            continue;
        Position(row) = {centre - TileWidthOf(row) / 2.0, bottom};
        bottom -= TileHeight(row);
    }
}

void CStatsBoardController::Cluster() {
    if (!HasColumn())
        return;
    std::vector<std::int32_t> rows;
    CRect extent;
    for (int row = 1; row < m_data.dataCaseEnd(); ++row)
        if (IsTile(row) && m_data.Case(row).selected) {
            rows.push_back(row);
            extent = extent.United(TileRect(row));
        }
    if (rows.empty()) {
        Message(kIdSelectTilesFirst);
        return;
    }
    if (rows.size() == 1)
        return;
    m_doc.MarkUndoStep();
    const bool numbers = NumberColumn();
    const std::int32_t format = m_data.Cell(0, m_data.currentColumn()).format;
    auto& clusters = m_doc.viewState().clusters;
    std::vector<std::int32_t> sorted = rows;
    std::ranges::sort(sorted);
    const bool exists = std::ranges::any_of(clusters, [&](const CStatsCluster& c) {
        std::vector<std::int32_t> held = c.rows;
        std::ranges::sort(held);
        return (c.format != 0) == numbers && held == sorted;
    });
    if (!exists) {
        for (CStatsCluster& c : clusters)
            if ((c.format != 0) == numbers)
                std::erase_if(
                    c.rows, [&](std::int32_t r) { return std::ranges::binary_search(sorted, r); });
        std::erase_if(clusters, [](const CStatsCluster& c) { return c.rows.empty(); });
        clusters.push_back({0, format, rows, 0, {}, {}});
    }
    for (std::int32_t row : rows)
        (numbers ? m_data.Case(row).inNumberCluster : m_data.Case(row).inCategoryCluster) = 1;
    StackTiles(rows, (extent.left + extent.right) / 2.0, extent.bottom);
    Changed();
}

void CStatsBoardController::AutoArrange() {
    if (!HasColumn())
        return;
    const int column = m_data.currentColumn();
    const bool numbers = NumberColumn();
    // The tiles on the baseline, in groups (one tile each for numbers), and the empty cells.
    std::vector<std::vector<std::int32_t>> groups;
    std::vector<std::int32_t> empty;
    std::map<std::string, std::size_t> groupOf;
    for (int row = 1; row < m_data.dataCaseEnd(); ++row) {
        if (!IsTile(row))
            continue;
        if (m_data.IsCellEmpty(row, column)) {
            empty.push_back(row);
        } else if (numbers) {
            groups.push_back({row});
        } else {
            const auto [it, added] =
                groupOf.try_emplace(CategoryKey(m_data.GetCellText(row, column)), groups.size());
            if (added)
                groups.emplace_back();
            groups[it->second].push_back(row);
        }
    }
    // Nothing to place: nothing happens (no division by a count of none).
    if (groups.empty() && empty.empty())
        return;
    m_doc.MarkUndoStep();
    CStatsViewState& v = m_doc.viewState();
    std::int32_t& width = numbers ? v.numberTileWidth : v.categoryTileWidth;
    const int area = m_geometry.tiles.Width();
    const int n = static_cast<int>(groups.size());
    if (n > 0) {
        if (static_cast<std::int64_t>(n) * width > area)
            width = std::max(1, area / (n + 1));
        const int gap = std::max(0, (area - n * width) / n);
        double x = m_geometry.tiles.left + gap / 2;
        for (const auto& group : groups) {
            StackTiles(group, x + width / 2.0, m_geometry.baseline());
            x += width + gap;
        }
    }
    for (std::int32_t row : empty)
        Scatter(row, static_cast<int>(TileWidthOf(row)), TileHeight(row));
    Changed();
}

void CStatsBoardController::StoreAll() {
    bool any = false;
    for (int row = 1; row < m_data.dataCaseEnd(); ++row)
        any = any || IsTile(row);
    if (!any)
        return;
    m_doc.MarkUndoStep();
    for (int row = 1; row < m_data.dataCaseEnd(); ++row)
        if (IsTile(row))
            PutInStore(row);
    m_data.SetSelectedRow(-1);
    Changed();
}

void CStatsBoardController::RelayClusters() {
    if (!HasColumn())
        return;
    const bool numbers = NumberColumn();
    for (const CStatsCluster& c : m_doc.viewState().clusters) {
        if ((c.format != 0) != numbers || c.rows.empty() || !IsTile(c.rows.front()))
            continue;
        StackTiles(c.rows, Position(c.rows.front()).x + TileWidthOf(c.rows.front()) / 2.0,
                   Position(c.rows.front()).y);
    }
}

void CStatsBoardController::SetNarrow(bool narrow) {
    CStatsViewState& v = m_doc.viewState();
    const int number = narrow ? kNarrowNumberTile : kWideNumberTile;
    const int category = narrow ? kNarrowCategoryTile : kWideCategoryTile;
    if (v.numberTileWidth == number && v.categoryTileWidth == category)
        return;
    m_doc.MarkUndoStep();
    // The clusters keep their centres: the stacks narrow or widen about them.
    std::vector<double> centres;
    for (const CStatsCluster& c : v.clusters)
        centres.push_back(!c.rows.empty() && IsTile(c.rows.front()) && HasColumn()
                              ? Position(c.rows.front()).x + TileWidthOf(c.rows.front()) / 2.0
                              : 0.0);
    v.numberTileWidth = number;
    v.categoryTileWidth = category;
    const bool numbers = NumberColumn();
    for (std::size_t i = 0; i < v.clusters.size(); ++i) {
        const CStatsCluster& c = v.clusters[i];
        if (HasColumn() && (c.format != 0) == numbers && !c.rows.empty() && IsTile(c.rows.front()))
            StackTiles(c.rows, centres[i], Position(c.rows.front()).y);
    }
    Changed();
}

void CStatsBoardController::SetShowLabels(bool show) {
    if ((m_doc.viewState().showLabels != 0) == show)
        return;
    m_doc.MarkUndoStep();
    m_doc.viewState().showLabels = show ? 1 : 0;
    Changed();
}

// --- the mouse and the keys ------------------------------------------------------------------

void CStatsBoardController::Press(CPoint p, StatsTool tool) {
    m_drag.reset();
    if (!HasColumn())
        return;
    const int row = TileAt(p);
    switch (tool) {
    case StatsTool::Pointer:
        if (row >= 0) {
            if (!m_data.Case(row).selected) {
                ClearSelection();
                SelectWithCluster(row);
            }
            m_data.SetSelectedRow(row);
            m_doc.viewState().lastSelectedCase = row;
            // Selecting is no step; the drag that follows is one.
            m_doc.MarkUndoStep();
            m_drag = DragState{false, p, p, false};
            if (m_changed)
                m_changed();
        } else if (m_geometry.store.Contains(p) && StoredTiles() > 0) {
            // The first tile in the Data Store comes out under the pointer.
            ClearSelection();
            m_doc.MarkUndoStep();
            int stored = 1;
            while (!m_data.Case(stored).inDataStore)
                ++stored;
            m_data.Case(stored).inDataStore = 0;
            m_data.Case(stored).selected = 1;
            Position(stored) = {p.x - TileWidthOf(stored) / 2.0, p.y + TileHeight(stored) / 2.0};
            m_data.SetSelectedRow(stored);
            m_drag = DragState{false, p, p, true};
            Changed();
        } else {
            ClearSelection();
            m_drag = DragState{true, p, p, false};
            if (m_changed)
                m_changed();
        }
        return;
    case StatsTool::Eraser:
        if (row < 0)
            return;
        if (!m_data.editable()) {
            Message(kIdNotPermitted);
            return;
        }
        if (IsHandle(row)) {
            Message(kIdHandleTile);
            return;
        }
        if (m_prompter && m_prompter->MessageBox(
                              std::string(LoadString(kIdRemoveRowQuestion).value_or("")),
                              MessageIcon::Question, MessageButtons::OkCancel) != MessageResult::Ok)
            return;
        m_doc.MarkUndoStep();
        m_data.RemoveCase(row);
        Changed();
        return;
    case StatsTool::Ignore: {
        if (row < 0)
            return;
        m_doc.MarkUndoStep();
        CStatsCase& c = m_data.Case(row);
        c.state = c.state == CaseState::Used ? CaseState::Ignored : CaseState::Used;
        m_tileChanged = true;
        Changed();
        return;
    }
    case StatsTool::Tag:
        if (row < 0)
            return;
        m_doc.MarkUndoStep();
        m_data.SetCellColour(row, m_data.currentColumn(), m_doc.viewState().tagColour, true);
        Changed();
        return;
    case StatsTool::Help:
        return;
    }
}

void CStatsBoardController::Drag(CPoint p) {
    if (!m_drag || !HasColumn())
        return;
    if (!m_drag->band) {
        MoveSelected(p.x - m_drag->last.x, p.y - m_drag->last.y);
        m_doc.SetModifiedFlag(true);
    }
    m_drag->last = p;
}

std::optional<CRect> CStatsBoardController::rubberBand() const {
    if (!m_drag || !m_drag->band)
        return std::nullopt;
    const CPoint a = m_drag->start, b = m_drag->last;
    return CRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void CStatsBoardController::Release(CPoint p) {
    if (!m_drag)
        return;
    Drag(p);
    const bool band = m_drag->band;
    const std::optional<CRect> r = rubberBand();
    m_drag.reset();
    if (!HasColumn())
        return;
    if (band) {
        // Every tile wholly inside; the selected row stays when it is among them.
        const int last = m_doc.viewState().lastSelectedCase;
        int found = -1;
        bool lastFound = false;
        for (int row = 1; row < m_data.dataCaseEnd(); ++row)
            if (IsTile(row) && Inside(*r, TileRect(row))) {
                m_data.Case(row).selected = 1;
                found = row;
                lastFound = lastFound || row == last;
            }
        m_data.SetSelectedRow(lastFound ? last : found);
        if (m_changed)
            m_changed();
        return;
    }
    if (m_geometry.store.Contains(p)) {
        for (int row = 1; row < m_data.dataCaseEnd(); ++row)
            if (IsTile(row) && m_data.Case(row).selected)
                PutInStore(row);
    }
    Changed();
}

void CStatsBoardController::CancelDrag() {
    if (!m_drag)
        return;
    const DragState d = *m_drag;
    m_drag.reset();
    if (!d.band && HasColumn()) {
        MoveSelected(d.start.x - d.last.x, d.start.y - d.last.y);
        // A tile taken out of the Data Store goes back.
        if (d.fromStore)
            for (int row = 1; row < m_data.dataCaseEnd(); ++row)
                if (IsTile(row) && m_data.Case(row).selected) {
                    m_data.Case(row).inDataStore = 1;
                    m_data.Case(row).selected = 0;
                }
    }
    if (m_changed)
        m_changed();
}

bool CStatsBoardController::MoveSelection(int dx, int dy) {
    if (!HasColumn() || m_drag)
        return false;
    bool any = false;
    for (int row = 1; row < m_data.dataCaseEnd() && !any; ++row)
        any = IsTile(row) && m_data.Case(row).selected;
    if (!any)
        return false;
    m_doc.MarkUndoStep();
    MoveSelected(dx, dy);
    Changed();
    return true;
}

// --- drawing ---------------------------------------------------------------------------------

std::string CStatsBoardController::LabelText(int row) const {
    return m_data.columnCount() > 1 ? CellValueText(m_data, row, 1) : std::string();
}

CRect CStatsBoardController::LabelBox(ITextMetrics& metrics, const std::string& name,
                                      const CRect& tile) const {
    // Centred just above the tile, 3 pixels wider on each side; an empty name as wide as "w".
    // The names' sizes are kept between repaints: a class has few, and measuring is dear.
    if (m_labelSizes.size() > 4096)
        m_labelSizes.clear();
    auto [it, added] = m_labelSizes.try_emplace(name);
    if (added)
        it->second = metrics.TextExtent(StatsTileLabelFont(), name.empty() ? "w" : name);
    const CSize size = it->second;
    const int left = (tile.left + tile.right) / 2 - size.cx / 2 - 3;
    return {left, tile.top - 1 - size.cy, left + size.cx + 6, tile.top - 1};
}

std::vector<bool> CStatsBoardController::ShownTiles(ITextMetrics& metrics,
                                                    const std::vector<int>& order,
                                                    const std::vector<CRect>& rects, bool numbers,
                                                    std::vector<CRect>& labelBoxes) const {
    // Cells of 8 pixels over the client, marked once an opaque tile or label drawn later covers
    // them whole; walking from the last drawn back, a tile whose pixels all lie in marked cells
    // cannot be seen. Pens reach 2 pixels beyond a tile; an Ignored tile (not filled) and a
    // circle hide nothing.
    constexpr int kCell = 8;
    const CRect& client = m_geometry.client;
    // Sizes measured with other metrics (another font size) are measured again.
    const CSize w = metrics.TextExtent(StatsTileLabelFont(), "w");
    if (w != m_labelSizeOfW) {
        m_labelSizes.clear();
        m_labelSizeOfW = w;
    }
    const int columns = std::max(0, (client.Width() + kCell - 1) / kCell);
    const int rows = std::max(0, (client.Height() + kCell - 1) / kCell);
    std::vector<char> covered(static_cast<std::size_t>(columns) * rows, 0);
    const auto cells = [&](const CRect& r, bool whole, auto&& visit) {
        const auto lo = [&](int v, int origin, int n) {
            const int d = v - origin;
            return std::clamp(whole ? (d + kCell - 1) / kCell : d / kCell, 0, n);
        };
        const auto hi = [&](int v, int origin, int n) {
            const int d = v - origin;
            return std::clamp(whole ? d / kCell : (d + kCell - 1) / kCell, 0, n);
        };
        if (r.IsEmpty())
            return false;
        const int x0 = lo(r.left, client.left, columns), x1 = hi(r.right, client.left, columns);
        const int y0 = lo(r.top, client.top, rows), y1 = hi(r.bottom, client.top, rows);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (visit(covered[static_cast<std::size_t>(y) * columns + x]))
                    return true;
        return false;
    };
    const bool labels = m_doc.viewState().showLabels != 0;
    std::vector<bool> shown(order.size());
    labelBoxes.assign(order.size(), CRect{});
    for (std::size_t i = order.size(); i-- > 0;) {
        const int row = order[i];
        const CStatsCase& c = m_data.Case(row);
        CRect tile = rects[static_cast<std::size_t>(row)];
        CRect reach = tile;
        reach.Inflate(2, 2);
        CRect& label = labelBoxes[i];
        if (labels && !(numbers ? c.inNumberCluster : c.inCategoryCluster))
            label = LabelBox(metrics, LabelText(row), tile);
        const auto open = [](char& cell) { return cell == 0; };
        shown[i] = cells(reach, false, open) || cells(label, false, open);
        if (!shown[i])
            continue;
        const auto cover = [](char& cell) {
            cell = 1;
            return false;
        };
        if (c.state != CaseState::Ignored && !m_data.IsCellEmpty(row, m_data.currentColumn()))
            cells(tile, true, cover);
        cells(label, true, cover);
    }
    return shown;
}

void CStatsBoardController::DrawTile(IDrawingSurface& dc, int row, const CRect& r,
                                     const CRect& box) const {
    const CStatsCase& c = m_data.Case(row);
    const int column = m_data.currentColumn();
    const bool ignored = c.state == CaseState::Ignored;
    int pen = c.selected ? 2 : 1;
    Color colour = ignored ? kIgnoredColour : kBlack;
    if (row == m_data.selectedRow()) {
        ++pen;
        colour = kSelectedRowColour;
    }
    dc.SetPen(pen, colour);
    if (ignored)
        dc.SetNullBrush();
    else
        dc.SetBrush(StatsColour(m_data.GetCellColour(row, column)));
    if (m_data.IsCellEmpty(row, column))
        dc.Ellipse(r);
    else
        dc.Rectangle(r);
    if (box.IsEmpty())
        return;
    const std::string name = LabelText(row);
    dc.SetPen(1, kBlack);
    dc.SetBrush(kWhite);
    dc.Rectangle(box);
    if (!name.empty())
        dc.DrawText(box, name, kAlignCenter | kAlignVCenter | kSingleLine | kNoClip);
}

void CStatsBoardController::Draw(IDrawingSurface& dc) const {
    const CStatsBoardGeometry& g = m_geometry;
    dc.FillRect(g.board, kWhite);
    dc.SetPen(1, kStatsGridGrey);
    dc.SetNullBrush();
    dc.Rectangle(g.board);
    dc.SetPen(1, kBlack);
    dc.Line({g.tiles.left, g.baseline()}, {g.tiles.right, g.baseline()});

    // The Data Store: a box with the number of tiles put away in it.
    dc.SetPen(1, kBlack);
    dc.SetBrush(kStoreColour);
    dc.Rectangle(g.store);
    dc.SetFont(StatsTileLabelFont());
    dc.SetTextColor(kBlack);
    dc.SetTextBackground(kNoColor, true);
    const int line = dc.Metrics().LineHeight(StatsTileLabelFont());
    dc.DrawText({g.store.left, g.store.top + 4, g.store.right, g.store.top + 4 + line},
                "Data Store", kAlignCenter | kSingleLine | kNoClip);
    dc.DrawText({g.store.left, g.store.top + 8 + line, g.store.right, g.store.bottom},
                std::to_string(StoredTiles()), kAlignCenter | kAlignVCenter | kSingleLine);
    if (!HasColumn())
        return;

    // The tiles in row order, the selected ones over the others; a tile and its label that
    // later ones hide whole are left out.
    const bool numbers = NumberColumn();
    const std::vector<CRect> rects = TileRects();
    std::vector<int> order;
    for (int pass = 0; pass < 2; ++pass)
        for (int row = 1; row < m_data.dataCaseEnd(); ++row)
            if (IsTile(row) && (m_data.Case(row).selected != 0) == (pass == 1))
                order.push_back(row);
    std::vector<CRect> labels;
    const std::vector<bool> shown = ShownTiles(dc.Metrics(), order, rects, numbers, labels);
    for (std::size_t i = 0; i < order.size(); ++i)
        if (shown[i])
            DrawTile(dc, order[i], rects[static_cast<std::size_t>(order[i])], labels[i]);
    // A cluster's handle carries a bar along the edge where its stack leaves the screen.
    dc.SetNullPen();
    dc.SetBrush(kBlack);
    const std::vector<bool> handles = Handles(rects);
    for (int row = 1; row < m_data.dataCaseEnd(); ++row) {
        if (!handles[static_cast<std::size_t>(row)])
            continue;
        const CRect& r = rects[static_cast<std::size_t>(row)];
        const int y = r.top <= g.client.top ? std::max(r.top, g.client.top) : r.bottom - 4;
        dc.Rectangle({r.left, y, r.right, y + 4});
    }
    // The label windows of the clusters of this column's kind.
    for (const CStatsCluster& c : m_doc.viewState().clusters) {
        if (c.kind != 1 || (c.format != 0) != numbers)
            continue;
        dc.SetPen(1, kBlack);
        dc.SetBrush(kWhite);
        dc.Rectangle(c.labelRect);
        dc.DrawText(c.labelRect, c.labelText, kAlignCenter | kAlignVCenter | kWordBreak);
    }
    if (numbers && !m_doc.computerChecked()) {
        const CStatsViewState& v = m_doc.viewState();
        DrawAverageLines(dc, m_doc.summary(), g.client, g.board, scale().ToDouble(),
                         {v.showMean != 0, v.showMedian != 0, v.showMode != 0});
    }
    if (const std::optional<CRect> band = rubberBand()) {
        dc.SetPen(1, kBlack);
        dc.SetNullBrush();
        dc.Rectangle(*band);
    }
    if (IsTile(m_outlineRow)) {
        dc.SetPen(3, m_outlineColour);
        dc.SetNullBrush();
        const CRect r = rects[static_cast<std::size_t>(m_outlineRow)];
        dc.Rectangle({r.left - 1, r.top - 1, r.right + 1, r.bottom + 1});
    }
}

bool CStatsBoardController::ChooseSolutionTile(CPoint p) {
    const int row = TileAt(p);
    if (row < 0)
        return false;
    m_doc.viewState().problemSetTile = m_data.Case(row).caseNumber;
    m_doc.SetModifiedFlag(true);
    if (m_prompter)
        m_prompter->MessageBox("The Problem Set Tile has been selected", MessageIcon::Information);
    return true;
}

void CStatsBoardController::SetSolutionOutline(int row, Color colour) {
    m_outlineRow = row;
    m_outlineColour = colour;
    if (m_changed)
        m_changed();
}

} // namespace quorvel
