// What number and code machines and their cards draw alike: the palette, boxes, labels,
// hopper funnels, the machine's body, spin buttons and Go, and the small text and place
// helpers their looks use.
#pragma once

#include "patterns/pattern_manipulative.h"
#include "workspace/drawing_surface.h"

#include <string>
#include <string_view>

namespace quorvel::machine_look {

inline constexpr Color kInk = PaletteRGB(45, 45, 70);
inline constexpr Color kSelectInk = PaletteRGB(0, 90, 200);
inline constexpr Color kWhite = PaletteRGB(255, 255, 255);
inline constexpr Color kReadOnlyFill = PaletteRGB(232, 242, 255);
inline constexpr Color kHiddenFill = PaletteRGB(225, 215, 250);
inline constexpr Color kHiddenInk = PaletteRGB(110, 70, 170);
inline constexpr Color kMysteryFill = PaletteRGB(190, 170, 230);
inline constexpr Color kHopperFill = PaletteRGB(170, 200, 235);
inline constexpr Color kButtonFill = PaletteRGB(225, 228, 238);
inline constexpr Color kGoFill = PaletteRGB(110, 200, 120);
inline constexpr Color kDisabledFill = PaletteRGB(210, 210, 210);
inline constexpr Color kDisabledInk = PaletteRGB(140, 140, 140);

// Coordinates read from files are kept where integer geometry cannot overflow.
inline constexpr int kCoordinateLimit = 10'000'000;
inline constexpr unsigned kCentred = kAlignCenter | kAlignVCenter | kSingleLine;

// `v` rounded into the coordinate limits; 0 for NaN.
int Clamped(double v);
CPoint CentreOf(const CRect& r);
// The first `n` UTF-8 characters of `text`.
std::string_view FirstChars(std::string_view text, std::size_t n);
// `text` as it fits in `width`: whole, or cut and ended with "...".
std::string Fitted(ITextMetrics& metrics, const CFontSpec& font, const std::string& text,
                   int width);
// Moves a card so that its frame's top-left corner lies at `topLeft`.
void PlaceCard(CPatternManipulative* card, CPoint topLeft);

// A box with a 1-pixel ink frame.
void Box(IDrawingSurface& dc, const CRect& r, Color fill, Color ink = kInk);
void Label(IDrawingSurface& dc, const CRect& r, std::string_view text, const CFontSpec& font,
           Color ink, unsigned align = kCentred);
void DrawTriangle(IDrawingSurface& dc, const CRect& r, bool up, Color ink);
// Funnels: wide at the top of each input hopper, narrowing into the body, and a spout under
// it from the output hopper.
void DrawHoppers(IDrawingSurface& dc, std::initializer_list<CRect> inputs, const CRect& output);
// The body, framed thicker in the selection's ink while selected.
void DrawBody(IDrawingSurface& dc, const CRect& body, bool selected, bool mysterious, Color fill);
// A pair of spin buttons, up over down.
void DrawSpinButtons(IDrawingSurface& dc, const CRect& up, const CRect& down, Color ink);
// Go (or Stop), greyed unless `live`.
void DrawGoButton(IDrawingSurface& dc, const CRect& go, std::string_view text,
                  const CFontSpec& font, bool live);

} // namespace quorvel::machine_look
