// qvtool verbs, run in-process on files the program wrote.
#include "tools/qvtool/qvtool.h"

#include "geometry/geometry_document.h"
#include "patterns/patterns_documents.h"
#include "workspace/file_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace quorvel;
namespace fs = std::filesystem;

namespace {

struct QvTool : ::testing::Test {
    fs::path dir;
    std::ostringstream out, err;

    QvTool() {
        dir = fs::temp_directory_path() / ("quorvel-qvtool-" + std::to_string(::getpid()) + "-" +
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
                         "types: 0 0\n");
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
}

TEST_F(QvTool, ResaveOfABadFileWritesNothing) {
    ASSERT_TRUE(SaveFileAtomically(File("bad.qvg"), std::vector<std::uint8_t>{0xC0, 0x0D, 0x31, 0x01, 9}));
    EXPECT_EQ(Run({"resave", File("bad.qvg"), File("out.qvg")}), 1);
    EXPECT_FALSE(fs::exists(File("out.qvg")));
}

TEST_F(QvTool, CalcPrintsTheResultAndItsKind) {
    EXPECT_EQ(Run({"calc", "1/2", "+", "1/3"}), 0);
    EXPECT_EQ(out.str(), "5/6 Fraction\n");
    EXPECT_EQ(Run({"calc", "65536", "*", "65536"}), 1);
    EXPECT_NE((out.str() + err.str()).find("Integer Overflow"), std::string::npos);
}

TEST_F(QvTool, UnknownVerbsAndMissingArgumentsShowUsage) {
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({"frobnicate"}), 2);
    EXPECT_EQ(Run({"resave", "only-one"}), 2);
    EXPECT_NE(err.str().find("usage:"), std::string::npos);
}
