// Annotators: fitting to the text, drawing, hit test, moves, copies and the archive forms.
#include "workspace/annotator.h"

#include "fakes/fakes.h"
#include "geometry/geometry_document.h"
#include "layout_builder.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel;
using quorvel::testing::FakeTextMetrics;
using quorvel::testing::FirstPrefixThatLoads;
using quorvel::testing::LayoutBuilder;
using quorvel::testing::RecordingSurface;
using quorvel::testing::Stored;
using Bytes = std::vector<std::uint8_t>;

namespace {

// 7 pixels a character, 16 a line.
constexpr int kChar = 7;
constexpr int kLine = 16;

CAnnotatorManipulative Written(CPoint at, const std::string& text) {
    FakeTextMetrics metrics;
    CAnnotatorManipulative a(at);
    a.SetText(text);
    a.FitToText(metrics);
    a.SetVisible(true);
    return a;
}

std::vector<std::string> Drawn(const CManipulative& m) {
    RecordingSurface dc;
    m.Draw(dc);
    return dc.calls;
}

// The base part of a manipulative without lines whose centre and rotation point are (x, y).
LayoutBuilder BaseWithoutLines(double x, double y, std::int32_t selected, std::int32_t visible) {
    LayoutBuilder b;
    b.Int32(0).Point(x, y).Point(x, y);
    b.Int32(selected).Int32(visible).Int32(0).Int32(0).Int32(-1).Int32(0);
    return b;
}

void AppendBytes(LayoutBuilder& b, std::initializer_list<int> bytes) {
    for (int v : bytes)
        b.bytes.push_back(static_cast<std::uint8_t>(v));
}

void AppendRect(LayoutBuilder& b, int l, int t, int r, int bottom) {
    b.Int32(l).Int32(t).Int32(r).Int32(bottom);
}

template <class T> T Loaded(const Bytes& bytes) {
    CArchive in(bytes);
    T m;
    m.Serialize(in);
    EXPECT_TRUE(in.AtEnd());
    return m;
}

} // namespace

TEST(CAnnotatorManipulative, FitsOneCharacterToItsWidthPlusOneAndALineAndAHalf) {
    const CAnnotatorManipulative a = Written({10, 20}, "a");
    EXPECT_EQ(a.textRect(), (CRect{10, 20, 10 + kChar + kChar, 20 + kLine + kLine / 2}));
    EXPECT_EQ(a.centre(), C3DPointDouble(10, 20, 0));
    EXPECT_EQ(a.rotationPoint(), C3DPointDouble(10, 20, 0));
}

TEST(CAnnotatorManipulative, FitsEmptyTextToTwoCharactersAndALineAndAHalf) {
    FakeTextMetrics metrics;
    CAnnotatorManipulative a({-5, 3});
    EXPECT_EQ(a.textRect(), (CRect{-5, 3, -5 + kNewAnnotatorWidth, 4})) << "before fitting";
    a.FitToText(metrics);
    EXPECT_EQ(a.textRect(), (CRect{-5, 3, -5 + 2 * kChar, 3 + 3 * kLine / 2}));
}

TEST(CAnnotatorManipulative, OnlyLineBreaksWrapTheFittedText) {
    // Far wider than a new annotator's 600 pixels, still one line.
    const std::string wide(120, 'w');
    const std::string sentence = wide + " " + wide;
    const CAnnotatorManipulative one = Written({0, 0}, sentence);
    EXPECT_EQ(one.textRect().Width(), (241 + 1) * kChar);
    EXPECT_EQ(one.textRect().Height(), kLine + kLine / 2);

    const CAnnotatorManipulative lines = Written({0, 0}, "ab\ncdef\ng");
    EXPECT_EQ(lines.textRect(), (CRect{0, 0, 5 * kChar, 3 * kLine + kLine / 2}));
}

TEST(CAnnotatorManipulative, SetTextDropsTrailingWhiteSpaceOnly) {
    CAnnotatorManipulative a;
    a.SetText("  two words \t\r\n \n");
    EXPECT_EQ(a.text(), "  two words");
    a.SetText(" \n\t ");
    EXPECT_EQ(a.text(), "");
    a.SetText("caf\xC3\xA9\xE3\x80\x80"); // an ideographic space is a character, not trimmed
    EXPECT_EQ(a.text(), "caf\xC3\xA9\xE3\x80\x80");
}

