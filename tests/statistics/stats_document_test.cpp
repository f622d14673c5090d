// The statistics document's file: a new document's bytes assembled from the archive's
// primitives, byte and field-tree round trips, fitting to another screen, and CSV.
#include "statistics/stats_board.h"
#include "statistics/stats_document.h"
#include "workspace/annotator.h"
#include "workspace/archive.h"

#include <gtest/gtest.h>

using namespace quorvel;
using Bytes = std::vector<std::uint8_t>;

namespace {

void WriteNumber(CArchive& ar, int kind, int value) {
    ar.WriteInt32(kind);
    ar.WriteInt32(value);
}

void WriteCell(CArchive& ar, const std::string& text) {
    ar.WriteInt32(text.empty() ? 1 : 0); // empty
    ar.WriteInt32(0);                    // mark
    ar.WriteInt32(0);                    // format: categories
    ar.WriteUInt32(0xFFFFFF);            // white
    WriteNumber(ar, 0, 0);
    ar.WriteString(text);
}

// A document with two columns of data, tags, states, clusters of both kinds, an annotator, a
// problem record and a view state other than the defaults.
void FillDocument(CStatsUnitDocument& doc) {
    CStatsDataSet& d = doc.dataSet();
    doc.InsertNamedColumn(2, "Height", StatsColumnFormat::Fractions);
    d.SetCurrentColumn(1);
    const char* names[] = {"Ann", "Bob", "Cy", "Di"};
    const char* heights[] = {"1 1/2", "2", "", "0.75"};
    for (int i = 0; i < 4; ++i) {
        d.EnterCell(i + 1, 1, names[i], true);
        d.EnterCell(i + 1, 2, heights[i], true);
    }
    d.SetCellColour(2, 1, 0x83B3FF, true);
    d.Case(3).state = CaseState::Ignored;
    d.Case(4).state = CaseState::Excluded;
    d.SetSelectedRow(2);
    d.SetScale(2, CNumber(5, 2));
    CStatsViewState& v = doc.viewState();
    v.viewMode = static_cast<int>(StatsViewMode::Board);
    v.problemSetTile = 3;
    v.clusters.push_back({0, 0, {1, 2}, 0, "", {}});
    v.clusters.push_back({1, 4, {3, 4}, 1, "tall ones", {300, 200, 380, 220}});
    v.graphLabels[0] = {"", "names", "heights"};
    v.graphLabels[2] = {"", "pets"};
    v.showMedian = 1;
    doc.summary().window().visible = 1;
    doc.summary().window().rect = {500, 100, 700, 300};
    doc.SetDecimalPlaces(2);
    auto note = std::make_unique<CAnnotatorManipulative>(CPoint{250, 300});
    note->SetText("our class");
    note->SetVisible(true);
    doc.AddManipulative(std::move(note));
    CQuestion& q = doc.questions()[0];
    q.prompt = "The mean height is 1.5";
    q.partsMask = 1;
    q.moreAnswers[1] = 1.5;
    doc.SetQuestionCount(1);
}

} // namespace

