// The workspace page's logic: tools and the Help and Mystery clicks, Help texts, the broom,
// leaving the unit, the Continue button and the Exit command, the prompt's place, printing.
#include "geometry/geometry_document.h"
#include "workspace/manipulative.h"
#include "workspace/string_table.h"
#include "workspace/unit_view_controller.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <unistd.h>

using namespace quorvel;
using namespace quorvel::testing;
namespace fs = std::filesystem;

namespace {

// Records what the controller asks of its page.
class FakeWindow : public IUnitViewWindow {
public:
    bool viewEnabled = true;
    std::set<int> shown{kExitCommand, kBroomCommand};
    int latched = ToolCommand(kToolArrow);
    std::vector<int> tools;
    int closed = 0;
    int commandStateChanges = 0;
    std::map<std::pair<int, int>, int> controls; // point -> control id
    bool prompt = false;
    bool promptStarted = false;
    int promptsDestroyed = 0;
    std::string counter;
    int printed = 0;

    void EnableView(bool enabled) override { viewEnabled = enabled; }
    void ShowButton(int id, bool show) override {
        if (show)
            shown.insert(id);
        else
            shown.erase(id);
    }
    CRect ButtonRect(int id) const override {
        return id == kCheckCommand ? CRect{600, 500, 720, 541} : CRect{};
    }
    int ControlIdAt(CPoint p) const override {
        const auto it = controls.find({p.x, p.y});
        return it == controls.end() ? 0 : it->second;
    }
    void PressToolButton(int command) override { latched = command; }
    void ToolChanged(int code) override { tools.push_back(code); }
    void CloseUnit() override { ++closed; }
    void CommandStateChanged() override { ++commandStateChanges; }
    void Print() override { ++printed; }
    bool HasPrompt() const override { return prompt; }
    bool PromptStarted() const override { return promptStarted; }
    void DestroyPrompt() override {
        ++promptsDestroyed;
        prompt = false;
    }
    void SetPromptCounter(const std::string& text) override { counter = text; }
};

// A unit's controller that records the base's calls to what units override.
class RecordingController : public CUnitViewController {
public:
    using CUnitViewController::CUnitViewController;
    int resets = 0;
    int afterProblemSets = 0;
    std::vector<bool> askedEnd;
    int endAnswer = 0;
    std::vector<bool> problemControls;
    std::optional<CRect> side;

    void ResetView() override { ++resets; }
    void AfterProblemSet() override { ++afterProblemSets; }
    int AskEndProblemSet(bool more) override {
        askedEnd.push_back(more);
        return endAnswer;
    }
    void ShowProblemControls(bool shown) override { problemControls.push_back(shown); }
    std::optional<CRect> GetSideArea() const override { return side; }
};

std::unique_ptr<CLineManipulative> Square(int x, int y, int size) {
    return std::make_unique<CLineManipulative>(
        std::vector<CLine>{CLine(CPoint{x, y}, CPoint{x + size, y}),
                           CLine(CPoint{x + size, y}, CPoint{x + size, y + size}),
                           CLine(CPoint{x + size, y + size}, CPoint{x, y + size}),
                           CLine(CPoint{x, y + size}, CPoint{x, y})});
}

struct Page : ::testing::Test {
    FakeDocumentHost host;
    CGeometryUnitDocument doc;
    FakeWindow window;
    RecordingController view{doc, window};

    Page() { doc.SetHost(&host); }
    const std::vector<RecordedMessage>& messages() const { return host.prompter.messages; }
};

} // namespace

TEST_F(Page, IsTheDocumentsViewWhileItLives) {
    EXPECT_EQ(doc.GetWorkspaceView(), &view);
    EXPECT_EQ(&view.GetDocument(), &doc);
    {
        CGeometryUnitDocument other;
        { CUnitViewController shortLived(other, window); }
        EXPECT_EQ(other.GetWorkspaceView(), nullptr);
    }
}

// --- tools ---------------------------------------------------------------------------------

TEST_F(Page, SelectingAToolStoresItsCodeAndLatchesItsButton) {
    for (int code = 0; code < kToolCount; ++code) {
        EXPECT_TRUE(view.OnCommand(ToolCommand(code)));
        EXPECT_EQ(doc.currentTool(), code);
        EXPECT_EQ(view.currentTool(), code);
        EXPECT_EQ(window.latched, ToolCommand(code));
    }
    EXPECT_EQ(window.tools.size(), static_cast<std::size_t>(kToolCount));
}

