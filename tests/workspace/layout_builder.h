// Expected archive layouts assembled byte by byte, independently of CArchive's writers.
#pragma once

#include "workspace/archive.h"

#include <bit>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quorvel::testing {

class LayoutBuilder {
public:
    std::vector<std::uint8_t> bytes;

    LayoutBuilder& Int32(std::int32_t v) { return Little(static_cast<std::uint32_t>(v), 4); }
    LayoutBuilder& UInt32(std::uint32_t v) { return Little(v, 4); }
    LayoutBuilder& Double(double v) { return Little(std::bit_cast<std::uint64_t>(v), 8); }
    LayoutBuilder& Tab() {
        bytes.push_back(9);
        return *this;
    }
    // A point: x, TAB, y, TAB, z, TAB.
    LayoutBuilder& Point(double x, double y, double z = 0.0) {
        return Double(x).Tab().Double(y).Tab().Double(z).Tab();
    }
    // A segment: start, end, midpoint, then width, colour and visible flag, each with a TAB.
    LayoutBuilder& Segment(double x1, double y1, double x2, double y2, std::int32_t width,
                           std::uint32_t color, std::int32_t visible) {
        Point(x1, y1).Point(x2, y2).Point((x1 + x2) / 2, (y1 + y2) / 2);
        return Int32(width).Tab().UInt32(color).Tab().Int32(visible).Tab();
    }

private:
    LayoutBuilder& Little(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i)
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
};

// Stores with `write` into a fresh archive and returns the bytes.
inline std::vector<std::uint8_t> Stored(const std::function<void(CArchive&)>& write) {
    CArchive ar;
    write(ar);
    return ar.TakeBytes();
}

// The length of the first proper prefix of `bytes` that `read` loads without throwing
// CArchiveException; nullopt when every one fails as it should.
inline std::optional<std::size_t> FirstPrefixThatLoads(const std::vector<std::uint8_t>& bytes,
                                                       const std::function<void(CArchive&)>& read) {
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        CArchive ar(std::span<const std::uint8_t>(bytes.data(), n));
        try {
            read(ar);
            return n;
        } catch (const CArchiveException&) {
        }
    }
    return std::nullopt;
}

} // namespace quorvel::testing
