// Reading any text either gives a valid number or raises one of the five numeric exceptions:
// random bytes, texts built from the characters numbers are made of, and hostile texts.
#include "numbers/number.h"

#include "number_test_util.h"
#include "numbers/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <typeinfo>

namespace quorvel {
namespace {

bool IsOneOfTheFive(const CNumberException& e) {
    const std::type_info& t = typeid(e);
    return t == typeid(CIntegerOverflowException) || t == typeid(CFloatingPointOverflowException) ||
           t == typeid(CDivisionByZeroException) || t == typeid(CIllegalArgumentException) ||
           t == typeid(CIllegalNumberFormatException);
}

// Reads `text` and checks what comes out; returns a failure description or "".
std::string Examine(const std::string& text) {
    try {
        const CNumber x(text);
        const std::string formatted = x.Format();
        switch (x.kind()) {
        case NumberKind::Integer:
            // Text never makes -2147483648.
            if (x.numerator() == INT_MIN)
                return "read as -2147483648";
            break;
        case NumberKind::Fraction:
            if (x.denominator() < 2 || x.numerator() == 0 ||
                MagnitudeGcd(x.numerator(), x.denominator()) != 1)
                return "broken fraction " + testing::Describe(x);
            break;
        case NumberKind::Decimal:
            if (!IsDecimalText(text))
                return "a decimal from a text that is not one";
            return "";
        }
        // A whole number or fraction reads back from its own text.
        if (testing::Read(formatted) != testing::Describe(x))
            return "\"" + formatted + "\" reads as " + testing::Read(formatted);
        return "";
    } catch (const CNumberException& e) {
        if (!IsOneOfTheFive(e))
            return std::string("foreign exception class ") + typeid(e).name();
        // Zero denominators and 0/0 need a fraction.
        if (text.find('/') == std::string::npos && (typeid(e) == typeid(CDivisionByZeroException) ||
                                                    typeid(e) == typeid(CIllegalArgumentException)))
            return "a text without \"/\" raised " + e.message();
        return "";
    } catch (const std::exception& e) {
        return std::string("std::exception: ") + e.what();
    } catch (...) {
        return "unknown exception";
    }
}

std::string Printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            static const char hex[] = "0123456789abcdef";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

TEST(NumberReadingFuzz, HostileTexts) {
    const std::string digits400(400, '9');
    const std::string texts[] = {
        digits400,
        digits400 + ".",
        "." + digits400,
        "-" + digits400 + "." + digits400,
        "0." + std::string(1000, '0') + "1",
        digits400 + "/" + digits400,
        "1/" + digits400,
        digits400 + " 1/2",
        "1 " + digits400 + "/2",
        "-2147483648/1",
        "1/-2147483648",
        "-2147483647/-2147483647",
        "2147483647/-1",
        "-2147483647 2147483646/2147483647",
        "0/0",
        "0 0/0",
        "-0/-0",
        "1 0/0",
        std::string("1\0/2", 4),
        std::string("\0", 1),
        std::string(1000, ' '),
        std::string(1000, '/'),
        std::string(1000, '-'),
        "\x80\xff\xfe/\x01",
        "\xef\xbc\x91/\xef\xbc\x92", // full-width digits
        "1\xc2\xa0"
        "1/2", // a no-break space
        "1\t1/2",
        " \v\f\r\n",
        "+-1/2",
        "1 +1/2",
        "1 1/+2",
        "- 1/2",
        "1/2 ",
        "1 1 /2",
        "1e400",
        "0x1p3",
        "infinity",
        "NaN",
        "1.5.",
        "..5",
    };
    for (const std::string& t : texts) {
        const std::string failure = Examine(t);
        EXPECT_EQ(failure, "") << '"' << Printable(t) << '"';
    }
}

TEST(NumberReadingFuzz, RandomTexts) {
    std::mt19937 rng(4242);
    const std::string alphabet = "0123456789 /-+.\t";
    const std::string tricky[] = {"2147483647", "2147483648",   "-2147483648", "0",    " ",
                                  "/",          "999999999999", "00",          "1 1/2"};
    int failures = 0;
    for (int i = 0; i < 300000 && failures < 10; ++i) {
        std::string text;
        const int length = static_cast<int>(rng() % 24);
        const unsigned style = rng() % 4;
        for (int k = 0; k < length; ++k) {
            if (style == 0)
                text += static_cast<char>(rng() % 256);
            else if (style == 3 && rng() % 4 == 0)
                text += tricky[rng() % std::size(tricky)];
            else
                text += alphabet[rng() % alphabet.size()];
        }
        const std::string failure = Examine(text);
        if (!failure.empty()) {
            ADD_FAILURE() << '"' << Printable(text) << "\": " << failure;
            ++failures;
        }
    }
}

} // namespace
} // namespace quorvel
