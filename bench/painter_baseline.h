// What the drawing surface adds to Qt's painter: a surface that takes down what the core draws,
// with every pen, brush, font and string made beforehand, and plays it back straight with
// QPainter; and a comparison of processor times that reports both and their ratio.
#pragma once

#include "ui/platform/qt_drawing_surface.h"

#include <benchmark/benchmark.h>

#include <QPainter>

#include <algorithm>
#include <ctime>
#include <vector>

namespace quorvel::bench {

// Processor time of this thread: the machine is shared, and wall time counts the others' work.
inline double CpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Best processor time of one picture over a few rounds of each, taken in turns so that both
// meet the same machine; reported with their ratio.
template <typename Ours, typename Painter>
void Compare(benchmark::State& state, Ours ours, Painter painter) {
    double best[2] = {1e300, 1e300};
    for (int round = 0; round < 5; ++round) {
        for (int which = 0; which < 2; ++which) {
            const double start = CpuMilliseconds();
            for (int i = 0; i < 3; ++i)
                which == 0 ? ours() : painter();
            best[which] = std::min(best[which], (CpuMilliseconds() - start) / 3);
        }
    }
    state.counters["ours_ms"] = best[0];
    state.counters["painter_ms"] = best[1];
    state.counters["x_painter"] = best[0] / best[1];
}

// Takes down rectangles, ellipses, lines, polygons and text, with the pen and brush of each;
// Play draws them as a program written straight against QPainter would. Text is measured as
// the real surface measures it, so the core lays out the same picture.
class PainterRecording : public IDrawingSurface {
public:
    void SetPen(int width, Color color) override {
        if (width <= 0 || color == kNoColor)
            return SetNullPen();
        m_pen = QPen(QtColor(color), width, Qt::SolidLine,
                     width == 1 ? Qt::SquareCap : Qt::RoundCap, Qt::RoundJoin);
        m_offset = width % 2 == 1 ? 0.5 : 0.0;
        m_hasPen = true;
    }
    void SetNullPen() override {
        m_pen = QPen(Qt::NoPen);
        m_hasPen = false;
    }
    void SetBrush(Color color) override {
        m_brush = color == kNoColor ? QBrush() : QBrush(QtColor(color));
    }
    void SetNullBrush() override { m_brush = QBrush(); }
    void Line(CPoint a, CPoint b) override {
        Add(Shape::Line, QRectF(QPointF(a.x + m_offset, a.y + m_offset),
                                QPointF(b.x + m_offset, b.y + m_offset)));
    }
    void Polygon(const std::vector<CPoint>& points) override {
        Op op = Make(Shape::Polygon, {});
        for (const CPoint& p : points)
            op.polygon << QPoint(p.x, p.y);
        m_ops.push_back(std::move(op));
    }
    void Polyline(const std::vector<CPoint>& points) override {
        for (std::size_t i = 1; i < points.size(); ++i)
            Line(points[i - 1], points[i]);
    }
    void Rectangle(const CRect& r) override { Add(Shape::Rect, Inside(r)); }
    void FillRect(const CRect& r, Color color) override {
        Op op = Make(Shape::Fill, QRectF(r.left, r.top, r.Width(), r.Height()));
        op.brush = QBrush(QtColor(color));
        m_ops.push_back(std::move(op));
    }
    void Ellipse(const CRect& r) override { Add(Shape::Ellipse, Inside(r)); }
    void Arc(const CRect& r, CPoint, CPoint) override { Add(Shape::Ellipse, Inside(r)); }
    void Pie(const CRect& r, CPoint, CPoint) override { Add(Shape::Ellipse, Inside(r)); }
    void SetFont(const CFontSpec& font) override {
        m_fontSpec = font;
        m_font = QtFont(font);
    }
    void SetTextColor(Color color) override { m_textColor = QtColor(color); }
    void SetTextBackground(Color, bool) override {}
    void TextOut(CPoint at, std::string_view utf8) override {
        const CSize size = m_metrics.TextExtent(m_fontSpec, utf8);
        Text(QRectF(at.x, at.y, size.cx, size.cy), utf8, Qt::AlignLeft | Qt::AlignTop);
    }
    void DrawText(const CRect& r, std::string_view utf8, unsigned align) override {
        int flags = (align & kAlignCenter)  ? Qt::AlignHCenter
                    : (align & kAlignRight) ? Qt::AlignRight
                                            : Qt::AlignLeft;
        flags |= (align & kAlignVCenter)  ? Qt::AlignVCenter
                 : (align & kAlignBottom) ? Qt::AlignBottom
                                          : Qt::AlignTop;
        flags |= (align & kWordBreak) ? Qt::TextWordWrap : 0;
        flags |= (align & kSingleLine) ? Qt::TextSingleLine : 0;
        Text(QRectF(r.left, r.top, r.Width(), r.Height()), utf8, flags);
    }
    void SetClip(const CRect&) override {}
    void ClearClip() override {}
    ITextMetrics& Metrics() override { return m_metrics; }

    void Play(QPainter& p) const {
        for (const Op& op : m_ops) {
            switch (op.shape) {
            case Shape::Fill:
                p.fillRect(op.rect, op.brush);
                continue;
            case Shape::Text:
                p.setFont(op.font);
                p.setPen(op.pen);
                p.drawText(op.rect, op.flags, op.text);
                continue;
            default:
                break;
            }
            p.setPen(op.pen);
            p.setBrush(op.brush);
            switch (op.shape) {
            case Shape::Line:
                p.drawLine(op.rect.topLeft(), op.rect.bottomRight());
                break;
            case Shape::Polygon:
                p.drawPolygon(op.polygon, Qt::OddEvenFill);
                break;
            case Shape::Rect:
                p.drawRect(op.rect);
                break;
            case Shape::Ellipse:
                p.drawEllipse(op.rect);
                break;
            default:
                break;
            }
        }
    }

private:
    enum class Shape { Line, Polygon, Rect, Fill, Ellipse, Text };
    struct Op {
        Shape shape;
        QRectF rect;
        QPen pen;
        QBrush brush;
        QPolygon polygon;
        QFont font;
        QString text;
        int flags = 0;
    };
    Op Make(Shape shape, const QRectF& rect) const {
        return Op{shape, rect, m_pen, m_brush, {}, {}, {}, 0};
    }
    void Add(Shape shape, const QRectF& rect) { m_ops.push_back(Make(shape, rect)); }
    QRectF Inside(const CRect& r) const {
        if (!m_hasPen)
            return QRectF(r.left, r.top, r.Width(), r.Height());
        return QRectF(r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1);
    }
    void Text(const QRectF& rect, std::string_view utf8, int flags) {
        Op op = Make(Shape::Text, rect);
        op.pen = QPen(m_textColor);
        op.font = m_font;
        op.text = FaceText(m_fontSpec, utf8);
        op.flags = flags | Qt::TextDontClip;
        m_ops.push_back(std::move(op));
    }

    CQtTextMetrics m_metrics;
    std::vector<Op> m_ops;
    QPen m_pen{Qt::black};
    QBrush m_brush{Qt::white};
    double m_offset = 0.5;
    bool m_hasPen = true;
    CFontSpec m_fontSpec;
    QFont m_font;
    QColor m_textColor{Qt::black};
};

} // namespace quorvel::bench
