// The Tiles and Tessellations workspace repainted through Qt: 1,000 and 10,000 drawer shapes
// drawn by QPainter into an 800 by 600 image, with and without smoothed edges, and the page's
// own pane painting the same workspace (its off-screen buffer included).
#include "geometry/geometry_document.h"
#include "geometry/shape_catalogue.h"
#include "geometry/shape_commands.h"
#include "ui/geometry/geometry_unit_view.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/workspace/workspace_pane.h"
#include "workspace/workspace_pane.h"

#include "fakes/fakes.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <random>

using namespace quorvel;

namespace {

constexpr CRect kScreen{0, 0, 800, 600};

QApplication& App() {
    static int argc = 1;
    static char name[] = "geometry_view_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// `count` drawer shapes scattered over the 800 by 600 workspace, the same every run.
void Fill(CGeometryUnitDocument& doc, int count) {
    std::mt19937 random(1999);
    std::uniform_real_distribution<double> x(20, 780), y(20, 580);
    const int catalogue[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15, 16, 17};
    for (int i = 0; i < count; ++i) {
        const int index = catalogue[static_cast<std::size_t>(i) % std::size(catalogue)];
        doc.AddManipulative(MakeDrawerShape(index, C3DPointDouble(x(random), y(random), 0.0)));
    }
}

void QtRepaint(benchmark::State& state) {
    App();
    CGeometryUnitDocument doc;
    Fill(doc, static_cast<int>(state.range(0)));
    quorvel::testing::FakePrompter prompter;
    quorvel::testing::FakeTimerHost timers;
    CShapeCommandController controller(doc, prompter, timers);
    // Opaque, as the pane's buffer and the screen are.
    QImage image(800, 600, QImage::Format_RGB32);
    const bool smooth = state.range(1) != 0;
    for (auto _ : state) {
        QPainter p(&image);
        p.fillRect(image.rect(), QtColor(kPaneColor));
        CQtDrawingSurface dc(p);
        p.setRenderHint(QPainter::Antialiasing, smooth);
        controller.Draw(dc, kScreen);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(QtRepaint)
    ->ArgNames({"shapes", "antialiased"})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Unit(benchmark::kMillisecond);

// The page's pane painting its whole area as the screen asks it to.
void PaneRepaint(benchmark::State& state) {
    App();
    quorvel::testing::FakeDocumentHost host;
    CGeometryUnitDocument doc;
    doc.SetHost(&host);
    Fill(doc, static_cast<int>(state.range(0)));
    CGeometryUnitView view(doc, nullptr);
    view.resize(800, 575);
    view.SetAntialiasing(state.range(1) != 0);
    CWorkspacePane* pane = view.pane();
    QImage image(pane->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        pane->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["pane_width"] = pane->width();
    state.counters["pane_height"] = pane->height();
}
BENCHMARK(PaneRepaint)
    ->ArgNames({"shapes", "antialiased"})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
