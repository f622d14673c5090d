// The investigations: every title, every button placed once, labels and texts present, and a
// problem-set rule for each unit whose problem sets a button starts.
#include "app/activities.h"
#include "app/problem_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace quorvel {
namespace {

TEST(Activities, InvestigationTitles) {
    const char* titles[3][5] = {
        {"Describing Categorical Data", "Describing Numerical Data", "Making Profiles",
         "Asking More Questions", "Describing Us"},
        {"Coding Machines", "Design Machines", "Number Machines", "Linked Machines",
         "Problem Solving With Number Machines"},
        {"Discovering Tessellations", "Shapes And Angles", "Tessellations and Cores",
         "Core Creations", "Tessellation Expo"},
    };
    for (int menu = 0; menu < 3; ++menu)
        for (int k = 0; k < 5; ++k) {
            ASSERT_NE(FindInvestigation(menu, k), nullptr);
            EXPECT_EQ(FindInvestigation(menu, k)->title, titles[menu][k]);
        }
    EXPECT_EQ(FindInvestigation(-1, 0), nullptr);
    EXPECT_EQ(FindInvestigation(3, 0), nullptr);
    EXPECT_EQ(FindInvestigation(0, 5), nullptr);
}

TEST(Activities, EveryButtonIsAKnownIdUsedOnceWithTextAndALabel) {
    const auto& ids = InvestigationButtonIds();
    for (int menu = 0; menu < 3; ++menu)
        for (int k = 0; k < 5; ++k) {
            const CInvestigation* inv = FindInvestigation(menu, k);
            EXPECT_FALSE(inv->overview.empty());
            EXPECT_FALSE(inv->rows.empty());
            std::set<int> seen;
            for (const auto& row : inv->rows) {
                EXPECT_FALSE(row.kind.empty());
                EXPECT_FALSE(row.activities.empty());
                for (const auto& a : row.activities) {
                    EXPECT_NE(std::find(ids.begin(), ids.end(), a.button), ids.end()) << a.button;
                    EXPECT_TRUE(seen.insert(a.button).second) << inv->title << " " << a.button;
                    EXPECT_FALSE(a.label.empty());
                    EXPECT_GE(a.instructions.size(), 40u) << inv->title << " " << a.button;
                    if (a.kind == ActivityKind::ProblemSet) {
                        EXPECT_EQ(a.button, 1460 + a.level);
                    }
                }
            }
        }
}

TEST(Activities, EveryActivityTitleAppearsAsARowTitle) {
    const char* titles[] = {"Fill the Outline",
                            "Shapes and Patterns",
                            "How Much Will It Rotate?",
                            "What's My Core?",
                            "Tessellation Projects",
                            "What Are They Like?",
                            "Let's Find Out More!",
                            "Did You Mean That?",
                            "Which Bar Is It?",
                            "Explore Our Own Data",
                            "Analyze Our Own Data Exploration",
                            "Mystery Designs",
                            "Mystery Machines",
                            "Inverse Machines",
                            "Party Makers"};
    std::set<std::string> rowTitles;
    for (int menu = 0; menu < 3; ++menu)
        for (int k = 0; k < 5; ++k)
            for (const auto& row : FindInvestigation(menu, k)->rows)
                rowTitles.insert(row.title);
    for (const char* t : titles)
        EXPECT_TRUE(rowTitles.count(t)) << t;
}

TEST(Activities, EveryUnitWithProblemSetsHasItsRuleAndNoOtherHasOne) {
    std::set<UnitKind> withProblemSets;
    for (int menu = 0; menu < 3; ++menu)
        for (int k = 0; k < kInvestigationsPerMenu; ++k)
            for (const auto& row : FindInvestigation(menu, k)->rows)
                for (const auto& a : row.activities)
                    if (a.kind == ActivityKind::ProblemSet)
                        withProblemSets.insert(a.unit);
    EXPECT_EQ(withProblemSets.size(), 3u);
    for (UnitKind unit : AllUnitKinds()) {
        const auto rule = CreateProblemRule(unit);
        EXPECT_EQ(rule != nullptr, withProblemSets.count(unit) == 1) << UnitKindName(unit);
        EXPECT_EQ(HasProblemSets(unit), rule != nullptr);
        EXPECT_EQ(ProblemSetHeading(unit).empty(), rule == nullptr) << UnitKindName(unit);
    }
}

TEST(Activities, UnitMenusMapToInvestigationsMenus) {
    EXPECT_EQ(InvestigationsMenuOfUnit(1), 2);
    EXPECT_EQ(InvestigationsMenuOfUnit(2), 1);
    EXPECT_EQ(InvestigationsMenuOfUnit(3), 0);
    EXPECT_EQ(InvestigationsMenuOfUnit(0), -1);
    EXPECT_EQ(InvestigationsMenuOfUnit(4), -1);
}

} // namespace
} // namespace quorvel
