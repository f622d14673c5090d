// The display scale choices and the factor text.
#include "app/display_scale.h"

#include <algorithm>

namespace quorvel {

int ValidDisplayScale(int percent) {
    return std::find(kDisplayScales.begin(), kDisplayScales.end(), percent) != kDisplayScales.end()
               ? percent
               : 100;
}

std::string DisplayScaleFactor(int percent) {
    const int p = ValidDisplayScale(percent);
    std::string text = std::to_string(p / 100);
    if (const int rest = p % 100; rest != 0) {
        text += '.' + std::to_string(rest / 10);
        if (rest % 10 != 0)
            text += std::to_string(rest % 10);
    }
    return text;
}

} // namespace quorvel
