// qvtool stats: the Summary Statistics window's lines for a column of a statistics document,
// for teachers checking a problem's answers.
#include "tools/qvtool/qvtool.h"

#include "tools/qvtool/qvtool_load.h"

#include "statistics/stats_document.h"

#include <cstdlib>
#include <ostream>

namespace quorvel {

namespace {

// The window's own text metrics do not change what it prints; these place its pieces.
class CCharacterMetrics : public ITextMetrics {
public:
    CSize TextExtent(const CFontSpec&, std::string_view s) override {
        return {static_cast<int>(s.size()) * 7, 16};
    }
    CSize WrappedExtent(const CFontSpec& f, std::string_view s, int) override {
        return TextExtent(f, s);
    }
    int LineHeight(const CFontSpec&) override { return 16; }
    int AverageCharWidth(const CFontSpec&) override { return 7; }
};

bool ReadInt(const std::string& text, int& out) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || !end || *end != '\0' || v < -1000000000L || v > 1000000000L)
        return false;
    out = static_cast<int>(v);
    return true;
}

} // namespace

bool CQvTool::ChooseColumn(CStatsDataSet& data, const std::string& file, int column) {
    if (column == -2)
        return true;
    if (column < 1 || column >= data.columnCount()) {
        m_err << file << ": column " << column << " is not a data column (1 to "
              << data.columnCount() - 1 << ")\n";
        return false;
    }
    data.SetCurrentColumn(column);
    return true;
}

int CQvTool::Stats(const std::vector<std::string>& args) {
    std::string file;
    int column = -2, decimals = -1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--column" && i + 1 < args.size()) {
            if (!ReadInt(args[++i], column))
                return Usage();
        } else if (args[i] == "--decimals" && i + 1 < args.size()) {
            if (!ReadInt(args[++i], decimals) || decimals < 0 || decimals > 2) {
                m_err << "--decimals takes 0, 1 or 2\n";
                return 2;
            }
        } else if (file.empty()) {
            file = args[i];
        } else {
            return Usage();
        }
    }
    if (file.empty())
        return Usage();
    LoadedDocument loaded = LoadDocument(file);
    if (!loaded.doc) {
        m_err << file << ": " << loaded.error << "\n";
        return 1;
    }
    auto* doc = dynamic_cast<CStatsUnitDocument*>(loaded.doc.get());
    if (!doc) {
        m_err << file << ": not a Statistics document\n";
        return 1;
    }
    CStatsDataSet& data = doc->dataSet();
    if (!ChooseColumn(data, file, column))
        return 1;
    if (data.currentColumn() < 1) {
        m_err << file << ": the document has no current column; name one with --column\n";
        return 1;
    }
    CSummaryStatistics& summary = doc->summary();
    if (decimals >= 0)
        summary.SetDecimals(decimals);
    summary.Recompute();
    CCharacterMetrics metrics;
    for (const std::string& line : summary.PrintedLines(metrics))
        m_out << line << "\n";
    return 0;
}

} // namespace quorvel
