// The data board of a large class: 2,000 tiles with their labels repainted through the drawing
// surface into an 800 by 560 image, beside the very same rectangles, ellipses and labels drawn
// straight with QPainter (their ratio reported); and one step of dragging a selection of 200 of
// them (the move alone, and the move with the repaint that follows it on screen).
#include "statistics/stats_table_controller.h"
#include "ui/platform/qt_drawing_surface.h"

#include "painter_baseline.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <random>

using namespace quorvel;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "board_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

constexpr int kTiles = 2000;

struct Board {
    CStatsUnitDocument doc;
    CStatsTableController table{doc, nullptr};
    QImage image{800, 560, QImage::Format_RGB32};

    Board() {
        CStatsDataSet& data = doc.dataSet();
        doc.InsertNamedColumn(2, "Height", StatsColumnFormat::WholeNumbers);
        std::mt19937 random(5);
        for (int i = 1; i <= kTiles; ++i) {
            data.InsertCase(i);
            data.Cell(i, 1).SetText("P" + std::to_string(i));
            data.Cell(i, 2).SetNumber(CNumber(static_cast<int>(random() % 40)));
            data.Case(i).numberTilePosition = {200.0 + random() % 440, 150.0 + random() % 290};
            data.Case(i).selected = i % 10 == 0 ? 1 : 0;
        }
        doc.UpdateAllViews();
        table.board().SetClient({0, 0, 800, 560});
        table.OnCommand(kCmdDataBoard);
    }
    void Paint() {
        QPainter p(&image);
        p.fillRect(image.rect(), Qt::white);
        CQtDrawingSurface dc(p);
        table.board().Draw(dc);
    }
};

void RepaintBoard(benchmark::State& state) {
    App();
    Board b;
    b.doc.viewState().showLabels = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state)
        b.Paint();
    quorvel::bench::PainterRecording scene;
    b.table.board().Draw(scene);
    quorvel::bench::Compare(
        state,
        [&] {
            b.Paint();
            benchmark::DoNotOptimize(b.image.constBits());
        },
        [&] {
            QPainter p(&b.image);
            p.fillRect(b.image.rect(), Qt::white);
            scene.Play(p);
            p.end();
            benchmark::DoNotOptimize(b.image.constBits());
        });
    state.counters["tiles"] = kTiles;
}
BENCHMARK(RepaintBoard)->Arg(1)->Arg(0)->ArgName("labels")->Unit(benchmark::kMillisecond);

void DragStep(benchmark::State& state) {
    App();
    Board b;
    CStatsBoardController& board = b.table.board();
    const CRect r = board.TileRect(10);
    CPoint at{r.left + 1, r.bottom - 1};
    board.Press(at, StatsTool::Pointer);
    const bool repaint = state.range(0) != 0;
    int dx = 1;
    for (auto _ : state) {
        at.x += dx;
        dx = -dx;
        board.Drag(at);
        if (repaint)
            b.Paint();
    }
    state.counters["moved"] = kTiles / 10;
}
BENCHMARK(DragStep)->Arg(0)->Arg(1)->ArgName("repaint")->Unit(benchmark::kMicrosecond);

} // namespace
