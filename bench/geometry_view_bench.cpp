// The Tiles and Tessellations workspace repainted through Qt: 1,000 and 10,000 drawer shapes
// drawn through the drawing surface into an 800 by 600 image, and the page's own pane painting
// the part of the workspace it shows (its off-screen buffer included). Each run also draws the
// very same polygons and segments straight with QPainter onto the same kind of image and
// reports both processor times and their ratio, so that what the surface and the pane add to the
// painter's own work shows.
#include "geometry/geometry_document.h"
#include "geometry/geometry_view_controller.h"
#include "geometry/shape_catalogue.h"
#include "geometry/shape_commands.h"
#include "ui/geometry/geometry_unit_view.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/workspace/workspace_pane.h"
#include "workspace/workspace_pane.h"

#include "fakes/fakes.h"
#include "painter_baseline.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QPolygon>
#include <QRegion>

#include <random>

using namespace quorvel;
using quorvel::bench::Compare;

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

// The document's shapes as the painter takes them, made once: polygons, fills, and the pens
// and lines of their visible segments, drawn as the surface draws them (pen on odd widths
// through the pixel centres).
class PainterScene {
public:
    explicit PainterScene(const CGeometryUnitDocument& doc) {
        for (const auto& m : doc.manipulatives()) {
            Shape s;
            s.frame = m->GetFrameOf();
            for (const CLine& line : m->lines())
                s.polygon << QPoint(line.start().Rounded().x, line.start().Rounded().y);
            s.fill = QtColor(m->GetColor());
            s.fillPen = QPen(s.fill, 1, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin);
            for (const CLine& line : m->lines()) {
                if (!line.visible() || line.width() <= 0)
                    continue;
                const double o = line.width() % 2 == 1 ? 0.5 : 0.0;
                const CPoint a = line.start().Rounded(), b = line.end().Rounded();
                s.lines.push_back(QLineF(a.x + o, a.y + o, b.x + o, b.y + o));
                s.pens.push_back(PenIndex(line.width(), line.color()));
            }
            m_shapes.push_back(std::move(s));
        }
    }

    // Paints what a surface would paint of `area` (workspace coordinates) on `device`, whose
    // pixel (0, 0) is the workspace's `origin`.
    void Paint(QPaintDevice& device, const CRect& area, QPoint origin, bool smooth,
               bool clip) const {
        QPainter p(&device);
        p.fillRect(QRect(0, 0, area.Width(), area.Height()), QtColor(kPaneColor));
        if (clip)
            p.setClipRect(QRect(0, 0, area.Width(), area.Height()));
        p.translate(-origin.x(), -origin.y());
        p.setRenderHint(QPainter::Antialiasing, smooth);
        int pen = -1;
        for (const Shape& s : m_shapes) {
            if (!s.frame.Intersects(area))
                continue;
            p.setPen(s.fillPen);
            p.setBrush(s.fill);
            p.drawPolygon(s.polygon, Qt::OddEvenFill);
            pen = -1;
            for (std::size_t i = 0; i < s.lines.size(); ++i) {
                if (s.pens[i] != pen)
                    p.setPen(m_pens[static_cast<std::size_t>(pen = s.pens[i])]);
                p.drawLine(s.lines[i]);
            }
        }
    }

private:
    struct Shape {
        CRect frame;
        QPolygon polygon;
        QColor fill;
        QPen fillPen;
        std::vector<QLineF> lines;
        std::vector<int> pens;
    };
    int PenIndex(int width, Color color) {
        QPen pen(QtColor(color), width, Qt::SolidLine, width == 1 ? Qt::SquareCap : Qt::RoundCap,
                 Qt::RoundJoin);
        for (std::size_t i = 0; i < m_pens.size(); ++i)
            if (m_pens[i] == pen)
                return static_cast<int>(i);
        m_pens.push_back(pen);
        return static_cast<int>(m_pens.size()) - 1;
    }
    std::vector<Shape> m_shapes;
    std::vector<QPen> m_pens;
};

