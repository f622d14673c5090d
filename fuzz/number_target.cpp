// Numbers a pupil types: the text is read as a whole number, fraction, mixed number or
// decimal, or refused with one of the numeric exceptions; two lines of input are also combined
// with the four operations. The same bytes are read as a number's archive form.
#include "fuzz/fuzz_targets.h"

#include "numbers/number.h"
#include "numbers/number_text.h"
#include "workspace/archive.h"

#include <bit>
#include <span>
#include <string_view>

namespace quorvel::fuzz {
namespace {

// Whole numbers and fractions read back exactly from their own text.
void CheckReadsBack(const CNumber& x) {
    if (x.kind() == NumberKind::Decimal)
        return;
    const std::string text = x.Format();
    try {
        const CNumber y(text);
        if (y.kind() != x.kind() || y.numerator() != x.numerator() ||
            y.denominator() != x.denominator())
            Broken("\"" + text + "\" does not read back as itself");
    } catch (const CNumberException& e) {
        Broken("\"" + text + "\" does not read back: " + e.message());
    }
}

void Combine(const CNumber& a, const CNumber& b) {
    for (int op = 0; op < 4; ++op) {
        try {
            CNumber r = a;
            switch (op) {
            case 0:
                r += b;
                break;
            case 1:
                r -= b;
                break;
            case 2:
                r *= b;
                break;
            default:
                r /= b;
                break;
            }
            r.Format();
            r.ToDouble();
        } catch (const CNumberException&) {
        }
    }
}

void ReadText(std::string_view text) {
    IsIntegerText(text);
    IsUnsignedIntegerText(text);
    if (IsDecimalText(text)) {
        try {
            ParseDecimal(text);
        } catch (const CNumberException&) {
        }
    }
    try {
        ParseInteger(text);
    } catch (const CNumberException&) {
    }
}

void ReadArchiveForm(std::span<const std::uint8_t> bytes) {
    CArchive in(bytes);
    CNumber x;
    try {
        x.Serialize(in);
    } catch (const CArchiveException&) {
        return;
    }
    x.Format();
    CArchive out;
    x.Serialize(out);
    CArchive back(out.bytes());
    CNumber y;
    y.Serialize(back);
    const bool same = x.kind() == NumberKind::Decimal
                          ? y.kind() == x.kind() && std::bit_cast<std::uint64_t>(y.ToDouble()) ==
                                                        std::bit_cast<std::uint64_t>(x.ToDouble())
                          : y.kind() == x.kind() && y.numerator() == x.numerator() &&
                                y.denominator() == x.denominator();
    if (!same)
        Broken("a number's archive form does not read back");
}

} // namespace

int FuzzNumberText(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    ReadText(all);

    const auto newline = all.find('\n');
    const std::string_view first = all.substr(0, newline);
    const std::string_view second =
        newline == std::string_view::npos ? std::string_view() : all.substr(newline + 1);
    try {
        const CNumber a(first);
        CheckReadsBack(a);
        if (newline != std::string_view::npos) {
            const CNumber b(second);
            CheckReadsBack(b);
            Combine(a, b);
        }
    } catch (const CNumberException&) {
    }

    ReadArchiveForm(std::span<const std::uint8_t>(data, size));
    return 0;
}

} // namespace quorvel::fuzz
