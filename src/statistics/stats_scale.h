// The round scales of the graphs' value axis and the data board: three tables of candidate
// values (whole numbers, decimals, fractions) repeated at every power of ten. A maximum is
// raised to the first candidate that holds it; the board's spin buttons step through the same
// candidates.
#pragma once

#include "numbers/number.h"
#include "statistics/stats_data_set.h"

#include <optional>

namespace quorvel {

enum class ScaleTable { WholeNumbers, Decimals, Fractions };

// Categories and WholeNumbers use the whole-number table, OneDecimal and TwoDecimals the
// decimal table, Fractions the fraction table.
ScaleTable ScaleTableFor(StatsColumnFormat format);

// A place in a table: candidate `position` times 10 to the `power` (power >= 0).
struct CScaleStep {
    ScaleTable table = ScaleTable::WholeNumbers;
    int position = 0;
    int power = 0;
    friend bool operator==(const CScaleStep&, const CScaleStep&) = default;
};

struct CAxisScale {
    CNumber scale;     // the top of the axis
    int intervals = 1; // tick intervals
    int labelStep = 1; // a label every labelStep ticks
    CScaleStep step;
};

// The scale at a place in a table. The candidate's kind is kept (a decimal candidate gives a
// Decimal, 4/5 times 10 gives the Integer 8); a value beyond 32 bits becomes a Decimal.
CAxisScale ScaleAt(const CScaleStep& step);

// The automatic scale for the largest value `maximum`: 0 or less counts as 1; the maximum is
// divided by 10 (and the multiplier multiplied by 10) while it is above the table's last
// candidate, then the first candidate at least as large is taken. Also raises a typed board
// scale to a table value (13 in a whole-number column gives 14, 36 gives 40).
CAxisScale ChooseScale(StatsColumnFormat format, double maximum);

// The board's spin up: the next candidate; past the last, the whole-number table goes on at 4
// and the others at their first candidate, ten times larger (35 -> 40, 7 -> 8).
CScaleStep NextScale(const CScaleStep& step);
// Spin down: the previous candidate, nullopt at the first with a multiplier of 1; below the
// first candidate (in the whole-number table below 4 once the multiplier is above 1) the last,
// ten times smaller (40 -> 35, 8 -> 7).
std::optional<CScaleStep> PreviousScale(const CScaleStep& step);

} // namespace quorvel
