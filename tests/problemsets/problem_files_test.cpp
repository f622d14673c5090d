// Problem file names, the draw of a level's problems and the score text.
#include "geometry/geometry_document.h"
#include "patterns/patterns_documents.h"
#include "problemsets/problem_files.h"
#include "problemsets/problem_set_controller.h"
#include "statistics/stats_document.h"
#include "workspace/random.h"

#include "test_unit.h"

#include <gtest/gtest.h>

#include <set>

using namespace quorvel;
using namespace quorvel::testing;

TEST(ProblemFiles, NumbersHaveAtLeastTwoDigits) {
    EXPECT_EQ(ProblemNumberText(1), "01");
    EXPECT_EQ(ProblemNumberText(9), "09");
    EXPECT_EQ(ProblemNumberText(10), "10");
    EXPECT_EQ(ProblemNumberText(123), "123");
}

TEST(ProblemFiles, EachUnitNamesItsLevelsFiles) {
    EXPECT_EQ(ProblemFileName(kGeometryProblemFiles, kLevelA, 7), "geopsA07.qvg");
    EXPECT_EQ(ProblemFileName(kGeometryProblemFiles, kLevelB, 10), "geopsB10.qvg");
    EXPECT_EQ(ProblemFileName(kNumbersProblemFiles, kLevelC, 3), "patpsC03.qvn");
    EXPECT_EQ(ProblemFileName(kStatisticsProblemFiles, kLevelA, 12), "stapsA12.qvs");
    EXPECT_EQ(ProblemFileName(kGeometryProblemFiles, 3, 1), "");
    EXPECT_EQ(ProblemFileName(kGeometryProblemFiles, -1, 1), "");
}

TEST(ProblemFiles, AppendedToTheClassFolderWithTheRunsLevel) {
    CTestUnitDocument doc;
    doc.SetProblemCount(1);
    std::string path = "/opt/quorvel/class";
    ASSERT_TRUE(AppendProblemFileName(doc, path, kGeometryProblemFiles, kLevelB));
    EXPECT_EQ(path, "/opt/quorvel/class/geopsB01.qvg");
    EXPECT_EQ(doc.level(), kLevelB);

    std::string folder = "/opt/quorvel/class/";
    ASSERT_TRUE(AppendProblemFileName(doc, folder, kGeometryProblemFiles, kLevelA));
    EXPECT_EQ(folder, "/opt/quorvel/class/geopsA01.qvg");

    // A level that does not exist draws nothing and names nothing.
    std::string unchanged = "/opt/quorvel/class";
    const auto pool = doc.problemPool();
    EXPECT_FALSE(AppendProblemFileName(doc, unchanged, kGeometryProblemFiles, 3));
    EXPECT_EQ(unchanged, "/opt/quorvel/class");
    EXPECT_EQ(doc.problemPool(), pool);
    EXPECT_EQ(doc.level(), kLevelA);
}

TEST(ProblemFiles, LevelCWithTwelveProblemsDrawsEachOnceBeforeAnyRepeats) {
    for (std::uint32_t seed : {1u, 42u, 20260101u}) {
        SeedRandom(seed);
        CTestUnitDocument doc;
        doc.SetProblemCount(12);
        std::set<std::string> files;
        for (int i = 0; i < 12; ++i) {
            std::string path = "/class";
            doc.AppendProblemFileName(path, kLevelC);
            EXPECT_TRUE(files.insert(path).second) << "repeated " << path << " with seed " << seed;
        }
        std::set<std::string> expected;
        for (int n = 1; n <= 12; ++n)
            expected.insert("/class/" + ProblemFileName(kGeometryProblemFiles, kLevelC, n));
        EXPECT_EQ(files, expected);
        // The thirteenth draw refills the pool and names one of the twelve again.
        std::string again = "/class";
        doc.AppendProblemFileName(again, kLevelC);
        EXPECT_EQ(expected.count(again), 1u);
        EXPECT_EQ(doc.problemPool().size(), 11u);
    }
}

TEST(ScoreText, HeadingLevelAndResult) {
    EXPECT_EQ(ScoreText("WHAT'S MY CORE? ", kLevelA, {5, 3, 4}, 5),
              "WHAT'S MY CORE? (Level A)\r\nYou got 4 of 5 problems correct.");
    EXPECT_EQ(ScoreText("MYSTERY MACHINES ", kLevelC, {2, 3, 0}, 5),
              "MYSTERY MACHINES (Level C)\r\nYou got 0 of 5 problems correct.");
    EXPECT_EQ(ScoreText("MYSTERY MACHINES ", kLevelB, {0, 2, 0}, 5),
              "MYSTERY MACHINES (Level B)\r\nYou did not complete any problems.");
}

TEST(CheckButton, BitmapsFollowTheTriesLeft) {
    EXPECT_EQ(CheckBitmapsForTries(3), (CCheckBitmaps{430, 428, 429}));
    EXPECT_EQ(CheckBitmapsForTries(2), (CCheckBitmaps{431, 433, 432}));
    EXPECT_EQ(CheckBitmapsForTries(1), (CCheckBitmaps{434, 436, 435}));
    EXPECT_EQ(CheckBitmapsForTries(0), (CCheckBitmaps{434, 436, 435}));
}

TEST(ProblemFiles, TheUnitsWithProblemSetsNameTheirOwnFiles) {
    CGeometryUnitDocument geometry;
    CNumberPatternsDocument numbers;
    CStatsUnitDocument statistics;
    const std::pair<CUnitDocument*, std::string> units[] = {
        {&geometry, "geopsB"}, {&numbers, "patpsB"}, {&statistics, "stapsB"}};
    for (const auto& [doc, stem] : units) {
        doc->SetProblemCount(1);
        std::string path = "/class";
        doc->AppendProblemFileName(path, kLevelB);
        EXPECT_EQ(path.substr(0, 14), "/class/" + stem + "0") << stem;
        // Each unit draws from its level's own number of files.
        const int last = doc == &geometry  ? kGeometryProblemsPerLevel[kLevelB]
                         : doc == &numbers ? kNumbersProblemsPerLevel[kLevelB]
                                           : kStatsProblemsPerLevel[kLevelB];
        EXPECT_GE(path[14], '1') << stem;
        EXPECT_LE(path[14], '0' + last) << stem;
        EXPECT_EQ(doc->level(), kLevelB);
    }
    const int next = geometry.DrawProblemNumber();
    EXPECT_GE(next, 1);
    EXPECT_LE(next, kGeometryProblemsPerLevel[kLevelB]);
    std::string qvg = "/class", qvn = "/class", qvs = "/class";
    geometry.AppendProblemFileName(qvg, kLevelA);
    numbers.AppendProblemFileName(qvn, kLevelC);
    statistics.AppendProblemFileName(qvs, kLevelA);
    EXPECT_EQ(qvg.substr(0, 14), "/class/geopsA0");
    EXPECT_GE(qvg[14], '1');
    EXPECT_LE(qvg[14], '0' + kGeometryProblemsPerLevel[kLevelA]);
    EXPECT_EQ(qvg.substr(15), ".qvg");
    EXPECT_EQ(qvn.substr(0, 13), "/class/patpsC");
    EXPECT_LE(std::stoi(qvn.substr(13, 2)), kNumbersProblemsPerLevel[kLevelC]);
    EXPECT_EQ(qvs, "/class/stapsA01.qvs");
}
