// The Summary Statistics of the current column: counts, and for a number column the mean,
// median, mode, minimum and maximum, for a category column the mode and a frequency list of at
// most eight lines. Recomputed on every data change; laid out, sized and painted here so that
// the window, printing and qvtool show the same lines.
#pragma once

#include "statistics/stats_data_set.h"
#include "workspace/drawing_surface.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace quorvel {

// The window's font: Arial 12.
CFontSpec SummaryFont();

// What the window remembers between sessions (saved in the document's view state).
struct CSummaryWindowState {
    std::int32_t visible = 0;
    std::int32_t decimals = 1; // 0, 1 or 2
    CRect rect;                // screen coordinates; empty until the window is first placed
    std::int32_t screenWidth = 800;
    std::int32_t screenHeight = 600;
    friend bool operator==(const CSummaryWindowState&, const CSummaryWindowState&) = default;
};

// One piece of text the window paints.
struct CSummaryText {
    enum class Align { Left, Right, Centre };
    std::string text;
    int x = 0; // left edge, right edge or centre, as `align` says
    Align align = Align::Left;
};

// A painted line: its pieces from left to right, at the top `y`.
struct CSummaryLine {
    int y = 0;
    std::vector<CSummaryText> parts;
};

inline constexpr int kSummaryListLines = 8;
inline constexpr const char* kSummaryTitle = "Summary Statistics";

class CSummaryStatistics : public CStatsDataObserver {
public:
    // Recompute, then tell the window (to fit and repaint).
    void DataChanged() override;
    void Attached() override { Recompute(); }
    void Recompute();

    // Called after every recompute.
    void SetChangedListener(std::function<void()> listener) { m_listener = std::move(listener); }

    CSummaryWindowState& window() { return m_window; }
    const CSummaryWindowState& window() const { return m_window; }
    int decimals() const { return m_window.decimals; }
    void SetDecimals(int decimals);

    // The client size the window takes for its present values.
    CSize FitSize(ITextMetrics& metrics) const;
    // Every painted line below the column-name box, in painting order.
    std::vector<CSummaryLine> Lines(ITextMetrics& metrics, int clientWidth) const;
    // The window's client area painted at `origin`, `clientWidth` wide (the fitted width).
    void Paint(IDrawingSurface& dc, CPoint origin, int clientWidth) const;
    // Each painted line as text, its pieces joined by a TAB: what qvtool stats prints.
    std::vector<std::string> PrintedLines(ITextMetrics& metrics) const;
    // A value as the window prints it: "%.<decimals>f".
    std::string FormatValue(double value) const;

    // Read access for the board, the graphs and the problem checks.
    bool isCategory() const { return m_isCategory; }
    int totalCases() const { return m_totalCases; }
    int usedCases() const { return m_usedCases; }
    int entryCount() const { return m_entryCount; }
    int topFrequency() const { return m_topFrequency; }
    double mean() const { return m_mean; }
    double median() const { return m_median; }
    double mode() const { return m_mode; }
    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    const std::string& modeText() const { return m_modeText; }
    const std::string& entryLabel(int i) const {
        return m_entryLabels.at(static_cast<std::size_t>(i));
    }
    int entryFrequency(int i) const { return m_entryFrequencies.at(static_cast<std::size_t>(i)); }

private:
    void RecomputeNumbers(int column);
    void RecomputeCategories(int column);
    // The list line's right-hand text: " %d (<percentage>%)".
    std::string FrequencyText(int frequency) const;
    bool ShowsList() const { return m_isCategory || m_usedCases == 0; }

    CSummaryWindowState m_window;
    std::function<void()> m_listener;

    bool m_isCategory = false;
    int m_totalCases = 0;
    int m_usedCases = 0;
    int m_entryCount = 0;
    int m_topFrequency = 0;
    std::array<int, kSummaryListLines> m_entryFrequencies{};
    double m_mean = -1, m_median = -1, m_mode = -1, m_minimum = -1, m_maximum = -1;
    std::string m_modeText;
    std::array<std::string, kSummaryListLines> m_entryLabels;
};

// Which of the Mean, Median and Mode lines are ticked.
struct CAverageLines {
    bool mean = false;
    bool median = false;
    bool mode = false;
};

// The Mean, Median and Mode lines over the data board of a view's `client` rectangle, for a
// number column with used cases: each ticked one whose value is 0 or more, at its height on
// the board's `scale`, with its label just above it. The board decides whether to call it (not
// in a computer-checked problem).
void DrawAverageLines(IDrawingSurface& dc, const CSummaryStatistics& summary, const CRect& client,
                      const CRect& board, double scale, CAverageLines ticked);

// A category column's counting: the texts' hash, as the 17-bucket map places them.
std::uint32_t CategoryHash(std::string_view lowerText);

} // namespace quorvel
