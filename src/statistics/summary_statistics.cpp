// Summary statistics: the recompute of a number or category column, the window's size and its
// painted lines.
#include "statistics/summary_statistics.h"

#include "numbers/number_text.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace quorvel {

namespace {

constexpr int kMargin = 10;
constexpr int kGap = 5;
constexpr int kBuckets = 17;
constexpr const char* kWidestLabel = "Maximum:";
constexpr const char* kWidestValue = "99999999";

std::string Printf(const char* format, int a, int b = 0) {
    char buf[96];
    std::snprintf(buf, sizeof buf, format, a, b);
    return buf;
}

int Width(ITextMetrics& metrics, std::string_view text) {
    return metrics.TextExtent(SummaryFont(), text).cx;
}

} // namespace

CFontSpec SummaryFont() {
    return CFontSpec{"Arial", 120};
}

std::uint32_t CategoryHash(std::string_view lowerText) {
    std::uint32_t hash = 0;
    for (char c : lowerText)
        hash = hash * 33u +
               static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    return hash;
}

void CSummaryStatistics::SetDecimals(int decimals) {
    m_window.decimals = std::clamp(decimals, 0, 2);
    if (m_listener)
        m_listener();
}

std::string CSummaryStatistics::FormatValue(double value) const {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", std::clamp(m_window.decimals, 0, 2), value);
    return buf;
}

void CSummaryStatistics::DataChanged() {
    Recompute();
    if (m_listener)
        m_listener();
}

void CSummaryStatistics::Recompute() {
    m_totalCases = m_usedCases = m_entryCount = 0;
    m_mean = m_median = m_mode = m_minimum = m_maximum = -1;
    m_topFrequency = 0;
    m_modeText.clear();
    m_entryFrequencies.fill(0);
    for (auto& label : m_entryLabels)
        label.clear();
    const CStatsDataSet* data = dataSet();
    if (!data)
        return;
    const int c = data->currentColumn();
    if (c < 0 || c >= data->columnCount()) {
        m_isCategory = false;
        return;
    }
    m_isCategory = !data->IsNumberColumn(c);
    if (m_isCategory)
        RecomputeCategories(c);
    else
        RecomputeNumbers(c);
}

void CSummaryStatistics::RecomputeNumbers(int column) {
    const CStatsDataSet& data = *dataSet();
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(std::max(data.dataCaseEnd() - 1, 0)));
    for (int r = 1; r < data.dataCaseEnd(); ++r) {
        const CStatsCase& cs = data.Case(r);
        if (cs.state == CaseState::Excluded)
            continue;
        ++m_totalCases;
        const CStatsCell& cell = cs.cells[static_cast<std::size_t>(column)];
        if (cs.state == CaseState::Used && !cell.empty) {
            values.push_back(cell.number.ToDouble());
            ++m_usedCases;
        }
    }
    if (m_usedCases == 0)
        return;
    std::sort(values.begin(), values.end());
    double sum = 0.0;
    for (double v : values)
        sum += v;
    const std::size_t n = values.size();
    m_mean = sum / m_usedCases;
    m_median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) * 0.5;
    m_minimum = values.front();
    m_maximum = values.back();
    // The longest run of equal values is the mode, unless another run is as long.
    std::size_t run = 0, longest = 0, runsOfLongest = 0;
    double candidate = -1;
    for (std::size_t i = 0; i < n; ++i) {
        run = i > 0 && values[i] == values[i - 1] ? run + 1 : 1;
        if (run > longest) {
            longest = run;
            candidate = values[i];
            runsOfLongest = 1;
        } else if (run == longest) {
            ++runsOfLongest;
        }
    }
    m_mode = runsOfLongest == 1 ? candidate : -1;
}

