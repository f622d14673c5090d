// A million random operations on whole numbers and fractions, each computed a second time by a
// 128-bit reference that follows the same formulas. The results must agree exactly, and
// "Integer Overflow" must come exactly when a checked product, sum or sign change leaves the
// 32-bit range. The reference is in turn checked against the exact rational result.
//
// QUORVEL_NUMBERS_SEED=<n> runs another seed; a failure prints the seed and the operation.
#include "numbers/number.h"

#include "number_test_util.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

namespace quorvel {
namespace {

__extension__ typedef __int128 Wide;

struct RefOverflow {};
struct RefDivisionByZero {};

// A whole number (d = 1) or a fraction, in 128 bits.
struct Ref {
    bool fraction = false;
    Wide n = 0;
    Wide d = 1;
};

Wide Check(Wide v) {
    if (v < INT_MIN || v > INT_MAX)
        throw RefOverflow{};
    return v;
}

Wide Abs(Wide v) {
    return v < 0 ? -v : v;
}

Wide Gcd(Wide a, Wide b) {
    a = Abs(a);
    b = Abs(b);
    while (b != 0) {
        const Wide t = a % b;
        a = b;
        b = t;
    }
    return a;
}

Ref Whole(Wide v) {
    return {false, v, 1};
}
Ref Fraction(Wide n, Wide d) {
    return {true, n, d};
}
Ref Reduced(Wide n, Wide d) {
    return (d == 1 || n == 0) ? Whole(n) : Fraction(n, d);
}

void MoveSign(Wide& n, Wide& d) {
    if (d < 0) {
        n = Check(-n);
        d = Check(-d);
    }
}

Ref Add(const Ref& a, const Ref& b) {
    if (!a.fraction && !b.fraction)
        return Whole(Check(a.n + b.n));
    if (!a.fraction)
        return Fraction(Check(Check(a.n * b.d) + b.n), b.d);
    if (!b.fraction)
        return Fraction(Check(Check(b.n * a.d) + a.n), a.d);
    const Wide g = Gcd(a.d, b.d);
    const Wide N = Check(Check(a.n * (b.d / g)) + Check(b.n * (a.d / g)));
    const Wide D = Check((a.d / g) * b.d);
    const Wide h = Gcd(N, D);
    return Reduced(N / h, D / h);
}

Ref Subtract(const Ref& a, Ref b) {
    b.n = Check(-b.n);
    return Add(a, b);
}

Ref Multiply(const Ref& a, const Ref& b) {
    if (!a.fraction && !b.fraction)
        return Whole(Check(a.n * b.n));
    if (!a.fraction) {
        const Wide g = Gcd(a.n, b.d);
        return Reduced(Check((a.n / g) * b.n), b.d / g);
    }
    if (!b.fraction) {
        const Wide g = Gcd(a.d, b.n);
        return Reduced(Check(a.n * (b.n / g)), a.d / g);
    }
    const Wide g1 = Gcd(b.n, a.d);
    const Wide g2 = Gcd(a.n, b.d);
    const Wide N = Check((a.n / g2) * (b.n / g1));
    const Wide D = Check((a.d / g1) * (b.d / g2));
    return Reduced(N, D);
}

Ref Divide(const Ref& a, const Ref& b) {
    if (b.n == 0)
        throw RefDivisionByZero{};
    if (!a.fraction && a.n == 0)
        return Whole(0);
    Wide N;
    Wide D;
    if (!a.fraction && !b.fraction) {
        if (a.n % b.n == 0)
            return Whole(Check(a.n / b.n));
        const Wide g = Gcd(a.n, b.n);
        N = a.n / g;
        D = b.n / g;
    } else if (!a.fraction) {
        const Wide g = Gcd(a.n, b.n);
        N = Check((a.n / g) * b.d);
        D = b.n / g;
    } else if (!b.fraction) {
        const Wide g = Gcd(a.n, b.n);
        N = a.n / g;
        D = Check(a.d * (b.n / g));
    } else {
        const Wide g1 = Gcd(a.n, b.n);
        const Wide g2 = Gcd(a.d, b.d);
        D = Check((a.d / g2) * (b.n / g1));
        N = Check((a.n / g1) * (b.d / g2));
    }
    MoveSign(N, D);
    return Reduced(N, D);
}

Ref RefOf(const CNumber& x) {
    return {x.kind() == NumberKind::Fraction, x.numerator(), x.denominator()};
}

std::string Source(const CNumber& x) {
    if (x.kind() == NumberKind::Fraction)
        return "CNumber(" + std::to_string(x.numerator()) + ", " + std::to_string(x.denominator()) +
               ")";
    return "CNumber(" + std::to_string(x.numerator()) + ")";
}

std::string Describe(const Ref& r) {
    const auto text = [](Wide v) { return std::to_string(static_cast<long long>(v)); };
    return r.fraction ? "Fraction " + text(r.n) + "/" + text(r.d) : "Integer " + text(r.n);
}

// Parts from where faults hide: small values, zero, the neighbourhood of the 32-bit limits and
// of the square roots of 2^31 and 2^32, powers of two, numbers with many small factors.
int RandomPart(std::mt19937_64& rng) {
    const std::uint64_t r = rng();
    const std::uint64_t high = r >> 8;
    switch (r % 8) {
    case 0:
    case 1:
        return static_cast<int>(high % 25) - 12;
    case 2:
        return static_cast<int>(high % 200001) - 100000;
    case 3: {
        static const std::int64_t anchors[] = {INT_MAX, INT_MIN, 1 << 30, -(1 << 30), 46340,
                                               -46341,  65536,   -65536,  1 << 15,    715827882};
        const std::int64_t v =
            anchors[high % std::size(anchors)] + static_cast<std::int64_t>((high >> 8) % 7) - 3;
        return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
    }
    case 4:
        return static_cast<int>(static_cast<std::uint32_t>(high));
    case 5: {
        if (high % 32 == 31)
            return INT_MIN;
        const int v = 1 << (high % 31);
        return (high >> 8) % 2 ? -v : v;
    }
    case 6: {
        static const int primes[] = {2, 3, 5, 7, 11, 13};
        std::int64_t v = 1;
        for (std::uint64_t bits = high; bits > 7; bits >>= 3) {
            const int p = primes[bits % std::size(primes)];
            if (v * p > INT_MAX)
                break;
            v *= p;
        }
        return static_cast<int>((r >> 63) ? -v : v);
    }
    default:
        return 0;
    }
}

CNumber RandomOperand(std::mt19937_64& rng) {
    for (;;) {
        const int n = RandomPart(rng);
        if (rng() % 2 == 0)
            return CNumber(n);
        const int d = RandomPart(rng);
        if (d == 0)
            continue;
        try {
            const CNumber x(n, d);
            // The constructor itself: lowest terms with the value n/d.
            const Ref r = RefOf(x);
            EXPECT_EQ(r.n * d, static_cast<Wide>(n) * r.d) << n << "/" << d;
            EXPECT_EQ(Gcd(r.n, r.d), r.n == 0 ? r.d : 1) << n << "/" << d;
            return x;
        } catch (const CIntegerOverflowException&) {
            // -2147483648 cannot take the sign of the denominator.
            EXPECT_TRUE(d < 0 && (n == INT_MIN || d == INT_MIN)) << n << "/" << d;
        }
    }
}

// The exact rational value of a op b, as numerator and denominator.
void Exact(const Ref& a, char op, const Ref& b, Wide& num, Wide& den) {
    switch (op) {
    case '+':
        num = a.n * b.d + b.n * a.d;
        den = a.d * b.d;
        break;
    case '-':
        num = a.n * b.d - b.n * a.d;
        den = a.d * b.d;
        break;
    case '*':
        num = a.n * b.n;
        den = a.d * b.d;
        break;
    default:
        num = a.n * b.d;
        den = a.d * b.n;
        break;
    }
}

std::uint64_t Seed() {
    const char* env = std::getenv("QUORVEL_NUMBERS_SEED");
    return env ? std::strtoull(env, nullptr, 10) : 20240604;
}

TEST(NumberDifferential, AgreesWithA128BitReferenceOnAMillionOperations) {
    const std::uint64_t seed = Seed();
    std::mt19937_64 rng(seed);
    constexpr int kOperations = 1 << 20;
    const char ops[] = {'+', '-', '*', '/'};
    int failures = 0;
    int overflows = 0;
    int values = 0;

    for (int i = 0; i < kOperations && failures < 10; ++i) {
        const CNumber a = RandomOperand(rng);
        const CNumber b = RandomOperand(rng);
        const char op = ops[rng() % 4];
        const Ref ra = RefOf(a);
        const Ref rb = RefOf(b);

        std::string expected;
        Ref ref;
        try {
            switch (op) {
            case '+':
                ref = Add(ra, rb);
                break;
            case '-':
                ref = Subtract(ra, rb);
                break;
            case '*':
                ref = Multiply(ra, rb);
                break;
            default:
                ref = Divide(ra, rb);
                break;
            }
            expected = Describe(ref);
        } catch (const RefOverflow&) {
            expected = "throws Integer Overflow";
        } catch (const RefDivisionByZero&) {
            expected = "throws Division by Zero";
        }

        CNumber result;
        const std::string actual = testing::Outcome([&] {
            switch (op) {
            case '+':
                result = a + b;
                break;
            case '-':
                result = a - b;
                break;
            case '*':
                result = a * b;
                break;
            default:
                result = a / b;
                break;
            }
            return result;
        });

        std::ostringstream where;
        where << "seed " << seed << ", operation " << i << ": " << Source(a) << ' ' << op << ' '
              << Source(b);
        if (actual != expected) {
            ADD_FAILURE() << where.str() << "\n  expected " << expected << "\n  actual   "
                          << actual;
            ++failures;
            continue;
        }
        if (expected.starts_with("throws")) {
            overflows += expected == "throws Integer Overflow";
            continue;
        }
        ++values;

        // The reference's formulas must give the exact value, in lowest terms.
        Wide num = 0;
        Wide den = 1;
        Exact(ra, op, rb, num, den);
        const bool exact = ref.n * den == num * ref.d && ref.d >= 1 && Gcd(ref.n, ref.d) == 1 &&
                           ref.fraction == (ref.d >= 2);
        if (!exact) {
            ADD_FAILURE() << where.str() << "\n  " << Describe(ref) << " is not the exact value";
            ++failures;
            continue;
        }
        // Its text reads back to the same number (-2147483648 has no text form).
        if (result.numerator() != INT_MIN) {
            const std::string text = result.Format();
            const std::string reread = testing::Read(text);
            if (reread != actual) {
                ADD_FAILURE() << where.str() << "\n  \"" << text << "\" reads as " << reread;
                ++failures;
            }
        }
    }
    // The mix must exercise both outcomes heavily.
    EXPECT_GT(overflows, kOperations / 20);
    EXPECT_GT(values, kOperations / 3);
}

} // namespace
} // namespace quorvel
