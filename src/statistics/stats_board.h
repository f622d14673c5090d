// The data board: every case a tile that stands on the baseline at the height of its value (a
// number column) or one unit high (a category column), and what the pupil does with them:
// select, drag, rubber-band, cluster, auto-arrange, store, tag, ignore and erase; the board's
// scale; and the whole board drawn through the drawing surface.
#pragma once

#include "statistics/stats_document.h"

#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace quorvel {

class IPrompter;
enum class StatsTool;

enum StatsBoardCommand : int {
    kCmdCluster = 1359,
    kCmdAutoArrange = 1365,
    kCmdDataStore = 1366,
    kCmdScaleUp = 1385,
    kCmdScaleDown = 1386,
    kCmdNarrowTiles = 32799,
    kCmdWideTiles = 32800,
    kCmdShowLabels = 32802,
    kCmdHideLabels = 32803,
};
inline constexpr int kIdSelectTilesFirst = 1382;
inline constexpr int kIdHandleTile = 1387;

inline constexpr int kWideNumberTile = 25;
inline constexpr int kNarrowNumberTile = 13;
inline constexpr int kWideCategoryTile = 58;
inline constexpr int kNarrowCategoryTile = 33;

// The board's places in a view's client rectangle.
struct CStatsBoardGeometry {
    CRect client;
    CRect board;
    // The board deflated by 40: tiles stand on its bottom, the baseline.
    CRect tiles;
    // Where tiles with an empty cell are scattered: right of the tile area.
    CRect strip;
    // The Data Store's box, right of the board at its bottom.
    CRect store;
    int baseline() const { return tiles.bottom; }
};
CStatsBoardGeometry StatsBoardGeometry(const CRect& client);

// The label font of the tiles: the workspace's small font.
CFontSpec StatsTileLabelFont();

class CStatsBoardController : public CStatsDataObserver {
public:
    CStatsBoardController(CStatsUnitDocument& doc, IPrompter* prompter);
    ~CStatsBoardController() override;
    CStatsBoardController(const CStatsBoardController&) = delete;
    CStatsBoardController& operator=(const CStatsBoardController&) = delete;

    // Called after every change of the model the views must hear of.
    void SetChangedListener(std::function<void()> listener) { m_changed = std::move(listener); }
    // The view's client rectangle; the board takes its places from it.
    void SetClient(const CRect& client) { m_geometry = StatsBoardGeometry(client); }
    const CStatsBoardGeometry& geometry() const { return m_geometry; }

    // --- the scale ---
    const CNumber& scale() const { return m_doc.viewState().currentScale; }
    // Tile-area height / scale; 0 for a scale not above 1e-11.
    double PixelsPerUnit() const;
    // The column's stored scale, or its default (stored) when it has none.
    void SetUpScale();
    // The scale field's text raised to a table value; false (its message shown) when the text
    // is no number.
    bool TypeScale(std::string_view text);
    // The spin buttons; false when the step is refused.
    bool SpinScale(bool up);

    // --- tiles of the current column ---
    bool HasColumn() const;
    bool NumberColumn() const;
    int TileWidth() const;
    bool IsTile(int row) const; // a data case outside the Data Store
    CRect TileRect(int row) const;
    // The topmost tile under a point, or -1.
    int TileAt(CPoint p) const;
    // Some other tile of the same left edge touches it from above or below and lies wholly
    // outside the client area.
    bool IsHandle(int row) const;
    int StoredTiles() const;

    // --- commands ---
    bool OnCommand(int id);
    bool IsChecked(int id) const;
    void Cluster();
    void AutoArrange();
    void StoreAll();
    void SetNarrow(bool narrow);
    void SetShowLabels(bool show);

    // --- the mouse and the keys ---
    void Press(CPoint p, StatsTool tool);
    void Drag(CPoint p);
    void Release(CPoint p);
    // Escape: a drag puts the tiles back, a rubber band goes.
    void CancelDrag();
    bool dragging() const { return m_drag.has_value(); }
    std::optional<CRect> rubberBand() const;
    // The arrow keys: the selected tiles move; false when none is selected.
    bool MoveSelection(int dx, int dy);

    // Set when the ignore tool changes a tile; the problem check reads it.
    bool tileChanged() const { return m_tileChanged; }
    void SetTileChanged(bool on) { m_tileChanged = on; }
    // Authoring mode, the right button: the tile's case becomes the problem's solution tile
    // ("The Problem Set Tile has been selected"). False when no tile is there.
    bool ChooseSolutionTile(CPoint p);
    // View Solution's outline: the tile of `row` grown by 1 pixel, drawn over the board with a
    // 3-pixel pen; row -1 takes it away. The views hear of it.
    void SetSolutionOutline(int row, Color colour);

    // The whole board: its sheet, the Data Store, the tiles with their labels, the clusters'
    // labels, the Mean/Median/Mode lines and the rubber band.
    void Draw(IDrawingSurface& dc) const;

    // CStatsDataObserver: the last selected case follows the data set's selected row.
    void DataChanged() override;

private:
    struct DragState {
        bool band = false;
        CPoint start, last;
        bool fromStore = false; // a tile taken out of the Data Store
    };

    CStatsPosition& Position(int row);
    const CStatsPosition& Position(int row) const;
    double TileHeight(int row) const;
    double TileWidthOf(int row) const;
    void ClearSelection();
    void SelectWithCluster(int row);
    void MoveSelected(double dx, double dy);
    void PutInStore(int row);
    void Scatter(int row, int width, double height);
    void RelayClusters();
    void StackTiles(const std::vector<std::int32_t>& rows, double centre, double bottom);
    CRect RectOf(int row, bool numbers, double perUnit) const;
    // Every row's tile rectangle (empty for rows without a tile on the board).
    std::vector<CRect> TileRects() const;
    std::vector<bool> Handles(const std::vector<CRect>& rects) const;
    // The tile, and its label in `box` unless that is empty.
    void DrawTile(IDrawingSurface& dc, int row, const CRect& r, const CRect& box) const;
    std::string LabelText(int row) const;
    CRect LabelBox(ITextMetrics& metrics, const std::string& name, const CRect& tile) const;
    // For each tile in drawing order, whether any of it (or its label) would be seen, and the
    // box of its label (empty when it has none).
    std::vector<bool> ShownTiles(ITextMetrics& metrics, const std::vector<int>& order,
                                 const std::vector<CRect>& rects, bool numbers,
                                 std::vector<CRect>& labelBoxes) const;
    void Message(int id) const;
    void Changed();

    CStatsUnitDocument& m_doc;
    CStatsDataSet& m_data;
    IPrompter* m_prompter;
    std::function<void()> m_changed;
    CStatsBoardGeometry m_geometry = StatsBoardGeometry(kStatsDefaultClient);
    std::optional<DragState> m_drag;
    mutable std::unordered_map<std::string, CSize> m_labelSizes;
    mutable CSize m_labelSizeOfW;
    bool m_tileChanged = false;
    int m_outlineRow = -1;
    Color m_outlineColour = 0;
};

} // namespace quorvel
