// Every drawing starts as drawer shapes from the catalogue. Tiles are laid edge to edge the way
// a pupil snaps them, grouped into a core, and the core is copied and slid along two steps to
// cover the picture; turns and flips are the workspace's own. Shapes are drawn at sixteen times
// their size so that corners which meet are rounded to the same point, and the page painter
// scales them back.
#include "tools/companion_docs/figures.h"

#include "tools/companion_docs/machine_figures.h"
#include "tools/companion_docs/screen_figures.h"
#include "tools/companion_docs/stats_figures.h"

#include "geometry/anglemeter_manipulative.h"
#include "geometry/poly_shape_manipulative.h"
#include "geometry/script.h"
#include "geometry/shape_catalogue.h"
#include "ui/platform/qt_drawing_surface.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace quorvel::companion {

namespace {

constexpr double L = kUnitLength;
constexpr double kDegree = kPi / 180.0;
// Shapes are drawn this many times their workspace size (see the top of the file).
constexpr int kFine = 16;
// Outlines on paper, in points.
constexpr double kOutline = 0.9;

const double kRoot3 = std::sqrt(3.0);

using Item = std::unique_ptr<CManipulative>;
using Items = std::vector<Item>;
using Shape = std::unique_ptr<CShapeManipulative>;

C3DPointDouble P(double x, double y) {
    return {x, y, 0.0};
}
C3DPointDouble Plus(const C3DPointDouble& a, const C3DPointDouble& b) {
    return P(a.x + b.x, a.y + b.y);
}
C3DPointDouble Minus(const C3DPointDouble& a, const C3DPointDouble& b) {
    return P(a.x - b.x, a.y - b.y);
}
C3DPointDouble Times(const C3DPointDouble& a, double k) {
    return P(a.x * k, a.y * k);
}
double Length(const C3DPointDouble& v) {
    return std::hypot(v.x, v.y);
}

// A step of `length` in a direction given in degrees anticlockwise from the right, as the page
// shows it (y grows downwards).
C3DPointDouble Toward(double degrees, double length) {
    return P(length * std::cos(degrees * kDegree), -length * std::sin(degrees * kDegree));
}

// The direction of `v` in degrees anticlockwise from the right, in [0, 360).
double DirectionOf(const C3DPointDouble& v) {
    const double d = std::atan2(-v.y, v.x) / kDegree;
    return d < 0 ? d + 360.0 : d;
}

double AngleBetween(double a, double b) {
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

// The drawer colour mixed with white, so that fills print light and pencil shows on them:
// the darker the colour, the more white, up to about the same lightness for every shape.
Color Tint(Color c) {
    const double luma = 0.3 * RedOf(c) + 0.59 * GreenOf(c) + 0.11 * BlueOf(c);
    const double white = std::clamp((225 - luma) / (255 - luma), 0.45, 0.85);
    const auto mix = [white](int v) {
        return static_cast<int>(std::lround(v + (255 - v) * white));
    };
    return PaletteRGB(mix(RedOf(c)), mix(GreenOf(c)), mix(BlueOf(c)));
}

Color Shade(Color c, double white) {
    const auto mix = [white](int v) {
        return static_cast<int>(std::lround(v + (255 - v) * white));
    };
    return PaletteRGB(mix(RedOf(c)), mix(GreenOf(c)), mix(BlueOf(c)));
}

// The drawer colour a tint was made from; other colours stay as they are.
Color Untinted(Color c) {
    for (int s = static_cast<int>(CatalogueShape::Triangle1);
         s <= static_cast<int>(CatalogueShape::Dodecagon); ++s) {
        const Color drawer = FillColorOf(static_cast<CatalogueShape>(s));
        if (Tint(drawer) == c)
            return drawer;
    }
    return c;
}

bool IsRegular(CatalogueShape s) {
    return s == CatalogueShape::Pentagon || s == CatalogueShape::Hexagon ||
           s == CatalogueShape::Octagon || s == CatalogueShape::Dodecagon;
}

// A drawer shape at the origin in a light tint of its colour. The drawer builds the regular
// polygons from a corner cut to whole pixels, which leaves their sides a little short of L;
// they are enlarged to exactly L so that they meet the other shapes edge to edge.
Shape MakeShape(CatalogueShape s) {
    Shape shape = BuildCatalogueShape(s, P(0, 0));
    if (IsRegular(s)) {
        const CLine& first = shape->lines().front();
        const double side = Length(Minus(first.end(), first.start()));
        shape->Scale(L / side, shape->centre());
    }
    shape->SetColor(Tint(FillColorOf(s)));
    return shape;
}

C3DPointDouble Corner(const CManipulative& m, int i) {
    const int n = static_cast<int>(m.lines().size());
    return m.lines()[static_cast<std::size_t>(((i % n) + n) % n)].start();
}

// Which side of the line through a and b the point lies on.
double Side(const C3DPointDouble& a, const C3DPointDouble& b, const C3DPointDouble& p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// Turns and slides `m` so that its edge `edge` lies along a to b, on the side of that line
// where `side` is.
void PlaceEdge(CManipulative& m, int edge, const C3DPointDouble& a, const C3DPointDouble& b,
               const C3DPointDouble& side) {
    const CLine& line = m.lines()[static_cast<std::size_t>(edge)];
    const C3DPointDouble start = line.start();
    const double now = std::atan2(line.end().y - start.y, line.end().x - start.x);
    const double wanted = std::atan2(b.y - a.y, b.x - a.x);
    // A positive turn is clockwise on the screen, which with y downwards raises the angle.
    m.Rotate(wanted - now, start);
    m.MoveBy(a.x - start.x, a.y - start.y);
    if (Side(a, b, m.centre()) * Side(a, b, side) < 0)
        m.Rotate(kPi, Times(Plus(a, b), 0.5));
}

// The edge whose middle lies most nearly in the direction `degrees` from the centre.
int EdgeFacing(const CManipulative& m, double degrees) {
    int best = 0;
    double bestOff = 1e9;
    for (std::size_t i = 0; i < m.lines().size(); ++i) {
        const CLine& l = m.lines()[i];
        const C3DPointDouble mid = Times(Plus(l.start(), l.end()), 0.5);
        const double off = AngleBetween(DirectionOf(Minus(mid, m.centre())), degrees);
        if (off < bestOff) {
            bestOff = off;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// A new shape whose edge `own` is laid on the edge of `to` that faces `degrees`, outside `to`,
// as a pupil snaps one tile to another.
CShapeManipulative& Attach(Items& into, const CManipulative& to, double degrees, CatalogueShape s,
                           int own = 0) {
    const CLine& edge = to.lines()[static_cast<std::size_t>(EdgeFacing(to, degrees))];
    Shape shape = MakeShape(s);
    const C3DPointDouble away = Minus(Plus(edge.start(), edge.end()), to.centre());
    PlaceEdge(*shape, own, edge.start(), edge.end(), away);
    into.push_back(std::move(shape));
    return static_cast<CShapeManipulative&>(*into.back());
}

CShapeManipulative& Add(Items& into, Shape shape) {
    into.push_back(std::move(shape));
    return static_cast<CShapeManipulative&>(*into.back());
}

Item Group(Items members) {
    return std::make_unique<CPolyShapeManipulative>(std::move(members));
}

// Bounds of every corner of a manipulative and its members, in workspace pixels.
QRectF BoundsOf(const CManipulative& m) {
    QRectF r;
    if (const auto* members = m.GetMembers()) {
        for (const auto& member : *members)
            r = r.united(BoundsOf(*member));
        return r;
    }
    double left = 1e18, top = 1e18, right = -1e18, bottom = -1e18;
    for (const CLine& l : m.lines())
        for (const C3DPointDouble& p : {l.start(), l.end()}) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
    if (left > right)
        return {};
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QRectF BoundsOf(const Items& items) {
    QRectF r;
    for (const Item& item : items)
        r = r.united(BoundsOf(*item));
    return r;
}

// A core and the two slides that carry it to its neighbours.
struct CTiling {
    Item core;
    C3DPointDouble u;
    C3DPointDouble v;
    double viewWidth; // how much of the workspace a picture shows across, in pixels
};

// Copies of the core slid by whole steps of u and v, as many as reach into `view`.
Items Tessellate(const CTiling& t, const QRectF& view) {
    Items out;
    const QRectF core = BoundsOf(*t.core);
    for (int i = -40; i <= 40; ++i)
        for (int j = -40; j <= 40; ++j) {
            const C3DPointDouble step = Plus(Times(t.u, i), Times(t.v, j));
            if (!core.translated(step.x, step.y).intersects(view))
                continue;
            Item copy = t.core->Clone();
            copy->MoveBy(step.x, step.y);
            out.push_back(std::move(copy));
        }
    return out;
}

// --- the tessellations ------------------------------------------------------------------------

CTiling Squares() {
    Items core;
    Shape s = MakeShape(CatalogueShape::Square);
    PlaceEdge(*s, 0, P(0, 0), P(L, 0), P(0, -1));
    Add(core, std::move(s));
    return {Group(std::move(core)), P(L, 0), P(0, -L), 5 * L};
}

CTiling Triangles() {
    Items core;
    Shape t = MakeShape(CatalogueShape::Triangle1);
    PlaceEdge(*t, 0, P(0, 0), P(L, 0), P(0, -1));
    const CShapeManipulative& up = Add(core, std::move(t));
    Attach(core, up, 30, CatalogueShape::Triangle1);
    return {Group(std::move(core)), P(L, 0), P(L / 2, -kRoot3 * L / 2), 5 * L};
}

CTiling HexagonsTriangles() {
    Items core;
    const CShapeManipulative& h = Add(core, MakeShape(CatalogueShape::Hexagon));
    Attach(core, h, 30, CatalogueShape::Triangle1);
    Attach(core, h, 330, CatalogueShape::Triangle1);
    return {Group(std::move(core)), P(2 * L, 0), P(L, -kRoot3 * L), 7 * L};
}

CTiling SquaresTriangles() {
    Items core;
    Shape s = MakeShape(CatalogueShape::Square);
    PlaceEdge(*s, 0, P(0, 0), P(L, 0), P(0, -1));
    const CShapeManipulative& square = Add(core, std::move(s));
    const CShapeManipulative& up = Attach(core, square, 90, CatalogueShape::Triangle1);
    Attach(core, up, 30, CatalogueShape::Triangle1);
    return {Group(std::move(core)), P(L, 0), P(L / 2, -(L + kRoot3 * L / 2)), 5 * L};
}

CTiling OctagonsSquares() {
    Items core;
    const CShapeManipulative& o = Add(core, MakeShape(CatalogueShape::Octagon));
    Attach(core, o, 315, CatalogueShape::Square);
    const double a = L * (1 + std::sqrt(2.0));
    return {Group(std::move(core)), P(a, 0), P(0, -a), 6.5 * L};
}

// Three rhombi with their wide corners together make a cube; three shades make it stand up.
CTiling TumblingBlocks() {
    Items core;
    const Color indigo = FillColorOf(CatalogueShape::Rhombus1);
    const Color shades[3] = {Shade(indigo, 0.93), Shade(indigo, 0.72), Shade(indigo, 0.5)};
    Shape first = MakeShape(CatalogueShape::Rhombus1);
    PlaceEdge(*first, 0, P(-L, 0), P(0, 0), P(0, -1));
    for (int k = 0; k < 3; ++k) {
        Item r = first->Clone();
        r->Rotate(k * 120 * kDegree, P(0, 0));
        r->SetColor(shades[k]);
        core.push_back(std::move(r));
    }
    return {Group(std::move(core)), P(1.5 * L, -kRoot3 * L / 2), P(0, -kRoot3 * L), 6 * L};
}

// Two trapezoids make a hexagon: the upper one red, the lower one turned half round and yellow.
Items TrapezoidPair() {
    Items pair;
    Shape top = MakeShape(CatalogueShape::Trapezoid);
    PlaceEdge(*top, 0, P(-L, 0), P(L, 0), P(0, -1));
    Item bottom = top->Clone();
    bottom->Rotate(kPi, P(0, 0));
    bottom->SetColor(Tint(FillColorOf(CatalogueShape::Hexagon)));
    pair.push_back(std::move(top));
    pair.push_back(std::move(bottom));
    return pair;
}

CTiling Trapezoids() {
    return {Group(TrapezoidPair()), P(1.5 * L, -kRoot3 * L / 2), P(0, -kRoot3 * L), 6 * L};
}

CTiling DodecagonsTriangles() {
    Items core;
    const CShapeManipulative& d = Add(core, MakeShape(CatalogueShape::Dodecagon));
    Attach(core, d, 30, CatalogueShape::Triangle1);
    Attach(core, d, 330, CatalogueShape::Triangle1);
    const double step = L * (2 + kRoot3);
    return {Group(std::move(core)), P(step, 0), Toward(60, step), 9 * L};
}

CTiling HexagonsSquaresTriangles() {
    Items core;
    const CShapeManipulative& h = Add(core, MakeShape(CatalogueShape::Hexagon));
    const CShapeManipulative& s30 = Attach(core, h, 30, CatalogueShape::Square);
    Attach(core, h, 90, CatalogueShape::Square);
    Attach(core, h, 150, CatalogueShape::Square);
    Attach(core, s30, 300, CatalogueShape::Triangle1);
    Attach(core, s30, 120, CatalogueShape::Triangle1);
    const double step = L * (1 + kRoot3);
    return {Group(std::move(core)), Toward(30, step), Toward(90, step), 9 * L};
}

const std::map<std::string, std::function<CTiling()>>& Tilings() {
    static const std::map<std::string, std::function<CTiling()>> tilings = {
        {"squares", Squares},
        {"triangles", Triangles},
        {"hexagons-triangles", HexagonsTriangles},
        {"squares-triangles", SquaresTriangles},
        {"octagons-squares", OctagonsSquares},
        {"tumbling-blocks", TumblingBlocks},
        {"trapezoids", Trapezoids},
        {"dodecagons-triangles", DodecagonsTriangles},
        {"hexagons-squares-triangles", HexagonsSquaresTriangles},
    };
    return tilings;
}

// --- drawing ----------------------------------------------------------------------------------

// Where a figure's workspace lands on the page.
struct CFrame {
    QRectF box;
    QPointF centre; // the workspace point drawn at the middle of the box
    double scale;   // page points per workspace pixel

    QPointF ToPage(const C3DPointDouble& p) const {
        return box.center() + (QPointF(p.x, p.y) - centre) * scale;
    }
    QRectF ToPage(const QRectF& r) const {
        return QRectF(ToPage(P(r.left(), r.top())), ToPage(P(r.right(), r.bottom())));
    }
    // The part of the workspace the box shows.
    QRectF View() const {
        const QSizeF size = box.size() / scale;
        return QRectF(centre - QPointF(size.width(), size.height()) / 2, size);
    }
};

// Everything in `content` as large as fits, with a margin.
CFrame Fit(const QRectF& box, const QRectF& content, double margin = 0.08) {
    const double scale = std::min(box.width() / std::max(content.width(), 1.0),
                                  box.height() / std::max(content.height(), 1.0)) *
                         (1 - margin);
    return {box, content.center(), scale};
}

// The points of the fine drawing grid (see kFine).
CPoint Fine(const C3DPointDouble& p, int fine) {
    return {static_cast<int>(std::lround(p.x * fine)), static_cast<int>(std::lround(p.y * fine))};
}

using Extra = std::function<void(IDrawingSurface&, int fine)>;

// Draws copies of `items` through the program's drawing surface, enlarged by `fine` and scaled
// back by the painter, with outlines `outline` points wide on the page.
void DrawItems(QPainter& painter, const CFrame& f, const Items& items, bool clip,
               const Extra& extra = {}, int fine = kFine, double outline = kOutline) {
    painter.save();
    if (clip)
        painter.setClipRect(f.box);
    painter.translate(f.box.center());
    painter.scale(f.scale / fine, f.scale / fine);
    painter.translate(-f.centre.x() * fine, -f.centre.y() * fine);
    const int width = std::max(1, static_cast<int>(std::lround(outline * fine / f.scale)));
    {
        CQtDrawingSurface dc(painter);
        for (const Item& item : items) {
            Item copy = item->Clone();
            if (fine != 1)
                copy->Scale(fine, P(0, 0));
            copy->SetLineWidth(width);
            copy->Draw(dc);
        }
        if (extra)
            extra(dc, fine);
    }
    painter.restore();
}

// The black dot the workspace draws at a rotation point.
void RotationDot(IDrawingSurface& dc, int fine, const C3DPointDouble& at, double radius) {
    const CPoint c = Fine(at, fine);
    const int r = static_cast<int>(std::lround(radius * fine));
    dc.SetPen(1, PaletteRGB(0, 0, 0));
    dc.SetBrush(PaletteRGB(0, 0, 0));
    dc.Ellipse({c.x - r, c.y - r, c.x + r + 1, c.y + r + 1});
}

// An arc inside a corner, anticlockwise from the direction `from` to `to`.
void CornerArc(IDrawingSurface& dc, int fine, const C3DPointDouble& at, double from, double to,
               double radius, int width) {
    const CPoint c = Fine(at, fine);
    const int r = static_cast<int>(std::lround(radius * fine));
    dc.SetPen(width, PaletteRGB(0, 0, 0));
    dc.SetNullBrush();
    dc.Arc({c.x - r, c.y - r, c.x + r, c.y + r}, Fine(Plus(at, Toward(from, radius)), fine),
           Fine(Plus(at, Toward(to, radius)), fine));
}

// The directions of a corner's two edges, the first the one from which the inside of the
// corner opens anticlockwise; returns the corner's angle.
double CornerDirections(const CManipulative& m, int corner, double& from) {
    const C3DPointDouble v = Corner(m, corner);
    const double next = DirectionOf(Minus(Corner(m, corner + 1), v));
    const double previous = DirectionOf(Minus(Corner(m, corner - 1), v));
    const double span = std::fmod(previous - next + 720.0, 360.0);
    if (span < 180) {
        from = next;
        return span;
    }
    from = previous;
    return 360 - span;
}

// Puts the corner of `m` on `at` with its angle opening anticlockwise from `from` degrees;
// returns the direction where the angle ends.
double PlaceCorner(CManipulative& m, int corner, const C3DPointDouble& at, double from) {
    double start = 0;
    const double angle = CornerDirections(m, corner, start);
    const C3DPointDouble v = Corner(m, corner);
    // Anticlockwise directions fall as the workspace turns clockwise.
    m.Rotate((start - from) * kDegree, v);
    m.MoveBy(at.x - v.x, at.y - v.y);
    return from + angle;
}

QFont LabelFont(double points, bool bold = true) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A pencil ring around the core, as a pupil would draw it.
void Ring(QPainter& painter, const CFrame& f, const QRectF& core) {
    const QRectF r = f.ToPage(core);
    const QPointF c = r.center();
    const double rx = r.width() / 2 * 1.32 + 3, ry = r.height() / 2 * 1.32 + 3;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(0xB0, 0x1E, 0x1E), 2.2, Qt::DashLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(c, rx, ry);
    painter.restore();
}

void Arrow(QPainter& painter, QPointF from, QPointF to, const QString& label) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPolygonF head;
    head << to << to - d * 8 + n * 4.5 << to - d * 8 - n * 4.5;
    painter.setBrush(Qt::black);
    painter.drawPolygon(head);
    if (!label.isEmpty()) {
        painter.setFont(LabelFont(10.5));
        const QRectF text(QPointF(std::min(from.x(), to.x()), from.y() - 22),
                          QPointF(std::max(from.x(), to.x()), from.y() - 4));
        painter.drawText(text, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextDontClip, label);
    }
    painter.restore();
}

// --- the figures --------------------------------------------------------------------------------

// With `ring` a pencil ring is drawn round one core; with `bright` that core keeps the full
// drawer colours of the workspace and a heavier outline while the rest stay light.
void TessellationFigure(QPainter& painter, const QRectF& box, const CTiling& t, bool ring,
                        bool bright) {
    const QRectF core = BoundsOf(*t.core);
    // The picture shows at least the tiling's width across and six tenths of it down.
    const double scale = std::min(box.width() / t.viewWidth, box.height() / (0.62 * t.viewWidth));
    const CFrame f{box, core.center(), scale};
    DrawItems(painter, f, Tessellate(t, f.View()), true);
    if (bright) {
        Items one;
        one.push_back(t.core->Clone());
        for (auto& member : *one.front()->GetMembers())
            member->SetColor(Untinted(member->GetColor()));
        DrawItems(painter, f, one, true, {}, kFine, 2.0);
    }
    painter.save();
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.restore();
    if (ring)
        Ring(painter, f, core);
}

void ShapeFigure(QPainter& painter, const QRectF& box, CatalogueShape s) {
    Items items;
    items.push_back(MakeShape(s));
    DrawItems(painter, Fit(box, BoundsOf(items), 0.12), items, false);
}

// A shape with one corner marked by an arc, to be measured.
void CornerFigure(QPainter& painter, const QRectF& box, CatalogueShape s, int corner) {
    Items items;
    items.push_back(MakeShape(s));
    const CFrame f = Fit(box, BoundsOf(items), 0.14);
    const CManipulative& m = *items.front();
    double from = 0;
    const double angle = CornerDirections(m, corner, from);
    const C3DPointDouble v = Corner(m, corner);
    const int width = std::max(1, static_cast<int>(std::lround(1.4 * kFine / f.scale)));
    DrawItems(painter, f, items, false, [&](IDrawingSurface& dc, int fine) {
        CornerArc(dc, fine, v, from, from + angle, L * 0.36, width);
    });
}

// Shapes put corner to corner around one point; a gap left over is hatched.
void FanFigure(QPainter& painter, const QRectF& box, const std::vector<CatalogueShape>& shapes) {
    Items items;
    double at = 90;
    for (CatalogueShape s : shapes) {
        Shape shape = MakeShape(s);
        at = PlaceCorner(*shape, 0, P(0, 0), at);
        items.push_back(std::move(shape));
    }
    const CFrame f = Fit(box, BoundsOf(items), 0.1);
    DrawItems(painter, f, items, false,
              [&](IDrawingSurface& dc, int fine) { RotationDot(dc, fine, P(0, 0), 2.2); });
    if (at < 450 - 0.5) {
        QPolygonF gap;
        gap << f.ToPage(P(0, 0)) << f.ToPage(Toward(at, L * 0.95))
            << f.ToPage(Toward(450, L * 0.95));
        painter.save();
        painter.setPen(QPen(Qt::black, 0.9));
        painter.setBrush(QBrush(Qt::black, Qt::BDiagPattern));
        painter.drawPolygon(gap);
        painter.restore();
    }
}

// The shape as it was and as it is after a turn (degrees, positive to the right) or a flip.
void TurnFigure(QPainter& painter, const QRectF& box, CatalogueShape s, double degrees, bool flip,
                const QString& command) {
    Items items;
    Shape before = MakeShape(s);
    Item after = before->Clone();
    if (flip) {
        for (int step = 0; step < kAnglemeterFlipSteps; ++step)
            after->FlipStepCrossAxis(after->rotationPoint());
    } else {
        after->Rotate(degrees * kDegree, after->rotationPoint());
    }
    // The shape after the change stands a fixed gap to the right, room for the arrow.
    const double gap = 2.2 * L;
    after->MoveBy(BoundsOf(*before).right() - BoundsOf(*after).left() + gap, 0);
    const C3DPointDouble dots[2] = {before->rotationPoint(), after->rotationPoint()};
    items.push_back(std::move(before));
    items.push_back(std::move(after));
    const CFrame f = Fit(box, BoundsOf(items), 0.06);
    DrawItems(painter, f, items, false, [&](IDrawingSurface& dc, int fine) {
        for (const C3DPointDouble& dot : dots)
            RotationDot(dc, fine, dot, 2.2);
    });
    const double left = f.ToPage(P(BoundsOf(*items[0]).right(), 0)).x() + 6;
    const double right = f.ToPage(P(BoundsOf(*items[1]).left(), 0)).x() - 6;
    const double y = box.center().y();
    Arrow(painter, QPointF(left, y), QPointF(right, y), command);
}

// The trihexagonal core, copied and slid `across` times to the right and `down` rows up.
void BuildFigure(QPainter& painter, const QRectF& box, int across, int rows) {
    const CTiling t = HexagonsTriangles();
    Items items;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < across; ++i) {
            Item copy = t.core->Clone();
            const C3DPointDouble step = Plus(Times(t.u, i), Times(t.v, j));
            copy->MoveBy(step.x, step.y);
            items.push_back(std::move(copy));
        }
    const CFrame f = Fit(box, BoundsOf(items), 0.1);
    DrawItems(painter, f, items, false);
}

// The four cores offered with the trapezoid tessellation.
void CoreOptionFigure(QPainter& painter, const QRectF& box, int option) {
    Items items;
    Items pair = TrapezoidPair();
    switch (option) {
    case 1:
        items.push_back(std::move(pair[0]));
        break;
    case 2:
        items = std::move(pair);
        break;
    case 3: {
        const CTiling t = Trapezoids();
        for (auto& m : pair)
            items.push_back(std::move(m));
        for (const Item& m : TrapezoidPair()) {
            Item copy = m->Clone();
            copy->MoveBy(t.u.x, t.u.y);
            items.push_back(std::move(copy));
        }
        break;
    }
    default: {
        const CManipulative& top = *pair[0];
        Attach(items, top, 20, CatalogueShape::Triangle1, 0);
        items.insert(items.begin(), std::move(pair[0]));
        break;
    }
    }
    DrawItems(painter, Fit(box, BoundsOf(items), 0.15), items, false);
}

// A hexagon with an anglemeter measuring its upper left corner, drawn at workspace size; the
// anglemeter's label sits above and to the right of its vertex, clear of the hexagon.
void AnglemeterFigure(QPainter& painter, const QRectF& box) {
    CQtTextMetrics metrics;
    Items items;
    Shape hexagon = MakeShape(CatalogueShape::Hexagon);
    const C3DPointDouble v = Toward(120, L);
    auto meter = std::make_unique<CAnglemeterManipulative>(v, metrics);
    // Arm 0 starts pointing up and arm 1 to the right; each is turned onto an edge.
    const C3DPointDouble arms[2] = {Plus(v, P(0, -2 * L)), Plus(v, P(1.5 * L, 0))};
    const double to[2] = {0, 240};
    for (int arm = 0; arm < 2; ++arm) {
        const double length = Length(Minus(arms[arm], v));
        meter->BeginHandleDrag(arms[arm]);
        meter->DragHandle(Plus(v, Toward(to[arm], length)));
        meter->ReleaseHandle();
    }
    const CRect label = meter->labelRect();
    QRectF content = BoundsOf(*hexagon).united(BoundsOf(*meter));
    content = content.united(QRectF(label.left, label.top, label.Width(), label.Height()));
    items.push_back(std::move(hexagon));
    items.push_back(std::move(meter));
    DrawItems(painter, Fit(box, content.adjusted(-4, -4, 4, 4), 0.04), items, false, {}, 1, 1.0);
}

// The script window of a recorded row: copy, slide, and the closed repeat.
void ScriptWindowFigure(QPainter& painter, const QRectF& box) {
    const QStringList steps = {QStringLiteral("COPY"), QString::fromLatin1(kSlideStepText),
                               QString::fromStdString(ClosedRepeatStepText(3))};
    // Laid out at its own size, then scaled to fit the box.
    constexpr double w = 200, title = 18, name = 16, row = 13, button = 18, gap = 6;
    const double listHeight = steps.size() * row + 6;
    const double h = title + gap + name + gap + listHeight + gap + button + gap + 2;
    const double scale = std::min({1.4, box.width() / w, box.height() / h});
    painter.save();
    painter.translate(box.center());
    painter.scale(scale, scale);
    painter.translate(-w / 2, -h / 2);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 0.9));
    painter.setBrush(QColor(0xC7, 0xC7, 0xC7));
    painter.drawRect(QRectF(0, 0, w, h));
    const QRectF bar(0, 0, w, title);
    painter.setBrush(QColor(0x33, 0x5C, 0x99));
    painter.drawRect(bar);
    painter.setPen(Qt::white);
    painter.setFont(LabelFont(9.5));
    painter.drawText(bar.adjusted(6, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("Script Window"));
    painter.setPen(QPen(Qt::black, 0.8));
    painter.setBrush(Qt::white);
    const QRectF nameBox(8, title + gap, w - 16, name);
    painter.drawRect(nameBox);
    painter.setFont(LabelFont(9.5, false));
    painter.drawText(nameBox.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("row"));
    const QRectF list(8, nameBox.bottom() + gap, w - 16, listHeight);
    painter.drawRect(list);
    QFont mono(QStringLiteral("Liberation Mono"));
    mono.setPointSizeF(9);
    painter.setFont(mono);
    for (int i = 0; i < steps.size(); ++i)
        painter.drawText(QRectF(list.left() + 4, list.top() + 3 + i * row, list.width() - 8, row),
                         Qt::AlignVCenter | Qt::AlignLeft, steps[i]);
    const QStringList buttons = {QStringLiteral("Delete"), QStringLiteral("Clear"),
                                 QStringLiteral("Close")};
    const double bw = (w - 16 - 2 * gap) / 3;
    painter.setFont(LabelFont(9, false));
    for (int i = 0; i < buttons.size(); ++i) {
        const QRectF b(8 + i * (bw + gap), list.bottom() + gap, bw, button);
        painter.setBrush(QColor(0xEE, 0xEE, 0xEE));
        painter.drawRoundedRect(b, 3, 3);
        painter.drawText(b, Qt::AlignCenter, buttons[i]);
    }
    painter.restore();
}

// Dots in rows of triangles, to sketch a tessellation on.
void DotGridFigure(QPainter& painter, const QRectF& box) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x70, 0x70, 0x70));
    const double step = 20, rise = step * kRoot3 / 2;
    int row = 0;
    for (double y = box.top() + rise / 2 + 4; y < box.bottom() - 4; y += rise, ++row)
        for (double x = box.left() + 8 + (row % 2) * step / 2; x < box.right() - 4; x += step)
            painter.drawEllipse(QPointF(x, y), 1.1, 1.1);
    painter.restore();
}

CatalogueShape ShapeNamed(const std::string& name) {
    static const std::map<std::string, CatalogueShape> shapes = {
        {"triangle", CatalogueShape::Triangle1},   {"triangle-2", CatalogueShape::Triangle2},
        {"triangle-3", CatalogueShape::Triangle3}, {"triangle-4", CatalogueShape::Triangle4},
        {"triangle-5", CatalogueShape::Triangle5}, {"square", CatalogueShape::Square},
        {"pentagon", CatalogueShape::Pentagon},    {"hexagon", CatalogueShape::Hexagon},
        {"octagon", CatalogueShape::Octagon},      {"dodecagon", CatalogueShape::Dodecagon},
        {"rhombus", CatalogueShape::Rhombus1},     {"trapezoid", CatalogueShape::Trapezoid},
    };
    const auto it = shapes.find(name);
    return it == shapes.end() ? CatalogueShape::None : it->second;
}

using Figure = std::function<void(QPainter&, const QRectF&)>;

const std::map<std::string, Figure>& Figures() {
    static const std::map<std::string, Figure> figures = [] {
        std::map<std::string, Figure> f;
        for (const auto& [name, make] : Tilings()) {
            f["tess-" + name] = [make](QPainter& p, const QRectF& b) {
                TessellationFigure(p, b, make(), false, false);
            };
            f["tess-" + name + ":ring"] = [make](QPainter& p, const QRectF& b) {
                TessellationFigure(p, b, make(), true, false);
            };
            f["tess-" + name + ":core"] = [make](QPainter& p, const QRectF& b) {
                TessellationFigure(p, b, make(), false, true);
            };
        }
        for (const char* name :
             {"triangle", "triangle-2", "triangle-3", "triangle-4", "triangle-5", "square",
              "pentagon", "hexagon", "octagon", "dodecagon", "rhombus", "trapezoid"}) {
            const CatalogueShape s = ShapeNamed(name);
            f[std::string("shape-") + name] = [s](QPainter& p, const QRectF& b) {
                ShapeFigure(p, b, s);
            };
            // The trapezoid's marked corner is one of its wide ones.
            const int corner = s == CatalogueShape::Trapezoid ? 2 : 0;
            f[std::string("corner-") + name] = [s, corner](QPainter& p, const QRectF& b) {
                CornerFigure(p, b, s, corner);
            };
        }
        using S = CatalogueShape;
        const std::map<std::string, std::vector<S>> fans = {
            {"fan-triangles", std::vector<S>(6, S::Triangle1)},
            {"fan-squares", std::vector<S>(4, S::Square)},
            {"fan-hexagons", std::vector<S>(3, S::Hexagon)},
            {"fan-pentagons", std::vector<S>(3, S::Pentagon)},
            {"fan-octagons-square", {S::Octagon, S::Octagon, S::Square}},
            {"fan-hexagon-squares-triangle", {S::Hexagon, S::Square, S::Triangle1, S::Square}},
        };
        for (const auto& [name, shapes] : fans)
            f[name] = [shapes](QPainter& p, const QRectF& b) { FanFigure(p, b, shapes); };
        f["turn-trapezoid-right-90"] = [](QPainter& p, const QRectF& b) {
            TurnFigure(p, b, S::Trapezoid, 90, false, QStringLiteral("Rot. R"));
        };
        f["turn-triangle-3-right-180"] = [](QPainter& p, const QRectF& b) {
            TurnFigure(p, b, S::Triangle3, 180, false, QStringLiteral("Rot. R"));
        };
        f["turn-trapezoid-left-60"] = [](QPainter& p, const QRectF& b) {
            TurnFigure(p, b, S::Trapezoid, -60, false, QStringLiteral("Rot. L"));
        };
        f["flip-triangle-3"] = [](QPainter& p, const QRectF& b) {
            TurnFigure(p, b, S::Triangle3, 0, true, QStringLiteral("?"));
        };
        f["build-core"] = [](QPainter& p, const QRectF& b) { BuildFigure(p, b, 1, 1); };
        f["build-two"] = [](QPainter& p, const QRectF& b) { BuildFigure(p, b, 2, 1); };
        f["build-row"] = [](QPainter& p, const QRectF& b) { BuildFigure(p, b, 4, 1); };
        f["build-rows"] = [](QPainter& p, const QRectF& b) { BuildFigure(p, b, 4, 3); };
        for (int option = 1; option <= 4; ++option)
            f["core-option-" + std::to_string(option)] = [option](QPainter& p, const QRectF& b) {
                CoreOptionFigure(p, b, option);
            };
        f["anglemeter-hexagon"] = AnglemeterFigure;
        f["script-window"] = ScriptWindowFigure;
        f["dot-grid"] = DotGridFigure;
        return f;
    }();
    return figures;
}

} // namespace