TEST(StatsDocumentFile, NewDocumentIsItsLayoutByteForByte) {
    CStatsUnitDocument doc;
    const CStatsDataSet& d = doc.dataSet();
    CArchive ar;
    ar.WriteUInt32(19992004);
    for (int v : {6, 2, 1, -1, 1})
        ar.WriteInt32(v);
    WriteNumber(ar, 0, 0);
    WriteNumber(ar, 0, 0);
    for (int r = 0; r < 6; ++r) {
        for (int v : {0, 0, 0, 0, 0, r, 0})
            ar.WriteInt32(v);
        const CStatsCase& c = d.Case(r);
        for (double v : {c.numberTilePosition.x, c.numberTilePosition.y, c.categoryTilePosition.x,
                         c.categoryTilePosition.y})
            ar.WriteDouble(v);
        WriteCell(ar, "");
        WriteCell(ar, r == 0 ? "Column 1" : "");
    }
    for (int v : {1, 0, 1}) // graph viewers, computer checked, mini-table
        ar.WriteInt32(v);
    for (int q = 0; q < 4; ++q) {
        ar.WriteString("1 - 1 = ?");
        for (int s = 0; s < 5; ++s)
            ar.WriteString("");
        ar.WriteInt32(0);
        ar.WriteInt32(0);
        for (int a = 0; a < 8; ++a)
            ar.WriteDouble(0.0);
    }
    const CProblemPosition& p = doc.problemPosition();
    for (int v : {0, p.triesLeft, p.correct, p.index, doc.level()})
        ar.WriteInt32(v);
    ar.WriteInt32(0); // annotators
    for (int v : {0, 1, 0, 0, -1, 0x7FFFFF})
        ar.WriteInt32(v);
    WriteNumber(ar, 0, 10);
    for (int v : {0, 1})
        ar.WriteInt32(v);
    ar.WriteRect({0, 0, 0, 0});
    for (int v : {800, 600, -1, 25, 58, 0})
        ar.WriteInt32(v);
    ar.WriteRect({160, 55, 705, 485});
    for (int v : {0, 0, 0, 0, 0, 0})
        ar.WriteInt32(v);
    ar.WriteString("");
    EXPECT_EQ(doc.SaveToBytes(), ar.bytes());
}

TEST(StatsDocumentFile, BytesAndFieldTreeRoundTrip) {
    CStatsUnitDocument doc;
    FillDocument(doc);
    const Bytes bytes = doc.SaveToBytes();

    CStatsUnitDocument again;
    std::string error;
    ASSERT_EQ(again.LoadFromBytes(bytes, &error), OpenResult::Opened) << error;
    EXPECT_EQ(again.SaveToBytes(), bytes);
    EXPECT_EQ(again.viewState().clusters, doc.viewState().clusters);
    EXPECT_EQ(again.summary().decimals(), 2);
    EXPECT_EQ(again.manipulatives().size(), 1u);
    EXPECT_EQ(again.dataSet().GetCellColour(2, 1), 0x83B3FFu);
    EXPECT_EQ(again.dataSet().GetCellNumber(1, 2).Format(), "1 1/2");

    CStatsUnitDocument built;
    ASSERT_TRUE(built.LoadFromTree(again.DumpToTree(), &error)) << error;
    EXPECT_EQ(built.SaveToBytes(), bytes);
}

TEST(StatsDocumentFile, DamagedRecordsFailTheOpen) {
    CStatsUnitDocument doc;
    FillDocument(doc);
    CValue tree = doc.DumpToTree();
    std::string error;
    // A cluster naming a row the data set does not have.
    CValue broken = tree;
    broken.Find("view state")->Find("clusters")->items()[0].Find("tiles")->items()[0] =
        CValue::Int(99);
    CStatsUnitDocument a;
    EXPECT_FALSE(a.LoadFromTree(broken, &error));
    EXPECT_NE(error.find("tiles"), std::string::npos) << error;
    EXPECT_EQ(a.dataSet().rowCount(), 6) << "a failed open leaves a new data set";
}

TEST(StatsDocumentFile, AFileFromAnotherScreenIsFitted) {
    CStatsUnitDocument doc;
    FillDocument(doc);
    const int baseline = StatsBoardGeometry(kStatsDefaultClient).baseline();
    doc.dataSet().Case(1).numberTilePosition = {300, static_cast<double>(baseline)};
    const Bytes bytes = doc.SaveToBytes();
    CStatsUnitDocument wide;
    wide.SetPresentGeometry({1600, 1200}, {0, 0, 1345, 560});
    ASSERT_EQ(wide.LoadFromBytes(bytes), OpenResult::Opened);
    EXPECT_EQ(wide.summary().window().rect, (CRect{1000, 200, 1400, 600}));
    // The tile area (the board within its 40-pixel margins) grows from 465 to 1010 pixels wide
    // and starts at the same place.
    const auto x = [](double v) { return (v - 200) * 1010 / 465 + 200; };
    EXPECT_DOUBLE_EQ(wide.dataSet().Case(1).numberTilePosition.x, x(300));
    EXPECT_EQ(wide.viewState().clusters[1].labelRect, (CRect{417, 200, 591, 220}));
    EXPECT_NEAR(wide.manipulatives()[0]->centre().x, x(250), 1); // whole pixels
    // Above a problem's prompt the board is half as high: a tile on the baseline stays on it.
    const CRect low{0, 0, 800, 350};
    CStatsUnitDocument problem;
    problem.SetPresentGeometry({800, 600}, low);
    ASSERT_EQ(problem.LoadFromBytes(bytes), OpenResult::Opened);
    EXPECT_DOUBLE_EQ(problem.dataSet().Case(1).numberTilePosition.y,
                     StatsBoardGeometry(low).baseline());
}

