// Integer geometry and colour values shared by the core and the platform interfaces.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace quorvel {

struct CPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CPoint&, const CPoint&) = default;
};

struct CSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const CSize&, const CSize&) = default;
};

// A rectangle with exclusive right and bottom edges, as the workspace draws and hit-tests.
// Frames grow by pen widths read from files, so edges can sit at the ends of the int range:
// sizes and moved edges saturate there instead of overflowing.
struct CRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const CRect&, const CRect&) = default;

    int Width() const { return Saturated(std::int64_t{right} - left); }
    int Height() const { return Saturated(std::int64_t{bottom} - top); }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(CPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    void Inflate(int dx, int dy) {
        left = Saturated(std::int64_t{left} - dx);
        top = Saturated(std::int64_t{top} - dy);
        right = Saturated(std::int64_t{right} + dx);
        bottom = Saturated(std::int64_t{bottom} + dy);
    }
    void Offset(int dx, int dy) {
        left = Saturated(std::int64_t{left} + dx);
        right = Saturated(std::int64_t{right} + dx);
        top = Saturated(std::int64_t{top} + dy);
        bottom = Saturated(std::int64_t{bottom} + dy);
    }
    bool Intersects(const CRect& o) const {
        return !IsEmpty() && !o.IsEmpty() && left < o.right && o.left < right && top < o.bottom &&
               o.top < bottom;
    }
    // Union that ignores empty rectangles, as window-system rectangle unions do.
    CRect United(const CRect& o) const {
        if (o.IsEmpty())
            return *this;
        if (IsEmpty())
            return o;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }

    // The rectangle that collects bounds: every union with it yields the other operand.
    static constexpr CRect Inverted() {
        return {std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max(),
                std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min()};
    }

    static constexpr std::int32_t Saturated(std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(
            v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    }
};

// Palette-relative colour: 0x02BBGGRR; kNoColor means "no colour".
using Color = std::uint32_t;
inline constexpr Color kNoColor = 0xFFFFFFFFu;

constexpr Color PaletteRGB(int r, int g, int b) {
    return 0x02000000u | (static_cast<Color>(b & 0xFF) << 16) |
           (static_cast<Color>(g & 0xFF) << 8) | static_cast<Color>(r & 0xFF);
}
constexpr int RedOf(Color c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Color c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Color c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

} // namespace quorvel
