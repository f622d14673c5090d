// The larger display for projectors and interactive whiteboards: every page, dialog, drawing
// and hit test drawn larger by one factor. The platform applies the factor when the program
// starts, so a change takes effect on the next start.
#pragma once

#include <array>
#include <string>

namespace quorvel {

inline constexpr std::array<int, 4> kDisplayScales{100, 125, 150, 200};

// `percent` when it is one of the choices, else 100 (a setting from elsewhere or damaged).
int ValidDisplayScale(int percent);

// The factor as the platform reads it: "1", "1.25", "1.5", "2".
std::string DisplayScaleFactor(int percent);

} // namespace quorvel
