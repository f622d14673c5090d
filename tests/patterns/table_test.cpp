// Machine tables: which columns a wire makes and where, recording and sorting rows exactly as
// the insertion sort orders them, the clipboard's text, cards made from a column, erased
// machines, and the table's archive form.
#include "patterns/machine_table.h"
#include "patterns/number_machine.h"
#include "patterns/patterns_documents.h"

#include "fakes/fakes.h"
#include "workspace/archive.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace quorvel {
namespace {

// Machines by name, "A" feeding "B" (the head) through a link, and "X" on its own.
class TableTest : public ::testing::Test {
protected:
    TableTest() {
        for (const char* name : {"A", "B", "C", "D", "E", "X"}) {
            auto m = std::make_unique<CNumberMachine>(CPoint{0, 0});
            m->SetMachineLabel(name);
            machines[name] = static_cast<CNumberMachine*>(doc.AddManipulative(std::move(m)));
        }
        Link("A", "B");
        table = static_cast<CTableManipulative*>(
            doc.AddManipulative(std::make_unique<CTableManipulative>(CPoint{400, 0})));
    }
    void Link(const char* from, const char* to) {
        auto link = std::make_unique<CMachineLink>(*machines[from], *machines[to]);
        machines[to]->SetInput1(link.get());
        link->SetInput1(machines[from]);
        doc.AddManipulative(std::move(link));
    }
    // "B:Output|A:Input 1,Output".
    std::string Columns() const {
        std::string out;
        for (const CColumnGroup& g : table->groups()) {
            out +=
                (out.empty() ? "" : "|") + static_cast<CNumberMachine*>(g.machine)->label() + ":";
            for (int c = g.firstColumn; c < g.firstColumn + g.Width(); ++c)
                out += (c == g.firstColumn ? "" : ",") + table->grid().Cell(0, c).text;
        }
        return out;
    }
    // The texts of a column's data rows.
    std::vector<std::string> Column(int c) const {
        std::vector<std::string> out;
        for (int r = 1; r < table->grid().rows(); ++r)
            out.push_back(table->grid().Cell(r, c).text);
        return out;
    }

    CNumberPatternsDocument doc;
    std::map<std::string, CNumberMachine*> machines;
    CTableManipulative* table = nullptr;
};

TEST_F(TableTest, WiresMakeColumnsInTheirPlaces) {
    struct Case {
        std::vector<std::pair<const char*, int>> wires;
        std::vector<int> results;
        const char* columns;
    };
    const int out = kColumnOutput, in1 = kColumnInput1, in2 = kColumnInput2;
    const Case cases[] = {
        {{{"A", out}, {"A", in1}}, {1, 1}, "A:Input 1,Output"},
        {{{"A", in1}, {"A", out}}, {1, 1}, "A:Input 1,Output"},
        {{{"A", out}, {"A", in2}, {"A", in1}}, {1, 1, 1}, "A:Input 1,Input 2,Output"},
        {{{"A", in1}, {"B", out}, {"A", out}}, {1, 1, 1}, "B:Output|A:Input 1,Output"},
        {{{"A", out}, {"X", out}, {"A", out}}, {1, 0, 0}, "A:Output"},
    };
    for (const Case& c : cases) {
        table->RemoveMachine(machines["A"]);
        table->RemoveMachine(machines["B"]);
        std::vector<int> results;
        for (const auto& [name, kind] : c.wires)
            results.push_back(table->AttachColumn(machines[name], kind));
        EXPECT_EQ(results, c.results) << c.columns;
        EXPECT_EQ(Columns(), c.columns);
    }
    EXPECT_EQ(machines["A"]->table(), table);
    EXPECT_EQ(machines["X"]->table(), nullptr);
}

TEST_F(TableTest, AThirteenthColumnIsRefused) {
    Link("B", "C");
    Link("C", "D");
    Link("D", "E");
    std::vector<int> results;
    for (const char* name : {"A", "B", "C", "D", "E"})
        for (int kind : {kColumnInput1, kColumnInput2, kColumnOutput})
            results.push_back(table->AttachColumn(machines[name], kind));
    EXPECT_EQ(std::count(results.begin(), results.end(), kAccepted), 12);
    EXPECT_EQ(results.back(), kMsgNoMoreColumns);
    EXPECT_EQ(table->grid().dataColumns(), 12);
}

TEST_F(TableTest, RunsSortWithTheEmptyRowLastAndClearToTheHeader) {
    table->AttachColumn(machines["A"], kColumnOutput);
    EXPECT_FALSE(table->ClearTable()) << "a header-only table has nothing to clear";
    for (int v : {3, 1, 2}) {
        table->PrepareRun();
        EXPECT_EQ(table->AddEntry(machines["A"], kColumnOutput, CNumber(v)), 1);
        EXPECT_EQ(table->AddEntry(machines["A"], kColumnInput1, CNumber(v)), -1);
    }
    table->PrepareRun(); // a run that failed before its output
    EXPECT_FALSE(table->Sort(false)) << "no column chosen";
    table->grid().SetSelectedColumn(1);
    ASSERT_TRUE(table->Sort(false));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"1", "2", "3", ""}));
    ASSERT_TRUE(table->Sort(true));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"3", "2", "1", ""}));
    EXPECT_EQ(table->grid().Cell(4, 0).text, "4") << "row numbers stay in order";

    // Cards for the filled cells only, one under another, below the table.
    const std::vector<CTableCard> cards = table->CardsToMake({70, 30});
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0].value, CNumber(3));
    EXPECT_GT(cards[0].topLeft.y, table->WindowRect().bottom - 1);
    EXPECT_EQ(cards[2].topLeft.y - cards[0].topLeft.y, 60);

    EXPECT_TRUE(table->ClearTable());
    EXPECT_EQ(table->grid().rows(), 1);
}

