// The archive form of CNumber: kind, then the parts, little-endian.
#include "numbers/number.h"

#include "number_test_util.h"
#include "workspace/archive.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::Describe;

Bytes Store(CNumber x) {
    CArchive ar;
    x.Serialize(ar);
    return ar.TakeBytes();
}

TEST(NumberArchive, BytesOfEachKind) {
    EXPECT_EQ(Store(CNumber(-2)), (Bytes{0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Store(CNumber(-3, 2)), (Bytes{1, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0}));
    EXPECT_EQ(Store(CNumber(1.5)), (Bytes{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
    EXPECT_EQ(Store(CNumber(-2.0)), (Bytes{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0xC0}));
}

TEST(NumberArchive, LoadingGivesBackTheSameValue) {
    const CNumber values[] = {CNumber(),         CNumber(INT_MIN),    CNumber(INT_MAX),
                              CNumber(-3, 2),    CNumber(INT_MIN, 3), CNumber(1, INT_MAX),
                              CNumber(0.1),      CNumber(-1e308),     CNumber(5e-324),
                              CNumber("-1 1/2"), CNumber("2.5")};
    CArchive out;
    for (CNumber v : values)
        v.Serialize(out);
    const Bytes bytes = out.TakeBytes();
    CArchive in(bytes);
    for (const CNumber& v : values) {
        CNumber loaded(7);
        loaded.Serialize(in);
        EXPECT_EQ(Describe(loaded), Describe(v));
    }
    EXPECT_TRUE(in.AtEnd());
}

TEST(NumberArchive, TruncatedRecordsAreRefused) {
    for (const CNumber& v : {CNumber(5), CNumber(2, 3), CNumber(0.25)}) {
        const Bytes whole = Store(v);
        for (std::size_t n = 0; n < whole.size(); ++n) {
            const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
            CArchive ar(part);
            CNumber x;
            EXPECT_THROW(x.Serialize(ar), CArchiveException)
                << Describe(v) << ", " << n << " bytes";
        }
    }
}

TEST(NumberArchive, DamagedRecordsAreRefused) {
    const Bytes damaged[] = {
        {3, 0, 0, 0, 1, 0, 0, 0},                         // unknown kind
        {0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0},             // kind -1
        {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0},             // 1/0
        {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0},             // 1/1
        {1, 0, 0, 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}, // 1/-2
        {1, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0},             // 0/5
        {1, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0},             // 2/4
        {1, 0, 0, 0, 0, 0, 0, 0x80, 0, 0, 0, 0x80},       // -2147483648/-2147483648
        {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x7F},       // infinity
        {2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0xF8, 0x7F},       // NaN
    };
    for (const Bytes& b : damaged) {
        CArchive ar(b);
        CNumber x;
        EXPECT_THROW(x.Serialize(ar), CArchiveException);
    }
}

// Whatever a damaged file holds, what loads can be formatted and computed with.
TEST(NumberArchive, RandomBytesLoadAsValidNumbersOrFail) {
    std::mt19937 rng(515);
    for (int i = 0; i < 20000; ++i) {
        Bytes b(12);
        for (auto& byte : b)
            byte = static_cast<std::uint8_t>(rng());
        b[0] = static_cast<std::uint8_t>(rng() % 4);
        b[1] = b[2] = b[3] = 0;
        if (i % 2 == 1) {
            // Small parts, so that some fractions are valid.
            b[5] = b[6] = b[7] = 0;
            b[9] = b[10] = b[11] = 0;
        }
        CArchive ar(b);
        CNumber x;
        try {
            x.Serialize(ar);
        } catch (const CArchiveException&) {
            continue;
        }
        if (x.kind() == NumberKind::Fraction) {
            ASSERT_GE(x.denominator(), 2);
            ASSERT_NE(x.numerator(), 0);
        }
        (void)x.Format();
        try {
            (void)(x / CNumber(3, 7) + x * x);
        } catch (const CNumberException&) {
        }
    }
}

} // namespace
} // namespace quorvel