// The core's drawing through the surface into the whole 800 by 600 workspace.
void SurfaceRepaint(benchmark::State& state) {
    App();
    CGeometryUnitDocument doc;
    Fill(doc, static_cast<int>(state.range(0)));
    quorvel::testing::FakePrompter prompter;
    quorvel::testing::FakeTimerHost timers;
    CShapeCommandController controller(doc, prompter, timers);
    // Opaque, as the pane's buffer and the screen are.
    QImage image(800, 600, QImage::Format_RGB32);
    const bool smooth = state.range(1) != 0;
    const auto repaint = [&] {
        QPainter p(&image);
        p.fillRect(image.rect(), QtColor(kPaneColor));
        CQtDrawingSurface dc(p);
        p.setRenderHint(QPainter::Antialiasing, smooth);
        controller.Draw(dc, kScreen);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    };
    for (auto _ : state)
        repaint();
    const PainterScene scene(doc);
    Compare(state, repaint, [&] {
        scene.Paint(image, kScreen, QPoint(0, 0), smooth, true);
        benchmark::DoNotOptimize(image.constBits());
    });
}
BENCHMARK(SurfaceRepaint)
    ->ArgNames({"shapes", "antialiased"})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({10000, 0})
    ->Unit(benchmark::kMillisecond);

// The page's pane painting its whole area as the screen asks it to; the painter draws the same
// part of the workspace into a pixmap of the pane's size, smoothed when the pane smooths.
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
    const auto repaint = [&] {
        pane->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    };
    for (auto _ : state)
        repaint();
    const PainterScene scene(doc);
    QPixmap buffer(pane->size());
    const QPoint origin(pane->scrollX(), pane->scrollY());
    const CRect area{origin.x(), origin.y(), origin.x() + pane->width(),
                     origin.y() + pane->height()};
    const bool smooth = state.range(1) != 0 && doc.manipulatives().size() <= 1000;
    Compare(state, repaint, [&] {
        scene.Paint(buffer, area, origin, smooth, true);
        benchmark::DoNotOptimize(&buffer);
    });
    state.counters["pane_width"] = pane->width();
    state.counters["pane_height"] = pane->height();
}
BENCHMARK(PaneRepaint)
    ->ArgNames({"shapes", "antialiased"})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({10000, 0})
    ->Unit(benchmark::kMillisecond);

// Collects the boxes a tick asks to redraw, grown as the page grows them.
class DamageView : public IWorkspaceView {
public:
    CRect damage;
    void InvalidateRect(const CRect& r) override {
        CRect grown = r;
        grown.Inflate(2, 2);
        damage = damage.United(grown);
    }
};

// One rotate tick of 1,000 selected shapes, and the pane repainting what the tick asked for.
void RotateTickRepaint(benchmark::State& state) {
    App();
    quorvel::testing::FakeDocumentHost host;
    CGeometryUnitDocument doc;
    doc.SetHost(&host);
    Fill(doc, 1000);
    CGeometryUnitView view(doc, nullptr);
    view.resize(800, 575);
    view.SetAntialiasing(state.range(0) != 0);
    DamageView damage;
    doc.SetView(&damage);
    for (const auto& m : doc.manipulatives())
        doc.Select(m.get());
    class Angle : public IShapeCommandPanel {
    public:
        std::string AngleText() const override { return "360"; }
        void SetAngleText(const std::string&) override {}
    } panel;
    CShapeCommandController& shapes = view.geometry().commands();
    shapes.SetPanel(&panel);
    CWorkspacePane* pane = view.pane();
    QImage image(pane->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (!shapes.IsAnimating()) {
            state.PauseTiming();
            shapes.OnRotateRight();
            state.ResumeTiming();
        }
        damage.damage = CRect{};
        shapes.OnTimer(kRotateTimer);
        const CRect r = pane->state().ToPane(damage.damage);
        pane->render(&image, QPoint(), QRegion(QRect(r.left, r.top, r.Width(), r.Height())));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(RotateTickRepaint)->ArgName("antialiased")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
