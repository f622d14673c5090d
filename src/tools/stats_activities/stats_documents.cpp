// The Statistics activity documents, set up through the document and its graphs.
#include "tools/stats_activities/stats_documents.h"

#include "statistics/stats_graph_controller.h"
#include "statistics/stats_table_controller.h"
#include "tools/class_builder/class_source.h"
#include "workspace/random.h"

#include <array>

namespace quorvel {
namespace {

bool OnOff(const CStatement& s) {
    const std::string& w = Word(s, 1);
    if (w != "on" && w != "off")
        Fail(s, "expected on or off, not \"" + w + "\"");
    return w == "on";
}

int ColumnNamed(const CStatsDataSet& data, const CStatement& s, const std::string& name) {
    for (int c = 1; c < data.columnCount(); ++c)
        if (data.Cell(0, c).text == name)
            return c;
    Fail(s, "no column \"" + name + "\"");
}

StatsViewMode ViewNamed(const CStatement& s, const std::string& name) {
    static const std::array<const char*, 5> kNames{"table", "board", "line", "bar", "pie"};
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (name == kNames[i])
            return static_cast<StatsViewMode>(i);
    Fail(s, "no view \"" + name + "\"");
}

// The same name always scatters the board's tiles the same way.
std::uint32_t Seed(const std::string& name) {
    std::uint32_t h = 2166136261u;
    for (const char c : name)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

} // namespace

std::unique_ptr<CStatsUnitDocument> BuildStatsActivity(const std::string& name,
                                                       std::string_view source) {
    // The set-up lines, then the line "data" and the CSV.
    std::size_t start = 0;
    int dataLine = 0;
    int line = 1;
    for (std::size_t at = 0; at <= source.size();) {
        const std::size_t end = std::min(source.find('\n', at), source.size());
        std::string_view text = source.substr(at, end - at);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        if (text == "data") {
            start = end + 1;
            dataLine = line;
            break;
        }
        at = end + 1;
        ++line;
    }
    if (dataLine == 0 || start >= source.size())
        throw CSourceError(line, "no \"data\" line with the data set after it");
    const std::vector<CStatement> setup = ParseClassSource(source.substr(0, start));

    SeedRandom(Seed(name));
    auto doc = std::make_unique<CStatsUnitDocument>();
    if (auto error = doc->ImportCsv(source.substr(start)))
        throw CSourceError(dataLine + 1, *error);
    CStatsDataSet& data = doc->dataSet();
    CStatsGraphController graphs(*doc, nullptr);
    StatsViewMode view = StatsViewMode::Table;
    for (const CStatement& s : setup) {
        const std::string& head = s.head();
        if (head == "data") {
            continue;
        } else if (head == "view") {
            view = ViewNamed(s, Word(s, 1));
        } else if (head == "column") {
            data.SetCurrentColumn(ColumnNamed(data, s, Word(s, 1)));
        } else if (head == "sort") {
            data.SetCurrentColumn(ColumnNamed(data, s, Word(s, 1)));
            doc->SortByCurrentColumn(Word(s, 2) == "down");
        } else if (head == "edit") {
            doc->SetEditable(OnOff(s));
        } else if (head == "summary") {
            doc->SetSummaryVisible(OnOff(s));
        } else if (head == "decimals") {
            doc->SetDecimalPlaces(ParseWholeNumber(Word(s, 1), s.line));
        } else if (head == "graphs") {
            doc->SetGraphViewers(OnOff(s));
        } else if (head == "minitable") {
            doc->SetMiniTable(OnOff(s));
        } else if (head == "labels") {
            doc->viewState().showLabels = OnOff(s) ? 1 : 0;
        } else if (head == "averages") {
            static const std::array<const char*, 3> kAverages{"mean", "median", "mode"};
            for (std::size_t i = 1; i < s.words.size(); ++i) {
                std::size_t k = 0;
                while (k < kAverages.size() && s.words[i] != kAverages[k])
                    ++k;
                if (k == kAverages.size())
                    Fail(s, "no average \"" + s.words[i] + "\"");
                graphs.SetAverage(static_cast<int>(k), true);
            }
        } else if (head == "tag") {
            // tag <column> <category> <n>: every case of the category in the tag palette's
            // colour n (1 for the first), as the tag tool spreads a colour.
            const int column = ColumnNamed(data, s, Word(s, 1));
            const int n = ParseWholeNumber(Word(s, 3), s.line);
            if (n < 1 || n > static_cast<int>(std::size(kTagColours)))
                Fail(s, "no tag colour " + Word(s, 3));
            int row = 1;
            while (row < data.rowCount() &&
                   CategoryKey(data.GetCellText(row, column)) != CategoryKey(Word(s, 2)))
                ++row;
            if (row == data.rowCount())
                Fail(s, "no case with \"" + Word(s, 2) + "\"");
            data.SetCellColour(row, column, kTagColours[n - 1], true);
        } else if (head == "label") {
            // label <graph> <column> "text": the horizontal-axis label of that column's graph.
            const StatsViewMode mode = ViewNamed(s, Word(s, 1));
            if (!IsGraphMode(mode))
                Fail(s, "only a graph has a label");
            const int current = data.currentColumn();
            data.SetCurrentColumn(ColumnNamed(data, s, Word(s, 2)));
            graphs.SetLabel(mode, Word(s, 3));
            data.SetCurrentColumn(current);
        } else {
            Fail(s, "unknown line \"" + head + "\"");
        }
    }
    if (IsGraphMode(view)) {
        data.NotifyDataChanged();
        const CStatsGraph* graph = graphs.graph(view);
        if (graph->Problem() != 0)
            Fail(setup.empty() ? CStatement{dataLine, {"view"}, {}} : setup.front(),
                 "the graph cannot be drawn from column " + std::to_string(data.currentColumn()));
    }
    doc->viewState().viewMode = static_cast<std::int32_t>(view);
    doc->SetModifiedFlag(false);
    return doc;
}

} // namespace quorvel