TEST(CAnnotatorManipulative, NewAnnotatorIsInvisibleAndNeitherDrawnNorHit) {
    CAnnotatorManipulative a({0, 0});
    a.SetText("hidden");
    FakeTextMetrics metrics;
    a.FitToText(metrics);
    EXPECT_FALSE(a.visible());
    EXPECT_TRUE(Drawn(a).empty());
    EXPECT_FALSE(a.HitTest(1, 1));
}

TEST(CAnnotatorManipulative, DrawsWrappedTransparentArialTextAndAFrameWhenSelected) {
    CAnnotatorManipulative a = Written({10, 20}, "Hi");
    const std::vector<std::string> text = {
        "font Arial 120", "textcolor #000000", "textbg transparent",
        "drawtext 10,20 31,44 " + std::to_string(kWordBreak | kNoClip) + " Hi"};
    EXPECT_EQ(Drawn(a), text);

    a.SetSelected(true);
    std::vector<std::string> framed = text;
    framed.insert(framed.end(), {"pen 1 #000000", "brush none", "rect 10,20 31,44"});
    EXPECT_EQ(Drawn(a), framed);
}

TEST(CStaticAnnotatorManipulative, FillsAndFramesItsBackgroundBeforeTheText) {
    FakeTextMetrics metrics;
    CStaticAnnotatorManipulative s({10, 20});
    s.SetText("Hi");
    s.FitToText(metrics);
    s.SetBackgroundColor(PaletteRGB(255, 255, 0));
    EXPECT_TRUE(Drawn(s).empty()) << "invisible until shown";

    s.SetVisible(true);
    const std::vector<std::string> plain = {"pen 1 #000000",
                                            "brush #ffff00",
                                            "rect 8,18 31,44",
                                            "font Arial 120",
                                            "textcolor #000000",
                                            "textbg transparent",
                                            "drawtext 10,20 31,44 " +
                                                std::to_string(kWordBreak | kNoClip) + " Hi"};
    EXPECT_EQ(Drawn(s), plain);

    s.SetSelected(true);
    std::vector<std::string> framed = plain;
    framed.insert(framed.end(), {"pen 1 #000000", "brush none", "rect 7,17 32,45"});
    EXPECT_EQ(Drawn(s), framed);
    // What it paints is what a redraw must cover.
    EXPECT_EQ(s.GetFrameOf(), (CRect{7, 17, 32, 45}));
    CRect bounds;
    s.GetBounds(bounds);
    EXPECT_EQ(bounds, s.textRect());
}

TEST(CAnnotatorManipulative, HitTestTakesPointsInsideTheRectangleOfAVisibleAnnotator) {
    const CAnnotatorManipulative a = Written({10, 20}, "a"); // 10,20 .. 24,44
    EXPECT_TRUE(a.HitTest(10, 20));
    EXPECT_TRUE(a.HitTest(23.9, 43.9));
    EXPECT_FALSE(a.HitTest(24, 30)) << "the right edge is outside";
    EXPECT_FALSE(a.HitTest(15, 44)) << "the bottom edge is outside";
    EXPECT_FALSE(a.HitTest(9.9, 30));
}

TEST(CAnnotatorManipulative, MovesByWholePixelsUnlessFixed) {
    CAnnotatorManipulative a = Written({10, 20}, "a");
    a.MoveBy(5.9, -3.7);
    EXPECT_EQ(a.textRect(), (CRect{15, 17, 29, 41}));
    EXPECT_EQ(a.centre(), C3DPointDouble(15, 17, 0)) << "the centre stays on the corner";
    EXPECT_EQ(a.rotationPoint(), C3DPointDouble(15, 17, 0));

    a.MoveTo(C3DPointDouble(100.8, 200.2, 0));
    EXPECT_EQ(a.textRect(), (CRect{100, 200, 114, 224}));
    EXPECT_EQ(a.GetFrameOf(), a.textRect());

    a.SetFixed(true);
    a.MoveBy(10, 10);
    a.MoveTo(C3DPointDouble(0, 0, 0));
    EXPECT_EQ(a.textRect(), (CRect{100, 200, 114, 224}));
}

TEST(CAnnotatorManipulative, HugeMovesSaturateInsteadOfOverflowing) {
    CAnnotatorManipulative a = Written({10, 20}, "a");
    a.MoveBy(1e300, -1e300);
    EXPECT_LE(a.textRect().left, a.textRect().right);
    EXPECT_LE(a.textRect().top, a.textRect().bottom);
    a.MoveTo(C3DPointDouble(std::nan(""), 0, 0));
    EXPECT_EQ(a.textRect().left, 0);
}

