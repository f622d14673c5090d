// Archive primitives, byte for byte, and the bounded reader.
#include "workspace/archive.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace quorvel;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Head(const Bytes& b, std::size_t n) {
    return Bytes(b.begin(), b.begin() + n);
}

Bytes StringBytes(const std::string& s) {
    CArchive ar;
    ar.WriteString(s);
    return ar.TakeBytes();
}

std::string ReadBack(const Bytes& b) {
    CArchive in(b);
    std::string s = in.ReadString();
    EXPECT_TRUE(in.AtEnd());
    return s;
}

} // namespace

TEST(ArchiveScalars, AreLittleEndianWithTheirExactWidths) {
    CArchive ar;
    ar.WriteByte(0xAB);
    ar.WriteWord(0x1234);
    ar.WriteInt32(-2);
    ar.WriteUInt32(19992000);
    ar.WriteBool(true);
    ar.WriteFloat(1.0f);
    ar.WriteDouble(-2.5);
    ar.WriteTab();
    const Bytes expected = {0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xC0, 0x0D, 0x31,
                            0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3F, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0xC0, 0x09};
    EXPECT_EQ(ar.bytes(), expected);

    CArchive in(ar.bytes());
    EXPECT_EQ(in.ReadByte(), 0xAB);
    EXPECT_EQ(in.ReadWord(), 0x1234);
    EXPECT_EQ(in.ReadInt32(), -2);
    EXPECT_EQ(in.ReadUInt32(), 19992000u);
    EXPECT_TRUE(in.ReadBool());
    EXPECT_EQ(in.ReadFloat(), 1.0f);
    EXPECT_EQ(in.ReadDouble(), -2.5);
    in.SkipTab();
    EXPECT_TRUE(in.AtEnd());
}

TEST(ArchiveScalars, RectangleIsFourInt32InOrder) {
    CArchive ar;
    ar.WriteRect({1, -2, 3, 4});
    EXPECT_EQ(ar.bytes(), (Bytes{1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 4, 0, 0, 0}));
    CArchive in(ar.bytes());
    EXPECT_EQ(in.ReadRect(), (CRect{1, -2, 3, 4}));
}

TEST(ArchiveStrings, LengthPrefixFormsAtTheirBoundaries) {
    struct Case {
        std::size_t length;
        Bytes prefix;
    };
    const std::vector<Case> cases = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'q');
        const Bytes b = StringBytes(text);
        ASSERT_EQ(b.size(), c.prefix.size() + c.length);
        EXPECT_EQ(Head(b, c.prefix.size()), c.prefix);
        EXPECT_EQ(ReadBack(b), text);
    }
}

TEST(ArchiveStrings, OneByteFormIsWindows1252) {
    // "Café €5" fits the code page: é is 0xE9 and the euro sign 0x80.
    const Bytes b = StringBytes("Caf\xC3\xA9 \xE2\x82\xAC"
                                "5");
    EXPECT_EQ(b, (Bytes{7, 'C', 'a', 'f', 0xE9, ' ', 0x80, '5'}));
    EXPECT_EQ(ReadBack(b), "Caf\xC3\xA9 \xE2\x82\xAC"
                           "5");
}

TEST(ArchiveStrings, TextOutsideTheCodePageUsesTheWideForm) {
    // Greek capital omega and a character outside the basic plane (a surrogate pair).
    const std::string text = "\xCE\xA9"
                             "x\xF0\x9F\x98\x80";
    const Bytes b = StringBytes(text);
    EXPECT_EQ(b, (Bytes{0xFF, 0xFE, 0xFF, 4, 0xA9, 0x03, 'x', 0, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(ReadBack(b), text);
}

TEST(ArchiveStrings, WideFormWithLongLengthIsRead) {
    // Marker, then a WORD length of 300 characters.
    Bytes b = {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01};
    for (int i = 0; i < 300; ++i) {
        b.push_back('a');
        b.push_back(0);
    }
    EXPECT_EQ(ReadBack(b), std::string(300, 'a'));
}

TEST(ArchiveStrings, EveryByteSurvivesAReadAndAWrite) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    Bytes stored = {255, 255, 0};
    stored.insert(stored.end(), all.begin(), all.end());
    EXPECT_EQ(StringBytes(ReadBack(stored)), stored);
}

TEST(ArchiveReader, LengthsBeyondTheRestFailBeforeAllocating) {
    const std::vector<Bytes> hostile = {
        {5, 'a', 'b'},                              // short one-byte length
        {0xFF, 0x10, 0x27},                         // WORD length, no text
        {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0x7F}, // 2 GB in the DWORD form
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8}, // 64-bit length
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},             // wide, 2 G characters
        {0xFF, 0xFE, 0xFF, 3, 'a', 0, 'b'},                                 // wide, odd bytes short
        {0xFF},                                                             // cut inside the prefix
    };
    for (const Bytes& b : hostile) {
        CArchive in(b);
        EXPECT_THROW(in.ReadString(), CArchiveException);
    }
}

TEST(ArchiveReader, ErrorsNameTheFieldAndOffset) {
    const Bytes b = {1, 0, 0, 0, 7};
    CArchive in(b);
    in.ReadInt32("first");
    try {
        in.ReadInt32("line count");
        FAIL() << "read past the end";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.field(), "line count");
        EXPECT_EQ(e.offset(), 4u);
    }
}

TEST(ArchiveReader, CountsAreCheckedAgainstTheBytesLeft) {
    Bytes b = {3, 0, 0, 0};
    b.resize(4 + 3 * 96);
    {
        CArchive in(b);
        EXPECT_EQ(in.ReadCount("lines", 96), 3u);
    }
    b.pop_back();
    {
        CArchive in(b);
        EXPECT_THROW(in.ReadCount("lines", 96), CArchiveException);
    }
    const Bytes negative = {0xFF, 0xFF, 0xFF, 0xFF};
    CArchive in(negative);
    EXPECT_THROW(in.ReadCount("lines", 1), CArchiveException);
}

TEST(ArchiveReader, NestingIsBounded) {
    CArchive ar;
    std::function<void(int)> nest = [&](int depth) {
        CArchive::NestingGuard guard(ar);
        if (depth > 0)
            nest(depth - 1);
    };
    EXPECT_NO_THROW(nest(CArchive::kMaxNesting - 1));
    EXPECT_THROW(nest(CArchive::kMaxNesting + 5), CArchiveException);
    // The guard unwinds: the archive is usable at the top level again.
    EXPECT_NO_THROW(nest(3));
}
