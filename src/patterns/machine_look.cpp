// The machines' shared look.
#include "patterns/machine_look.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quorvel::machine_look {

int Clamped(double v) {
    if (!(v == v))
        return 0;
    return static_cast<int>(
        std::lround(std::clamp<double>(v, -kCoordinateLimit, kCoordinateLimit)));
}

CPoint CentreOf(const CRect& r) {
    return {static_cast<int>((std::int64_t{r.left} + r.right) / 2),
            static_cast<int>((std::int64_t{r.top} + r.bottom) / 2)};
}

std::string_view FirstChars(std::string_view text, std::size_t n) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == n)
                return text.substr(0, i);
            ++chars;
        }
    }
    return text;
}

std::string Fitted(ITextMetrics& metrics, const CFontSpec& font, const std::string& text,
                   int width) {
    if (metrics.TextExtent(font, text).cx <= width)
        return text;
    std::string cut = text;
    while (!cut.empty()) {
        do
            cut.pop_back();
        while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80);
        if (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0xC0)
            cut.pop_back();
        if (metrics.TextExtent(font, cut + "...").cx <= width)
            break;
    }
    return cut + "...";
}

void PlaceCard(CPatternManipulative* card, CPoint topLeft) {
    CRect f;
    card->GetFrame(f);
    card->MoveBy(static_cast<double>(std::int64_t{topLeft.x} - f.left),
                 static_cast<double>(std::int64_t{topLeft.y} - f.top));
}

void Box(IDrawingSurface& dc, const CRect& r, Color fill, Color ink) {
    dc.SetPen(1, ink);
    dc.SetBrush(fill);
    dc.Rectangle(r);
}

void Label(IDrawingSurface& dc, const CRect& r, std::string_view text, const CFontSpec& font,
           Color ink, unsigned align) {
    dc.SetFont(font);
    dc.SetTextColor(ink);
    dc.SetTextBackground(kWhite, true);
    dc.DrawText(r, text, align);
}

void DrawTriangle(IDrawingSurface& dc, const CRect& r, bool up, Color ink) {
    const CPoint c = CentreOf(r);
    const int w = std::max(2, r.Width() / 3), h = std::max(2, r.Height() / 4);
    dc.SetPen(1, ink);
    dc.SetBrush(ink);
    if (up)
        dc.Polygon({{c.x - w, c.y + h}, {c.x + w, c.y + h}, {c.x, c.y - h}});
    else
        dc.Polygon({{c.x - w, c.y - h}, {c.x + w, c.y - h}, {c.x, c.y + h}});
}

void DrawHoppers(IDrawingSurface& dc, std::initializer_list<CRect> inputs, const CRect& output) {
    dc.SetPen(1, kInk);
    dc.SetBrush(kHopperFill);
    for (const CRect& h : inputs) {
        const int cx = CentreOf(h).x, q = h.Width() / 4;
        dc.Polygon({{h.left, h.top}, {h.right, h.top}, {cx + q, h.bottom}, {cx - q, h.bottom}});
    }
    const int ocx = CentreOf(output).x, oq = output.Width() / 6;
    dc.Polygon({{output.left, output.top},
                {output.right, output.top},
                {ocx + oq, output.bottom},
                {ocx - oq, output.bottom}});
}

void DrawBody(IDrawingSurface& dc, const CRect& body, bool selected, bool mysterious, Color fill) {
    dc.SetPen(selected ? 3 : 2, selected ? kSelectInk : kInk);
    dc.SetBrush(mysterious ? kMysteryFill : fill);
    dc.Rectangle(body);
}

void DrawSpinButtons(IDrawingSurface& dc, const CRect& up, const CRect& down, Color ink) {
    Box(dc, up, kButtonFill, ink);
    Box(dc, down, kButtonFill, ink);
    DrawTriangle(dc, up, true, ink);
    DrawTriangle(dc, down, false, ink);
}

void DrawGoButton(IDrawingSurface& dc, const CRect& go, std::string_view text,
                  const CFontSpec& font, bool live) {
    Box(dc, go, live ? kGoFill : kDisabledFill, live ? kInk : kDisabledInk);
    Label(dc, go, text, font, live ? kInk : kDisabledInk);
}

} // namespace quorvel::machine_look
