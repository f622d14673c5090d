// Field trees: JSON text both ways, and the archive's dump and build modes.
#include "geometry/geometry_document.h"
#include "workspace/archive.h"
#include "workspace/value_tree.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quorvel;

namespace {

CValue Parse(const std::string& text) {
    CValue v;
    CJsonError e;
    EXPECT_TRUE(ParseJson(text, v, e)) << e.message << " at " << e.offset;
    return v;
}

std::string BuildError(const std::string& json) {
    CGeometryUnitDocument doc;
    std::string error;
    EXPECT_FALSE(doc.LoadFromTree(Parse(json), &error));
    return error;
}

} // namespace

TEST(Json, ValuesSurviveTextAndBack) {
    CValue root = CValue::Object();
    root.Set("text", CValue::String("quote \" slash \\ tab \t new\nline \x01 caf\xC3\xA9"));
    root.Set("big", CValue::Int(4294967295ll));
    root.Set("negative", CValue::Int(-2147483648ll));
    root.Set("third", CValue::Double(1.0 / 3.0));
    root.Set("whole double", CValue::Double(2.0));
    root.Set("tiny", CValue::Double(5e-324));
    root.Set("list", CValue::Array()).Append(CValue::Bool(true));
    root.Set("nothing", CValue());
    const CValue back = Parse(root.ToJson());
    EXPECT_EQ(back.ToJson(), root.ToJson());
    EXPECT_EQ(back.Find("text")->stringValue(), root.Find("text")->stringValue());
    EXPECT_EQ(back.Find("third")->doubleValue(), 1.0 / 3.0);
    EXPECT_EQ(back.Find("whole double")->type(), CValue::Type::Double);
    EXPECT_EQ(back.Find("big")->intValue(), 4294967295ll);
    EXPECT_EQ(back.Find("tiny")->doubleValue(), 5e-324);
}

