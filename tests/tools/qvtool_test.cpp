// qvtool verbs, run in-process on files the program wrote.
#include "tools/qvtool/qvtool.h"

#include "geometry/geometry_document.h"
#include "patterns/code_machines.h"
#include "patterns/number_machine.h"
#include "patterns/patterns_documents.h"
#include "sample_documents.h"
#include "statistics/stats_document.h"
#include "workspace/annotator.h"
#include "workspace/file_store.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

#ifdef QUORVEL_QVTOOL_RENDER
#include "ui/platform/qt_drawing_surface.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#endif

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

using namespace quorvel;
namespace fs = std::filesystem;

namespace {

struct QvTool : ::testing::Test {
    fs::path dir;
    std::ostringstream out, err;

    QvTool() {
        dir = fs::temp_directory_path() /
              ("quorvel-qvtool-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    ~QvTool() override { fs::remove_all(dir); }

    std::string File(const std::string& name) const { return (dir / name).string(); }
    int Run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        return CQvTool(out, err).Run(args);
    }
    // A mysterious supermachine with cards at its hoppers, a link and an output card.
    std::string SaveNumbers(const std::string& name) {
        CNumberPatternsDocument doc;
        quorvel::testing::FillNumbersSample(doc);
        const std::string path = File(name);
        EXPECT_TRUE(doc.OnSaveDocument(path));
        return path;
    }
    std::string SaveSample(const std::string& name) {
        CGeometryUnitDocument doc;
        doc.AddManipulative(std::make_unique<CLineManipulative>(std::vector<CLine>{
            CLine(CPoint{0, 0}, CPoint{10, 0}), CLine(CPoint{10, 0}, CPoint{10, 10})}));
        doc.AddManipulative(std::make_unique<CLineManipulative>(
            std::vector<CLine>{CLine(CPoint{5, 5}, CPoint{50, 9})}));
        doc.questions()[0].prompt = "Which core? \xC3\xA9";
        const std::string path = File(name);
        EXPECT_TRUE(doc.OnSaveDocument(path));
        return path;
    }
    static std::vector<std::uint8_t> Bytes(const std::string& path) {
        std::vector<std::uint8_t> b;
        ReadDocumentFile(path, b);
        return b;
    }
};

} // namespace

TEST_F(QvTool, InfoNamesTheDocumentTypeAndItsManipulatives) {
    const std::string path = SaveSample("tiles.qvg");
    EXPECT_EQ(Run({"info", path}), 0);
    EXPECT_EQ(out.str(), "document: Geometry Unit (.qvg, signature 19992000)\n"
                         "manipulatives: 2\n"
                         "types: 0 x 2\n"
                         "teacher options: drawer 1=1 drawer 2=1 drawer 3=1 student drawers=1 "
                         "drawer 6=1 script controls=0 scrolling=1 grouping=1 scaling=1 "
                         "color palette=1 computer checked=0 photo functionality=0\n"
                         "user options: rotation points=1 view=0 snapping=0 photo features=0 "
                         "reserved=0\n"
                         "scripts: 0\n"
                         "current tool: 0, current drawer: 1\n"
                         "drawer 4:\n"
                         "drawer 5:\n");

    // Counts by type code, in the order of the codes, whatever the drawing order.
    CGeometryUnitDocument mixed;
    mixed.AddManipulative(std::make_unique<CAnnotatorManipulative>(CPoint{1, 1}));
    mixed.AddManipulative(std::make_unique<CLineManipulative>(
        std::vector<CLine>{CLine(CPoint{0, 0}, CPoint{10, 0})}));
    mixed.AddManipulative(std::make_unique<CAnnotatorManipulative>(CPoint{5, 5}));
    ASSERT_TRUE(mixed.OnSaveDocument(File("mixed.qvg")));
    ASSERT_EQ(Run({"info", File("mixed.qvg")}), 0);
    EXPECT_NE(out.str().find("\ntypes: 0 x 1, 4 x 2\n"), std::string::npos) << out.str();
    ASSERT_TRUE(CGeometryUnitDocument().OnSaveDocument(File("empty.qvg")));
    ASSERT_EQ(Run({"info", File("empty.qvg")}), 0);
    EXPECT_NE(out.str().find("\ntypes: none\n"), std::string::npos) << out.str();

    ASSERT_EQ(Run({"info", SaveNumbers("machines.qvn")}), 0);
    EXPECT_NE(out.str().find("types: 4 x 1, 10 x 2, 12 x 1, 13 x 5, 14 x 1\n"
                             "options: mystery tool=1 computer checked=0 wires=1 autotrigger=0 "
                             "output display=fractional further=1\n"
                             "current tool: 9, pane offset: 30,40, view: 0,0,700,560\n"
                             "machines: 2 (1 heads), links: 1, cards: 5 (3 at hoppers, 1 made by "
                             "machines)\n"
                             "tables: 1 (3 columns, 2 rows)\n"),
              std::string::npos)
        << out.str();
}

TEST_F(QvTool, InfoReportsUnreadableFilesAndExitsNonZero) {
    const std::string good = SaveSample("good.qvg");
    auto bytes = Bytes(good);
    bytes.resize(bytes.size() - 7);
    ASSERT_TRUE(SaveFileAtomically(File("cut.qvg"), bytes));
    ASSERT_TRUE(SaveFileAtomically(File("alien.bin"), std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Run({"info", File("cut.qvg")}), 1);
    EXPECT_NE(err.str().find("Failed to open document."), std::string::npos);
    EXPECT_EQ(Run({"info", File("alien.bin")}), 1);
    EXPECT_NE(err.str().find("not a Quorvel document"), std::string::npos);
    EXPECT_EQ(Run({"info", File("missing.qvg")}), 1);
    EXPECT_EQ(Run({"info", good, File("missing.qvg")}), 1) << "one bad file fails the run";
}

TEST_F(QvTool, ResaveIsByteIdenticalForEveryUnitType) {
    const std::string tiles = SaveSample("tiles.qvg");
    EXPECT_EQ(Run({"resave", tiles, File("again.qvg")}), 0);
    EXPECT_EQ(Bytes(File("again.qvg")), Bytes(tiles));

    CCodePatternsDocument codes;
    codes.questions()[3].choices[4] = "\xE6\x97\xA5\xE6\x9C\xAC"; // needs the wide form
    ASSERT_TRUE(codes.OnSaveDocument(File("codes.qvc")));
    EXPECT_EQ(Run({"resave", File("codes.qvc"), File("codes2.qvc")}), 0);
    EXPECT_EQ(Bytes(File("codes2.qvc")), Bytes(File("codes.qvc")));

    const std::string machines = SaveNumbers("machines.qvn");
    EXPECT_EQ(Run({"resave", machines, File("machines2.qvn")}), 0);
    EXPECT_EQ(Bytes(File("machines2.qvn")), Bytes(machines));
}

TEST_F(QvTool, ResaveOfABadFileWritesNothing) {
    ASSERT_TRUE(
        SaveFileAtomically(File("bad.qvg"), std::vector<std::uint8_t>{0xC0, 0x0D, 0x31, 0x01, 9}));
    EXPECT_EQ(Run({"resave", File("bad.qvg"), File("out.qvg")}), 1);
    EXPECT_FALSE(fs::exists(File("out.qvg")));
}

TEST_F(QvTool, CalcPrintsTheResultAndItsKind) {
    EXPECT_EQ(Run({"calc", "1/2", "+", "1/3"}), 0);
    EXPECT_EQ(out.str(), "5/6 Fraction\n");
    EXPECT_EQ(Run({"calc", "65536", "*", "65536"}), 1);
    EXPECT_NE((out.str() + err.str()).find("Integer Overflow"), std::string::npos);
}

TEST_F(QvTool, DumpThenBuildGivesTheSameFileForEveryUnitType) {
    std::vector<std::string> files = {SaveSample("tiles.qvg")};
    CNumberPatternsDocument numbers;
    numbers.questions()[0].choices[1] = "\xE2\x88\x9A"
                                        "2 wide";
    numbers.SetProblemPosition({4, 1, 2});
    ASSERT_TRUE(numbers.OnSaveDocument(File("n.qvn")));
    files.push_back(File("n.qvn"));
    files.push_back(SaveNumbers("machines.qvn"));
    for (const std::string& file : files) {
        ASSERT_EQ(Run({"dump", file}), 0) << err.str();
        const std::string json = out.str();
        std::istringstream in(json);
        std::ostringstream o, e;
        ASSERT_EQ(CQvTool(o, e, &in).Run({"build", "-", File("rebuilt")}), 0) << e.str();
        EXPECT_EQ(Bytes(File("rebuilt")), Bytes(file));
        EXPECT_EQ(Run({"dump", file}), 0);
        EXPECT_EQ(out.str(), json) << "dumps are stable";
    }
}

TEST_F(QvTool, BuildNamesTheJsonPathOfABadField) {
    ASSERT_TRUE(SaveFileAtomically(File("bad.json"), std::vector<std::uint8_t>{}));
    std::istringstream in(
        R"({"signature": 19992003, "manipulative types": [{"type": 13}],
            "manipulatives": [{"kind": 1.5}]})");
    std::ostringstream o, e;
    EXPECT_EQ(CQvTool(o, e, &in).Run({"build", "-", File("x.qvn")}), 1);
    EXPECT_EQ(e.str(), "-: /manipulatives/0/kind: expected a whole number\n");
    EXPECT_FALSE(fs::exists(File("x.qvn")));

    std::istringstream alien(R"({"signature": 7})");
    std::ostringstream o2, e2;
    EXPECT_EQ(CQvTool(o2, e2, &alien).Run({"build", "-", File("y")}), 1);
    EXPECT_NE(e2.str().find("not the signature of a Quorvel document"), std::string::npos);
}

TEST_F(QvTool, ValidateReportsTheOffsetAndFieldOfATruncatedFile) {
    const std::string good = SaveSample("good.qvg");
    auto bytes = Bytes(good);
    // Past the empty student drawers, the workspace rectangle and the notepad text (25 bytes),
    // then inside the last segment's midpoint.
    bytes.resize(bytes.size() - 55);
    ASSERT_TRUE(SaveFileAtomically(File("cut.qvg"), bytes));
    EXPECT_EQ(Run({"validate", good, File("cut.qvg")}), 1);
    const std::string report = out.str();
    EXPECT_NE(report.find(good + ": ok\n"), std::string::npos);
    // The read that failed is a coordinate whose eight bytes run past the end.
    std::smatch m;
    ASSERT_TRUE(
        std::regex_search(report, m,
                          std::regex(R"(cut\.qvg: Failed to open document\. unexpected end )"
                                     R"(of file \((x|y|z) at byte (\d+)\))")))
        << report;
    const std::size_t offset = std::stoul(m[2]);
    EXPECT_GT(offset + 8, bytes.size());
    EXPECT_LE(offset, bytes.size());
}

#ifdef QUORVEL_QVTOOL_RENDER
TEST_F(QvTool, RenderDrawsTheWorkspaceAsTheProgramDoes) {
    // A filled triangle and a thick blue line, drawn at twice the size.
    std::istringstream json(R"({"signature": 19992000, "manipulatives": [
      {"type": 1, "fill colour": "#ffab61", "visible": true, "lines": [
        {"start": {"x": 20.0, "y": 20.0}, "end": {"x": 80.0, "y": 20.0}, "line visible": true},
        {"start": {"x": 80.0, "y": 20.0}, "end": {"x": 50.0, "y": 72.0}, "line visible": true},
        {"start": {"x": 50.0, "y": 72.0}, "end": {"x": 20.0, "y": 20.0}, "line visible": true}]},
      {"type": 0, "visible": true, "lines": [{"start": {"x": 100.0, "y": 100.0},
        "end": {"x": 300.0, "y": 100.0}, "line width": 2, "line colour": "#0008ff",
        "line visible": true}]}]})");
    std::ostringstream o, e;
    ASSERT_EQ(CQvTool(o, e, &json).Run({"build", "-", File("two.qvg")}), 0) << e.str();
    ASSERT_EQ(Run({"render", File("two.qvg"), File("two.png"), "--scale", "2"}), 0) << err.str();

    QImage image(QString::fromStdString(File("two.png")));
    ASSERT_FALSE(image.isNull());
    // The workspace from the origin to the furthest frame, with a 20-pixel margin.
    EXPECT_GE(image.width(), (300 + 20) * 2);
    EXPECT_LE(image.width(), (300 + 20 + 4) * 2);
    const auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue()) <=
               24;
    };
    EXPECT_TRUE(near(image.pixelColor(100, 70), QColor(255, 171, 97))) << "inside the triangle";
    EXPECT_TRUE(near(image.pixelColor(400, 200), QColor(0, 8, 255))) << "on the line";
    EXPECT_TRUE(near(image.pixelColor(20, 300), QColor(97, 191, 255))) << "the workspace";
    EXPECT_TRUE(near(image.pixelColor(40 + 2, 40 + 30), QColor(97, 191, 255)))
        << "outside the triangle's slanted edge";

    ASSERT_EQ(Run({"render", File("two.qvg"), File("two.svg")}), 0);
    std::ifstream svg(File("two.svg"));
    const std::string text((std::istreambuf_iterator<char>(svg)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("viewBox=\"0 0 32"), std::string::npos) << text.substr(0, 400);

    // Machines draw themselves, cards and wire included, as on the page.
    ASSERT_EQ(Run({"render", SaveNumbers("machines.qvn"), File("machines.png")}), 0) << err.str();
    QImage machines(QString::fromStdString(File("machines.png")));
    EXPECT_FALSE(near(machines.pixelColor(100, 130), QColor(97, 191, 255))) << "a machine body";
    EXPECT_FALSE(near(machines.pixelColor(160, 300), QColor(97, 191, 255))) << "the wire";
    EXPECT_TRUE(near(machines.pixelColor(300, 300), QColor(97, 191, 255))) << "the workspace";

    EXPECT_EQ(Run({"render", File("two.qvg"), File("x.png"), "--scale", "0"}), 2);
    EXPECT_EQ(Run({"render", File("missing.qvg"), File("x.png")}), 1);

    // A statistics document's data board: a tagged category tile, a unit (35 pixels) high.
    CStatsUnitDocument stats;
    stats.dataSet().EnterCell(1, 1, "cat", true);
    stats.dataSet().SetCellColour(1, 1, 0x83B3FF, false);
    stats.dataSet().Case(1).categoryTilePosition = {300, 400};
    ASSERT_TRUE(stats.OnSaveDocument(File("class.qvs")));
    ASSERT_EQ(Run({"render", File("class.qvs"), File("board.png"), "--view", "board"}), 0)
        << err.str();
    QImage board(QString::fromStdString(File("board.png")));
    EXPECT_EQ(board.size(), QSize(800, 560));
    EXPECT_TRUE(near(board.pixelColor(329, 383), QColor(255, 179, 131))) << "the tile";
    EXPECT_TRUE(near(board.pixelColor(329, 340), QColor(255, 255, 255))) << "the board";
    EXPECT_EQ(Run({"render", File("two.qvg"), File("x.png"), "--view", "board"}), 1);
}
#endif

