// Scripts as data: the archive forms of steps and scripts byte for byte, their field trees,
// damaged input, the list behind the combo box, names, step texts and the slide icons.
#include "geometry/script.h"
#include "workspace/archive.h"

#include "workspace/layout_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

using Bytes = std::vector<std::uint8_t>;

ScriptStruct Step(std::int32_t code, std::string text, std::int32_t dx = 0, std::int32_t dy = 0,
                  double angle = 0, std::int32_t count = 0) {
    return {code, std::move(text), dx, dy, angle, count};
}

// Two scripts: one rotating, copying and repeating, one sliding.
CScriptList SampleList() {
    CScriptList list;
    ScriptStructList spin;
    spin.name = "spin";
    spin.windowX = 120;
    spin.windowY = -40;
    spin.steps = {Step(1021, "ROTATE RIGHT 60", 0, 0, 60.0), Step(1015, "COPY"),
                  Step(1026, "     repeat 5 times.", 0, 0, 0, 5)};
    ScriptStructList move;
    move.name = "move";
    move.windowX = 7;
    move.windowY = 9;
    move.steps = {Step(1054, "SLIDE", 30, -12)};
    list.Add(spin);
    list.Add(move);
    return list;
}

// An archive string of one-byte characters: its length byte, then the characters.
void String(LayoutBuilder& b, const std::string& s) {
    b.bytes.push_back(static_cast<std::uint8_t>(s.size()));
    b.bytes.insert(b.bytes.end(), s.begin(), s.end());
}

void StepLayout(LayoutBuilder& b, std::int32_t code, const std::string& text, std::int32_t dx,
                std::int32_t dy, double angle, std::int32_t count) {
    b.Int32(code);
    String(b, text);
    b.Int32(dx).Int32(dy).Double(angle).Int32(count);
}

Bytes SampleLayout() {
    LayoutBuilder b;
    b.Int32(2).Tab();
    b.Int32(120).Int32(-40).Tab();
    String(b, "spin");
    b.Tab().Int32(3).Tab();
    StepLayout(b, 1021, "ROTATE RIGHT 60", 0, 0, 60.0, 0);
    StepLayout(b, 1015, "COPY", 0, 0, 0.0, 0);
    StepLayout(b, 1026, "     repeat 5 times.", 0, 0, 0.0, 5);
    b.Int32(7).Int32(9).Tab();
    String(b, "move");
    b.Tab().Int32(1).Tab();
    StepLayout(b, 1054, "SLIDE", 30, -12, 0.0, 0);
    return b.bytes;
}

CScriptList Loaded(const Bytes& bytes) {
    CArchive ar(bytes);
    CScriptList list;
    list.Serialize(ar);
    EXPECT_TRUE(ar.AtEnd());
    return list;
}

} // namespace

// --- archive forms ---------------------------------------------------------------------------

TEST(ScriptArchive, ListScriptsAndStepsLaidOutByteForByte) {
    CScriptList list = SampleList();
    EXPECT_EQ(Stored([&](CArchive& ar) { list.Serialize(ar); }), SampleLayout());
}

TEST(ScriptArchive, ReloadKeepsNamesStepsAndWindowPositions) {
    const CScriptList original = SampleList();
    CScriptList reread = Loaded(SampleLayout());
    EXPECT_EQ(reread.scripts(), original.scripts());
    // The combo box is refilled in file order with the first script selected.
    EXPECT_EQ(reread.selected(), std::optional<std::size_t>(0));
    EXPECT_EQ(Stored([&](CArchive& ar) { reread.Serialize(ar); }), SampleLayout());
}

TEST(ScriptArchive, LoadingAScriptReplacesItsSteps) {
    ScriptStructList script;
    script.steps = {Step(1016, "STAMP"), Step(1017, "ENLARGE")};
    LayoutBuilder b;
    b.Int32(1).Int32(2).Tab();
    String(b, "x");
    b.Tab().Int32(1).Tab();
    StepLayout(b, 1020, "FLIP VERTICAL", 0, 0, 0.0, 0);
    CArchive ar(b.bytes);
    script.Serialize(ar);
    ASSERT_EQ(script.steps.size(), 1u);
    EXPECT_EQ(script.steps[0], Step(1020, "FLIP VERTICAL"));
    EXPECT_EQ(script.name, "x");
}

TEST(ScriptArchive, FieldTreeNamesEveryFieldAndBuildsTheSameBytes) {
    CScriptList list = SampleList();
    CValue root;
    {
        CArchive ar = CArchive::ForDump(root);
        list.Serialize(ar);
    }
    const std::string json = root.ToJson();
    for (const char* field :
         {"\"scripts\"", "\"window x\"", "\"window y\"", "\"name\"", "\"steps\"", "\"code\"",
          "\"text\"", "\"dx\"", "\"dy\"", "\"angle\"", "\"count\""})
        EXPECT_NE(json.find(field), std::string::npos) << field;
    CScriptList built;
    CArchive ar = CArchive::ForBuild(root);
    built.Serialize(ar);
    ar.FinishTree();
    EXPECT_EQ(built.scripts(), list.scripts());
    EXPECT_EQ(Stored([&](CArchive& a) { built.Serialize(a); }), SampleLayout());
}

