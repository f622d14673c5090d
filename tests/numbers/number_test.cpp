// CNumber: reading text, the arithmetic table, formatting, comparison and the overflow rules.
#include "numbers/number.h"

#include "number_test_util.h"
#include "numbers/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

namespace quorvel {
namespace {

using testing::Describe;
using testing::Outcome;
using testing::Read;

struct Case {
    const char* input;
    const char* expected;
};

// --- reading ---------------------------------------------------------------------------------

TEST(NumberReading, WholeNumbers) {
    const Case cases[] = {
        {"2147483647", "Integer 2147483647"},
        {"-2147483647", "Integer -2147483647"},
        {"2147483648", "throws Integer Overflow"},
        {"-2147483648", "throws Integer Overflow"},
        {" 12 ", "Integer 12"},
        {"\t+7\n", "Integer 7"},
        {"007", "Integer 7"},
        {"-0", "Integer 0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.input), c.expected) << '"' << c.input << '"';
}

TEST(NumberReading, FractionsAreReducedAndKeepTheSignInTheNumerator) {
    const Case cases[] = {
        {"6/3", "Integer 2"},         {"4/-2", "Integer -2"},
        {"0/7", "Integer 0"},         {"3/4", "Fraction 3/4"},
        {"-6/8", "Fraction -3/4"},    {"1/-2", "Fraction -1/2"},
        {"-1/-2", "Fraction 1/2"},    {"1 / 2", "Fraction 1/2"},
        {"  3 /4  ", "Fraction 3/4"}, {"2147483647/2147483646", "Fraction 2147483647/2147483646"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.input), c.expected) << '"' << c.input << '"';
}

TEST(NumberReading, MixedNumbersNeedAProperFractionPart) {
    const Case cases[] = {
        {"2 4/8", "Fraction 5/2"},
        {"-1 1/2", "Fraction -3/2"},
        {"-3 2/4", "Fraction -7/2"},
        {"10 1/2", "Fraction 21/2"},
        {"1  1/2", "Fraction 3/2"},
        {"2 0/5", "Integer 2"},
        {"1 0/1", "Integer 1"},
        {"2 3/2", "throws Illegal Number Format"},
        {"1 1/1", "throws Illegal Number Format"},
        {"1 -1/2", "throws Illegal Number Format"},
        {"1 1/-2", "throws Illegal Number Format"},
        {"1 2 3/4", "throws Illegal Number Format"},
        // A whole part that does not start with a digit reads as 0.
        {"x 1/2", "Fraction 1/2"},
        {"1073741823 1/2", "Fraction 2147483647/2"},
        {"-1073741823 1/2", "Fraction -2147483647/2"},
        {"1073741824 1/2", "throws Integer Overflow"},
        {"2147483647 1/2", "throws Integer Overflow"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.input), c.expected) << '"' << c.input << '"';
}

TEST(NumberReading, ZeroDenominatorsAndTheOrderOfTheChecks) {
    const Case cases[] = {
        {"0/0", "throws Illegal Argument"},
        {"5/0", "throws Division by Zero"},
        {"-5/0", "throws Division by Zero"},
        // The proper-fraction test of a mixed number comes before the zero test.
        {"1 3/0", "throws Illegal Number Format"},
        // The denominator is read before the numerator.
        {"99999999999/99999999999", "throws Integer Overflow"},
        {"99999999999/2", "throws Integer Overflow"},
        {"1/99999999999", "throws Integer Overflow"},
        {"abc/99999999999", "throws Integer Overflow"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.input), c.expected) << '"' << c.input << '"';
}

TEST(NumberReading, Decimals) {
    const Case cases[] = {
        {"1.5", "Decimal 1.5"},
        {"5.", "Decimal 5"},
        {".5", "Decimal 0.5"},
        {"-.5", "Decimal -0.5"},
        {" +2.25 ", "Decimal 2.25"},
        {"0.1", "Decimal 0.1"},
        {"-0.0", "Decimal -0"},
        {"2147483648.0", "Decimal 2147483648"},
        {"123456789012345678901234567890.5", "Decimal 1.2345678901234568e+29"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.input), c.expected) << '"' << c.input << '"';
}

TEST(NumberReading, MalformedTexts) {
    const char* texts[] = {"abc",   "",      "   ",     "-",   "+",   ".",    "+.",    "1/2/3",
                           "1/",    "/2",    "1 2",     "1,5", "1e5", "0x10", "inf",   "nan",
                           "1.5/2", "1/2.5", "1 1.5/2", "½",   "--1", "1//2", "1 /2 3"};
    for (const char* t : texts)
        EXPECT_EQ(Read(t), "throws Illegal Number Format") << '"' << t << '"';
}

TEST(NumberReading, DecimalTextsBeyondTheDoubleRangeOverflow) {
    const std::string huge = "1" + std::string(400, '0') + ".0";
    EXPECT_EQ(Read(huge), "throws Floating Point Overflow");
    EXPECT_EQ(Read("-" + huge), "throws Floating Point Overflow");
    EXPECT_EQ(Read(std::string(400, '9') + "."), "throws Floating Point Overflow");
    // The largest double still reads; an underflow is a value, not a failure.
    const std::string largest = "179769313486231570" + std::string(291, '0') + ".0";
    EXPECT_EQ(Read(largest), "Decimal 1.7976931348623157e+308");
    EXPECT_EQ(Read("0." + std::string(400, '0') + "1"), "Decimal 0");
    EXPECT_EQ(Read("0." + std::string(310, '0') + "5"), "Decimal 5e-311");
}

// Reading and formatting ignore the user's locale; a German desktop writes 1,5 in printf.
TEST(NumberReading, TheUserLocaleDoesNotChangeTextOrFormatting) {
    const char* german = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
        if (std::setlocale(LC_ALL, name)) {
            german = name;
            break;
        }
    }
    if (!german)
        GTEST_SKIP() << "no German locale installed";
    const std::string decimal = Describe(CNumber("1.5"));
    const std::string formatted = CNumber(1.25).Format();
    const std::string comma = Read("1,5");
    std::string fixed;
    FormatDecimal(fixed, 2.5, 6);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(decimal, "Decimal 1.5");
    EXPECT_EQ(formatted, "1.25");
    EXPECT_EQ(comma, "throws Illegal Number Format");
    EXPECT_EQ(fixed, "2.5");
}

// --- arithmetic ------------------------------------------------------------------------------

CNumber Apply(CNumber a, char op, const CNumber& b) {
    switch (op) {
    case '+':
        return a + b;
    case '-':
        return a - b;
    case '*':
        return a * b;
    default:
        return a / b;
    }
}

struct Operation {
    CNumber a;
    char op;
    CNumber b;
    const char* expected;
};

void Check(const Operation& o) {
    EXPECT_EQ(Outcome([&] { return Apply(o.a, o.op, o.b); }), o.expected)
        << Describe(o.a) << ' ' << o.op << ' ' << Describe(o.b);
}

const CNumber kHalf(1, 2);
const CNumber kThird(1, 3);

TEST(NumberArithmetic, WholeNumbersAndFractions) {
    const Operation ops[] = {
        {kHalf, '+', kHalf, "Integer 1"},
        {kThird, '-', kThird, "Integer 0"},
        {CNumber(1, 6), '+', CNumber(1, 10), "Fraction 4/15"},
        {kHalf, '-', kThird, "Fraction 1/6"},
        {CNumber(1), '-', kThird, "Fraction 2/3"},
        {kThird, '-', CNumber(1), "Fraction -2/3"},
        {CNumber(3), '+', CNumber(-3, 4), "Fraction 9/4"},
        {CNumber(7), '-', CNumber(7), "Integer 0"},
        {CNumber(1, 6), '*', CNumber(3), "Fraction 1/2"},
        {CNumber(3), '*', CNumber(1, 6), "Fraction 1/2"},
        {CNumber(4), '*', CNumber(-3, 4), "Integer -3"},
        {CNumber(2, 3), '*', CNumber(3, 2), "Integer 1"},
        {CNumber(4, 9), '*', CNumber(-3, 8), "Fraction -1/6"},
        {CNumber(0), '*', kHalf, "Integer 0"},
        {kHalf, '*', CNumber(0), "Integer 0"},
        {CNumber(2), '/', CNumber(4), "Fraction 1/2"},
        {CNumber(6), '/', CNumber(-4), "Fraction -3/2"},
        {CNumber(-6), '/', CNumber(-3), "Integer 2"},
        {CNumber(0), '/', CNumber(5), "Integer 0"},
        {CNumber(2), '/', CNumber(-1, 3), "Integer -6"},
        {CNumber(-3), '/', CNumber(2, 5), "Fraction -15/2"},
        {CNumber(0), '/', kHalf, "Integer 0"},
        {kHalf, '/', CNumber(-2), "Fraction -1/4"},
        {CNumber(-4, 3), '/', CNumber(-2), "Fraction 2/3"},
        {CNumber(2, 3), '/', CNumber(4, 9), "Fraction 3/2"},
        {CNumber(2, 3), '/', CNumber(2, 3), "Integer 1"},
        {CNumber(-2, 3), '/', CNumber(-4, 3), "Fraction 1/2"},
        {CNumber(3, 4), '/', CNumber(-3, 8), "Integer -2"},
    };
    for (const Operation& o : ops)
        Check(o);
}

TEST(NumberArithmetic, ADecimalMakesTheResultDecimal) {
    const Operation ops[] = {
        {kHalf, '+', CNumber(0.25), "Decimal 0.75"},
        {CNumber(0.5), '-', kHalf, "Decimal 0"},
        {CNumber(1.5), '*', CNumber(2), "Decimal 3"},
        {CNumber(3), '/', CNumber(0.5), "Decimal 6"},
        {kThird, '*', CNumber(3.0), "Decimal 1"},
        {CNumber(1e200), '*', CNumber(1e200), "throws Floating Point Overflow"},
        {CNumber(-1e308), '-', CNumber(1e308), "throws Floating Point Overflow"},
        {CNumber(1e300), '/', CNumber(1e-300), "throws Floating Point Overflow"},
    };
    for (const Operation& o : ops)
        Check(o);
}

TEST(NumberArithmetic, DivisionByZero) {
    const Operation ops[] = {
        {CNumber(1), '/', CNumber(0), "throws Division by Zero"},
        {CNumber(0), '/', CNumber(0), "throws Division by Zero"},
        {kHalf, '/', CNumber(0), "throws Division by Zero"},
        {CNumber(1.0), '/', CNumber(0), "throws Division by Zero"},
        {CNumber(1), '/', CNumber(0.0), "throws Division by Zero"},
        {kHalf, '/', CNumber(-0.0), "throws Division by Zero"},
    };
    for (const Operation& o : ops)
        Check(o);
}

TEST(NumberArithmetic, IntermediatesBeyond32BitsOverflow) {
    const Operation ops[] = {
        {CNumber(65536), '*', CNumber(65536), "throws Integer Overflow"},
        {CNumber(46340), '*', CNumber(46340), "Integer 2147395600"},
        {CNumber(INT_MAX), '+', CNumber(1), "throws Integer Overflow"},
        {CNumber(-INT_MAX), '-', CNumber(2), "throws Integer Overflow"},
        {CNumber(-INT_MAX), '-', CNumber(1), "Integer -2147483648"},
        {CNumber(1, INT_MAX), '+', CNumber(1, INT_MAX - 1), "throws Integer Overflow"},
        {CNumber(INT_MAX / 2), '+', kHalf, "Fraction 2147483647/2"},
        {CNumber(INT_MAX / 2 + 1), '+', kHalf, "throws Integer Overflow"},
        {CNumber(1, 65536), '*', CNumber(1, 65536), "throws Integer Overflow"},
        // Cross-cancelling keeps the parts small.
        {CNumber(65536, 3), '*', CNumber(3, 65536), "Integer 1"},
        {CNumber(INT_MAX, 2), '*', CNumber(2, INT_MAX), "Integer 1"},
        {CNumber(1, 3), '/', CNumber(INT_MAX), "throws Integer Overflow"},
        // The sum is formed before it is reduced: 2^31/2 is checked as 2^31.
        {CNumber(INT_MAX, 2), '+', kHalf, "throws Integer Overflow"},
    };
    for (const Operation& o : ops)
        Check(o);
}

TEST(NumberArithmetic, CompoundOperatorsWorkWithThemselves) {
    CNumber x(3, 4);
    x += x;
    EXPECT_EQ(Describe(x), "Fraction 3/2");
    x *= x;
    EXPECT_EQ(Describe(x), "Fraction 9/4");
    x /= x;
    EXPECT_EQ(Describe(x), "Integer 1");
    x -= x;
    EXPECT_EQ(Describe(x), "Integer 0");
}

TEST(NumberArithmetic, BinaryOperatorsLeaveTheirOperandsAlone) {
    const CNumber a(65536);
    const CNumber b(65536);
    EXPECT_THROW(a * b, CIntegerOverflowException);
    EXPECT_EQ(Describe(a), "Integer 65536");
    EXPECT_EQ(Describe(b), "Integer 65536");
    const CNumber c = a + CNumber(1, 2);
    EXPECT_EQ(Describe(a), "Integer 65536");
    EXPECT_EQ(Describe(c), "Fraction 131073/2");
}

TEST(NumberArithmetic, FractionConstructorReducesAndMovesTheSign) {
    EXPECT_EQ(Describe(CNumber(4, 6)), "Fraction 2/3");
    EXPECT_EQ(Describe(CNumber(4, -6)), "Fraction -2/3");
    EXPECT_EQ(Describe(CNumber(-4, -6)), "Fraction 2/3");
    EXPECT_EQ(Describe(CNumber(-8, 4)), "Integer -2");
    EXPECT_EQ(Describe(CNumber(0, -5)), "Integer 0");
    EXPECT_EQ(Describe(CNumber(INT_MIN, 2)), "Integer -1073741824");
    EXPECT_EQ(Describe(CNumber(INT_MIN, 3)), "Fraction -2147483648/3");
    EXPECT_EQ(Outcome([] { return CNumber(INT_MIN, -1); }), "throws Integer Overflow");
    EXPECT_EQ(Outcome([] { return CNumber(1, 0); }), "throws Division by Zero");
}

// -2147483648 has no positive counterpart in 32 bits: every road that would make one
// overflows, and the divisor 2147483648 of two such numbers still cancels correctly.
TEST(NumberArithmetic, TheSmallestIntegerNeverWraps) {
    const CNumber minimum(INT_MIN);
    const CNumber minimumThirds(INT_MIN, 3);
    for (CNumber x : {minimum, minimumThirds}) {
        EXPECT_THROW(x.Negate(), CIntegerOverflowException) << Describe(x);
    }
    const Operation ops[] = {
        {CNumber(0), '-', minimum, "throws Integer Overflow"},
        // Subtraction adds the negation, which fails even where the difference would fit.
        {CNumber(-1), '-', minimum, "throws Integer Overflow"},
        {CNumber(0.5), '-', minimum, "throws Integer Overflow"},
        {kHalf, '-', minimumThirds, "throws Integer Overflow"},
        {minimum, '-', CNumber(1), "throws Integer Overflow"},
        {minimum, '/', CNumber(-1), "throws Integer Overflow"},
        {minimum, '*', CNumber(-1), "throws Integer Overflow"},
        {minimum, '/', CNumber(1), "Integer -2147483648"},
        {minimum, '/', CNumber(2), "Integer -1073741824"},
        {minimum, '/', CNumber(-3), "throws Integer Overflow"},
        {CNumber(1), '/', minimum, "throws Integer Overflow"},
        {CNumber(2), '/', minimum, "Fraction -1/1073741824"},
        {minimumThirds, '/', CNumber(-1), "throws Integer Overflow"},
        {CNumber(-1073741824), '/', CNumber(-1, 2), "throws Integer Overflow"},
        {CNumber(1, 2), '/', CNumber(-1073741824), "throws Integer Overflow"},
        {CNumber(-1, 2), '/', CNumber(-1073741824), "throws Integer Overflow"},
        {CNumber(-1073741824), '/', CNumber(1, 2), "Integer -2147483648"},
        {CNumber(-2147483647, 2), '-', kHalf, "Integer -1073741824"},
        {CNumber(-2147483647, 2), '+', CNumber(-1, 2), "Integer -1073741824"},
        {minimum, '/', minimumThirds, "Integer 3"},
        {minimumThirds, '/', minimum, "Fraction 1/3"},
        {minimumThirds, '/', CNumber(INT_MIN, 5), "Fraction 5/3"},
        {minimumThirds, '*', CNumber(-3, INT_MIN + 1), "Fraction -2147483648/2147483647"},
        {minimum, '*', CNumber(1, 2), "Integer -1073741824"},
        {minimumThirds, '+', CNumber(1, 3), "Fraction -2147483647/3"},
        {minimum, '+', CNumber(0), "Integer -2147483648"},
    };
    for (const Operation& o : ops)
        Check(o);
}

// --- comparison and conversion ---------------------------------------------------------------

TEST(NumberComparison, ValuesCompareAsDoubles) {
    EXPECT_TRUE(kHalf == CNumber(0.5));
    EXPECT_TRUE(CNumber(3) == CNumber(3.0));
    EXPECT_TRUE(CNumber(6, 3) == CNumber(2));
    EXPECT_FALSE(kThird == CNumber(0.333333));
    EXPECT_TRUE(kThird != CNumber(0.333333));
    EXPECT_TRUE(CNumber(-1, 2) < CNumber(0));
    EXPECT_TRUE(CNumber(2) > CNumber(3, 2));
    EXPECT_TRUE(CNumber(INT_MAX, INT_MAX - 1) > CNumber(1));
    EXPECT_FALSE(kHalf < kHalf);
    EXPECT_FALSE(kHalf > kHalf);

    EXPECT_EQ(CNumber(-1, 4).ToDouble(), -0.25);
    EXPECT_EQ(CNumber(INT_MIN).ToDouble(), -2147483648.0);
    EXPECT_EQ(CNumber(-7).ToInt(), -7);
    EXPECT_EQ(CNumber(5, 3).ToInt(), 5);
    EXPECT_EQ(CNumber().kind(), NumberKind::Integer);
    EXPECT_EQ(CNumber().ToInt(), 0);
}

// --- formatting ------------------------------------------------------------------------------

TEST(NumberFormatting, EachKindHasItsForm) {
    const std::pair<CNumber, const char*> cases[] = {
        {CNumber(0), "0"},
        {CNumber(-12), "-12"},
        {CNumber(INT_MIN), "-2147483648"},
        {CNumber(-3, 2), "-1 1/2"},
        {CNumber(7, 3), "2 1/3"},
        {CNumber(-1, 2), "-1/2"},
        {CNumber(3, 4), "3/4"},
        {CNumber(INT_MAX, 2), "1073741823 1/2"},
        {CNumber(INT_MIN, 3), "-715827882 2/3"},
        {CNumber(1.5), "1.5"},
        {CNumber(0.1) + CNumber(0.2), "0.3"},
        {CNumber(1234567.0), "1.23457e+06"},
        {CNumber(100000.0), "100000"},
        {CNumber(1e-5), "1e-05"},
        {CNumber(-0.0), "-0"},
        {CNumber(2.0), "2"},
    };
    for (const auto& [number, text] : cases)
        EXPECT_EQ(number.Format(), text) << Describe(number);
}

TEST(NumberFormatting, FormattedWholeNumbersAndFractionsReadBack) {
    for (int n : {-1000001, -100, -7, -1, 0, 1, 5, 99, 65537, INT_MAX}) {
        for (int d : {1, 2, 3, 7, 10, 64, 997, INT_MAX}) {
            const CNumber x(n, d);
            EXPECT_EQ(Describe(CNumber(x.Format())), Describe(x)) << x.Format();
        }
    }
}

// --- exceptions ------------------------------------------------------------------------------

TEST(NumberExceptions, EachClassCarriesItsMessage) {
    EXPECT_EQ(CIntegerOverflowException().message(), "Integer Overflow");
    EXPECT_EQ(CFloatingPointOverflowException().message(), "Floating Point Overflow");
    EXPECT_EQ(CDivisionByZeroException().message(), "Division by Zero");
    EXPECT_EQ(CIllegalArgumentException().message(), "Illegal Argument");
    EXPECT_EQ(CIllegalNumberFormatException().message(), "Illegal Number Format");
    EXPECT_EQ(CNumberException("Something else").message(), "Something else");
}

TEST(NumberExceptions, ThrownByValueAndCaughtByReferenceToTheBase) {
    EXPECT_THROW(CNumber("5/0"), CDivisionByZeroException);
    EXPECT_THROW(CNumber("0/0"), CIllegalArgumentException);
    EXPECT_THROW(CNumber("abc"), CIllegalNumberFormatException);
    EXPECT_THROW(CNumber("2147483648"), CIntegerOverflowException);
    EXPECT_THROW(CNumber(1e300) * CNumber(1e300), CFloatingPointOverflowException);
    try {
        CNumber(1) / CNumber(0);
        FAIL() << "no exception";
    } catch (const CNumberException& e) {
        EXPECT_NE(dynamic_cast<const CDivisionByZeroException*>(&e), nullptr);
        const CNumberException copy = e;
        EXPECT_EQ(&copy.message(), &e.message());
    }
}

} // namespace
} // namespace quorvel
