// CNumber arithmetic, reading, formatting and archive form.
#include "numbers/number.h"

#include "numbers/number_text.h"
#include "workspace/archive.h"

#include <bit>
#include <charconv>
#include <cmath>

namespace quorvel {

namespace {

// v / g for a positive divisor of v; g may be 2147483648 (the divisor of -2147483648 and
// -2147483648), so the division is done in 64 bits.
int DivideExactly(int v, std::uint32_t g) {
    return static_cast<int>(static_cast<std::int64_t>(v) / static_cast<std::int64_t>(g));
}

// A divisor that is known to divide both parts and to be at most 2147483647 as an int.
int SmallGcd(int a, int b) {
    return static_cast<int>(MagnitudeGcd(a, b));
}

// v / g, skipping the division for the common divisor 1.
int Quotient(int v, int g) {
    return g == 1 ? v : v / g;
}

void AppendInt(std::string& out, int v) {
    char buf[12];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

} // namespace

CNumber::CNumber(int numerator, int denominator) {
    if (denominator == 0)
        throw CDivisionByZeroException();
    if (denominator < 0) {
        numerator = CheckedNegate(numerator);
        denominator = CheckedNegate(denominator);
    }
    const int g = SmallGcd(numerator, denominator);
    SetReduced(numerator / g, denominator / g);
}

CNumber::CNumber(std::string_view text) {
    if (IsIntegerText(text)) {
        SetInteger(ParseInteger(text));
        return;
    }
    if (IsDecimalText(text)) {
        SetDecimal(ParseDecimal(text));
        return;
    }
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        throw CIllegalNumberFormatException();
    const std::string_view denominatorText = text.substr(slash + 1);
    if (!IsIntegerText(denominatorText))
        throw CIllegalNumberFormatException();
    const int D = ParseInteger(denominatorText);

    std::string_view left = TrimSpace(text.substr(0, slash));
    int W = 0;
    const std::size_t space = left.find(' ');
    if (space != std::string_view::npos) {
        const std::string_view numeratorText = left.substr(space + 1);
        if (!IsUnsignedIntegerText(numeratorText))
            throw CIllegalNumberFormatException();
        W = ParseInteger(left.substr(0, space));
        left = numeratorText;
    }
    if (!IsIntegerText(left))
        throw CIllegalNumberFormatException();
    const int N = ParseInteger(left);

    // Neither part can be -2147483648 here, so the divisor fits and the signs can move.
    const int g = GreatestCommonDivisor(N, D);
    int n = N / g;
    int d = D / g;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    // The fraction part of a mixed number must be proper (so "1 3/0" is a format error).
    if (W != 0 && (n < 0 || n >= d))
        throw CIllegalNumberFormatException();
    if (d == 0)
        throw CDivisionByZeroException();
    if (d == 1) {
        SetInteger(CheckedAdd(n, W));
        return;
    }
    const int magnitude = CheckedAdd(CheckedMultiply(static_cast<int>(Magnitude(W)), d), n);
    SetFraction(W < 0 ? -magnitude : magnitude, d);
}

void CNumber::SetReduced(int n, int d) {
    if (d == 1 || n == 0)
        SetInteger(n);
    else
        SetFraction(n, d);
}

void CNumber::SetDecimal(double x) {
    if (!std::isfinite(x))
        throw CFloatingPointOverflowException();
    m_kind = NumberKind::Decimal;
    m_decimal = x;
}

void CNumber::Negate() {
    if (m_kind == NumberKind::Decimal)
        m_decimal = -m_decimal;
    else
        m_numerator = CheckedNegate(m_numerator);
}

double CNumber::ToDouble() const {
    switch (m_kind) {
    case NumberKind::Integer:
        return m_numerator;
    case NumberKind::Fraction:
        return static_cast<double>(m_numerator) / m_denominator;
    case NumberKind::Decimal:
        break;
    }
    return m_decimal;
}

int CNumber::ToInt() const {
    if (m_kind == NumberKind::Decimal)
        return static_cast<int>(
            static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(m_decimal)));
    return m_numerator;
}

// --- arithmetic ------------------------------------------------------------------------------

CNumber& CNumber::operator+=(const CNumber& other) {
    const CNumber b = other;
    if (m_kind == NumberKind::Decimal || b.m_kind == NumberKind::Decimal) {
        SetDecimal(ToDouble() + b.ToDouble());
        return *this;
    }
    const bool fa = m_kind == NumberKind::Fraction;
    const bool fb = b.m_kind == NumberKind::Fraction;
    if (!fa && !fb) {
        SetInteger(CheckedAdd(m_numerator, b.m_numerator));
    } else if (!fa) {
        // A whole number plus a reduced fraction is never whole: no reduction needed.
        SetFraction(CheckedAdd(CheckedMultiply(m_numerator, b.m_denominator), b.m_numerator),
                    b.m_denominator);
    } else if (!fb) {
        SetFraction(CheckedAdd(CheckedMultiply(b.m_numerator, m_denominator), m_numerator),
                    m_denominator);
    } else {
        const int g = SmallGcd(m_denominator, b.m_denominator);
        const int da = Quotient(m_denominator, g);
        const int db = Quotient(b.m_denominator, g);
        const int N =
            CheckedAdd(CheckedMultiply(m_numerator, db), CheckedMultiply(b.m_numerator, da));
        const int D = CheckedMultiply(da, b.m_denominator);
        // For reduced operands gcd(N, D) = gcd(N, g) (so 1 when g is 1), which is cheaper.
        const int h = g == 1 ? 1 : SmallGcd(N, g);
        SetReduced(Quotient(N, h), Quotient(D, h));
    }
    return *this;
}

CNumber& CNumber::operator-=(const CNumber& other) {
    CNumber negated = other;
    negated.Negate();
    return *this += negated;
}

CNumber& CNumber::operator*=(const CNumber& other) {
    const CNumber b = other;
    if (m_kind == NumberKind::Decimal || b.m_kind == NumberKind::Decimal) {
        SetDecimal(ToDouble() * b.ToDouble());
        return *this;
    }
    const bool fa = m_kind == NumberKind::Fraction;
    const bool fb = b.m_kind == NumberKind::Fraction;
    if (!fa && !fb) {
        SetInteger(CheckedMultiply(m_numerator, b.m_numerator));
    } else if (!fa) {
        const int g = SmallGcd(m_numerator, b.m_denominator);
        SetReduced(CheckedMultiply(m_numerator / g, b.m_numerator), b.m_denominator / g);
    } else if (!fb) {
        const int g = SmallGcd(m_denominator, b.m_numerator);
        SetReduced(CheckedMultiply(m_numerator, b.m_numerator / g), m_denominator / g);
    } else {
        const int g1 = SmallGcd(b.m_numerator, m_denominator);
        const int g2 = SmallGcd(m_numerator, b.m_denominator);
        const int N = CheckedMultiply(Quotient(m_numerator, g2), Quotient(b.m_numerator, g1));
        const int D = CheckedMultiply(Quotient(m_denominator, g1), Quotient(b.m_denominator, g2));
        SetReduced(N, D);
    }
    return *this;
}

CNumber& CNumber::operator/=(const CNumber& other) {
    const CNumber b = other;
    if (m_kind == NumberKind::Decimal || b.m_kind == NumberKind::Decimal) {
        const double divisor = b.ToDouble();
        if (divisor == 0.0)
            throw CDivisionByZeroException();
        SetDecimal(ToDouble() / divisor);
        return *this;
    }
    const bool fa = m_kind == NumberKind::Fraction;
    const bool fb = b.m_kind == NumberKind::Fraction;
    // Zero has no sign to move, and the sign of a negative divisor moves to the numerator;
    // -2147483648 cannot take a sign, which overflows.
    int N = 0;
    int D = 1;
    if (!fa && !fb) {
        const int a = m_numerator;
        const int d = b.m_numerator;
        if (d == 0)
            throw CDivisionByZeroException();
        if (a == 0) {
            SetInteger(0);
            return *this;
        }
        if (static_cast<std::int64_t>(a) % d == 0) {
            // Only -2147483648 / -1 leaves the 32-bit range.
            const std::int64_t q = static_cast<std::int64_t>(a) / d;
            if (q > std::numeric_limits<int>::max())
                ThrowIntegerOverflow();
            SetInteger(static_cast<int>(q));
            return *this;
        }
        const std::uint32_t g = MagnitudeGcd(a, d);
        N = DivideExactly(a, g);
        D = DivideExactly(d, g);
    } else if (!fa) {
        const int a = m_numerator;
        if (b.m_numerator == 0)
            throw CDivisionByZeroException();
        if (a == 0) {
            SetInteger(0);
            return *this;
        }
        const std::uint32_t g = MagnitudeGcd(a, b.m_numerator);
        N = CheckedMultiply(DivideExactly(a, g), b.m_denominator);
        D = DivideExactly(b.m_numerator, g);
    } else if (!fb) {
        if (b.m_numerator == 0)
            throw CDivisionByZeroException();
        const std::uint32_t g = MagnitudeGcd(m_numerator, b.m_numerator);
        N = DivideExactly(m_numerator, g);
        D = CheckedMultiply(m_denominator, DivideExactly(b.m_numerator, g));
    } else {
        if (b.m_numerator == 0)
            throw CDivisionByZeroException();
        const std::uint32_t g1 = MagnitudeGcd(m_numerator, b.m_numerator);
        const int g2 = SmallGcd(m_denominator, b.m_denominator);
        D = CheckedMultiply(m_denominator / g2, DivideExactly(b.m_numerator, g1));
        N = CheckedMultiply(DivideExactly(m_numerator, g1), b.m_denominator / g2);
    }
    if (D < 0) {
        N = CheckedNegate(N);
        D = CheckedNegate(D);
    }
    SetReduced(N, D);
    return *this;
}

// --- text ------------------------------------------------------------------------------------

std::string CNumber::Format() const {
    std::string out;
    switch (m_kind) {
    case NumberKind::Integer:
        AppendInt(out, m_numerator);
        break;
    case NumberKind::Fraction: {
        const int q = m_numerator / m_denominator;
        const int r = m_numerator % m_denominator;
        if (q != 0) {
            AppendInt(out, q);
            out += ' ';
            AppendInt(out, r < 0 ? -r : r);
        } else {
            AppendInt(out, r);
        }
        out += '/';
        AppendInt(out, m_denominator);
        break;
    }
    case NumberKind::Decimal:
        out = FormatGeneral(m_decimal);
        break;
    }
    return out;
}

// --- archive ---------------------------------------------------------------------------------

void CNumber::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt32(static_cast<std::int32_t>(m_kind), "number kind");
        if (m_kind == NumberKind::Decimal) {
            ar.WriteDouble(m_decimal, "decimal");
        } else if (m_kind == NumberKind::Fraction) {
            ar.WriteInt32(m_numerator, "numerator");
            ar.WriteInt32(m_denominator, "denominator");
        } else {
            ar.WriteInt32(m_numerator, "integer");
        }
        return;
    }
    const std::int32_t kind = ar.ReadInt32("number kind");
    switch (kind) {
    case static_cast<std::int32_t>(NumberKind::Integer):
        SetInteger(ar.ReadInt32("integer"));
        return;
    case static_cast<std::int32_t>(NumberKind::Fraction): {
        const int n = ar.ReadInt32("numerator");
        const int d = ar.ReadInt32("denominator");
        // Formatting and arithmetic rely on the invariants; a fraction that breaks them is
        // damage, not a value.
        if (d < 2 || n == 0 || MagnitudeGcd(n, d) != 1)
            ar.Fail("fraction " + std::to_string(n) + "/" + std::to_string(d) +
                        " is not in lowest terms",
                    "denominator");
        SetFraction(n, d);
        return;
    }
    case static_cast<std::int32_t>(NumberKind::Decimal): {
        const double value = ar.ReadDouble("decimal");
        // A decimal made by arithmetic is finite; anything else was not written by us.
        if (!std::isfinite(value))
            ar.Fail("a decimal that is not finite", "decimal");
        m_kind = NumberKind::Decimal;
        m_decimal = value;
        return;
    }
    default:
        ar.Fail("unknown number kind " + std::to_string(kind), "number kind");
    }
}

} // namespace quorvel