void CSummaryStatistics::RecomputeCategories(int column) {
    const CStatsDataSet& data = *dataSet();
    // The map of 17 buckets, each chain with its newest key at the head: a key's place in the
    // walk is its bucket, then the reverse of the order in which the keys arrived.
    struct Entry {
        std::string text;
        int frequency = 0;
        std::uint32_t bucket = 0;
        int arrival = 0;
    };
    std::vector<Entry> entries;
    std::unordered_map<std::string, std::size_t> index;
    for (int r = 1; r < data.dataCaseEnd(); ++r) {
        const CStatsCase& cs = data.Case(r);
        if (cs.state == CaseState::Excluded)
            continue;
        ++m_totalCases;
        if (cs.state != CaseState::Used)
            continue;
        std::string_view text = data.GetCellText(r, column);
        while (!text.empty() && IsSpaceChar(text.back()))
            text.remove_suffix(1);
        if (text.empty())
            continue;
        ++m_usedCases;
        std::string key = LowerText(text);
        const auto [it, added] = index.try_emplace(std::move(key), entries.size());
        if (added)
            entries.push_back({it->first, 0, CategoryHash(it->first) % kBuckets,
                               static_cast<int>(entries.size())});
        ++entries[it->second].frequency;
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.bucket != b.bucket ? a.bucket < b.bucket : a.arrival > b.arrival;
    });
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.frequency > b.frequency; });

    // Whole groups of equal frequency while they fit in seven lines.
    constexpr int kLines = kSummaryListLines - 1;
    std::size_t i = 0;
    int categoryLines = 0;
    const auto addLine = [this](std::string label, int frequency) {
        m_entryLabels[static_cast<std::size_t>(m_entryCount)] = std::move(label);
        m_entryFrequencies[static_cast<std::size_t>(m_entryCount)] = frequency;
        ++m_entryCount;
    };
    while (i < entries.size()) {
        std::size_t end = i;
        while (end < entries.size() && entries[end].frequency == entries[i].frequency)
            ++end;
        const int group = static_cast<int>(end - i);
        if (group <= kLines - m_entryCount) {
            for (; i < end; ++i)
                addLine(entries[i].text, entries[i].frequency);
            categoryLines += group;
            continue;
        }
        // The first group alone says how many share its frequency; a later group that does
        // not fit goes into "Other" with everything after it, so the percentages add up.
        if (m_entryCount == 0) {
            addLine(Printf("%d categories have a frequency of %d", group, entries[i].frequency),
                    -1);
            i = end;
        }
        break;
    }
    if (i < entries.size()) {
        int other = 0;
        for (; i < entries.size(); ++i)
            other += entries[i].frequency;
        addLine("Other", other);
    }
    m_topFrequency = entries.empty() ? 1 : entries.front().frequency;
    const bool tie = categoryLines >= 2 && m_entryFrequencies[0] == m_entryFrequencies[1];
    m_modeText = categoryLines == 0 || tie ? "none" : entries.front().text;
}

std::string CSummaryStatistics::FrequencyText(int frequency) const {
    const double percent = m_usedCases > 0 ? static_cast<double>(frequency) / m_usedCases * 100 : 0;
    return Printf(" %d (", frequency) + FormatValue(percent) + "%)";
}

CSize CSummaryStatistics::FitSize(ITextMetrics& metrics) const {
    const int line = metrics.LineHeight(SummaryFont());
    int w = std::max(Width(metrics, Printf("Total Number of Cases: %d", m_totalCases)),
                     Width(metrics, Printf("Number of Cases Used: %d", m_usedCases)));
    int h = 3 * line + 10 + line;
    if (ShowsList()) {
        w = std::max(w, Width(metrics, "Mode: " + m_modeText));
        for (int i = 0; i < m_entryCount; ++i) {
            const int f = m_entryFrequencies[static_cast<std::size_t>(i)];
            int lw = Width(metrics, m_entryLabels[static_cast<std::size_t>(i)]);
            if (f > 0) {
                const double percent =
                    m_usedCases > 0 ? static_cast<double>(f) / m_usedCases * 100 : 0;
                lw += 10 + Width(metrics, Printf("%d (", f) + FormatValue(percent) + "%)");
            }
            w = std::max(w, lw);
        }
        h += line + m_entryCount * line;
    } else {
        w = std::max(w, Width(metrics, kWidestLabel) + Width(metrics, kWidestValue));
        h += 5 * line;
    }
    return {w + 20, h + 20};
}

std::vector<CSummaryLine> CSummaryStatistics::Lines(ITextMetrics& metrics, int clientWidth) const {
    const int line = metrics.LineHeight(SummaryFont());
    const int right = clientWidth - kMargin;
    std::vector<CSummaryLine> out;
    int y = kMargin + 2 * line + kGap;
    const auto left = [&](std::string text) {
        out.push_back({y, {{std::move(text), kMargin, CSummaryText::Align::Left}}});
        y += line;
    };
    left(Printf("Total Number of Cases: %d", m_totalCases));
    left(Printf("Number of Cases Used: %d", m_usedCases));
    if (m_isCategory)
        left("Mode: " + m_modeText);
    y += 2 * kGap;
    if (m_usedCases <= 0)
        return out;
    if (m_isCategory) {
        for (int i = 0; i < m_entryCount; ++i) {
            const int f = m_entryFrequencies[static_cast<std::size_t>(i)];
            CSummaryLine l{
                y,
                {{m_entryLabels[static_cast<std::size_t>(i)], kMargin, CSummaryText::Align::Left}}};
            if (f > 0)
                l.parts.push_back({FrequencyText(f), right, CSummaryText::Align::Right});
            out.push_back(std::move(l));
            y += line;
        }
        return out;
    }
    // Values line up on their decimal point at D.
    const int d = Width(metrics, kWidestLabel) + Width(metrics, kWidestValue) + kMargin;
    const std::pair<const char*, double> rows[] = {{"Mean:", m_mean},
                                                   {"Median:", m_median},
                                                   {"Mode:", m_mode},
                                                   {"Minimum:", m_minimum},
                                                   {"Maximum:", m_maximum}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& [label, value] = rows[i];
        CSummaryLine l{y, {{label, kMargin, CSummaryText::Align::Left}}};
        if (i == 2 && value == -1) {
            l.parts.push_back({"none", d, CSummaryText::Align::Centre});
        } else {
            std::string text = FormatValue(value);
            const std::size_t point = text.find('.');
            if (point == std::string::npos)
                l.parts.push_back({std::move(text), d, CSummaryText::Align::Right});
            else
                l.parts.push_back({text,
                                   d - Width(metrics, std::string_view(text).substr(0, point)),
                                   CSummaryText::Align::Left});
        }
        out.push_back(std::move(l));
        y += line;
    }
    return out;
}