TEST(CAnnotatorManipulative, NeverSnapsNorEqualsAnother) {
    const CAnnotatorManipulative a = Written({10, 20}, "a");
    const CAnnotatorManipulative b = Written({10, 20}, "a");
    C3DPointDouble mine, theirs;
    EXPECT_FALSE(a.FindSnapPair(b, mine, theirs));
    EXPECT_FALSE(a.FindSnapPoint(C3DPointDouble(10, 20, 0), mine));
    EXPECT_FALSE(a.IsEqualTo(b));
    EXPECT_FALSE(a.IsEqualTo(a));
}

TEST(CAnnotatorManipulative, ClonesKeepRectangleTextVisibilityAndBackgroundButNotSelection) {
    CAnnotatorManipulative a = Written({10, 20}, "copy me");
    a.SetSelected(true);
    const auto copy = a.Clone();
    ASSERT_EQ(copy->GetType(), kTypeAnnotator);
    const auto& c = static_cast<const CAnnotatorManipulative&>(*copy);
    EXPECT_EQ(c.textRect(), a.textRect());
    EXPECT_EQ(c.text(), "copy me");
    EXPECT_TRUE(c.visible());
    EXPECT_FALSE(c.selected());
    EXPECT_NE(c.serial(), a.serial());

    CStaticAnnotatorManipulative s({1, 2});
    s.SetBackgroundColor(PaletteRGB(1, 2, 3));
    s.SetText("label");
    const auto sc = s.Clone();
    ASSERT_EQ(sc->GetType(), kTypeStaticAnnotator);
    const auto& scs = static_cast<const CStaticAnnotatorManipulative&>(*sc);
    EXPECT_EQ(scs.backgroundColor(), PaletteRGB(1, 2, 3));
    EXPECT_EQ(scs.text(), "label");
    EXPECT_FALSE(scs.visible());
}

TEST(CAnnotatorManipulative, AddAnnotatorAtPutsAFittedInvisibleAnnotatorOnTop) {
    CGeometryUnitDocument doc;
    FakeTextMetrics metrics;
    doc.AddManipulative(std::make_unique<CLineManipulative>(
        std::vector<CLine>{CLine(CPoint{0, 0}, CPoint{50, 50})}));
    CAnnotatorManipulative* a = AddAnnotatorAt(doc, {30, 40}, metrics);
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(doc.manipulatives().size(), 2u);
    EXPECT_EQ(doc.manipulatives().back().get(), a);
    EXPECT_EQ(a->textRect(), (CRect{30, 40, 30 + 2 * kChar, 40 + 3 * kLine / 2}));
    EXPECT_FALSE(a->visible());
    EXPECT_TRUE(doc.IsModified());
}

TEST(CAnnotatorArchive, OneByteTextLayout) {
    CAnnotatorManipulative a = Written({10, 20}, "caf\xC3\xA9 \xE2\x82\xAC"); // "café €"
    LayoutBuilder b = BaseWithoutLines(10, 20, 0, 1);
    AppendBytes(b, {6, 'c', 'a', 'f', 0xE9, ' ', 0x80});
    b.Tab();
    AppendRect(b, 10, 20, 10 + 7 * kChar, 20 + kLine + kLine / 2);
    b.Tab().Int32(1).Tab();
    EXPECT_EQ(Stored([&](CArchive& ar) { a.Serialize(ar); }), b.bytes);
}

TEST(CAnnotatorArchive, TextOutsideWindows1252TakesTheWideForm) {
    CAnnotatorManipulative a = Written({0, 0}, "\xCF\x80=3"); // "π=3"
    a.SetSelected(true);
    LayoutBuilder b = BaseWithoutLines(0, 0, 1, 1);
    AppendBytes(b, {0xFF, 0xFE, 0xFF, 3, 0xC0, 0x03, '=', 0, '3', 0});
    b.Tab();
    AppendRect(b, 0, 0, 4 * kChar, kLine + kLine / 2);
    b.Tab().Int32(1).Tab();
    EXPECT_EQ(Stored([&](CArchive& ar) { a.Serialize(ar); }), b.bytes);

    const auto back = Loaded<CAnnotatorManipulative>(b.bytes);
    EXPECT_EQ(back.text(), "\xCF\x80=3");
}

