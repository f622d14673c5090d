// The shared fonts, in the order the main frame makes them.
#include "app/frame_resources.h"

namespace quorvel {

const std::array<CFontSpec, kAppFontCount>& AppFonts() {
    static const std::array<CFontSpec, kAppFontCount> fonts{{
        {"MS Sans Serif", 180},
        {"MS Sans Serif", 140},
        {"Symbol", 140},
        {"Arial", 120},
        {"Arial", 100},
        {"Arial", 80},
        {"Arial", 60},
        {"Arial", 120},
        {"Arial", 120, 0, 700},
    }};
    return fonts;
}

} // namespace quorvel
