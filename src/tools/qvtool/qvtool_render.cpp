// qvtool render: a document's workspace drawn by the program's own drawing code into a PNG
// or SVG file, for thumbnails of pupils' work and of problem files.
#include "tools/qvtool/qvtool.h"

#include "tools/qvtool/qvtool_load.h"

#include <ostream>

#ifdef QUORVEL_QVTOOL_RENDER
#include "patterns/patterns_documents.h"
#include "statistics/grid_view.h"
#include "statistics/stats_board.h"
#include "statistics/stats_document.h"
#include "statistics/stats_graph_controller.h"
#include "ui/platform/qt_drawing_surface.h"
#include "workspace/string_table.h"
#include "workspace/workspace_pane.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#endif

namespace quorvel {

#ifdef QUORVEL_QVTOOL_RENDER
namespace {

constexpr int kMargin = 20;

// What the workspace shows: every manipulative's frame, from the origin on, with a margin.
CRect RenderArea(const CUnitDocument& doc) {
    CRect area{0, 0, 200, 150};
    for (const auto& m : doc.manipulatives())
        area = area.United(m->GetFrameOf());
    // The design machine stands in the Designs workspace while it is shown.
    if (const auto* designs = dynamic_cast<const CDesignPatternsDocument*>(&doc);
        designs && designs->machineShown())
        area = area.United(designs->machine().Bounds());
    area.left = std::min(area.left, 0);
    area.top = std::min(area.top, 0);
    area.right += kMargin;
    area.bottom += kMargin;
    return area;
}

// Qt's notes about the desktop session (no runtime folder, no screen) are not the user's concern.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() &&
           s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The sheet the Statistics page gives its board and graphs in its 800 x 560 window.
constexpr CRect kStatsSheet{0, 0, 760, 440};

// An SVG picture when the name ends in ".svg", else a PNG one, `size` pixels.
bool WritePicture(const std::string& out, QSize size, const std::string& title,
                  const std::function<void(QPainter&)>& paint) {
    if (EndsWith(out, ".svg")) {
        QSvgGenerator svg;
        svg.setFileName(QString::fromStdString(out));
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QString::fromStdString(title));
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        paint(painter);
        return painter.end();
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paint(painter);
    }
    return image.save(QString::fromStdString(out), "PNG");
}

// The page's modes by name, in StatsViewMode's order; -1 for another name.
int ParseView(const std::string& name) {
    const char* names[] = {"table", "board", "line", "bar", "pie"};
    for (int i = 0; i < 5; ++i)
        if (name == names[i])
            return i;
    return -1;
}

} // namespace
#endif

int CQvTool::Render(const std::vector<std::string>& args) {
    std::string file, out, view;
    double scale = 1.0;
    [[maybe_unused]] int column = -2; // read only where pictures are drawn
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--view" && i + 1 < args.size()) {
            view = args[++i];
        } else if (args[i] == "--column" && i + 1 < args.size()) {
            char* end = nullptr;
            const long v = std::strtol(args[++i].c_str(), &end, 10);
            if (!end || *end != '\0' || v < 0 || v > 100000) {
                m_err << "--column takes a column number\n";
                return 2;
            }
            column = static_cast<int>(v);
        } else if (args[i] == "--scale" && i + 1 < args.size()) {
            char* end = nullptr;
            scale = std::strtod(args[++i].c_str(), &end);
            if (!end || *end != '\0' || !(scale > 0.0) || scale > 16.0) {
                m_err << "--scale takes a number above 0 and at most 16\n";
                return 2;
            }
        } else if (file.empty()) {
            file = args[i];
        } else if (out.empty()) {
            out = args[i];
        } else {
            return Usage();
        }
    }
    if (file.empty() || out.empty())
        return Usage();
#ifdef QUORVEL_QVTOOL_RENDER
    if (!view.empty() && ParseView(view) < 0) {
        m_err << "--view takes table, board, bar, pie or line\n";
        return 2;
    }
#endif
#ifndef QUORVEL_QVTOOL_RENDER
    m_err << "render needs the program's drawing code; this qvtool was built without it\n";
    return 1;
