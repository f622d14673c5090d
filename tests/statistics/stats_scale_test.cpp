// The automatic scale and the spin walk through the three scale tables.
#include "statistics/stats_scale.h"

#include <gtest/gtest.h>

using namespace quorvel;

TEST(StatsScale, ChoosesTheFirstCandidateHoldingTheMaximum) {
    using F = StatsColumnFormat;
    constexpr auto I = NumberKind::Integer;
    constexpr auto D = NumberKind::Decimal;
    constexpr auto Q = NumberKind::Fraction;
    struct Case {
        F format;
        double maximum;
        double scale;
        NumberKind kind;
        int intervals, labelStep;
    };
    const Case cases[] = {
        {F::WholeNumbers, 12, 12, I, 12, 2},
        {F::WholeNumbers, 36, 40, I, 4, 1},
        {F::WholeNumbers, 13, 14, I, 14, 2},
        {F::WholeNumbers, 0, 1, I, 1, 1},
        {F::Categories, 21, 25, I, 25, 5},
        {F::WholeNumbers, 350, 350, I, 35, 5},
        {F::WholeNumbers, 351, 400, I, 4, 1},
        {F::OneDecimal, 0.9, 1, D, 5, 1},
        {F::TwoDecimals, 0.0, 1, D, 5, 1},
        {F::OneDecimal, 0.5, 0.8, D, 4, 1},
        {F::OneDecimal, 12, 12, D, 6, 1}, // 12 x 0.1 would have given 14
        {F::OneDecimal, 6.5, 7, I, 7, 1},
        {F::OneDecimal, 7.5, 8, D, 4, 1},
        {F::Fractions, 0.5, 0.8, Q, 4, 1},
        {F::Fractions, 2.25, 2.5, Q, 5, 1},
        {F::Fractions, 12, 12, I, 6, 1},
        {F::WholeNumbers, 2e9, 2e9, I, 20, 5},
        {F::WholeNumbers, 3.6e9, 4e9, D, 4, 1},
        {F::Fractions, 3.4e9, 3.5e9, D, 7, 1},
        {F::WholeNumbers, 1.2e20, 1.2e20, D, 12, 2},
        {F::OneDecimal, 1e300, 1e300, D, 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maximum);
        const CAxisScale s = ChooseScale(c.format, c.maximum);
        EXPECT_DOUBLE_EQ(s.scale.ToDouble(), c.scale);
        EXPECT_EQ(s.scale.kind(), c.kind);
        EXPECT_EQ(s.intervals, c.intervals);
        EXPECT_EQ(s.labelStep, c.labelStep);
        EXPECT_EQ(ScaleAt(s.step).scale, s.scale);
    }
}

TEST(StatsScale, SpinWalksTheTablesAcrossPowersOfTen) {
    using F = StatsColumnFormat;
    // Each run starts at a chosen scale and spins up, then back down to where it began.
    struct Case {
        F format;
        double start;
        std::vector<double> up;
    };
    const Case cases[] = {
        {F::WholeNumbers, 30, {35, 40, 50, 60, 70, 80, 100}},
        {F::OneDecimal, 3.5, {4, 5, 6, 7, 8, 10}},
        {F::Fractions, 7, {8, 10, 12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        CScaleStep step = ChooseScale(c.format, c.start).step;
        for (double v : c.up) {
            step = NextScale(step);
            EXPECT_DOUBLE_EQ(ScaleAt(step).scale.ToDouble(), v);
        }
        for (auto v = c.up.rbegin() + 1; v != c.up.rend(); ++v) {
            step = PreviousScale(step).value();
            EXPECT_DOUBLE_EQ(ScaleAt(step).scale.ToDouble(), *v);
        }
        step = PreviousScale(step).value();
        EXPECT_DOUBLE_EQ(ScaleAt(step).scale.ToDouble(), c.start);
    }
    EXPECT_FALSE(PreviousScale(ChooseScale(F::WholeNumbers, 1).step));
    EXPECT_FALSE(PreviousScale(ChooseScale(F::OneDecimal, 0.1).step));
    EXPECT_EQ(ScaleAt(*PreviousScale(ChooseScale(F::OneDecimal, 1).step)).scale.ToDouble(), 0.8);
}