TEST_F(Page, HelpAndMysteryDisableTheViewAndOtherToolsEnableItAgain) {
    view.SelectTool(ToolCommand(kToolEraser));
    EXPECT_TRUE(window.viewEnabled);
    view.SelectTool(ToolCommand(kToolHelp));
    EXPECT_FALSE(window.viewEnabled);
    view.SelectTool(ToolCommand(kToolMystery));
    EXPECT_FALSE(window.viewEnabled) << "from one modal tool to the other";
    view.SelectTool(ToolCommand(kToolSelector));
    EXPECT_TRUE(window.viewEnabled);
}

TEST_F(Page, OneHelpClickShowsTheTextThenReturnsToTheArrowAndEnablesTheView) {
    window.controls[{20, 120}] = ToolCommand(kToolEraser); // a palette button
    view.SelectTool(ToolCommand(kToolHelp));
    ASSERT_FALSE(window.viewEnabled);

    view.HelpAt({20, 120});
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Use the Eraser to click objects to erase.");
    EXPECT_EQ(messages()[0].icon, MessageIcon::Question);
    EXPECT_EQ(doc.currentTool(), kToolArrow);
    EXPECT_EQ(window.latched, ToolCommand(kToolArrow));
    EXPECT_TRUE(window.viewEnabled);
}

TEST_F(Page, HelpOverAControlWithoutAStringOrOverTheViewItself) {
    window.controls[{300, 300}] = 1299;
    window.controls[{5, 5}] = kToolPaletteId; // the palette's border between buttons
    view.SelectTool(ToolCommand(kToolHelp));
    view.HelpAt({300, 300});
    EXPECT_EQ(host.prompter.LastText(), "Resource Help String: 1299  not found");
    view.SelectTool(ToolCommand(kToolHelp));
    view.HelpAt({400, 400});
    EXPECT_EQ(host.prompter.LastText(), "No help is available here.");
    view.SelectTool(ToolCommand(kToolHelp));
    view.HelpAt({5, 5});
    EXPECT_EQ(host.prompter.LastText(), "The Tool Palette.");
    EXPECT_EQ(doc.currentTool(), kToolArrow);
}

TEST_F(Page, AMysteryClickReturnsToTheArrow) {
    view.SelectTool(ToolCommand(kToolMystery));
    view.MysteryAt({1000, 700});
    EXPECT_EQ(doc.currentTool(), kToolArrow);
    EXPECT_TRUE(window.viewEnabled);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Page, AClickOverTheDisabledViewGoesToTheToolThatDisabledIt) {
    window.controls[{20, 120}] = ToolCommand(kToolEraser);
    view.SelectTool(ToolCommand(kToolMystery));
    view.ClickOverDisabledView({20, 120}, {1000, 700});
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(doc.currentTool(), kToolArrow);

    view.SelectTool(ToolCommand(kToolHelp));
    view.ClickOverDisabledView({20, 120}, {1000, 700});
    EXPECT_EQ(host.prompter.LastText(), "Use the Eraser to click objects to erase.");
    EXPECT_EQ(doc.currentTool(), kToolArrow);
}

TEST_F(Page, CommandsOutsideTheToolRangeChooseNoTool) {
    view.SelectTool(ToolCommand(kToolEraser));
    view.SelectTool(1300);
    EXPECT_EQ(doc.currentTool(), kToolEraser);
    for (int inert = 32771; inert <= 32774; ++inert)
        EXPECT_TRUE(view.OnCommand(inert));
    EXPECT_FALSE(view.OnCommand(32775));
    EXPECT_FALSE(view.OnCommand(1300));
    EXPECT_EQ(doc.currentTool(), kToolEraser);
}

// --- the broom -----------------------------------------------------------------------------

TEST_F(Page, TheBroomOnAnUntouchedEmptyWorkspaceAsksNothing) {
    view.OnCommand(kBroomCommand);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(view.resets, 0);
}

TEST_F(Page, TheBroomAsksAndClearsOnYesOnly) {
    doc.AddManipulative(Square(0, 0, 10));
    host.prompter.answers = {MessageResult::No};
    view.StartOver();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Are you sure you want to clear your workspace?");
    EXPECT_EQ(messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_TRUE(doc.IsModified());

    host.prompter.answers = {MessageResult::Yes};
    view.StartOver();
    EXPECT_TRUE(doc.manipulatives().empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.resets, 1);
    // The pupil can take the broom back.
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.manipulatives().size(), 1u);
}

