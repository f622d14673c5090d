// Whole-number arithmetic with overflow checks, the number text validators and readers, the
// decimal formatter and the random whole number in a range. Text is read and written in the
// C locale with ASCII character classes, whatever the user's locale is.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace quorvel {

[[noreturn]] void ThrowIntegerOverflow();

// Exact products and sums of 32-bit whole numbers; CIntegerOverflowException when the exact
// value leaves -2147483648..2147483647.
inline int CheckedMultiply(int a, int b) {
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    if (p > std::numeric_limits<int>::max() || p < std::numeric_limits<int>::min())
        ThrowIntegerOverflow();
    return static_cast<int>(p);
}

inline int CheckedAdd(int a, int b) {
    const std::int64_t s = static_cast<std::int64_t>(a) + b;
    if (s > std::numeric_limits<int>::max() || s < std::numeric_limits<int>::min())
        ThrowIntegerOverflow();
    return static_cast<int>(s);
}

// -v; CIntegerOverflowException for -2147483648, whose negation has no 32-bit form.
inline int CheckedNegate(int v) {
    if (v == std::numeric_limits<int>::min())
        ThrowIntegerOverflow();
    return -v;
}

// |v| as an unsigned value, defined for -2147483648 too.
inline std::uint32_t Magnitude(int v) {
    const auto u = static_cast<std::uint32_t>(v);
    return v < 0 ? 0u - u : u;
}

// The greatest common divisor of |a| and |b|, which is 2147483648 when both are
// -2147483648 or one is -2147483648 and the other 0; 0 when both are 0.
std::uint32_t MagnitudeGcd(int a, int b);

// The positive greatest common divisor of a and b (gcd(a, 0) = |a|).
// CIllegalArgumentException when both are 0; CIntegerOverflowException when the divisor is
// 2147483648, which has no int form.
int GreatestCommonDivisor(int a, int b);

// White space and digits are the ASCII ones.
constexpr bool IsSpaceChar(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
constexpr bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

// The text without leading and trailing white space.
std::string_view TrimSpace(std::string_view text);

// Optional sign and at least one digit, white space around allowed.
bool IsIntegerText(std::string_view text);
// As IsIntegerText, but a "-" sign is refused.
bool IsUnsignedIntegerText(std::string_view text);
// Optional sign, digits, optionally a point and more digits, with a digit on at least one side
// of the point ("5.", ".5", "-.5"; not "." or "+."). No exponent.
bool IsDecimalText(std::string_view text);

// Reads an optional sign and the digits that follow leading white space; whatever comes after
// them is ignored and no digits read as 0. Accepts -2147483647..2147483647, anything larger
// in magnitude (-2147483648 included) raises CIntegerOverflowException.
int ParseInteger(std::string_view text);

// The value of a text for which IsDecimalText holds, correctly rounded.
// CFloatingPointOverflowException when it is beyond the double range.
double ParseDecimal(std::string_view text);

// The value with `decimals` digits after the point ("%.<decimals>f"), then trailing zeros
// removed down to one digit after the point. A negative count counts as 0.
void FormatDecimal(std::string& out, double value, int decimals);

// "%g": six significant digits.
std::string FormatGeneral(double value);

// low + the program's random value 0..32767 scaled onto (high - low), truncated toward zero.
// `high` comes out only when the random value is 32767.
int RandomInRange(int low, int high);

} // namespace quorvel
