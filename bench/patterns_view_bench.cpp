// A crowded Numbers workspace repainted through Qt: 200 machines and 2,000 cards drawn by
// QPainter into an 800 by 600 image: the part a screen shows (what the pane repaints), and
// every manipulative drawn whether it falls on the image or not (what a repaint costs when
// nothing is left out).
#include "patterns/number_machine.h"
#include "patterns/patterns_documents.h"
#include "ui/platform/qt_drawing_surface.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

using namespace quorvel;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "patterns_view_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

void Fill(CNumberPatternsDocument& doc, ITextMetrics& metrics) {
    for (int i = 0; i < 200; ++i) {
        const CPoint at{(i % 20) * 220, (i / 20) * 220};
        auto* m =
            static_cast<CNumberMachine*>(doc.AddManipulative(std::make_unique<CNumberMachine>(at)));
        m->SetOperation(i % 4);
    }
    for (int i = 0; i < 2000; ++i) {
        auto card = std::make_unique<CNumberCardManipulative>(
            CPoint{(i % 50) * 88, 2300 + (i / 50) * 40}, metrics);
        card->SetText(std::to_string(i) + "/7");
        doc.AddManipulative(std::move(card));
    }
}

void Repaint(benchmark::State& state) {
    App();
    CQtTextMetrics metrics;
    CNumberPatternsDocument doc;
    Fill(doc, metrics);
    QImage image(800, 600, QImage::Format_RGB32);
    const bool whole = state.range(0) != 0;
    const CRect screen{0, 0, 800, 600};
    for (auto _ : state) {
        QPainter p(&image);
        p.fillRect(image.rect(), Qt::white);
        CQtDrawingSurface dc(p);
        for (const auto& m : doc.manipulatives())
            if (whole || m->GetFrameOf().Intersects(screen))
                m->Draw(dc);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(Repaint)->ArgNames({"whole"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
