// What the core asks of the screen: a drawing surface with GDI-like pens and brushes, and
// text metrics in the program's named fonts. The shell implements both with QPainter and
// QFontMetrics; tests record the calls.
#pragma once

#include "workspace/types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// A font by face name as the units name them ("Arial", "MS Sans Serif", "Symbol"); the
// platform maps the names to fonts it has. Sizes are in tenths of a point, as the main
// frame's fonts are made; a pixel height (negative, as cell heights are given) may be used instead.
struct CFontSpec {
    std::string face = "Arial";
    int pointSizeTenths = 120;
    int pixelHeight =
        0;            // when non-zero, the character height in pixels and the point size is ignored
    int weight = 400; // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    friend bool operator==(const CFontSpec&, const CFontSpec&) = default;
};

// Text alignment flags for DrawText.
enum TextAlign : unsigned {
    kAlignLeft = 0,
    kAlignCenter = 1,
    kAlignRight = 2,
    kAlignTop = 0,
    kAlignVCenter = 4,
    kAlignBottom = 8,
    kWordBreak = 16,  // wrap at word boundaries within the rectangle's width
    kSingleLine = 32, // ignore line breaks
    kNoClip = 64,
};

class ITextMetrics {
public:
    virtual ~ITextMetrics() = default;
    // Width and height of one line of text.
    virtual CSize TextExtent(const CFontSpec& font, std::string_view utf8) = 0;
    // Size of the text wrapped at word boundaries within `width` pixels (line breaks kept).
    virtual CSize WrappedExtent(const CFontSpec& font, std::string_view utf8, int width) = 0;
    virtual int LineHeight(const CFontSpec& font) = 0;
    virtual int AverageCharWidth(const CFontSpec& font) = 0;
};

class IDrawingSurface {
public:
    virtual ~IDrawingSurface() = default;

    // A solid pen `width` pixels wide; kNoColor or width 0 selects the null pen.
    virtual void SetPen(int width, Color color) = 0;
    virtual void SetNullPen() = 0;
    virtual void SetBrush(Color color) = 0;
    virtual void SetNullBrush() = 0;

    virtual void Line(CPoint from, CPoint to) = 0;
    // Filled with the brush under the alternate (even-odd) rule, outlined with the pen.
    virtual void Polygon(const std::vector<CPoint>& points) = 0;
    virtual void Polyline(const std::vector<CPoint>& points) = 0;
    virtual void Rectangle(const CRect& r) = 0;
    virtual void FillRect(const CRect& r, Color color) = 0;
    virtual void Ellipse(const CRect& r) = 0;
    // Counter-clockwise from the ray through `start` to the ray through `end`, as GDI draws arcs.
    virtual void Arc(const CRect& r, CPoint start, CPoint end) = 0;
    virtual void Pie(const CRect& r, CPoint start, CPoint end) = 0;

    virtual void SetFont(const CFontSpec& font) = 0;
    virtual void SetTextColor(Color color) = 0;
    // With a transparent background the text is drawn without filling its cell.
    virtual void SetTextBackground(Color color, bool transparent) = 0;
    virtual void TextOut(CPoint at, std::string_view utf8) = 0;
    virtual void DrawText(const CRect& r, std::string_view utf8, unsigned align) = 0;

    virtual void SetClip(const CRect& r) = 0;
    virtual void ClearClip() = 0;

    virtual ITextMetrics& Metrics() = 0;
};

// An off-screen picture that the core owns (photo pictures, drawer slot pictures, the design
// machine's bitmap): 32-bit 0xAARRGGBB pixels, row by row.
struct CImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    CImage() = default;
    CImage(int w, int h, std::uint32_t fill = 0xFFFFFFFFu)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Makes surfaces that draw into core-owned images; the shell provides one.
class ISurfaceFactory {
public:
    virtual ~ISurfaceFactory() = default;
    // The surface draws into `image`, which must outlive it.
    virtual std::unique_ptr<IDrawingSurface> SurfaceFor(CImage& image) = 0;
};

} // namespace quorvel
