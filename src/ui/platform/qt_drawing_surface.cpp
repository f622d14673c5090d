// QPainter drawing with GDI's habits: solid pens with round ends, the alternate fill rule,
// cell-top text positions and counter-clockwise arcs.
#include "ui/platform/qt_drawing_surface.h"

#include "ui/platform/qt_text.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <climits>
#include <cmath>
#include <type_traits>
#include <utility>
#include <vector>

namespace quorvel {

namespace {

QFont MakeQtFont(const CFontSpec& spec) {
    QFont font;
    if (spec.face == "Arial") {
        font.setFamily(QStringLiteral("Liberation Sans"));
        font.setStyleHint(QFont::SansSerif);
    } else if (spec.face == "MS Sans Serif" || spec.face == "Symbol") {
        font.setFamily(QStringLiteral("DejaVu Sans"));
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamily(ToQString(spec.face));
    }
    const int pixels = spec.pixelHeight != 0
                           ? std::abs(spec.pixelHeight)
                           : static_cast<int>(std::lround(spec.pointSizeTenths * 96.0 / 720.0));
    font.setPixelSize(std::max(pixels, 1));
    font.setWeight(spec.weight >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    return font;
}

// The program uses a handful of fonts, but draws and measures text in them thousands of times a
// repaint: each is made once, and so are its metrics.
template <typename T> const T& Cached(const CFontSpec& spec) {
    thread_local std::vector<std::pair<CFontSpec, T>> cache;
    for (const auto& [s, value] : cache)
        if (s == spec)
            return value;
    if (cache.size() >= 64)
        cache.clear();
    if constexpr (std::is_same_v<T, QFont>)
        cache.emplace_back(spec, MakeQtFont(spec));
    else
        cache.emplace_back(spec, T(Cached<QFont>(spec)));
    return cache.back().second;
}

const QFontMetrics& MetricsOf(const CFontSpec& spec) {
    return Cached<QFontMetrics>(spec);
}

} // namespace

QFont QtFont(const CFontSpec& spec) {
    return Cached<QFont>(spec);
}

QColor QtColor(Color color) {
    if (color == kNoColor)
        return {};
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

QString FaceText(const CFontSpec& spec, std::string_view text) {
    if (spec.face != "Symbol")
        return ToQString(text);
    QString out;
    for (unsigned char c : text) {
        switch (c) {
        case 0x2D:
            out += QChar(0x2212);
            break;
        case 0xB4:
            out += QChar(0x00D7);
            break;
        case 0xB8:
            out += QChar(0x00F7);
            break;
        default:
            out += QChar(static_cast<char16_t>(c));
        }
    }
    return out;
}

CSize CQtTextMetrics::TextExtent(const CFontSpec& font, std::string_view utf8) {
    const QFontMetrics& fm = MetricsOf(font);
    return {fm.horizontalAdvance(FaceText(font, utf8)), fm.height()};
}

CSize CQtTextMetrics::WrappedExtent(const CFontSpec& font, std::string_view utf8, int width) {
    const QFontMetrics& fm = MetricsOf(font);
    const QRect r =
        fm.boundingRect(QRect(0, 0, std::max(width, 1), INT_MAX / 2),
                        Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, FaceText(font, utf8));
    return {r.width(), std::max(r.height(), fm.height())};
}

int CQtTextMetrics::LineHeight(const CFontSpec& font) {
    return MetricsOf(font).height();
}

int CQtTextMetrics::AverageCharWidth(const CFontSpec& font) {
    return MetricsOf(font).averageCharWidth();
}

CQtDrawingSurface::CQtDrawingSurface(QPainter& painter) : m_painter(&painter) {
    Init();
}

CQtDrawingSurface::CQtDrawingSurface(CImage& image) {
    m_image = std::make_unique<QImage>(reinterpret_cast<uchar*>(image.pixels.data()), image.width,
                                       image.height, image.width * 4, QImage::Format_ARGB32);
    m_ownPainter = std::make_unique<QPainter>(m_image.get());
    m_painter = m_ownPainter.get();
    Init();
}

CQtDrawingSurface::~CQtDrawingSurface() {
    if (m_ownPainter)
        m_ownPainter->end();
}

void CQtDrawingSurface::Init() {
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    if (const QPaintDevice* device = m_painter->device()) {
        const QRectF all = m_painter->transform().inverted().mapRect(
            QRectF(0, 0, device->width(), device->height()));
        m_baseClip =
            m_painter->hasClipping() ? m_painter->clipBoundingRect().intersected(all) : all;
        ClipTo(m_baseClip);
    }
    SetPen(1, PaletteRGB(0, 0, 0));
    SetBrush(PaletteRGB(255, 255, 255));
    m_painter->setFont(QtFont(m_font));
}

void CQtDrawingSurface::SetPen(int width, Color color) {
    if (width <= 0 || color == kNoColor) {
        SetNullPen();
        return;
    }
    if (width != m_penWidth || color != m_penColor) {
        m_penWidth = width;
        m_penColor = color;
        // A shape's fill and outline take turns: the few pens last made are kept.
        auto it = std::find_if(m_pens.begin(), m_pens.end(), [&](const PenEntry& e) {
            return e.width == width && e.color == color;
        });
        if (it == m_pens.end()) {
            it = m_pens.begin() + static_cast<std::ptrdiff_t>(m_nextPen);
            m_nextPen = (m_nextPen + 1) % m_pens.size();
            it->width = width;
            it->color = color;
            it->pen = QPen(QtColor(color), width, Qt::SolidLine,
                           width == 1 ? Qt::SquareCap : Qt::RoundCap, Qt::RoundJoin);
            it->squarePen =
                QPen(QtColor(color), width, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin);
            it->fill = it->pen.brush();
        }
        m_pen = &*it;
    }
    m_painter->setPen(m_pen->pen);
    m_squarePenSet = false;
    m_hasPen = true;
    m_penOffset = width % 2 == 1 ? 0.5 : 0.0;
}

void CQtDrawingSurface::SetNullPen() {
    m_painter->setPen(Qt::NoPen);
    m_squarePenSet = false;
    m_penWidth = -1;
    m_penColor = kNoColor;
    m_hasPen = false;
}

void CQtDrawingSurface::SetBrush(Color color) {
    if (color == kNoColor) {
        SetNullBrush();
        return;
    }
    if (color != m_brushColor) {
        m_brushColor = color;
        auto it = std::find_if(m_brushes.begin(), m_brushes.end(),
                               [&](const BrushEntry& e) { return e.color == color; });
        if (it == m_brushes.end()) {
            it = m_brushes.begin() + static_cast<std::ptrdiff_t>(m_nextBrush);
            m_nextBrush = (m_nextBrush + 1) % m_brushes.size();
            it->color = color;
            it->brush = QBrush(QtColor(color));
        }
        m_brush = it->brush;
    }
    m_painter->setBrush(m_brush);
}

void CQtDrawingSurface::SetNullBrush() {
    m_painter->setBrush(Qt::NoBrush);
}

// GDI lights the pixel whose top-left corner is the point; an odd-width pen through the
// pixel's centre stays that crisp under smoothing instead of spreading over two rows.
void CQtDrawingSurface::Line(CPoint from, CPoint to) {
    const QPointF a(from.x + m_penOffset, from.y + m_penOffset);
    const QPointF b(to.x + m_penOffset, to.y + m_penOffset);
    if (!m_hasPen || m_penWidth < 2 || from == to) {
        m_painter->drawLine(a, b);
    } else if (m_penWidth <= 3 && !m_painter->testRenderHint(QPainter::Antialiasing)) {
        // Drawn aliased, a round end this narrow and a square one differ by a pixel at most
        // at a corner, and Qt strokes the square one in less than half the time.
        if (!m_squarePenSet) {
            m_painter->setPen(m_pen->squarePen);
            m_squarePenSet = true;
        }
        m_painter->drawLine(a, b);
    } else {
        FillCapsule(a, b);
    }
}

// A wide pen's segment is the band between its ends and a half disc at each end. Qt strokes it
// by flattening Bezier arcs for the round ends, which costs more than drawing the segment; the
// same outline built here with enough points for its radius fills in a fraction of the time.
void CQtDrawingSurface::FillCapsule(const QPointF& a, const QPointF& b) {
    const double r = m_penWidth / 2.0;
    const int steps = std::clamp(static_cast<int>(std::ceil(2 * r)), 4, 24);
    if (m_halfTurn.size() != static_cast<std::size_t>(steps) + 1) {
        m_halfTurn.resize(static_cast<std::size_t>(steps) + 1);
        for (int i = 0; i <= steps; ++i)
            m_halfTurn[static_cast<std::size_t>(i)] = {std::cos(M_PI * i / steps),
                                                       std::sin(M_PI * i / steps)};
    }
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    const QPointF along(d.x() / length * r, d.y() / length * r);
    const QPointF across(-along.y(), along.x());
    m_capsule.clear();
    // Around the end from one side to the other, then around the start back again.
    m_capsule.moveTo(b + across);
    for (const auto& [c, s] : m_halfTurn)
        m_capsule.lineTo(b + across * c + along * s);
    for (const auto& [c, s] : m_halfTurn)
        m_capsule.lineTo(a - across * c - along * s);
    m_capsule.closeSubpath();
    m_painter->fillPath(m_capsule, m_pen->fill);
}

namespace {

// GDI's angle of the ray from the centre of `r` through `p`, counter-clockwise in degrees.
double RayAngle(const QRectF& r, CPoint p) {
    const QPointF c = r.center();
    return std::atan2(-(p.y - c.y()), p.x - c.x()) * 180.0 / M_PI;
}

// Start and span (both in 1/16 degree) of the counter-clockwise arc from `start` to `end`.
std::pair<int, int> ArcAngles(const QRectF& r, CPoint start, CPoint end) {
    const double a1 = RayAngle(r, start);
    double span = RayAngle(r, end) - a1;
    while (span <= 0)
        span += 360.0;
    return {static_cast<int>(std::lround(a1 * 16)), static_cast<int>(std::lround(span * 16))};
}
} // namespace

void CQtDrawingSurface::Polygon(const std::vector<CPoint>& points) {
    m_points.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        m_points[i] = QPoint(points[i].x, points[i].y);
    m_painter->drawPolygon(m_points.data(), static_cast<int>(m_points.size()), Qt::OddEvenFill);
}

void CQtDrawingSurface::Polyline(const std::vector<CPoint>& points) {
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(points.size()));
    for (const auto& p : points)
        line << QPointF(p.x + m_penOffset, p.y + m_penOffset);
    m_painter->drawPolyline(line);
}

QRectF CQtDrawingSurface::ShapeRect(const CRect& r) const {
    // GDI draws the outline inside right - 1 and bottom - 1; without a pen the fill reaches them.
    if (!m_hasPen)
        return QRectF(r.left, r.top, r.Width(), r.Height());
    return QRectF(r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1);
}

void CQtDrawingSurface::Rectangle(const CRect& r) {
    m_painter->drawRect(ShapeRect(r));
}

void CQtDrawingSurface::FillRect(const CRect& r, Color color) {
    if (color != kNoColor)
        m_painter->fillRect(QRect(r.left, r.top, r.Width(), r.Height()), QtColor(color));
}

void CQtDrawingSurface::Ellipse(const CRect& r) {
    m_painter->drawEllipse(ShapeRect(r));
}

void CQtDrawingSurface::Arc(const CRect& r, CPoint start, CPoint end) {
    const QRectF rect = ShapeRect(r);
    const auto [a, span] = ArcAngles(rect, start, end);
    m_painter->drawArc(rect, a, span);
}

void CQtDrawingSurface::Pie(const CRect& r, CPoint start, CPoint end) {
    const QRectF rect = ShapeRect(r);
    const auto [a, span] = ArcAngles(rect, start, end);
    m_painter->drawPie(rect, a, span);
}

void CQtDrawingSurface::SetFont(const CFontSpec& font) {
    if (m_fontSet && font == m_font)
        return;
    m_font = font;
    m_fontSet = true;
    m_painter->setFont(QtFont(font));
}

void CQtDrawingSurface::SetTextColor(Color color) {
    m_textColor = color == kNoColor ? QColor(Qt::black) : QtColor(color);
}

void CQtDrawingSurface::SetTextBackground(Color color, bool transparent) {
    m_transparentText = transparent || color == kNoColor;
    if (color != kNoColor)
        m_textBackground = QtColor(color);
}

void CQtDrawingSurface::TextOut(CPoint at, std::string_view utf8) {
    const QString text = FaceText(m_font, utf8);
    const QFontMetrics& fm = MetricsOf(m_font);
    const QRect cell(at.x, at.y, fm.horizontalAdvance(text), fm.height());
    if (!m_transparentText)
        m_painter->fillRect(cell, m_textBackground);
    m_painter->save();
    m_painter->setPen(m_textColor);
    m_painter->drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    m_painter->restore();
}

void CQtDrawingSurface::DrawText(const CRect& r, std::string_view utf8, unsigned align) {
    int flags = 0;
    flags |= (align & kAlignCenter)  ? Qt::AlignHCenter
             : (align & kAlignRight) ? Qt::AlignRight
                                     : Qt::AlignLeft;
    flags |= (align & kAlignVCenter)  ? Qt::AlignVCenter
             : (align & kAlignBottom) ? Qt::AlignBottom
                                      : Qt::AlignTop;
    if (align & kWordBreak)
        flags |= Qt::TextWordWrap;
    if (align & kSingleLine)
        flags |= Qt::TextSingleLine;
    const QRect rect(r.left, r.top, r.Width(), r.Height());
    const QString text = FaceText(m_font, utf8);
    m_painter->save();
    if (!(align & kNoClip))
        m_painter->setClipRect(rect, Qt::IntersectClip);
    if (!m_transparentText)
        m_painter->fillRect(m_painter->boundingRect(rect, flags, text), m_textBackground);
    m_painter->setPen(m_textColor);
    m_painter->drawText(rect, flags, text);
    m_painter->restore();
}

void CQtDrawingSurface::ClipTo(const QRectF& r) {
    m_painter->setClipRect(r);
}

void CQtDrawingSurface::SetClip(const CRect& r) {
    const QRectF rect(r.left, r.top, r.Width(), r.Height());
    ClipTo(m_baseClip.isEmpty() ? rect : m_baseClip.intersected(rect));
}

void CQtDrawingSurface::ClearClip() {
    if (m_baseClip.isEmpty())
        m_painter->setClipping(false);
    else
        ClipTo(m_baseClip);
}

std::unique_ptr<IDrawingSurface> CQtSurfaceFactory::SurfaceFor(CImage& image) {
    return std::make_unique<CQtDrawingSurface>(image);
}

} // namespace quorvel
