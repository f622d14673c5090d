// The class folder's "Did You Mean That?" problem files as a pupil meets them: each level has
// its problems, each opens computer-checked at its level with its statement false, and exactly
// its solution tile, made Used, makes the statement true.
#include "problemsets/problem_files.h"
#include "statistics/stats_problems.h"
#include "tools/stats_activities/stats_activities.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quorvel {
namespace {

namespace fs = std::filesystem;

TEST(StatsProblemFiles, EachHasExactlyOneSolvingTile) {
    for (int level = kLevelA; level <= kLevelC; ++level) {
        int found = 0;
        for (int n = 1; n <= 99; ++n) {
            const fs::path file =
                fs::path(QUORVEL_CLASS_DIR) / ProblemFileName(kStatisticsProblemFiles, level, n);
            if (!fs::exists(file))
                break;
            SCOPED_TRACE(file.string());
            ++found;
            std::ifstream in(file, std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            CStatsUnitDocument doc;
            ASSERT_EQ(doc.LoadFromBytes(bytes), OpenResult::Opened);
            EXPECT_TRUE(doc.computerChecked());
            EXPECT_FALSE(doc.dataSet().editable());
            EXPECT_EQ(doc.level(), level);
            ASSERT_EQ(doc.questionCount(), 1);
            EXPECT_FALSE(StatsAnswerMatches(doc.questions()[0], doc.summary()));
            const int solution = SolutionTileRow(doc);
            ASSERT_GT(solution, 0);
            EXPECT_EQ(SolvingTiles(doc), std::vector<int>{solution});
        }
        // The run draws from exactly these numbers.
        EXPECT_EQ(found, kStatsProblemsPerLevel[static_cast<std::size_t>(level)]) << level;
    }
}

} // namespace
} // namespace quorvel
