// The drawing surface and text metrics over QPainter and QFontMetrics, and surfaces that draw
// into images the core owns.
#pragma once

#include "workspace/drawing_surface.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QRectF>
#include <QString>

#include <array>
#include <memory>
#include <utility>
#include <vector>

class QImage;
class QPainter;

namespace quorvel {

// The font a face name stands for here: "Arial" is Liberation Sans (same metrics), "MS Sans
// Serif" the desktop's sans-serif font, "Symbol" a sans-serif font for operator signs. Sizes
// in points map to pixels at 96 per inch, as the program's pages are laid out in pixels.
QFont QtFont(const CFontSpec& spec);
// Palette-relative 0x02BBGGRR (or plain 0x00BBGGRR) to a colour; kNoColor is invalid.
QColor QtColor(Color color);
// Text in the "Symbol" face: its operator codes (+ 0x2B, - 0x2D, times 0xB4, divided 0xB8)
// become the signs + − × ÷; other faces' text is UTF-8.
QString FaceText(const CFontSpec& spec, std::string_view text);

class CQtTextMetrics : public ITextMetrics {
public:
    CSize TextExtent(const CFontSpec& font, std::string_view utf8) override;
    CSize WrappedExtent(const CFontSpec& font, std::string_view utf8, int width) override;
    int LineHeight(const CFontSpec& font) override;
    int AverageCharWidth(const CFontSpec& font) override;
};

class CQtDrawingSurface : public IDrawingSurface {
public:
    // Draws with a painter that is already active (a widget's paint event).
    explicit CQtDrawingSurface(QPainter& painter);
    // Draws into `image`, whose pixels are written when the surface is destroyed.
    explicit CQtDrawingSurface(CImage& image);
    ~CQtDrawingSurface() override;

    void SetPen(int width, Color color) override;
    void SetNullPen() override;
    void SetBrush(Color color) override;
    void SetNullBrush() override;
    void Line(CPoint from, CPoint to) override;
    void Polygon(const std::vector<CPoint>& points) override;
    void Polyline(const std::vector<CPoint>& points) override;
    void Rectangle(const CRect& r) override;
    void FillRect(const CRect& r, Color color) override;
    void Ellipse(const CRect& r) override;
    void Arc(const CRect& r, CPoint start, CPoint end) override;
    void Pie(const CRect& r, CPoint start, CPoint end) override;
    void SetFont(const CFontSpec& font) override;
    void SetTextColor(Color color) override;
    void SetTextBackground(Color color, bool transparent) override;
    void TextOut(CPoint at, std::string_view utf8) override;
    void DrawText(const CRect& r, std::string_view utf8, unsigned align) override;
    void SetClip(const CRect& r) override;
    void ClearClip() override;
    ITextMetrics& Metrics() override { return m_metrics; }

private:
    void Init();
    // The rectangle a shape with a pen of the current width is drawn in, GDI style.
    QRectF ShapeRect(const CRect& r) const;

    // The clip the surface started with, at most the device (empty without one): SetClip
    // narrows it and ClearClip returns to it. The painter always clips to a rectangle: Qt's
    // raster engine draws lines and polygons about twice as fast with one as without.
    void ClipTo(const QRectF& r);
    // A segment of the present wide pen, round ends included, filled as one outline.
    void FillCapsule(const QPointF& a, const QPointF& b);

    std::unique_ptr<QImage> m_image;
    std::unique_ptr<QPainter> m_ownPainter;
    QPainter* m_painter = nullptr;
    CFontSpec m_font;
    QColor m_textColor = Qt::black;
    QColor m_textBackground = Qt::white;
    bool m_transparentText = false;
    double m_penOffset = 0.5;
    bool m_fontSet = false;
    bool m_hasPen = true;
    // The pen and brush last made, kept so that the same ones asked again cost nothing: the
    // painter sees they are the ones it holds.
    int m_penWidth = -1;
    Color m_penColor = kNoColor;
    struct PenEntry {
        int width = -1;
        Color color = kNoColor;
        QPen pen;
        QPen squarePen; // with square ends, for narrow lines drawn aliased
        QBrush fill;    // the pen's colour, for FillCapsule
    };
    const PenEntry* m_pen = nullptr; // one of m_pens
    bool m_squarePenSet = false;     // the painter holds m_pen's square-ended pen
    Color m_brushColor = kNoColor;
    QBrush m_brush;
    struct BrushEntry {
        Color color = kNoColor;
        QBrush brush;
    };
    std::array<PenEntry, 8> m_pens;
    std::size_t m_nextPen = 0;
    std::array<BrushEntry, 8> m_brushes;
    std::size_t m_nextBrush = 0;
    QRectF m_baseClip;
    std::vector<QPoint> m_points;                      // Polygon's, kept between calls
    QPainterPath m_capsule;                            // FillCapsule's, kept between calls
    std::vector<std::pair<double, double>> m_halfTurn; // cos and sin of its round ends' steps
    CQtTextMetrics m_metrics;
};

class CQtSurfaceFactory : public ISurfaceFactory {
public:
    std::unique_ptr<IDrawingSurface> SurfaceFor(CImage& image) override;
};

} // namespace quorvel
