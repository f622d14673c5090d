// The Patterns options sheets: each radio pair exchanged with its document flag, the teacher
// page only in authoring mode, and OK applied to the page as one undo step.
#include "patterns/designs_controller.h"
#include "patterns/numbers_controller.h"
#include "patterns/patterns_options.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

using testing::FakeDocumentHost;

// The flags in file order, so that one table holds all three sheets.
std::vector<int> Flags(const CNumbersOptions& o) {
    return {o.mysteryTool, o.computerChecked, o.wiresShown,
            o.autotrigger, o.decimalOutput,   o.further};
}
std::vector<int> Flags(const CCodesOptions& o) {
    return {o.shiftOnly, o.mysteryTool, o.computerChecked, o.messageBoard, o.linking};
}
std::vector<int> Flags(const CDesignOptions& o) {
    return {o.recordRule,           o.mysteryTool, o.computerChecked, o.machineShown,
            o.rotationPointControl, o.stampColor,  o.extraShapes};
}

// Sheets from the defaults in authoring mode: each row's button clicked on its page gives the
// row's flags after OK.
struct Row {
    OptionsPage page;
    int id;
    std::vector<int> flags;
};
template <class Sheet, class Options> void ExpectRows(std::initializer_list<Row> rows) {
    for (const Row& row : rows) {
        Sheet sheet(Options{}, true);
        EXPECT_TRUE(sheet.Click(row.page, row.id)) << row.id;
        EXPECT_EQ(Flags(sheet.Result()), row.flags) << row.id;
    }
}

TEST(PatternsOptions, EachButtonStoresItsFlag) {
    constexpr auto T = OptionsPage::Teacher;
    constexpr auto U = OptionsPage::User;
    ExpectRows<CNumberPatternsOptions, CNumbersOptions>({{T, 1319, {1, 1, 1, 1, 1, 1}},
                                                         {T, 1318, {0, 0, 1, 1, 1, 1}},
                                                         {U, 1324, {1, 0, 0, 1, 1, 1}},
                                                         {U, 1328, {1, 0, 1, 0, 1, 1}},
                                                         {U, 1332, {1, 0, 1, 1, 0, 1}},
                                                         {U, 1330, {1, 0, 1, 1, 1, 1}}});
    ExpectRows<CCodePatternsOptions, CCodesOptions>({{T, 1316, {0, 1, 0, 1, 1}},
                                                     {T, 1318, {1, 0, 0, 1, 1}},
                                                     {U, 1318, {1, 1, 0, 0, 1}},
                                                     {U, 1320, {1, 1, 0, 1, 0}}});
    // Black is the first Stamp Color button and yet the flag 0: Rainbow stores 1.
    ExpectRows<CDesignPatternsOptions, CDesignOptions>({{T, 1256, {0, 1, 0, 1, 1, 0, 0}},
                                                        {U, 1258, {1, 1, 0, 1, 0, 0, 0}},
                                                        {U, 1260, {1, 1, 0, 1, 1, 1, 0}},
                                                        {U, 1259, {1, 1, 0, 1, 1, 0, 0}},
                                                        {U, 1261, {1, 1, 0, 1, 1, 0, 1}}});
    const CDesignPatternsOptions designs(CDesignOptions{}, true);
    EXPECT_TRUE(designs.IsChecked(U, 1259)) << "Black";
    EXPECT_EQ(designs.caption(), "Design Patterns Options");
}

TEST(PatternsOptions, PupilsChangeOnlyTheirPageAndUntouchedFlagsKeepTheirValue) {
    CNumbersOptions o;
    o.computerChecked = 2; // any non-zero flag is on
    CNumberPatternsOptions sheet(o, false);
    EXPECT_FALSE(sheet.hasTeacherPage());
    EXPECT_FALSE(sheet.Click(OptionsPage::Teacher, 1320));
    EXPECT_TRUE(sheet.Click(OptionsPage::User, 1324));
    EXPECT_EQ(Flags(sheet.Result()), (std::vector<int>{1, 2, 0, 1, 1, 1}));
}

// Runs every sheet by clicking `clicks` and answering OK or Cancel.
class SheetWindow : public IUnitViewWindow {
public:
    std::vector<std::pair<OptionsPage, int>> clicks;
    bool ok = true;
    bool sawTeacherPage = false;

    void EnableView(bool) override {}
    void ShowButton(int, bool) override {}
    CRect ButtonRect(int) const override { return {}; }
    int ControlIdAt(CPoint) const override { return 0; }
    void PressToolButton(int) override {}
    void CloseUnit() override {}
    bool RunOptionsSheet(COptionsSheet& sheet) override {
        sawTeacherPage = sheet.hasTeacherPage();
        for (const auto& [page, id] : clicks)
            sheet.Click(page, id);
        return ok;
    }
};

class AuthoringHost : public FakeDocumentHost {
public:
    bool AuthoringMode() const override { return true; }
};

TEST(PatternsOptions, OkIsOneUndoStepOnThePageAndCancelChangesNothing) {
    AuthoringHost host;
    CNumberPatternsDocument doc;
    doc.SetHost(&host);
    SheetWindow window;
    CNumbersViewController c(doc, window, std::make_unique<testing::FakeTimerHost>(),
                             std::make_unique<testing::FakeTextMetrics>());
    c.SelectTool(ToolCommand(kToolMystery));
    ASSERT_EQ(c.currentTool(), kToolMystery);
    ASSERT_TRUE(c.IsCommandEnabled(kCmdNumberOptions));
    // Mystery tool Off and wires hidden.
    window.clicks = {{OptionsPage::Teacher, 1318}, {OptionsPage::User, 1324}};
    window.ok = false;
    c.OnCommand(kCmdNumberOptions);
    EXPECT_EQ(doc.options(), CNumbersOptions{});
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());

    window.ok = true;
    c.OnCommand(kCmdNumberOptions);
    EXPECT_TRUE(window.sawTeacherPage);
    EXPECT_EQ(Flags(doc.options()), (std::vector<int>{0, 0, 0, 1, 1, 1}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(c.currentTool(), kToolArrow) << "the Mystery tool went with its option";
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.options(), CNumbersOptions{});
    EXPECT_FALSE(doc.CanUndo()) << "one step";
}

TEST(PatternsOptions, WithoutTheTeachersRecordRuleTheMachineRecordsNone) {
    AuthoringHost host;
    CDesignPatternsDocument doc;
    doc.SetHost(&host);
    SheetWindow window;
    CDesignsViewController c(doc, window, std::make_unique<testing::FakeTimerHost>());
    CDesignFunctionMachine& m = doc.machine();
    const CRect box = m.PartRect(DesignPart::RecordRule);
    const CPoint at{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    c.MouseDown(at);
    ASSERT_TRUE(doc.machine().recordRule());
    window.clicks = {{OptionsPage::Teacher, 1256}};
    c.OnCommand(kCmdDesignOptions);
    EXPECT_FALSE(doc.machine().recordRule());
    EXPECT_NE(doc.machine().PartAt(at), DesignPart::RecordRule);
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.machine().recordRuleOffered());
}

} // namespace
} // namespace quorvel
