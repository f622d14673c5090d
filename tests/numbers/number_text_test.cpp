// The whole-number helpers, text validators, integer reader, decimal formatter and the random
// whole number in a range.
#include "numbers/number_text.h"

#include "numbers/number_exceptions.h"
#include "workspace/random.h"

#include <gtest/gtest.h>

#include <climits>
#include <numeric>
#include <random>
#include <vector>

namespace quorvel {
namespace {

TEST(NumberText, ValidatorsTellWholeNumbersFromDecimals) {
    struct Row {
        const char* text;
        bool integer;
        bool unsignedInteger;
        bool decimal;
    };
    const Row rows[] = {
        {"12", true, true, true},          {" \t12\n ", true, true, true},
        {"+12", true, true, true},         {"-12", true, false, true},
        {"007", true, true, true},         {"", false, false, false},
        {"   ", false, false, false},      {"+", false, false, false},
        {"-", false, false, false},        {"+ 1", false, false, false},
        {"1 2", false, false, false},      {"--1", false, false, false},
        {"1.5", false, false, true},       {"5.", false, false, true},
        {".5", false, false, true},        {"-.5", false, false, true},
        {" +2.25 ", false, false, true},   {".", false, false, false},
        {"+.", false, false, false},       {"-.", false, false, false},
        {"1.2.3", false, false, false},    {"1,5", false, false, false},
        {"1e5", false, false, false},      {"0x10", false, false, false},
        {"inf", false, false, false},      {"1/2", false, false, false},
        {"\xd9\xa1", false, false, false}, // a non-ASCII digit
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(IsIntegerText(r.text), r.integer);
        EXPECT_EQ(IsUnsignedIntegerText(r.text), r.unsignedInteger);
        EXPECT_EQ(IsDecimalText(r.text), r.decimal);
    }
}

TEST(NumberText, ParseIntegerReadsTheLeadingNumberUpToThe32BitLimit) {
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483647"), -2147483647);
    EXPECT_EQ(ParseInteger("  +42"), 42);
    EXPECT_EQ(ParseInteger("0000000000002147483647"), 2147483647);
    // Anything after the digits ends the number silently; no digits read as 0.
    EXPECT_EQ(ParseInteger("12abc"), 12);
    EXPECT_EQ(ParseInteger("3 1/2"), 3);
    EXPECT_EQ(ParseInteger("-"), 0);
    EXPECT_EQ(ParseInteger("x9"), 0);
    EXPECT_EQ(ParseInteger(""), 0);

    EXPECT_THROW(ParseInteger("2147483648"), CIntegerOverflowException);
    EXPECT_THROW(ParseInteger("-2147483648"), CIntegerOverflowException);
    EXPECT_THROW(ParseInteger("21474836470"), CIntegerOverflowException);
    EXPECT_THROW(ParseInteger(std::string(400, '9')), CIntegerOverflowException);
}

TEST(NumberText, CheckedArithmeticRaisesExactlyOutsideThe32BitRange) {
    EXPECT_EQ(CheckedAdd(INT_MAX, 0), INT_MAX);
    EXPECT_EQ(CheckedAdd(INT_MIN, 0), INT_MIN);
    EXPECT_EQ(CheckedAdd(INT_MAX, INT_MIN), -1);
    EXPECT_THROW(CheckedAdd(INT_MAX, 1), CIntegerOverflowException);
    EXPECT_THROW(CheckedAdd(INT_MIN, -1), CIntegerOverflowException);
    EXPECT_THROW(CheckedAdd(INT_MIN, INT_MIN), CIntegerOverflowException);

    EXPECT_EQ(CheckedMultiply(46340, 46340), 2147395600);
    EXPECT_EQ(CheckedMultiply(-65536, 32768), INT_MIN);
    EXPECT_EQ(CheckedMultiply(INT_MIN, 1), INT_MIN);
    EXPECT_THROW(CheckedMultiply(46341, 46341), CIntegerOverflowException);
    EXPECT_THROW(CheckedMultiply(65536, 32768), CIntegerOverflowException);
    EXPECT_THROW(CheckedMultiply(INT_MIN, -1), CIntegerOverflowException);
    EXPECT_THROW(CheckedMultiply(INT_MAX, INT_MAX), CIntegerOverflowException);
}

TEST(NumberText, GreatestCommonDivisorIsPositiveForEverySign) {
    EXPECT_THROW(GreatestCommonDivisor(0, 0), CIllegalArgumentException);
    EXPECT_EQ(GreatestCommonDivisor(0, 5), 5);
    EXPECT_EQ(GreatestCommonDivisor(-5, 0), 5);
    EXPECT_EQ(GreatestCommonDivisor(-12, 18), 6);
    EXPECT_EQ(GreatestCommonDivisor(12, -18), 6);
    EXPECT_EQ(GreatestCommonDivisor(INT_MIN, 6), 2);
    EXPECT_EQ(GreatestCommonDivisor(INT_MIN, INT_MAX), 1);
    EXPECT_EQ(GreatestCommonDivisor(INT_MIN, 1 << 30), 1 << 30);
    // 2147483648 has no int form.
    EXPECT_THROW(GreatestCommonDivisor(INT_MIN, INT_MIN), CIntegerOverflowException);
    EXPECT_THROW(GreatestCommonDivisor(INT_MIN, 0), CIntegerOverflowException);
    EXPECT_EQ(MagnitudeGcd(INT_MIN, INT_MIN), 2147483648u);
    EXPECT_EQ(MagnitudeGcd(0, 0), 0u);
}

TEST(NumberText, GreatestCommonDivisorAgreesWithEuclidOnRandomPairs) {
    std::mt19937 rng(20240604);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> shift(0, 20);
    for (int i = 0; i < 100000; ++i) {
        // Half of the pairs share a factor, so that the divisor is not always 1.
        const int common = (1 << shift(rng)) * (1 + 2 * (i % 7));
        int a = any(rng);
        int b = any(rng);
        if (i % 2 == 0) {
            a = (a / common / 2) * common;
            b = (b / common / 2) * common;
        }
        if (a == 0 && b == 0)
            continue;
        const auto expected =
            static_cast<std::uint32_t>(std::gcd(static_cast<std::int64_t>(a), std::int64_t{b}));
        ASSERT_EQ(MagnitudeGcd(a, b), expected) << "gcd(" << a << ", " << b << ")";
    }
}

TEST(NumberText, FormatDecimalTrimsTrailingZerosToOneDecimal) {
    std::string out;
    const auto format = [&](double v, int decimals) {
        FormatDecimal(out, v, decimals);
        return out;
    };
    EXPECT_EQ(format(3, 2), "3.0");
    EXPECT_EQ(format(1.25, 6), "1.25");
    EXPECT_EQ(format(7, 0), "7");
    EXPECT_EQ(format(1.5, 6), "1.5");
    EXPECT_EQ(format(2, 6), "2.0");
    EXPECT_EQ(format(100, 6), "100.0");
    EXPECT_EQ(format(-0.125, 2), "-0.12"); // rounds to even, as printf does
    EXPECT_EQ(format(0.1, 15), "0.1");
    EXPECT_EQ(format(0.0000001, 6), "0.0");
    EXPECT_EQ(format(2.5, 0), "2");
    EXPECT_EQ(format(1e20, 2), "100000000000000000000.0");
    EXPECT_EQ(format(1.7976931348623157e308, 1).size(), 311u);
    EXPECT_EQ(format(1.0 / 3.0, 20), "0.33333333333333331483");
    EXPECT_EQ(format(5e-324, 2000).size(), 1076u);
    // A negative count reads as no decimals.
    EXPECT_EQ(format(7.75, -3), "8");
}

TEST(NumberText, RandomInRangeStaysInTheRangeAndReachesBothEnds) {
    SeedRandom(7);
    int seen[4] = {};
    for (int i = 0; i < 200000; ++i) {
        const int v = RandomInRange(0, 3);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 3);
        ++seen[v];
    }
    // 3 comes out only for the top random value, 1 draw in 32768.
    EXPECT_GT(seen[0], 60000);
    EXPECT_GT(seen[2], 60000);
    EXPECT_GT(seen[3], 0);
    EXPECT_LT(seen[3], 30);

    for (int i = 0; i < 10000; ++i) {
        const int wide = RandomInRange(INT_MIN, INT_MAX);
        ASSERT_GE(wide, INT_MIN);
        const int negative = RandomInRange(-10, -5);
        ASSERT_GE(negative, -10);
        ASSERT_LE(negative, -5);
    }
    EXPECT_EQ(RandomInRange(42, 42), 42);
}

TEST(NumberText, RandomInRangeRepeatsForTheSameSeed) {
    const auto draw = [](std::uint32_t seed) {
        SeedRandom(seed);
        std::vector<int> values;
        for (int i = 0; i < 100; ++i)
            values.push_back(RandomInRange(1, 1000));
        return values;
    };
    EXPECT_EQ(draw(99), draw(99));
    EXPECT_NE(draw(99), draw(100));
}

} // namespace
} // namespace quorvel
