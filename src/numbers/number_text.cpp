// Checked whole-number helpers, number text validation and reading, decimal formatting.
#include "numbers/number_text.h"

#include "numbers/number_exceptions.h"
#include "workspace/random.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <locale.h>
#include <stdlib.h>

namespace quorvel {

void ThrowIntegerOverflow() {
    throw CIntegerOverflowException();
}

std::uint32_t MagnitudeGcd(int a, int b) {
    // Euclid on the magnitudes; on current processors it beats the binary method.
    std::uint32_t u = Magnitude(a);
    std::uint32_t v = Magnitude(b);
    while (v != 0) {
        const std::uint32_t r = u % v;
        u = v;
        v = r;
    }
    return u;
}

int GreatestCommonDivisor(int a, int b) {
    if (a == 0 && b == 0)
        throw CIllegalArgumentException();
    const std::uint32_t g = MagnitudeGcd(a, b);
    if (g > static_cast<std::uint32_t>(std::numeric_limits<int>::max()))
        ThrowIntegerOverflow();
    return static_cast<int>(g);
}

std::string_view TrimSpace(std::string_view text) {
    while (!text.empty() && IsSpaceChar(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpaceChar(text.back()))
        text.remove_suffix(1);
    return text;
}

namespace {

bool IsSignedDigits(std::string_view text, bool minusAllowed) {
    text = TrimSpace(text);
    if (text.empty())
        return false;
    if (text.front() == '+' || (minusAllowed && text.front() == '-'))
        text.remove_prefix(1);
    if (text.empty())
        return false;
    return std::all_of(text.begin(), text.end(), IsDigitChar);
}

// The C locale, for the rare decimal texts that from_chars leaves to the C library.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

} // namespace

bool IsIntegerText(std::string_view text) {
    return IsSignedDigits(text, true);
}

bool IsUnsignedIntegerText(std::string_view text) {
    return IsSignedDigits(text, false);
}

bool IsDecimalText(std::string_view text) {
    text = TrimSpace(text);
    if (text.empty())
        return false;
    if (text.front() == '+' || text.front() == '-') {
        text.remove_prefix(1);
        if (text.empty())
            return false;
    }
    std::size_t i = 0;
    while (i < text.size() && IsDigitChar(text[i]))
        ++i;
    const bool digitsBefore = i > 0;
    if (i == text.size())
        return true;
    if (text[i] != '.')
        return false;
    ++i;
    const bool digitsAfter = i < text.size();
    for (; i < text.size(); ++i) {
        if (!IsDigitChar(text[i]))
            return false;
    }
    return digitsBefore || digitsAfter;
}

int ParseInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpaceChar(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int m = 0;
    for (; i < text.size() && IsDigitChar(text[i]); ++i) {
        const int d = text[i] - '0';
        if (m > 214748364 || (m == 214748364 && d > 7))
            ThrowIntegerOverflow();
        m = m * 10 + d;
    }
    return negative ? -m : m;
}

double ParseDecimal(std::string_view text) {
    text = TrimSpace(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && end == text.data() + text.size())
        return value;
    if (ec != std::errc::result_out_of_range)
        throw CIllegalNumberFormatException();
    // Out of range: the C library tells an overflow (infinite) from an underflow (0 or a
    // denormal, which is still a value).
    const std::string copy(text);
    value = strtod_l(copy.c_str(), nullptr, CLocale());
    if (!std::isfinite(value))
        throw CFloatingPointOverflowException();
    return value;
}

void FormatDecimal(std::string& out, double value, int decimals) {
    // Beyond 1074 decimals a double has only zeros, which the trimming removes anyway.
    decimals = std::clamp(decimals, 0, 1074);
    // The integer part of the largest double has 309 digits.
    out.resize(static_cast<std::size_t>(decimals) + 320);
    const auto res = std::to_chars(out.data(), out.data() + out.size(), value,
                                   std::chars_format::fixed, decimals);
    out.resize(static_cast<std::size_t>(res.ptr - out.data()));
    const std::size_t point = out.find('.');
    if (point == std::string::npos)
        return;
    std::size_t last = out.find_last_not_of('0');
    if (last == point)
        ++last;
    out.resize(last + 1);
}

std::string FormatGeneral(double value) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    return std::string(buf, res.ptr);
}

int RandomInRange(int low, int high) {
    const double r = Rand();
    const double span = static_cast<double>(high) - static_cast<double>(low);
    return static_cast<int>(r / kRandMax * span + low);
}

} // namespace quorvel
