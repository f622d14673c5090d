// The data set's operations and notifications, and the sort against a literal insertion sort.
#include "statistics/stats_document.h"
#include "workspace/random.h"

#include <gtest/gtest.h>

#include <random>

using namespace quorvel;

namespace {

// A data set of `names` in column 1 (categories) and `values` in column 2 (whole numbers);
// an empty text leaves the cell empty.
void Fill(CStatsDataSet& d, const std::vector<std::string>& names,
          const std::vector<std::string>& values = {}) {
    d.Reset(kStatsBlankCases, 2);
    d.Cell(0, 1).SetText("Name");
    d.Cell(0, 2).SetText("Value");
    d.Cell(0, 2).format = static_cast<int>(StatsColumnFormat::WholeNumbers);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        d.EnterCell(row, 1, names[i], true);
        if (i < values.size())
            d.EnterCell(row, 2, values[i], true);
    }
}

struct Recorder : CStatsDataObserver {
    std::vector<std::string> heard;
    void CaseAboutToBeRemoved(int i, CStatsCase& c) override {
        heard.push_back("about " + std::to_string(i) + " #" + std::to_string(c.caseNumber));
    }
    void CaseRemoved(int i, CStatsCase& c) override {
        heard.push_back("removed " + std::to_string(i) + " #" + std::to_string(c.caseNumber));
    }
    void CaseInserted(int i, CStatsCase&) override {
        heard.push_back("inserted " + std::to_string(i));
    }
    void DataChanged() override { heard.push_back("changed"); }
};

std::vector<int> CaseNumbers(const CStatsDataSet& d) {
    std::vector<int> out;
    for (int r = 1; r < d.rowCount(); ++r)
        out.push_back(d.Case(r).caseNumber);
    return out;
}

} // namespace

TEST(StatsDataSet, TypingIntoTheFirstBlankCaseKeepsFiveBlanks) {
    CStatsUnitDocument doc;
    CStatsDataSet& d = doc.dataSet();
    ASSERT_EQ(d.rowCount(), 6);
    ASSERT_EQ(d.columnCount(), 2);
    EXPECT_EQ(d.GetColumnName(1), "Column 1");
    d.EnterCell(1, 1, "Ann", true);
    EXPECT_EQ(d.rowCount(), 7);
    EXPECT_EQ(d.dataCaseEnd(), 2);
    EXPECT_EQ(d.Case(6).caseNumber, 6);
}