TEST(ScriptArchive, DamagedInputFailsCleanly) {
    const Bytes good = SampleLayout();
    // Every truncation is an error, not a shorter list.
    EXPECT_EQ(FirstPrefixThatLoads(good, [](CArchive& ar) { CScriptList().Serialize(ar); }),
              std::nullopt);

    // Counts far beyond the bytes left are refused before anything is allocated.
    for (std::size_t countAt : {std::size_t{0}, std::size_t{4 + 1 + 8 + 1 + 5 + 1}}) {
        Bytes bad = good;
        for (std::size_t i = 0; i < 4; ++i)
            bad[countAt + i] = i == 3 ? 0x7F : 0xFF;
        CArchive ar(bad);
        CScriptList list;
        EXPECT_THROW(list.Serialize(ar), CArchiveException) << countAt;
    }

    // Any byte damaged reads or fails, never worse.
    int failures = 0;
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (std::uint8_t v : {0x00, 0x7F, 0xFF}) {
            Bytes bad = good;
            bad[i] = v;
            CArchive ar(bad);
            CScriptList list;
            try {
                list.Serialize(ar);
            } catch (const CArchiveException&) {
                ++failures;
            }
        }
    }
    EXPECT_GT(failures, 0);
}

// --- the list behind the combo box -----------------------------------------------------------

TEST(ScriptList, FindsNamesAsTheComboBoxDoesAndKeepsItsSelection) {
    CScriptList list = SampleList();
    EXPECT_EQ(list.Find("spin"), std::optional<std::size_t>(0));
    EXPECT_EQ(list.Find("MOVE"), std::optional<std::size_t>(1));
    EXPECT_EQ(list.Find("mov"), std::nullopt);

    list.Select(1);
    list.Remove(0);
    EXPECT_EQ(list.selected(), std::optional<std::size_t>(0));
    EXPECT_EQ(list.at(0).name, "move");
    list.Remove(0);
    EXPECT_EQ(list.selected(), std::nullopt);
    list.Select(3);
    EXPECT_EQ(list.selected(), std::nullopt);
}

TEST(ScriptList, NamesKeepAtMostEightCharacters) {
    EXPECT_EQ(ClipScriptName("tessella"), "tessella");
    EXPECT_EQ(ClipScriptName("tessellat"), "tessella");
    // Characters, not bytes: eight accented letters stay whole.
    EXPECT_EQ(ClipScriptName("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
                             "\xC3\xA9"),
              "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
}

TEST(ScriptList, StepTexts) {
    EXPECT_EQ(RepeatStepText(5), "    Repeat 5 times");
    EXPECT_EQ(RepeatStepText(kRepeatToEnd), "    Repeat to end");
    EXPECT_EQ(ClosedRepeatStepText(5), "     repeat 5 times.");
}

// --- slide icons -----------------------------------------------------------------------------

TEST(SlideIcons, BoundariesOfTheTwentyFourDirections) {
    EXPECT_EQ(SlideIconIndexForDegrees(0), 1);
    EXPECT_EQ(SlideIconIndexForDegrees(7.4), 1);
    EXPECT_EQ(SlideIconIndexForDegrees(7.5), 2);
    EXPECT_EQ(SlideIconIndexForDegrees(352.5), 1);
    EXPECT_EQ(SlideIconIndexForDegrees(359), 1);
    // The last sector is an icon of its own, not part of the first.
    EXPECT_EQ(SlideIconIndexForDegrees(337.5), 24);
    EXPECT_EQ(SlideIconIndexForDegrees(345), 24);
    EXPECT_EQ(SlideIconIndexForDegrees(352.4), 24);
}

TEST(SlideIcons, OffsetsOnTheScreen) {
    EXPECT_EQ(SlideIconIndex(10, 0), 1);   // right
    EXPECT_EQ(SlideIconIndex(0, -10), 7);  // up: 90 degrees
    EXPECT_EQ(SlideIconIndex(-10, 0), 13); // left
    EXPECT_EQ(SlideIconIndex(0, 10), 19);  // down: 270 degrees
    EXPECT_EQ(SlideIconIndex(10, 10), 22); // down and right: 315 degrees
    EXPECT_EQ(SlideIconIndex(100, 1), 1);  // just below the right
    EXPECT_EQ(SlideIconIndex(0, 0), 1);
}
