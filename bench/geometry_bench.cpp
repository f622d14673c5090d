// The Tiles and Tessellations workspace under load: repainting 1,000 and 10,000 shapes into an
// 800 by 600 image, one rotate tick of 1,000 selected shapes with the repaint of what it
// changed, and hit testing a point among 10,000 shapes.
//
// Painting goes through a small software surface (even-odd scanline fill, square pens), which
// stands in for the shell's painter: the figures measure the core's share of a repaint.
#include "geometry/geometry_document.h"
#include "geometry/shape_catalogue.h"
#include "geometry/shape_commands.h"
#include "workspace/drawing_surface.h"

#include "fakes/fakes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

using namespace quorvel;

namespace {

std::uint32_t Argb(Color c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(RedOf(c)) << 16) |
           (static_cast<std::uint32_t>(GreenOf(c)) << 8) | static_cast<std::uint32_t>(BlueOf(c));
}

// Draws lines and polygons into a CImage; everything else is left out.
class SoftwareSurface : public IDrawingSurface {
public:
    explicit SoftwareSurface(CImage& image) : m_image(image) {}

    void SetPen(int width, Color color) override {
        m_penWidth = color == kNoColor ? 0 : width;
        m_pen = Argb(color);
    }
    void SetNullPen() override { m_penWidth = 0; }
    void SetBrush(Color color) override {
        m_hasBrush = color != kNoColor;
        m_brush = Argb(color);
    }
    void SetNullBrush() override { m_hasBrush = false; }

    void Line(CPoint from, CPoint to) override {
        if (m_penWidth <= 0)
            return;
        const int dx = std::abs(to.x - from.x), sx = from.x < to.x ? 1 : -1;
        const int dy = -std::abs(to.y - from.y), sy = from.y < to.y ? 1 : -1;
        int err = dx + dy;
        CPoint p = from;
        for (;;) {
            Dot(p);
            if (p == to)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                p.x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                p.y += sy;
            }
        }
    }

    void Polygon(const std::vector<CPoint>& points) override {
        if (points.size() < 3)
            return;
        if (m_hasBrush)
            Fill(points);
        for (std::size_t i = 0; i < points.size(); ++i)
            Line(points[i], points[(i + 1) % points.size()]);
    }

    void Rectangle(const CRect& r) override {
        Line({r.left, r.top}, {r.right - 1, r.top});
        Line({r.right - 1, r.top}, {r.right - 1, r.bottom - 1});
        Line({r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1});
        Line({r.left, r.bottom - 1}, {r.left, r.top});
    }
    void FillRect(const CRect& r, Color color) override {
        const std::uint32_t c = Argb(color);
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, m_image.height); ++y)
            std::fill(Row(y) + std::max(r.left, 0), Row(y) + std::min(r.right, m_image.width), c);
    }
    void Ellipse(const CRect& r) override { Rectangle(r); }

    void Polyline(const std::vector<CPoint>&) override {}
    void Arc(const CRect&, CPoint, CPoint) override {}
    void Pie(const CRect&, CPoint, CPoint) override {}
    void SetFont(const CFontSpec&) override {}
    void SetTextColor(Color) override {}
    void SetTextBackground(Color, bool) override {}
    void TextOut(CPoint, std::string_view) override {}
    void DrawText(const CRect&, std::string_view, unsigned) override {}
    void SetClip(const CRect&) override {}
    void ClearClip() override {}
    ITextMetrics& Metrics() override { return m_metrics; }

private:
    std::uint32_t* Row(int y) {
        return m_image.pixels.data() + static_cast<std::size_t>(y) * m_image.width;
    }

    // A square pen centred on the point.
    void Dot(CPoint p) {
        const int half = m_penWidth / 2;
        const int x0 = std::max(p.x - half, 0),
                  x1 = std::min(p.x - half + m_penWidth, m_image.width);
        for (int y = std::max(p.y - half, 0); y < std::min(p.y - half + m_penWidth, m_image.height);
             ++y)
            if (x0 < x1)
                std::fill(Row(y) + x0, Row(y) + x1, m_pen);
    }

    // Even-odd scanline fill through pixel centres.
    void Fill(const std::vector<CPoint>& points) {
        int top = m_image.height, bottom = -1;
        for (CPoint p : points) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        top = std::max(top, 0);
        bottom = std::min(bottom, m_image.height - 1);
        std::vector<double> xs;
        for (int y = top; y <= bottom; ++y) {
            const double cy = y + 0.5;
            xs.clear();
            for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                const CPoint a = points[i], b = points[j];
                if ((a.y > cy) != (b.y > cy))
                    xs.push_back(a.x + (cy - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
                const int x0 = std::max(static_cast<int>(std::ceil(xs[k] - 0.5)), 0);
                const int x1 =
                    std::min(static_cast<int>(std::ceil(xs[k + 1] - 0.5)), m_image.width);
                if (x0 < x1)
                    std::fill(Row(y) + x0, Row(y) + x1, m_brush);
            }
        }
    }

    CImage& m_image;
    int m_penWidth = 1;
    std::uint32_t m_pen = 0xFF000000u;
    bool m_hasBrush = false;
    std::uint32_t m_brush = 0xFFFFFFFFu;
    quorvel::testing::FakeTextMetrics m_metrics;
};

