// The scale tables and the walk through them.
#include "statistics/stats_scale.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace quorvel {

namespace {

// A candidate as an exact fraction, with whether the table lists it as a Decimal.
struct Candidate {
    int numerator;
    int denominator;
    bool decimal;
    int intervals;
    int labelStep;
};

constexpr std::array<Candidate, 15> kWhole{{{1, 1, false, 1, 1},
                                            {2, 1, false, 2, 1},
                                            {3, 1, false, 3, 1},
                                            {4, 1, false, 4, 1},
                                            {5, 1, false, 5, 1},
                                            {6, 1, false, 6, 1},
                                            {7, 1, false, 7, 1},
                                            {8, 1, false, 8, 2},
                                            {10, 1, false, 10, 2},
                                            {12, 1, false, 12, 2},
                                            {14, 1, false, 14, 2},
                                            {20, 1, false, 20, 5},
                                            {25, 1, false, 25, 5},
                                            {30, 1, false, 30, 5},
                                            {35, 1, false, 35, 5}}};

constexpr std::array<Candidate, 12> kDecimal{{{4, 5, true, 4, 1},
                                              {1, 1, true, 5, 1},
                                              {6, 5, true, 6, 1},
                                              {7, 5, true, 7, 1},
                                              {2, 1, true, 4, 1},
                                              {5, 2, true, 5, 1},
                                              {3, 1, true, 6, 1},
                                              {7, 2, true, 7, 1},
                                              {4, 1, false, 4, 1},
                                              {5, 1, false, 5, 1},
                                              {6, 1, false, 6, 1},
                                              {7, 1, false, 7, 1}}};

constexpr std::array<Candidate, 12> kFraction{{{4, 5, false, 4, 1},
                                               {1, 1, false, 5, 1},
                                               {6, 5, false, 6, 1},
                                               {7, 5, false, 7, 1},
                                               {2, 1, false, 4, 1},
                                               {5, 2, false, 5, 1},
                                               {3, 1, false, 6, 1},
                                               {7, 2, false, 7, 1},
                                               {4, 1, false, 4, 1},
                                               {5, 1, false, 5, 1},
                                               {6, 1, false, 6, 1},
                                               {7, 1, false, 7, 1}}};

struct TableView {
    const Candidate* items;
    int count;
};

TableView Table(ScaleTable table) {
    switch (table) {
    case ScaleTable::Decimals:
        return {kDecimal.data(), static_cast<int>(kDecimal.size())};
    case ScaleTable::Fractions:
        return {kFraction.data(), static_cast<int>(kFraction.size())};
    case ScaleTable::WholeNumbers:
        break;
    }
    return {kWhole.data(), static_cast<int>(kWhole.size())};
}

// Where the whole-number table goes on past its last candidate (4 ten times larger).
constexpr int kWholeRestart = 3;

double CandidateValue(const Candidate& c) {
    return static_cast<double>(c.numerator) / c.denominator;
}

// candidate x 10^power, exact while it fits in 32 bits, a Decimal otherwise.
CNumber ScaleValue(const Candidate& c, int power) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t numerator = c.numerator;
    std::int64_t denominator = c.denominator;
    bool fits = true;
    for (int i = 0; i < power && fits; ++i) {
        if (denominator % 10 == 0)
            denominator /= 10;
        else if (denominator % 5 == 0 && numerator * 2 <= kMax) {
            denominator /= 5;
            numerator *= 2;
        } else if (denominator % 2 == 0 && numerator * 5 <= kMax) {
            denominator /= 2;
            numerator *= 5;
        } else if (numerator * 10 <= kMax)
            numerator *= 10;
        else
            fits = false;
    }
    if (!fits || c.decimal) {
        // Scaled in whole numbers first so that 1.2 x 10 is exactly 12.
        const double whole = static_cast<double>(c.numerator) * 10.0 / c.denominator;
        return CNumber(whole * std::pow(10.0, power) / 10.0);
    }
    return CNumber(static_cast<int>(numerator), static_cast<int>(denominator));
}

} // namespace

ScaleTable ScaleTableFor(StatsColumnFormat format) {
    switch (format) {
    case StatsColumnFormat::OneDecimal:
    case StatsColumnFormat::TwoDecimals:
        return ScaleTable::Decimals;
    case StatsColumnFormat::Fractions:
        return ScaleTable::Fractions;
    case StatsColumnFormat::Categories:
    case StatsColumnFormat::WholeNumbers:
        break;
    }
    return ScaleTable::WholeNumbers;
}

CAxisScale ScaleAt(const CScaleStep& step) {
    const TableView t = Table(step.table);
    CScaleStep s = step;
    if (s.position < 0 || s.position >= t.count)
        s.position = 0;
    if (s.power < 0)
        s.power = 0;
    const Candidate& c = t.items[s.position];
    return CAxisScale{ScaleValue(c, s.power), c.intervals, c.labelStep, s};
}

CAxisScale ChooseScale(StatsColumnFormat format, double maximum) {
    CScaleStep step{ScaleTableFor(format), 0, 0};
    const TableView t = Table(step.table);
    const double top = maximum > 0.0 && std::isfinite(maximum) ? maximum : 1.0;
    const double threshold = CandidateValue(t.items[t.count - 1]);
    // Divided by a power of ten rather than multiplied by 0.1 again and again: 12 / 10 is the
    // double 1.2, 12 * 0.1 is not.
    double m = top;
    while (m > threshold) {
        ++step.power;
        m = top / std::pow(10.0, step.power);
    }
    while (step.position < t.count - 1 && CandidateValue(t.items[step.position]) < m)
        ++step.position;
    return ScaleAt(step);
}

CScaleStep NextScale(const CScaleStep& step) {
    const TableView t = Table(step.table);
    CScaleStep s = step;
    if (++s.position >= t.count) {
        s.position = s.table == ScaleTable::WholeNumbers ? kWholeRestart : 0;
        ++s.power;
    }
    return s;
}

std::optional<CScaleStep> PreviousScale(const CScaleStep& step) {
    const TableView t = Table(step.table);
    if (step.position <= 0 && step.power <= 0)
        return std::nullopt;
    CScaleStep s = step;
    --s.position;
    const int first = s.table == ScaleTable::WholeNumbers && s.power > 0 ? kWholeRestart : 0;
    if (s.position < first) {
        s.position = t.count - 1;
        --s.power;
    }
    return s;
}

} // namespace quorvel