TEST_F(Page, AnUnclearableActivityIsSweptOnlyOnceThePupilChangedIt) {
    doc.AddManipulative(Square(0, 0, 10));
    doc.SetModifiedFlag(false);
    doc.SetClearable(false);
    view.StartOver();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(doc.manipulatives().size(), 1u);

    doc.SetModifiedFlag(true);
    view.StartOver();
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_TRUE(doc.manipulatives().empty());
}

TEST_F(Page, TheBroomOnAWorkspaceFromAnActivityFileReloadsThatFile) {
    // Given an activity file with one square, opened into the workspace,
    const fs::path file =
        fs::temp_directory_path() / ("quorvel-broom-" + std::to_string(::getpid()) + ".qvg");
    {
        CGeometryUnitDocument activity;
        activity.AddManipulative(Square(10, 10, 20));
        ASSERT_TRUE(activity.OnSaveDocument(file.string()));
    }
    ASSERT_TRUE(doc.OpenActivityFile(file.string()));
    // and the pupil's work on top of it,
    doc.AddManipulative(Square(100, 100, 5));
    ASSERT_EQ(doc.manipulatives().size(), 2u);

    // when the broom is used and the pupil says Yes,
    host.prompter.answers = {MessageResult::Yes};
    view.StartOver();

    // then the activity is back as it was, not an empty workspace.
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    CRect bounds;
    doc.manipulatives()[0]->GetBounds(bounds);
    EXPECT_EQ(bounds.left, 10);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.resets, 1);
    fs::remove(file);
}

// --- leaving -------------------------------------------------------------------------------