constexpr CRect kScreen{0, 0, 800, 600};
constexpr Color kWorkspaceBlue = PaletteRGB(97, 191, 255);

// `count` drawer shapes scattered over the 800 by 600 workspace, the same every run.
struct Workspace {
    CGeometryUnitDocument doc;
    quorvel::testing::FakePrompter prompter;
    quorvel::testing::FakeTimerHost timers;
    CShapeCommandController controller{doc, prompter, timers};

    explicit Workspace(int count) {
        std::mt19937 random(1999);
        std::uniform_real_distribution<double> x(20, 780), y(20, 580);
        const int slots[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15, 16, 17};
        for (int i = 0; i < count; ++i) {
            const int slot = slots[static_cast<std::size_t>(i) % std::size(slots)];
            doc.AddManipulative(MakeDrawerShape(slot, C3DPointDouble(x(random), y(random), 0.0)));
        }
    }
};

void Repaint(benchmark::State& state) {
    Workspace w(static_cast<int>(state.range(0)));
    CImage image(800, 600);
    SoftwareSurface dc(image);
    for (auto _ : state) {
        dc.FillRect(kScreen, kWorkspaceBlue);
        w.controller.Draw(dc, kScreen);
        benchmark::DoNotOptimize(image.pixels.data());
    }
}
BENCHMARK(Repaint)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A surface that records nothing: what the core spends on a repaint before any pixel is set.
class NullSurface : public SoftwareSurface {
public:
    using SoftwareSurface::SoftwareSurface;
    void SetPen(int, Color) override {}
    void SetBrush(Color) override {}
    void Line(CPoint, CPoint) override {}
    void Polygon(const std::vector<CPoint>& points) override {
        benchmark::DoNotOptimize(points.data());
    }
};

void RepaintCoreOnly(benchmark::State& state) {
    Workspace w(static_cast<int>(state.range(0)));
    CImage image(800, 600);
    NullSurface dc(image);
    for (auto _ : state)
        w.controller.Draw(dc, kScreen);
}
BENCHMARK(RepaintCoreOnly)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Collects the boxes a tick asks to redraw.
class DamageView : public IWorkspaceView {
public:
    CRect damage;
    void InvalidateRect(const CRect& r) override { damage = damage.United(r); }
};

void RotateTick(benchmark::State& state) {
    Workspace w(1000);
    DamageView view;
    w.doc.SetView(&view);
    for (const auto& m : w.doc.manipulatives())
        w.doc.Select(m.get());
    class Angle : public IShapeCommandPanel {
    public:
        std::string AngleText() const override { return "360"; }
        void SetAngleText(const std::string&) override {}
    } panel;
    w.controller.SetPanel(&panel);
    CImage image(800, 600);
    SoftwareSurface dc(image);
    const bool repaint = state.range(0) != 0;
    for (auto _ : state) {
        if (!w.controller.IsAnimating()) {
            state.PauseTiming();
            w.controller.OnRotateRight();
            state.ResumeTiming();
        }
        view.damage = CRect{};
        w.timers.Fire(kRotateTimer);
        if (repaint) {
            const CRect clip{std::max(view.damage.left, 0), std::max(view.damage.top, 0),
                             std::min(view.damage.right, 800), std::min(view.damage.bottom, 600)};
            dc.FillRect(clip, kWorkspaceBlue);
            w.controller.Draw(dc, clip);
        }
        benchmark::DoNotOptimize(image.pixels.data());
    }
}
BENCHMARK(RotateTick)->ArgName("repaint")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void HitTest(benchmark::State& state) {
    Workspace w(10000);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(0, 1600), y(0, 1200);
    std::int64_t hits = 0;
    for (auto _ : state) {
        // Half the points lie beyond the shapes, where every one must be looked at.
        const CManipulative* m = w.doc.HitTest({x(random), y(random)});
        hits += m != nullptr;
        benchmark::DoNotOptimize(m);
    }
    state.counters["hit_fraction"] =
        static_cast<double>(hits) /
        static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
}
BENCHMARK(HitTest)->Unit(benchmark::kMicrosecond);

} // namespace
