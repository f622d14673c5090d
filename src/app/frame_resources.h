// What the main frame makes once and every window shares: the 27-colour palette, the nine
// fonts and the colours of the menu pages' graded background.
#pragma once

#include "workspace/drawing_surface.h"
#include "workspace/types.h"

#include <array>

namespace quorvel {

inline constexpr std::array<Color, 27> kAppPalette{
    PaletteRGB(0, 0, 0),       PaletteRGB(128, 128, 128), PaletteRGB(255, 0, 0),
    PaletteRGB(255, 171, 97),  PaletteRGB(255, 255, 204), PaletteRGB(255, 247, 0),
    PaletteRGB(212, 255, 97),  PaletteRGB(0, 255, 0),     PaletteRGB(8, 156, 0),
    PaletteRGB(0, 95, 159),    PaletteRGB(0, 255, 255),   PaletteRGB(97, 191, 255),
    PaletteRGB(0, 8, 255),     PaletteRGB(171, 0, 255),   PaletteRGB(255, 0, 255),
    PaletteRGB(191, 122, 77),  PaletteRGB(199, 199, 199), PaletteRGB(255, 255, 255),
    PaletteRGB(255, 0, 255),   PaletteRGB(218, 179, 152), PaletteRGB(255, 255, 127),
    PaletteRGB(255, 179, 131), PaletteRGB(127, 255, 251), PaletteRGB(127, 131, 255),
    PaletteRGB(131, 255, 127), PaletteRGB(255, 159, 255), PaletteRGB(199, 199, 155),
};

// The shared fonts, by their index in AppFonts().
enum AppFont {
    kFontCaption = 0, // "MS Sans Serif" 18 pt: page captions
    kFontHeading,     // "MS Sans Serif" 14 pt
    kFontSymbol,      // "Symbol" 14 pt: operator signs
    kFontLarge,       // "Arial" 12 pt
    kFontMedium,      // "Arial" 10 pt
    kFontSmall,       // "Arial" 8 pt
    kFontTiny,        // "Arial" 6 pt
    kFontPrompt,      // "Arial" 12 pt: the problem prompt window
    kFontPromptBold,  // "Arial" 12 pt bold: the prompt window's counter line
    kAppFontCount
};

const std::array<CFontSpec, kAppFontCount>& AppFonts();

// The graded background of the menu pages: 64 bands from white-blue to a deeper blue.
inline constexpr int kMenuBands = 64;
constexpr Color MenuBandColor(int band) {
    return PaletteRGB(255 - 4 * band, 255 - 2 * band, 255);
}
// The band that line y of a page `height` lines high is painted with.
constexpr int MenuBandForLine(int y, int height) {
    return height > 0 ? (y * 63) / height : 0;
}

// The workspace background of every unit page.
inline constexpr Color kWorkspaceColor = PaletteRGB(0, 255, 255);

} // namespace quorvel