TEST_F(TableTest, SortOrdersAsTheInsertionSortDoes) {
    table->AttachColumn(machines["A"], kColumnInput1);
    table->AttachColumn(machines["A"], kColumnOutput);
    table->grid().SetSelectedColumn(2);
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        table->ClearTable();
        const int n = static_cast<int>(random() % 60);
        std::vector<std::pair<double, int>> rows; // key source and identity
        for (int i = 0; i < n; ++i) {
            table->PrepareRun();
            table->AddEntry(machines["A"], kColumnInput1, CNumber(i));
            const int v = static_cast<int>(random() % 9) - 4;
            if (random() % 5 != 0) {
                table->AddEntry(machines["A"], kColumnOutput, CNumber(v / 2.0));
                rows.push_back({v / 2.0, i});
            } else {
                rows.push_back({kEmptyCellValue, i});
            }
        }
        const bool largestFirst = round % 2 == 0;
        // Each row moves up past every row whose key is smaller than or equal to its own.
        const auto key = [largestFirst](double v) {
            return v == kEmptyCellValue ? -kEmptyCellValue : largestFirst ? v : -v;
        };
        for (std::size_t i = 1; i < rows.size(); ++i)
            for (std::size_t j = i; j > 0 && key(rows[j - 1].first) <= key(rows[j].first); --j)
                std::swap(rows[j - 1], rows[j]);
        ASSERT_TRUE(table->Sort(largestFirst));
        std::vector<std::string> expected;
        for (const auto& row : rows)
            expected.push_back(std::to_string(row.second));
        EXPECT_EQ(Column(1), expected) << "round " << round;
    }
}

TEST_F(TableTest, CopiesTheSelectedDataCellsAsRowsOfText) {
    table->AttachColumn(machines["A"], kColumnInput1);
    table->AttachColumn(machines["A"], kColumnInput2);
    table->AttachColumn(machines["A"], kColumnOutput);
    for (int v : {1, 2, 3}) {
        table->PrepareRun();
        table->AddEntry(machines["A"], kColumnInput1, CNumber(v, 2 * v + 1));
        table->AddEntry(machines["A"], kColumnOutput, CNumber(v * 1.5));
    }
    // From the header row and column 0 down to the second row and the second data column.
    table->grid().Select({2, 0, 0, 2});
    EXPECT_EQ(table->CopyText(), "1/3\t\r\n2/5\t\r\n");
    table->grid().Select({3, 3, 3, 1});
    EXPECT_EQ(table->CopyText(), "3/7\t\t4.5\r\n");
}

TEST_F(TableTest, ErasedMachinesLeaveTheirTableEmpty) {
    table->AttachColumn(machines["A"], kColumnInput1);
    table->AttachColumn(machines["B"], kColumnOutput);
    table->PrepareRun();
    doc.DeleteManipulative(machines["B"]);
    EXPECT_EQ(Columns(), "A:Input 1");
    EXPECT_EQ(table->groups()[0].firstColumn, 1);
    doc.DeleteManipulative(machines["A"]);
    EXPECT_TRUE(table->groups().empty());
    EXPECT_EQ(table->grid().columns(), 1);
    EXPECT_EQ(table->grid().rows(), 1);
    EXPECT_EQ(doc.manipulatives().back().get(), table);
}

TEST_F(TableTest, GroupsAreStoredOutputInput1Input2) {
    table->AttachColumn(machines["A"], kColumnOutput);
    table->AttachColumn(machines["A"], kColumnInput1); // in memory: input1 0, output 1
    CArchive ar;
    table->SerializeLinked(ar, CPatternIndex{&doc.manipulatives()});
    const auto& bytes = ar.bytes();
    ASSERT_GE(bytes.size(), 40u);
    // The groups end 16 bytes before the window rectangle: count, machine, first column,
    // Output, Input 1, Input 2.
    std::vector<std::int32_t> tail;
    for (std::size_t at = bytes.size() - 16 - 24; at < bytes.size() - 16; at += 4)
        tail.push_back(static_cast<std::int32_t>(bytes[at] | bytes[at + 1] << 8 |
                                                 bytes[at + 2] << 16 | bytes[at + 3] << 24));
    EXPECT_EQ(tail, (std::vector<std::int32_t>{1, 0, 1, 1, 0, -1}));
}

// A table drawn in the page's font keeps its centre when the page reads the document back
// (measuring it) or Undo brings it back, so that the document reopens with the same bytes.
TEST_F(TableTest, ReopenedTableKeepsItsMeasuredCentre) {
    testing::FakeTextMetrics metrics; // a font other than the sizes a table starts with
    metrics.charWidth = 6;
    metrics.lineHeight = 17;
    table->AttachColumn(machines["X"], kColumnOutput);
    table->grid().Measure(metrics); // as drawing it does
    CNumberPatternsDocument reopened;
    ASSERT_EQ(reopened.LoadFromBytes(doc.SaveToBytes()), OpenResult::Opened);
    CTableManipulative* read = nullptr;
    for (const auto& m : reopened.manipulatives())
        if (auto* t = dynamic_cast<CTableManipulative*>(m.get()))
            read = t;
    ASSERT_NE(read, nullptr);
    read->Measure(metrics);
    EXPECT_EQ(read->centre(), table->centre());
}

} // namespace
} // namespace quorvel