#else
    const LoadedDocument loaded = LoadDocument(file);
    if (!loaded.doc) {
        m_err << file << ": " << loaded.error << "\n";
        return 1;
    }
    qInstallMessageHandler(QuietMessages);
    // Fonts need a GUI application; no screen is needed.
    if (!QGuiApplication::instance() && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "qvtool";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
    if (!QGuiApplication::instance())
        app = std::make_unique<QGuiApplication>(argc, argv);

    if (!view.empty() || column != -2)
        return RenderStatsView(*loaded.doc, file, out, view.empty() ? "table" : view, column,
                               scale);

    CRect area = RenderArea(*loaded.doc);
    // A statistics document shows its Summary Statistics window beside its notes.
    const auto* stats = dynamic_cast<const CStatsUnitDocument*>(loaded.doc.get());
    CRect summary;
    // And its data table whole, every case and the blank ones after them, as the page draws it.
    CRect table;
    std::unique_ptr<stats::CGridView> grid;
    if (stats) {
        QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&probe);
        CQtDrawingSurface dc(painter);
        const CStatsDataSet& data = stats->dataSet();
        grid = std::make_unique<stats::CGridView>(data);
        int width = 1;
        for (int c = 0; c < data.columnCount(); ++c)
            width += grid->ColumnWidth(c);
        grid->Layout(dc.Metrics(), {width, 0});
        const int height = grid->headerHeight() + (data.rowCount() - 1) * grid->rowHeight() + 1;
        grid->Layout(dc.Metrics(), {width, height});
        table = {area.right, kMargin, area.right + width, kMargin + height};
        area = area.United({table.left, table.top, table.right + kMargin, table.bottom + kMargin});
        const CSize size = stats->summary().FitSize(dc.Metrics());
        summary = {area.right, kMargin, area.right + size.cx, kMargin + size.cy};
        area = area.United(
            {summary.left, summary.top, summary.right + kMargin, summary.bottom + kMargin});
    }
    const QSize size(static_cast<int>(area.Width() * scale + 0.5),
                     static_cast<int>(area.Height() * scale + 0.5));
    const auto paint = [&](QPainter& painter) {
        // The Designs page draws its machine and design without smoothing; so does its picture.
        painter.setRenderHint(QPainter::Antialiasing,
                              !dynamic_cast<const CDesignPatternsDocument*>(loaded.doc.get()));
        painter.scale(scale, scale);
        painter.translate(-area.left, -area.top);
        CQtDrawingSurface dc(painter);
        dc.FillRect(area, kPaneColor);
        loaded.doc->DrawContents(dc);
        if (stats) {
            dc.FillRect(table, PaletteRGB(255, 255, 255));
            painter.save();
            painter.translate(table.left, table.top);
            grid->Draw(dc);
            painter.restore();
            dc.FillRect(summary, PaletteRGB(240, 240, 240));
            stats->summary().Paint(dc, {summary.left, summary.top}, summary.Width());
        }
    };
    if (!WritePicture(out, size, loaded.doc->identity().unitTitle, paint)) {
        m_err << out << ": cannot write the picture\n";
        return 1;
    }
    return 0;
#endif
}

#ifdef QUORVEL_QVTOOL_RENDER
int CQvTool::RenderStatsView(CUnitDocument& document, const std::string& file,
                             const std::string& out, const std::string& view, int column,
                             double scale) {
    auto* doc = dynamic_cast<CStatsUnitDocument*>(&document);
    if (!doc) {
        m_err << file << ": --view and --column are for Statistics documents\n";
        return 1;
    }
    CStatsDataSet& data = doc->dataSet();
    if (!ChooseColumn(data, file, column))
        return 1;
    if (column != -2)
        data.NotifyDataChanged(); // the summary's averages follow the column
    const auto mode = static_cast<StatsViewMode>(ParseView(view));
    // The page's graphs, as the page attaches them; they say why they cannot be drawn.
    CStatsGraphController graphs(*doc, nullptr);
    if (IsGraphMode(mode)) {
        const int problem = graphs.graph(mode)->Problem();
        if (problem != 0) {
            m_err << file << ": " << LoadString(problem).value_or("the graph cannot be drawn")
                  << "\n";
            return 1;
        }
    }
    CRect area = kStatsSheet;
    // The board as the page shows it in a window of the program's size.
    std::unique_ptr<CStatsBoardController> board;
    if (mode == StatsViewMode::Board) {
        board = std::make_unique<CStatsBoardController>(*doc, nullptr);
        board->SetClient(kStatsDefaultClient);
        board->SetUpScale();
        area = kStatsDefaultClient;
    }
    stats::CGridView grid(data);
    if (mode == StatsViewMode::Table) {
        // The whole table, every case and the blank ones after them.
        QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&probe);
        CQtDrawingSurface dc(painter);
        int width = 1;
        for (int c = 0; c < data.columnCount(); ++c)
            width += grid.ColumnWidth(c);
        grid.Layout(dc.Metrics(), {width, 0});
        const int height = grid.headerHeight() + (data.rowCount() - 1) * grid.rowHeight() + 1;
        grid.Layout(dc.Metrics(), {width, height});
        area = {0, 0, width, height};
    }
    const QSize size(static_cast<int>(area.Width() * scale + 0.5),
                     static_cast<int>(area.Height() * scale + 0.5));
    const auto paint = [&](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        CQtDrawingSurface dc(painter);
        dc.FillRect(area, PaletteRGB(255, 255, 255));
        if (board) {
            board->Draw(dc);
            doc->DrawContents(dc);
        } else if (mode == StatsViewMode::Table) {
            grid.Draw(dc);
        } else {
            graphs.Draw(dc, area, mode);
        }
    };
    if (!WritePicture(out, size, doc->identity().unitTitle, paint)) {
        m_err << out << ": cannot write the picture\n";
        return 1;
    }
    return 0;
}
#endif

} // namespace quorvel