std::vector<std::string> CSummaryStatistics::PrintedLines(ITextMetrics& metrics) const {
    std::vector<std::string> out;
    for (const CSummaryLine& l : Lines(metrics, FitSize(metrics).cx)) {
        std::string text;
        for (const CSummaryText& part : l.parts)
            text += (text.empty() ? "" : "\t") + part.text;
        out.push_back(std::move(text));
    }
    return out;
}

void CSummaryStatistics::Paint(IDrawingSurface& dc, CPoint origin, int clientWidth) const {
    const CStatsDataSet* data = dataSet();
    if (!data)
        return;
    ITextMetrics& metrics = dc.Metrics();
    const int line = metrics.LineHeight(SummaryFont());
    const int right = clientWidth - kMargin;
    const auto at = [&](int x, int y) { return CPoint{origin.x + x, origin.y + y}; };
    dc.SetFont(SummaryFont());
    dc.SetTextColor(PaletteRGB(0, 0, 0));
    dc.SetTextBackground(kNoColor, true);

    // The column's name in a box of its tag colour.
    const int c = data->currentColumn();
    const bool hasColumn = c >= 0 && c < data->columnCount();
    const CRect box{origin.x + kMargin, origin.y + kMargin, origin.x + right,
                    origin.y + kMargin + 2 * line};
    dc.FillRect(box, StatsColour(hasColumn ? data->GetCellColour(0, c) : kStatsWhite));
    if (hasColumn) {
        CRect inner = box;
        inner.Inflate(-2, -2);
        dc.DrawText(inner, data->GetColumnName(c), kAlignLeft | kAlignTop | kWordBreak);
    }

    const std::vector<CSummaryLine> lines = Lines(metrics, clientWidth);
    for (const CSummaryLine& l : lines) {
        for (const CSummaryText& part : l.parts) {
            const int w = Width(metrics, part.text);
            const int x = part.align == CSummaryText::Align::Left    ? part.x
                          : part.align == CSummaryText::Align::Right ? part.x - w
                                                                     : part.x - w / 2;
            dc.TextOut(at(x, l.y), part.text);
        }
    }
    const int counts = m_isCategory ? 3 : 2;
    const int separator = kMargin + 2 * line + kGap + counts * line + kGap;
    dc.SetPen(1, PaletteRGB(0, 0, 0));
    dc.Line(at(kMargin, separator), at(right, separator));
}

void DrawAverageLines(IDrawingSurface& dc, const CSummaryStatistics& summary, const CRect& client,
                      const CRect& board, double scale, CAverageLines ticked) {
    if (summary.isCategory() || summary.usedCases() <= 0)
        return;
    const double perUnit = scale > 1e-11 ? (board.Height() - 80) / scale : 0.0;
    const int left = client.left + 200, right = client.right - 135;
    const int line = dc.Metrics().LineHeight(SummaryFont());
    struct Average {
        bool shown;
        const char* label;
        double value;
        Color colour;
        unsigned align;
    };
    const Average averages[] = {
        {ticked.mean, "Mean = ", summary.mean(), PaletteRGB(255, 247, 0), kAlignLeft},
        {ticked.median, "Median = ", summary.median(), PaletteRGB(0, 255, 0), kAlignCenter},
        {ticked.mode, "Mode = ", summary.mode(), PaletteRGB(97, 191, 255), kAlignRight},
    };
    dc.SetFont(SummaryFont());
    dc.SetTextBackground(kNoColor, true);
    for (const Average& a : averages) {
        if (!a.shown || a.value < 0)
            continue;
        const double yy = (client.bottom - 115) - perUnit * a.value;
        const int y = static_cast<int>(std::clamp(yy, -1e9, 1e9));
        dc.SetPen(2, a.colour);
        dc.Line({left, y}, {right, y});
        dc.SetTextColor(a.colour);
        dc.DrawText({left, y - 2 - line, right, y - 2}, a.label + summary.FormatValue(a.value),
                    a.align | kSingleLine | kNoClip);
    }
}

} // namespace quorvel