TEST(CAnnotatorArchive, StaticAnnotatorAppendsItsBackgroundColour) {
    CStaticAnnotatorManipulative s({4, 5});
    s.SetBackgroundColor(0x0280FF00u);
    LayoutBuilder b = BaseWithoutLines(4, 5, 0, 0);
    AppendBytes(b, {0});
    b.Tab();
    AppendRect(b, 4, 5, 4 + kNewAnnotatorWidth, 6);
    b.Tab().Int32(0).Tab().UInt32(0x0280FF00u);
    EXPECT_EQ(Stored([&](CArchive& ar) { s.Serialize(ar); }), b.bytes);
    EXPECT_EQ(Loaded<CStaticAnnotatorManipulative>(b.bytes).backgroundColor(), 0x0280FF00u);
}

TEST(CAnnotatorArchive, LoadingRestoresTheRectangleWithoutRefitting) {
    // A rectangle that no fit of "a" would give, and the visible flag after the text.
    LayoutBuilder b = BaseWithoutLines(7, 8, 0, 0);
    AppendBytes(b, {1, 'a'});
    b.Tab();
    AppendRect(b, 7, 8, 307, 108);
    b.Tab().Int32(1).Tab();
    const auto a = Loaded<CAnnotatorManipulative>(b.bytes);
    EXPECT_EQ(a.textRect(), (CRect{7, 8, 307, 108}));
    EXPECT_EQ(a.text(), "a");
    EXPECT_TRUE(a.visible()) << "the annotator's own visible flag is the one that counts";
    EXPECT_TRUE(a.HitTest(300, 100));
}

TEST(CAnnotatorArchive, EveryTruncationFails) {
    CStaticAnnotatorManipulative s({4, 5});
    s.SetText("\xCF\x80 and more");
    const Bytes bytes = Stored([&](CArchive& ar) { s.Serialize(ar); });
    EXPECT_EQ(FirstPrefixThatLoads(bytes,
                                   [](CArchive& ar) {
                                       CStaticAnnotatorManipulative m;
                                       m.Serialize(ar);
                                   }),
              std::nullopt);
}

TEST(CAnnotatorArchive, DocumentsKeepBothKindsByTypeCodeInBytesAndFieldTrees) {
    CGeometryUnitDocument doc;
    FakeTextMetrics metrics;
    CAnnotatorManipulative* a = AddAnnotatorAt(doc, {10, 20}, metrics);
    a->SetText("\xE6\x97\xA5\xE6\x9C\xAC"); // two ideographs
    a->SetVisible(true);
    auto label = std::make_unique<CStaticAnnotatorManipulative>(CPoint{50, 60});
    label->SetText("Label");
    label->SetBackgroundColor(PaletteRGB(255, 255, 204));
    label->SetFixed(true);
    doc.AddManipulative(std::move(label));

    const auto check = [](const CUnitDocument& d) {
        ASSERT_EQ(d.manipulatives().size(), 2u);
        const auto* first = dynamic_cast<const CAnnotatorManipulative*>(d.manipulatives()[0].get());
        const auto* second =
            dynamic_cast<const CStaticAnnotatorManipulative*>(d.manipulatives()[1].get());
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(first->GetType(), kTypeAnnotator);
        EXPECT_EQ(first->text(), "\xE6\x97\xA5\xE6\x9C\xAC");
        EXPECT_TRUE(first->visible());
        EXPECT_EQ(second->text(), "Label");
        EXPECT_EQ(second->textRect(), (CRect{50, 60, 50 + kNewAnnotatorWidth, 61}));
        EXPECT_EQ(second->backgroundColor(), PaletteRGB(255, 255, 204));
        EXPECT_TRUE(second->fixed());
    };

    CGeometryUnitDocument fromBytes;
    ASSERT_EQ(fromBytes.LoadFromBytes(doc.SaveToBytes()), OpenResult::Opened);
    check(fromBytes);

    const CValue tree = doc.DumpToTree();
    CGeometryUnitDocument fromTree;
    std::string error;
    ASSERT_TRUE(fromTree.LoadFromTree(tree, &error)) << error;
    check(fromTree);
    EXPECT_EQ(fromTree.SaveToBytes(), doc.SaveToBytes());
}

TEST(CAnnotatorArchive, RegistryNamesAndMakesBothClasses) {
    auto& registry = CManipulativeRegistry::Instance();
    ASSERT_TRUE(registry.IsRegistered(kTypeAnnotator));
    ASSERT_TRUE(registry.IsRegistered(kTypeStaticAnnotator));
    EXPECT_EQ(registry.Create(kTypeAnnotator)->GetType(), kTypeAnnotator);
    EXPECT_EQ(registry.Create(kTypeStaticAnnotator)->GetType(), kTypeStaticAnnotator);
    EXPECT_FALSE(registry.Create(kTypeAnnotator)->visible());
}