TEST_F(QvTool, UnknownVerbsAndMissingArgumentsShowUsage) {
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({"frobnicate"}), 2);
    EXPECT_EQ(Run({"resave", "only-one"}), 2);
    EXPECT_NE(err.str().find("usage:"), std::string::npos);
}

TEST_F(QvTool, ChainPrintsTheLastCardOrWhatStoppedTheRun) {
    struct Case {
        std::vector<std::string> args;
        std::string printed;
        int status;
    };
    const Case cases[] = {
        {{"1/2", "+", "1/3", "_", "x", "6"}, "5.0 Decimal\n", 0},
        {{"--fractional", "1", "-", "3", "_", "/", "-2"}, "1 Integer\n", 0},
        {{"--fractional", "7", "/", "3"}, "2 1/3 Fraction\n", 0},
        {{"--fractional", "-32768", "x", "65536", "_", "/", "-1"}, "Integer Overflow\n", 1},
        {{"7", "/", "0"}, "Division by Zero\n", 1},
        {{"1", "?", "2"}, "Go is not available\n", 1},
        {{"", "+", "2"}, "Go is not available\n", 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"chain"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(Run(args), c.status) << args[1];
        EXPECT_EQ(out.str(), c.printed) << args[1];
    }
    for (std::vector<std::string> bad : {std::vector<std::string>{"chain", "1", "+"},
                                         {"chain", "1", "+", "_"},
                                         {"chain", "1", "+", "2", "3", "+", "4"},
                                         {"chain", "1", "%", "2"}})
        EXPECT_EQ(Run(bad), 2) << bad.size();
}

TEST_F(QvTool, RunReportsEverySupermachineAndWritesOnlyWhenAsked) {
    quorvel::testing::FakeTextMetrics metrics;
    CNumberPatternsDocument doc;
    auto* m = static_cast<CNumberMachine*>(
        doc.AddManipulative(std::make_unique<CNumberMachine>(CPoint{100, 100})));
    m->SetOperation(2);
    for (const char* text : {"6", "7", "2"}) {
        auto card = std::make_unique<CNumberCardManipulative>(CPoint{0, 0}, metrics);
        card->SetText(text);
        auto* added = doc.AddManipulative(std::move(card));
        const CRect hopper = m->Hopper(text[0] == '7' ? 2 : 1);
        added->MoveBy(hopper.left + 4, hopper.top + 2);
        ASSERT_EQ(m->AcceptCard(static_cast<CPatternManipulative*>(added)), kAccepted);
    }
    doc.AddManipulative(std::make_unique<CNumberMachine>(CPoint{400, 100}));
    const std::string path = File("series.qvn");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const auto before = Bytes(path);
    EXPECT_EQ(Run({"run", path}), 0);
    EXPECT_EQ(out.str(), "machine 0: 42.0 Decimal\nmachine 4: Go is not available\n");
    EXPECT_EQ(Bytes(path), before);
    EXPECT_EQ(Run({"run", path, "--save", File("after.qvn")}), 0);
    EXPECT_EQ(Run({"info", File("after.qvn")}), 0);
    EXPECT_NE(out.str().find("13 x 2"), std::string::npos) << out.str();
}

TEST_F(QvTool, CodeAppliesOneMachineAsItsBoxesReadWhatIsTyped) {
    struct Case {
        std::vector<std::string> args;
        std::string printed;
        int status;
    };
    const Case cases[] = {
        {{"shift", "3", "right", "Hello, World!"}, "Khoor, Zruog!\n", 0},
        {{"shift", " 1x", "LEFT", "abc"}, "zab\n", 0},
        {{"shift", "27", "right", "abc"}, std::string(kShiftPlacesMessage) + "\n", 1},
        {{"shift", "3", "right ", "abc"}, std::string(kShiftDirectionMessage) + "\n", 1},
        {{"group", "4", "a b c d e f"}, "abcd ef\n", 0},
        {{"group", "0", "abc"}, std::string(kGroupSizeMessage) + "\n", 1},
        {{"keyword", "zebra", "encode", "Hello, World"}, "Fajjm, Vmpjr\n", 0},
        {{"keyword", "zebra", "decode", "Fajjm, Vmpjr"}, "Hello, World\n", 0},
        {{"keyword", "", "encode", "abc"}, "Go is not available\n", 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"code"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(Run(args), c.status) << args[1] << " " << args[2];
        EXPECT_EQ(out.str(), c.printed) << args[1] << " " << args[2];
    }
    EXPECT_EQ(Run({"code", "keyword", "zebra", "both", "abc"}), 2);

    CCodePatternsDocument doc;
    quorvel::testing::FillCodesSample(doc);
    const std::string path = File("codes.qvc");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(Run({"run", path}), 0);
    EXPECT_EQ(out.str(),
              "machine 0: " +
                  SubstituteText(ShiftText("Meet me at noon", 3), KeywordOffsets("zebra", false)) +
                  "\n");
}

TEST_F(QvTool, StatsPrintsTheSummaryWindowsLinesAndResaveKeepsTheBytes) {
    std::vector<std::uint8_t> sample;
    for (auto& s : quorvel::testing::SampleDocuments())
        if (s.name == "statistics-workspace.qvs")
            sample = s.bytes;
    ASSERT_FALSE(sample.empty());
    const std::string file = File("class.qvs");
    ASSERT_TRUE(SaveFileAtomically(file, sample));
    // Pets: Ann's cat is used, Bob's dog ignored, Cy excluded, Di's cell empty.
    ASSERT_EQ(Run({"stats", file, "--column", "3", "--decimals", "0"}), 0) << err.str();
    EXPECT_EQ(out.str(), "Total Number of Cases: 3\nNumber of Cases Used: 1\nMode: cat\n"
                         "cat\t 1 (100%)\n");
    // Heights, the current column, at the document's decimal places: 1 1/2 and 0.75.
    ASSERT_EQ(Run({"stats", file}), 0) << err.str();
    EXPECT_EQ(out.str(), "Total Number of Cases: 3\nNumber of Cases Used: 2\nMean:\t1.1\n"
                         "Median:\t1.1\nMode:\tnone\nMinimum:\t0.8\nMaximum:\t1.5\n");
    EXPECT_EQ(Run({"stats", file, "--column", "5"}), 1);
    EXPECT_EQ(Run({"stats", file, "--decimals", "3"}), 2);

    ASSERT_EQ(Run({"info", file}), 0);
    EXPECT_NE(out.str().find("column 2: \"Height\" fractions"), std::string::npos) << out.str();
    ASSERT_EQ(Run({"resave", file, File("again.qvs")}), 0);
    EXPECT_EQ(Bytes(File("again.qvs")), sample);
    ASSERT_EQ(Run({"dump", file}), 0);
    std::istringstream json(out.str());
    std::ostringstream o, e;
    ASSERT_EQ(CQvTool(o, e, &json).Run({"build", "-", File("rebuilt.qvs")}), 0) << e.str();
    EXPECT_EQ(Bytes(File("rebuilt.qvs")), sample);
#ifdef QUORVEL_QVTOOL_RENDER
    ASSERT_EQ(Run({"render", file, File("class.png")}), 0) << err.str();
    EXPECT_FALSE(QImage(QString::fromStdString(File("class.png"))).isNull());
#endif
}

TEST_F(QvTool, DesignsDocumentsDescribeDumpBuildAndRenderAsTheScreen) {
    std::vector<std::uint8_t> sample;
    for (auto& s : quorvel::testing::SampleDocuments())
        if (s.name == "designs-workspace.qvd")
            sample = s.bytes;
    ASSERT_FALSE(sample.empty());
    const std::string file = File("flower.qvd");
    ASSERT_TRUE(SaveFileAtomically(file, sample));
    ASSERT_EQ(Run({"info", file}), 0) << err.str();
    EXPECT_NE(out.str().find("stamp colour=rainbow"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("times: ?, angle: 45"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("  Rotate          45\xC2\xB0 3 times"), std::string::npos);
    out.str("");
    ASSERT_EQ(Run({"dump", file}), 0);
    std::istringstream json(out.str());
    std::ostringstream o, e;
    ASSERT_EQ(CQvTool(o, e, &json).Run({"build", "-", File("built.qvd")}), 0) << e.str();
    EXPECT_EQ(Bytes(File("built.qvd")), sample);
#ifdef QUORVEL_QVTOOL_RENDER
    ASSERT_EQ(Run({"render", file, File("flower.png")}), 0) << err.str();
    QImage image(QString::fromStdString(File("flower.png")));
    // The page's drawing needs fonts, and fonts an application.
    static int argc = 1;
    static char name[] = "tools_tests";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
    if (!QGuiApplication::instance())
        app = std::make_unique<QGuiApplication>(argc, argv);
    CDesignPatternsDocument doc;
    ASSERT_EQ(doc.LoadFromBytes(sample), OpenResult::Opened);
    // The page paints the document onto its pane; the design window shows the same pixels.
    QImage screen(image.size(), QImage::Format_ARGB32_Premultiplied);
    screen.fill(Qt::white);
    {
        QPainter painter(&screen);
        CQtDrawingSurface dc(painter);
        doc.DrawContents(dc);
    }
    const CRect w = doc.machine().DesignRect();
    const QRect window(w.left, w.top, w.Width(), w.Height());
    EXPECT_EQ(image.copy(window).convertToFormat(QImage::Format_RGB32),
              screen.copy(window).convertToFormat(QImage::Format_RGB32));
#endif
}

TEST_F(QvTool, RenderDrawsAStatisticsPageModeOfAColumn) {
    CStatsUnitDocument doc;
    doc.InsertNamedColumn(2, "Age", StatsColumnFormat::WholeNumbers);
    doc.InsertNamedColumn(3, "Pet", StatsColumnFormat::Categories);
    for (int row = 1; row <= 3; ++row) {
        doc.dataSet().EnterCell(row, 1, "P" + std::to_string(row), true);
        doc.dataSet().EnterCell(row, 2, std::to_string(3 * row), true);
    }
    doc.dataSet().EnterCell(1, 3, "cat", true);
    const std::string file = File("class.qvs");
    ASSERT_TRUE(doc.OnSaveDocument(file));
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* error; // the start of what is said, or ""
    };
    const Case cases[] = {
        {{"--view", "bar", "--column", "2"}, 0, ""},
        {{"--view", "pie", "--column", "3"}, 0, ""},
        {{"--view", "line", "--column", "2"}, 0, ""},
        {{"--view", "table"}, 0, ""},
        {{"--view", "line", "--column", "3"}, 1, "The line graph is empty"},
        {{"--view", "bar", "--column", "9"}, 1, "column 9 is not a data column"},
        {{"--view", "board"}, 0, ""},
        {{"--view", "chart"}, 2, "--view takes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1]);
        std::vector<std::string> args{"render", file, File("mode.png")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        err.str("");
        std::filesystem::remove(File("mode.png"));
        EXPECT_EQ(Run(args), c.status);
        EXPECT_NE(err.str().find(c.error), std::string::npos) << err.str();
        EXPECT_EQ(std::filesystem::exists(File("mode.png")), c.status == 0);
    }
    // The bar graph's value axis stands 45 pixels into the page's 760 x 440 sheet.
    ASSERT_EQ(Run({"render", file, File("bar.png"), "--view", "bar", "--column", "2"}), 0);
    const QImage image(QString::fromStdString(File("bar.png")));
    EXPECT_EQ(image.size(), QSize(760, 440));
    EXPECT_LT(qGray(image.pixel(45, 200)), 64);
}
