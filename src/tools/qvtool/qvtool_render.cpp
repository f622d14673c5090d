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
#include "ui/platform/qt_drawing_surface.h"
#include "workspace/workspace_pane.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>
#include <cstdlib>
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

} // namespace
#endif

int CQvTool::Render(const std::vector<std::string>& args) {
    std::string file, out, view = "table";
    double scale = 1.0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--view" && i + 1 < args.size()) {
            view = args[++i];
            if (view != "table" && view != "board") {
                m_err << "--view takes table or board\n";
                return 2;
            }
            continue;
        }
        if (args[i] == "--scale" && i + 1 < args.size()) {
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

    CRect area = RenderArea(*loaded.doc);
    // A statistics document shows its Summary Statistics window beside its notes.
    auto* stats = dynamic_cast<CStatsUnitDocument*>(loaded.doc.get());
    if (view == "board" && !stats) {
        m_err << file << ": only a statistics document has a data board\n";
        return 2;
    }
    // Or its data board, as the page shows it in a window of the program's size.
    std::unique_ptr<CStatsBoardController> board;
    if (view == "board") {
        board = std::make_unique<CStatsBoardController>(*stats, nullptr);
        board->SetClient(kStatsDefaultClient);
        board->SetUpScale();
        area = kStatsDefaultClient;
        stats = nullptr;
    }
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
        if (board)
            board->Draw(dc);
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
    if (EndsWith(out, ".svg")) {
        QSvgGenerator svg;
        svg.setFileName(QString::fromStdString(out));
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QString::fromStdString(loaded.doc->identity().unitTitle));
        QPainter painter;
        if (!painter.begin(&svg)) {
            m_err << out << ": cannot write the picture\n";
            return 1;
        }
        paint(painter);
        painter.end();
        return 0;
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paint(painter);
    }
    if (!image.save(QString::fromStdString(out), "PNG")) {
        m_err << out << ": cannot write the picture\n";
        return 1;
    }
    return 0;
#endif
}

} // namespace quorvel