bool DrawFigure(QPainter& painter, const std::string& name, const QRectF& box) {
    const auto it = Figures().find(name);
    if (it == Figures().end())
        return DrawMachineFigure(painter, name, box) || DrawStatsFigure(painter, name, box) ||
               DrawScreenFigure(painter, name, box);
    it->second(painter, box);
    return true;
}

void DrawBandStrip(QPainter& painter, const QRectF& strip) {
    const CTiling t = Triangles();
    const double size = strip.height() / (kRoot3 / 2);
    const CFrame f{strip, QPointF(0, 0), size / L};
    const QRectF view = f.View();
    // One row of triangles, up and down, with its lower edge on the strip's lower edge.
    Items row;
    const Color colours[] = {Shade(FillColorOf(CatalogueShape::Triangle1), 0.3),
                             Shade(FillColorOf(CatalogueShape::Square), 0.3),
                             Shade(FillColorOf(CatalogueShape::Hexagon), 0.3),
                             Shade(FillColorOf(CatalogueShape::Rhombus1), 0.5)};
    int k = 0;
    const double first = std::floor(view.left() / L) - 1;
    for (double x = first * L; x < view.right() + L; x += L) {
        Item copy = t.core->Clone();
        copy->MoveBy(x, view.bottom());
        for (auto& member : *copy->GetMembers())
            member->SetColor(colours[k++ % 4]);
        row.push_back(std::move(copy));
    }
    DrawItems(painter, f, row, true, {}, kFine, 0.5);
}

} // namespace quorvel::companion