TEST(StatsDataSet, RemovingCaseThreeOfTenRenumbersAndTellsBeforeDeleting) {
    CStatsDataSet d;
    Fill(d, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
    d.SetSelectedRow(7);
    Recorder r;
    d.Attach(&r);
    d.RemoveCase(3);
    EXPECT_EQ(CaseNumbers(d), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    EXPECT_EQ(d.GetCellText(3, 1), "d");
    EXPECT_EQ(d.selectedRow(), 6);
    // The removed case is whole while both hear of it.
    EXPECT_EQ(r.heard, (std::vector<std::string>{"about 3 #3", "removed 3 #3"}));
    d.RemoveCase(6);
    EXPECT_EQ(d.selectedRow(), -1);
    d.Detach(&r);
}

TEST(StatsDataSet, TagsSpreadOverEqualTextsAndReachLaterTyping) {
    CStatsDataSet d;
    Fill(d, {"Cat", "dog", " cat "});
    d.SetCellColour(1, 1, 0x7FFFFF, true);
    EXPECT_EQ(d.GetCellColour(3, 1), 0x7FFFFFu);
    EXPECT_EQ(d.GetCellColour(2, 1), kStatsWhite);
    d.EnterCell(4, 1, "CAT", true);
    EXPECT_EQ(d.GetCellColour(4, 1), 0x7FFFFFu);
    // Without spreading, or in a number column, the cell alone.
    d.SetCellColour(2, 1, 0x123456, false);
    EXPECT_EQ(d.GetCellColour(1, 1), 0x7FFFFFu);
}

TEST(StatsDataSet, CellEntryReadsNumbersAndKeepsTheOldValueOnError) {
    CStatsDataSet d;
    Fill(d, {"a"}, {"7"});
    EXPECT_EQ(d.EnterCell(1, 2, "abc", true), std::optional<std::string>("Illegal Number Format"));
    EXPECT_EQ(d.GetCellNumber(1, 2).ToInt(), 7);
    d.Cell(0, 2).format = static_cast<int>(StatsColumnFormat::OneDecimal);
    d.EnterCell(1, 2, " 3/2 ", true);
    EXPECT_EQ(d.GetCellNumber(1, 2).kind(), NumberKind::Decimal);
    EXPECT_EQ(CellValueText(d, 1, 2), "1.5");
    d.EnterCell(1, 2, "  ", true);
    EXPECT_TRUE(d.IsCellEmpty(1, 2));
}

TEST(StatsDataSet, IgnoreAllThenUseAllLeavesEveryCaseUsed) {
    CStatsDataSet d;
    Fill(d, {"a", "b"});
    d.Case(2).state = CaseState::Excluded;
    d.SetAllCaseStates(CaseState::Ignored);
    d.SetAllCaseStates(CaseState::Used);
    for (int r = 0; r < d.rowCount(); ++r)
        EXPECT_EQ(d.Case(r).state, CaseState::Used);
}

TEST(StatsDataSet, ColumnOneCannotBeRemovedAndLabelsMoveWithTheirColumns) {
    CStatsUnitDocument doc;
    CStatsDataSet& d = doc.dataSet();
    doc.InsertNamedColumn(2, "Two", StatsColumnFormat::WholeNumbers);
    doc.InsertNamedColumn(3, "Three", StatsColumnFormat::Categories);
    doc.viewState().graphLabels[1] = {"", "one", "two", "three"};
    d.SetCurrentColumn(1);
    EXPECT_FALSE(doc.CanRemoveCurrentColumn());
    doc.InsertNamedColumn(doc.NewColumnPlace().index, "New", StatsColumnFormat::Categories);
    EXPECT_EQ(doc.viewState().graphLabels[1],
              (std::vector<std::string>{"", "one", "", "two", "three"}));
    d.SetCurrentColumn(3);
    doc.RemoveCurrentColumn();
    EXPECT_EQ(doc.viewState().graphLabels[1], (std::vector<std::string>{"", "one", "", "three"}));
    EXPECT_EQ(d.GetColumnName(3), "Three");
}

// --- sorting ---

namespace {

// The rule as written: row R moves up past each row before it while it goes before that row.
std::vector<int> InsertionSortOrder(const CStatsDataSet& d, bool descending) {
    const int c = d.currentColumn(), n = d.rowCount(), dir = descending ? -1 : 1;
    std::vector<int> rows;
    for (int r = 1; r < n; ++r)
        rows.push_back(r);
    const auto goesBefore = [&](int a, int b) {
        const CStatsCase &x = d.Case(a), &y = d.Case(b);
        if (c == 0) {
            const bool xb = x.caseNumber >= n - 5, yb = y.caseNumber >= n - 5;
            if (xb != yb)
                return yb;
            if (xb)
                return x.caseNumber < y.caseNumber;
            return (x.caseNumber - y.caseNumber) * dir < 0;
        }
        const bool xe = d.IsCellEmpty(a, c), ye = d.IsCellEmpty(b, c);
        if (xe != ye)
            return ye;
        if (xe)
            return x.caseNumber < y.caseNumber;
        int v = 0;
        if (d.IsNumberColumn(c)) {
            const double p = d.GetCellNumber(a, c).ToDouble(), q = d.GetCellNumber(b, c).ToDouble();
            v = p < q ? -1 : p > q ? 1 : 0;
        } else {
            const std::string p = LowerText(d.GetCellText(a, c)),
                              q = LowerText(d.GetCellText(b, c));
            v = p < q ? -1 : p > q ? 1 : 0;
        }
        if (v != 0)
            return v * dir < 0;
        return (x.caseNumber - y.caseNumber) * dir < 0;
    };
    for (std::size_t i = 1; i < rows.size(); ++i)
        for (std::size_t j = i; j > 0 && goesBefore(rows[j], rows[j - 1]); --j)
            std::swap(rows[j], rows[j - 1]);
    std::vector<int> numbers;
    for (int r : rows)
        numbers.push_back(d.Case(r).caseNumber);
    return numbers;
}

} // namespace

TEST(StatsDataSet, SortGivesTheInsertionSortsOrder) {
    std::mt19937 random(7);
    SeedRandom(1);
    for (int trial = 0; trial < 60; ++trial) {
        CStatsDataSet d;
        const int cases = 1 + static_cast<int>(random() % 40);
        std::vector<std::string> names, values;
        for (int i = 0; i < cases; ++i) {
            const char* words[] = {"", "Cat", "cat", "dog", "Emu", "ant"};
            names.push_back(words[random() % 6]);
            values.push_back(
                random() % 5 == 0 ? "" : std::to_string(static_cast<int>(random() % 7) - 3));
        }
        Fill(d, names, values);
        // Removals leave case numbers out of row order, as a pupil's table has them.
        d.RemoveCase(1 + static_cast<int>(random() % static_cast<unsigned>(cases)));
        d.SetCurrentColumn(static_cast<int>(random() % 3));
        const bool descending = random() % 2;
        const std::vector<int> expected = InsertionSortOrder(d, descending);
        const int selected =
            1 + static_cast<int>(random() % static_cast<unsigned>(d.rowCount() - 1));
        const CStatsCase* selectedCase = &d.Case(selected);
        d.SetSelectedRow(selected);
        d.SortByCurrentColumn(descending);
        ASSERT_EQ(CaseNumbers(d), expected) << "trial " << trial;
        EXPECT_EQ(&d.Case(d.selectedRow()), selectedCase);
        if (d.currentColumn() == 0 && !descending) {
            for (int r = 1; r < d.rowCount(); ++r)
                ASSERT_EQ(d.Case(r).caseNumber, r) << "the order of creation comes back";
        }
    }
}

TEST(StatsDataSet, SortPutsEmptyCellsLastAndKeepsEqualValuesInCaseOrder) {
    CStatsDataSet d;
    Fill(d, {"a", "b", "c", "d"}, {"5", "", "2", "5"});
    d.SetCurrentColumn(2);
    d.SortByCurrentColumn(false);
    EXPECT_EQ(CaseNumbers(d), (std::vector<int>{3, 1, 4, 2, 5, 6, 7, 8, 9}));
}

// --- merging ---

TEST(StatsDataSet, MergesThatMustFailLeaveTheDataSetUnchanged) {
    struct Case {
        const char* what;
        std::vector<std::string> theirNames;
        bool mark;
        bool merges;
    };
    const Case cases[] = {
        {"same cases, names differing in blanks and case", {" ANN", "bob "}, true, true},
        {"no column marked", {"Ann", "Bob"}, false, false},
        {"a name differs", {"Ann", "Rob"}, true, false},
        {"a case more", {"Ann", "Bob", "Cy"}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CStatsDataSet mine, theirs;
        Fill(mine, {"Ann", "Bob"}, {"1", "2"});
        Fill(theirs, c.theirNames, {"10", "20", "30"});
        theirs.Cell(0, 2).mark = c.mark ? 1 : 0;
        mine.SetCurrentColumn(0);
        EXPECT_EQ(mine.MergeColumns(&theirs), c.merges);
        EXPECT_EQ(mine.columnCount(), c.merges ? 4 : 3);
        if (c.merges) {
            // Column 0 current places the merged column as New column does: after column 1.
            EXPECT_EQ(mine.GetColumnName(2), "Value");
            EXPECT_EQ(mine.GetCellNumber(2, 2).ToInt(), 20);
            EXPECT_EQ(mine.Cell(0, 2).mark, 0);
        }
    }
}

TEST(StatsDataSet, MergeFindsTheirCasesByCaseNumber) {
    CStatsDataSet mine, theirs;
    Fill(mine, {"Ann", "Bob", "Cy"});
    Fill(theirs, {"Ann", "Bob", "Cy"}, {"1", "2", "3"});
    theirs.SetCurrentColumn(2);
    theirs.SortByCurrentColumn(true);
    theirs.Cell(0, 2).mark = 1;
    mine.SetCurrentColumn(-1);
    ASSERT_TRUE(mine.MergeColumns(&theirs));
    // No current column: the merged column goes at the end.
    EXPECT_EQ(mine.columnCount(), 4);
    EXPECT_EQ(mine.GetCellNumber(1, 3).ToInt(), 1);
    EXPECT_EQ(mine.GetCellNumber(3, 3).ToInt(), 3);
}