TEST(StatsDocumentFile, ComputerCheckedFilesAreNotEditableAndSaveAsRead) {
    CStatsUnitDocument doc;
    FillDocument(doc);
    doc.SetComputerChecked(true);
    const Bytes bytes = doc.SaveToBytes();
    CStatsUnitDocument pupil;
    ASSERT_EQ(pupil.LoadFromBytes(bytes), OpenResult::Opened);
    EXPECT_TRUE(pupil.problemSetMode());
    EXPECT_FALSE(pupil.dataSet().editable());
    EXPECT_FALSE(pupil.SetSummaryVisible(false));
    EXPECT_EQ(pupil.SaveToBytes(), bytes);
}

// --- CSV ---

TEST(StatsCsv, ColumnsTakeTheNarrowestFormatThatReadsThem) {
    struct Case {
        std::vector<std::string_view> cells;
        StatsColumnFormat format;
    };
    const Case cases[] = {
        {{"1", "", "-2"}, StatsColumnFormat::WholeNumbers},
        {{"1.5", "2", "5."}, StatsColumnFormat::OneDecimal},
        {{"1.25", "2.5"}, StatsColumnFormat::TwoDecimals},
        {{"1/2", "3", "0.25"}, StatsColumnFormat::Fractions},
        {{"1 1/2", "1"}, StatsColumnFormat::Fractions},
        {{"1", "one"}, StatsColumnFormat::Categories},
        {{"2147483648"}, StatsColumnFormat::Categories},
        {{"", " "}, StatsColumnFormat::Categories},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NarrowestFormat(c.cells), c.format) << c.cells[0];
}

TEST(StatsCsv, RoundTrips) {
    struct Case {
        const char* in;
        const char* out; // what exporting the imported table gives
    };
    const Case cases[] = {
        {"Name,Age\nAnn,9\nBob,10\n", "Name,Age\r\nAnn,9\r\nBob,10\r\n"},
        {"\xEF\xBB\xBFName,Height\r\n\"Smith, Jo\",1.5\r\n\"say \"\"hi\"\"\",2\r\n",
         "Name,Height\r\n\"Smith, Jo\",1.5\r\n\"say \"\"hi\"\"\",2.0\r\n"},
        {"Pet,Share\ncat,1/2\ndog,\n\nemu,1 1/4", "Pet,Share\r\ncat,1/2\r\ndog,\r\nemu,1 1/4\r\n"},
        {"a,\"two\nlines\"\n x ,3.14159\n", "a,\"two\nlines\"\r\nx,3.14\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        CStatsUnitDocument doc;
        ASSERT_EQ(doc.ImportCsv(c.in), std::nullopt);
        EXPECT_EQ(doc.dataSet().dataCaseEnd(), doc.dataSet().rowCount() - kStatsBlankCases);
        const std::string exported = doc.ExportCsv();
        EXPECT_EQ(exported, c.out);
        CStatsUnitDocument again;
        ASSERT_EQ(again.ImportCsv(exported), std::nullopt);
        EXPECT_EQ(again.ExportCsv(), exported);
    }
    CStatsUnitDocument doc;
    EXPECT_EQ(doc.ImportCsv("\n\r\n"), std::optional<std::string>(kCsvHoldsNoData));
    EXPECT_EQ(doc.dataSet().GetColumnName(1), "Column 1");
}
