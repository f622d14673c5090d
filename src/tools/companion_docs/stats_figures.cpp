// Statistics graphs drawn by their own drawing code through the program's Qt drawing surface.
#include "tools/companion_docs/stats_figures.h"

#include "statistics/stats_graph_controller.h"
#include "tools/class_builder/class_source.h"
#include "tools/stats_activities/stats_documents.h"
#include "ui/platform/qt_drawing_surface.h"

#include <QPainter>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace quorvel::companion {

namespace {

// Page points per pixel of the program's graphs: their text prints at 8 points.
constexpr double kGraphScale = 0.8;
// Pixels of the empty room the program's bar and line graphs keep above their plots that a
// figure leaves out.
constexpr int kAxisRoomAbove = 30;

std::unique_ptr<CStatsUnitDocument> ClassDocument(const std::string& source) {
    const std::filesystem::path path =
        std::filesystem::path(QUORVEL_STATS_SOURCE_DIR) / (source + ".stats");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return BuildStatsActivity(source, text.str());
    } catch (const CSourceError& e) {
        std::cerr << path.string() << ":" << e.line() << ": " << e.what() << "\n";
        return nullptr;
    }
}

} // namespace

bool DrawStatsFigure(QPainter& painter, const std::string& name, const QRectF& box) {
    if (name.rfind("graph-", 0) != 0)
        return false;
    std::vector<std::string> parts;
    std::istringstream words(name.substr(6));
    for (std::string part; std::getline(words, part, '-');)
        parts.push_back(part);
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    StatsViewMode mode = StatsViewMode::Table;
    if (parts[0] == "bar")
        mode = StatsViewMode::BarGraph;
    else if (parts[0] == "pie")
        mode = StatsViewMode::PieGraph;
    else if (parts[0] == "line")
        mode = StatsViewMode::LineGraph;
    else
        return false;
    const auto doc = ClassDocument(parts[1]);
    if (!doc)
        return false;
    if (parts.size() == 3) {
        const int column = std::atoi(parts[2].c_str());
        if (column < 1 || column >= doc->dataSet().columnCount())
            return false;
        doc->dataSet().SetCurrentColumn(column);
        doc->dataSet().NotifyDataChanged();
    }
    const CStatsGraphController graphs(*doc, nullptr);
    if (graphs.graph(mode)->Problem() != 0)
        return false;

    // The graph fills the box, as the page's graph fills the view; a pie, whose circle grows
    // with the longer side, takes a box at most twice as wide as it is high, centred.
    double width = box.width();
    if (mode == StatsViewMode::PieGraph)
        width = std::min(width, 2 * box.height());
    // The program leaves room above a bar or line graph's plot; on paper only its top label's
    // half line is kept there, so the plot takes the height.
    const int above = mode == StatsViewMode::PieGraph ? 0 : kAxisRoomAbove;
    const CRect client{0, 0, static_cast<int>(width / kGraphScale),
                       static_cast<int>(box.height() / kGraphScale) + above};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.left() + (box.width() - width) / 2, box.top() - above * kGraphScale);
    painter.scale(kGraphScale, kGraphScale);
    {
        CQtDrawingSurface dc(painter);
        graphs.Draw(dc, client, mode);
    }
    painter.restore();
    return true;
}

} // namespace quorvel::companion