TEST(Json, EscapesAndSurrogatePairsDecode) {
    const CValue v = Parse(R"(["\u00e9\u20ac", "\ud83d\ude00", "\ud800x", "a\/b"])");
    ASSERT_EQ(v.items().size(), 4u);
    EXPECT_EQ(v.items()[0].stringValue(), "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(v.items()[1].stringValue(), "\xF0\x9F\x98\x80");
    EXPECT_EQ(v.items()[2].stringValue(), "\xEF\xBF\xBDx") << "a lone surrogate is replaced";
    EXPECT_EQ(v.items()[3].stringValue(), "a/b");
}

TEST(Json, MalformedTextIsRefusedWithItsOffset) {
    const std::vector<std::pair<std::string, std::size_t>> cases = {
        {"{\"a\": 1,}", 8}, {"[1 2]", 3},    {"{\"a\" 1}", 5},          {"\"open", 5},
        {"tru", 0},         {"{} extra", 3}, {"{\"a\":1,\"a\":2}", 11}, {"-", 0}};
    for (const auto& [text, offset] : cases) {
        CValue v;
        CJsonError e;
        EXPECT_FALSE(ParseJson(text, v, e)) << text;
        EXPECT_EQ(e.offset, offset) << text << ": " << e.message;
    }
    CValue v;
    CJsonError e;
    EXPECT_FALSE(ParseJson(std::string(100000, '['), v, e)) << "nesting is bounded";
}

TEST(ArchiveTree, DumpNamesEveryFieldOfADocument) {
    CGeometryUnitDocument doc;
    doc.AddManipulative(
        std::make_unique<CLineManipulative>(std::vector<CLine>{CLine(CPoint{1, 2}, CPoint{3, 4})}));
    doc.manipulatives()[0]->lines()[0].SetColor(PaletteRGB(255, 128, 0));
    const CValue tree = doc.DumpToTree();
    EXPECT_EQ(tree.Find("signature")->intValue(), 19992000);
    ASSERT_EQ(tree.Find("questions")->items().size(), 4u);
    EXPECT_EQ(tree.Find("questions")->items()[0].Find("prompt")->stringValue(), "1 - 1 = ?");
    const CValue& m = tree.Find("manipulatives")->items().at(0);
    EXPECT_EQ(m.Find("type")->intValue(), 0);
    EXPECT_EQ(m.Find("class")->stringValue(), "CLineManipulative");
    const CValue& line = m.Find("lines")->items().at(0);
    EXPECT_EQ(line.Find("end")->Find("y")->doubleValue(), 4.0);
    EXPECT_EQ(line.Find("line colour")->Find("rgb")->stringValue(), "#ff8000");
    EXPECT_EQ(line.Find("line colour")->Find("value")->intValue(), 0x020080FF);
    EXPECT_EQ(line.Find("line visible")->type(), CValue::Type::Bool);
    EXPECT_EQ(m.Find("line count"), nullptr) << "counts are implied by the arrays";
}

TEST(ArchiveTree, BuildingFromADumpGivesTheSameBytes) {
    CGeometryUnitDocument doc;
    doc.AddManipulative(std::make_unique<CLineManipulative>(
        std::vector<CLine>{CLine(CPoint{1, 2}, CPoint{3, 4}), CLine(CPoint{-7, 0}, CPoint{0, 9})}));
    doc.questions()[2].prompt = "\xE6\x97\xA5 wide";
    doc.questions()[2].answer = std::numeric_limits<double>::quiet_NaN();
    doc.questions()[2].moreAnswers[3] = -std::numeric_limits<double>::infinity();
    doc.questions()[2].moreAnswers[4] = 0.1 + 0.2;
    const CValue tree = Parse(doc.DumpToTree().ToJson());
    CGeometryUnitDocument rebuilt;
    std::string error;
    ASSERT_TRUE(rebuilt.LoadFromTree(tree, &error)) << error;
    EXPECT_EQ(rebuilt.SaveToBytes(), doc.SaveToBytes());
}

TEST(ArchiveTree, MissingFieldsTakeTheirDefaults) {
    CGeometryUnitDocument doc;
    std::string error;
    ASSERT_TRUE(doc.LoadFromTree(Parse(R"({"signature": 19992000, "level": 2,
        "manipulatives": [{"type": 0, "lines": [{"end": {"x": 5.0}, "line colour": "#00ff00"}]}]})"),
                                 &error))
        << error;
    EXPECT_EQ(doc.level(), 2);
    EXPECT_EQ(doc.questions()[3].prompt, "1 - 1 = ?");
    EXPECT_EQ(doc.problemPosition().triesLeft, 3);
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    const CLine& line = doc.manipulatives()[0]->lines()[0];
    EXPECT_EQ(line.end().x, 5.0);
    EXPECT_EQ(line.color(), PaletteRGB(0, 255, 0));
    EXPECT_FALSE(line.visible()) << "a segment left out of the text keeps the default";
}

TEST(ArchiveTree, ErrorsNameTheirJsonPath) {
    EXPECT_EQ(BuildError(R"({"signature": 19992000, "levle": 1})"), "/levle: unknown field");
    EXPECT_EQ(BuildError(R"({"level": "B"})"), "/level: expected a whole number");
    EXPECT_EQ(BuildError(R"({"level": 4294967296})"), "/level: number out of range");
    EXPECT_EQ(BuildError(R"({"questions": [{}, {"choices": [1]}]})"),
              "/questions/1/choices/0: expected a string");
    EXPECT_EQ(BuildError(R"({"questions": [{}, {}, {}, {}, {}]})"),
              "/questions/4: unexpected item");
    EXPECT_EQ(BuildError(R"({"manipulatives": [{"type": 11}]})"),
              "/manipulatives/0/type: unknown manipulative type 11");
    EXPECT_EQ(BuildError(R"({"manipulatives": [{"type": 0, "lines": [{"line colour": "red"}]}]})"),
              "/manipulatives/0/lines/0/line colour: expected a colour such as \"#ff8000\"");
    EXPECT_EQ(BuildError(R"({"manipulatives": [{"type": 0, "centre": {"x": 1, "w": 2}}]})"),
              "/manipulatives/0/centre/w: unknown field");
    EXPECT_EQ(BuildError(R"({"manipulatives": {"type": 0}})"), "/manipulatives: expected an array");
}