TEST_F(Page, LeavingAnUntouchedWorkspaceClosesWithoutAQuestion) {
    EXPECT_TRUE(view.OnCommand(kExitCommand));
    EXPECT_EQ(window.closed, 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Page, LeavingAModifiedWorkspaceAsksToSaveAndCancelStays) {
    doc.AddManipulative(Square(0, 0, 10));
    host.prompter.answers = {MessageResult::Cancel};
    EXPECT_FALSE(view.LeaveUnit());
    EXPECT_EQ(host.prompter.LastText(), kAskToSave);
    EXPECT_EQ(window.closed, 0);
    EXPECT_TRUE(doc.IsModified());

    // No drops the changes; the application closing the document must not ask again.
    host.prompter.answers = {MessageResult::No};
    EXPECT_TRUE(view.OnCommand(kMenuExitCommand));
    EXPECT_EQ(window.closed, 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(messages().size(), 2u);
}

TEST_F(Page, LeavingDuringAProblemSetAsksAboutTheSetAndItsWork) {
    window.prompt = true;
    window.promptStarted = true;
    host.prompter.answers = {MessageResult::No};
    view.LeaveUnit();
    ASSERT_EQ(messages().size(), 1u) << "a started problem counts as a change";
    EXPECT_EQ(view.askedEnd, (std::vector<bool>{false})) << "no further problems on the way out";
    EXPECT_EQ(view.afterProblemSets, 0);
    EXPECT_EQ(window.closed, 1);
}

TEST_F(Page, LeavingCannotStartFurtherProblems) {
    window.prompt = true;
    doc.SetProblemSequence(CProblemPosition{0, 3, 0}, 5);
    view.endAnswer = 2;
    view.LeaveUnit();
    EXPECT_TRUE(messages().empty()) << "an unstarted problem is no change";
    EXPECT_EQ(view.askedEnd, (std::vector<bool>{false}));
    EXPECT_EQ(view.afterProblemSets, 0);
    EXPECT_EQ(window.closed, 1);
}

// --- Continue, Exit and the end of a problem set ----------------------------------------------

TEST_F(Page, ExitIsGreyedWhileContinueShows) {
    EXPECT_TRUE(view.IsCommandEnabled(kMenuExitCommand));
    view.ShowContinue();
    EXPECT_FALSE(view.IsCommandEnabled(kMenuExitCommand));
    EXPECT_EQ(window.shown, (std::set<int>{kContinueCommand}));
    EXPECT_GT(window.commandStateChanges, 0);
    view.OnCommand(kMenuExitCommand);
    EXPECT_EQ(window.closed, 0) << "a greyed command does nothing";

    view.HideContinue();
    EXPECT_TRUE(view.IsCommandEnabled(kMenuExitCommand));
    EXPECT_EQ(window.shown, (std::set<int>{kExitCommand, kBroomCommand, kCheckCommand}));
}

TEST_F(Page, HidingContinueHidesViewSolutionToo) {
    window.shown.insert(kViewSolutionCommand);
    view.ShowContinue();
    EXPECT_TRUE(window.shown.count(kViewSolutionCommand));
    view.HideContinue();
    EXPECT_FALSE(window.shown.count(kViewSolutionCommand));
}

TEST_F(Page, EndingAProblemSetRestoresExitAndBroomAndDropsThePrompt) {
    window.prompt = true;
    view.ShowContinue();
    window.shown.insert(kViewSolutionCommand);
    view.EndProblemSet();
    EXPECT_EQ(window.shown, (std::set<int>{kExitCommand, kBroomCommand}));
    EXPECT_TRUE(view.IsCommandEnabled(kMenuExitCommand));
    EXPECT_EQ(view.problemControls, (std::vector<bool>{true}));
    EXPECT_EQ(window.promptsDestroyed, 1);
}

TEST_F(Page, ProblemButtonsReachTheirOperations) {
    struct Counting : CUnitViewController {
        using CUnitViewController::CUnitViewController;
        std::vector<int> calls;
        void OnCheck() override { calls.push_back(kCheckCommand); }
        void OnContinue() override { calls.push_back(kContinueCommand); }
        void OnViewSolution() override { calls.push_back(kViewSolutionCommand); }
    } counting(doc, window);
    for (int id : {kCheckCommand, kContinueCommand, kViewSolutionCommand})
        EXPECT_TRUE(counting.OnCommand(id));
    EXPECT_EQ(counting.calls,
              (std::vector<int>{kCheckCommand, kContinueCommand, kViewSolutionCommand}));
}

TEST_F(Page, TheProblemSequenceSetsTheCountAndTheCounterText) {
    EXPECT_EQ(view.problemCount(), 5);
    doc.SetProblemSequence(CProblemPosition{2, 3, 1}, 7);
    EXPECT_EQ(view.problemCount(), 7);
    EXPECT_EQ(window.counter, "3 of 7");
}

TEST_F(Page, FilePrintReachesThePage) {
    ASSERT_NE(doc.GetWorkspaceView(), nullptr);
    doc.GetWorkspaceView()->Print();
    EXPECT_EQ(window.printed, 1);
}

// --- the prompt's place and printing ---------------------------------------------------------

TEST_F(Page, ThePromptStandsAboveTheCheckButton) {
    // Check is (600, 500)-(720, 541).
    view.SetWorkspaceRect({100, 0, 800, 560});
    EXPECT_EQ(view.GetPromptRect(), (CRect{100, 315, 715, 490}));
    view.side = CRect{0, 50, 180, 560};
    EXPECT_EQ(view.GetPromptRect(), (CRect{185, 315, 715, 490}));
}

TEST(PrintMapping, OneFactorForBothDirectionsAsLargeAsFits) {
    // A workspace twice as wide as high on a portrait page: the width decides.
    const auto m = PrintMapping({100, 50, 900, 450}, {4000, 6000});
    ASSERT_TRUE(m);
    EXPECT_DOUBLE_EQ(m->scale, 5.0);
    EXPECT_DOUBLE_EQ(m->PageX(100), 0.0);
    EXPECT_DOUBLE_EQ(m->PageY(50), 0.0);
    EXPECT_DOUBLE_EQ(m->PageX(900), 4000.0);
    EXPECT_DOUBLE_EQ(m->PageY(450), 2000.0) << "y grows downwards, unstretched";
    EXPECT_EQ(m->workspace, (CRect{100, 50, 900, 450}));

    // A tall workspace on a landscape page: the height decides.
    const auto tall = PrintMapping({0, 0, 300, 600}, {6000, 4000});
    ASSERT_TRUE(tall);
    EXPECT_DOUBLE_EQ(tall->scale, 4000.0 / 600.0);
    EXPECT_LE(tall->PageX(300), 6000.0);

    EXPECT_FALSE(PrintMapping({}, {4000, 6000}));
    EXPECT_FALSE(PrintMapping({0, 0, 10, 10}, {0, 6000}));
}
