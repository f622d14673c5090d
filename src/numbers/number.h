// CNumber: the exact value carried by number cards, machines, tables and statistics columns.
// A whole number, a reduced fraction on 32-bit parts, or a decimal; whole numbers and
// fractions are computed exactly with overflow checks, and as soon as a decimal takes part the
// arithmetic switches to doubles. Every failure is a CNumberException.
#pragma once

#include "numbers/number_exceptions.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

class CArchive;

enum class NumberKind : std::int32_t { Integer = 0, Fraction = 1, Decimal = 2 };

// Invariants: a Fraction is in lowest terms with a denominator of at least 2 and a non-zero
// numerator that carries the sign (anything else is stored as an Integer); Integer and Fraction
// parts stay within 32 bits; a Decimal computed here is finite.
class CNumber {
public:
    CNumber() = default;
    explicit CNumber(int value) : m_numerator(value) {}
    explicit CNumber(double value) : m_kind(NumberKind::Decimal), m_decimal(value) {}
    // numerator / denominator in lowest terms; an Integer when the reduced denominator is 1.
    // CDivisionByZeroException for a zero denominator, CIntegerOverflowException when moving
    // the sign would negate -2147483648.
    CNumber(int numerator, int denominator);
    // Reads a whole number ("-12"), a decimal ("1.5", ".5"), a fraction ("3/4", "1 / -2") or a
    // mixed number ("-1 1/2"), white space around allowed.
    explicit CNumber(std::string_view text);

    NumberKind kind() const { return m_kind; }
    // Integer: the value; Fraction: the numerator.
    int numerator() const { return m_numerator; }
    // Fraction: the denominator; Integer: 1.
    int denominator() const { return m_kind == NumberKind::Fraction ? m_denominator : 1; }

    CNumber& operator+=(const CNumber& b);
    // Adds the negation of b, so a b of -2147483648 overflows in every kind combination.
    CNumber& operator-=(const CNumber& b);
    CNumber& operator*=(const CNumber& b);
    CNumber& operator/=(const CNumber& b);

    friend CNumber operator+(CNumber a, const CNumber& b) { return a += b; }
    friend CNumber operator-(CNumber a, const CNumber& b) { return a -= b; }
    friend CNumber operator*(CNumber a, const CNumber& b) { return a *= b; }
    friend CNumber operator/(CNumber a, const CNumber& b) { return a /= b; }

    // In place; CIntegerOverflowException for an Integer or numerator of -2147483648.
    void Negate();

    // Compared as doubles, so 1/2 == 0.5.
    friend bool operator==(const CNumber& a, const CNumber& b) {
        return a.ToDouble() == b.ToDouble();
    }
    friend bool operator<(const CNumber& a, const CNumber& b) {
        return a.ToDouble() < b.ToDouble();
    }
    friend bool operator>(const CNumber& a, const CNumber& b) {
        return a.ToDouble() > b.ToDouble();
    }

    double ToDouble() const;
    // The first 32-bit field: the whole number of an Integer, the numerator of a Fraction, the
    // low half of the bits of a Decimal's double. Callers check the kind first.
    int ToInt() const;

    // Integer "-12"; Fraction "-1 1/2" or "3/4"; Decimal "%g".
    std::string Format() const;

    // Kind, then the Integer, the numerator and denominator, or the double. Loading refuses an
    // unknown kind and a fraction that breaks the invariants with a CArchiveException.
    void Serialize(CArchive& ar);

private:
    void SetInteger(int v) {
        m_kind = NumberKind::Integer;
        m_numerator = v;
    }
    void SetFraction(int n, int d) {
        m_kind = NumberKind::Fraction;
        m_numerator = n;
        m_denominator = d;
    }
    // Integer n when d is 1, else the fraction n/d, which the caller has reduced.
    void SetReduced(int n, int d);
    void SetDecimal(double x);

    NumberKind m_kind = NumberKind::Integer;
    int m_numerator = 0;
    int m_denominator = 1;
    double m_decimal = 0.0;
};

} // namespace quorvel
