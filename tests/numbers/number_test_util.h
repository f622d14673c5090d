// Test helpers: a readable description of a number and of what a computation raised.
#pragma once

#include "numbers/number.h"

#include <charconv>
#include <string>

namespace quorvel::testing {

// "Integer 5", "Fraction -3/2" or "Decimal 0.75" (shortest exact form of the double).
inline std::string Describe(const CNumber& x) {
    switch (x.kind()) {
    case NumberKind::Integer:
        return "Integer " + std::to_string(x.numerator());
    case NumberKind::Fraction:
        return "Fraction " + std::to_string(x.numerator()) + "/" + std::to_string(x.denominator());
    case NumberKind::Decimal:
        break;
    }
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, x.ToDouble());
    return "Decimal " + std::string(buf, res.ptr);
}

// The description of the number `f` makes, or "throws <message>".
template <class F> std::string Outcome(F f) {
    try {
        return Describe(f());
    } catch (const CNumberException& e) {
        return "throws " + e.message();
    }
}

inline std::string Read(const std::string& text) {
    return Outcome([&] { return CNumber(text); });
}

} // namespace quorvel::testing
