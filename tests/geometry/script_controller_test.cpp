// The script controller: recording with its dialogs and refusals, steps from commands and
// drags, Select & Group, repeats while recording, playback on the commands' timers, the script
// windows, and the panel's data.
#include "geometry/geometry_document.h"
#include "geometry/poly_shape_manipulative.h"
#include "geometry/script_controller.h"
#include "geometry/shape_commands.h"
#include "geometry/shape_manipulative.h"
#include "workspace/annotator.h"
#include "workspace/string_table.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

constexpr Color kRed = PaletteRGB(255, 0, 0);

std::unique_ptr<CShapeManipulative> Square(int x, int y, int side) {
    std::vector<CLine> lines = {CLine(CPoint{x, y}, CPoint{x + side, y}),
                                CLine(CPoint{x + side, y}, CPoint{x + side, y + side}),
                                CLine(CPoint{x + side, y + side}, CPoint{x, y + side}),
                                CLine(CPoint{x, y + side}, CPoint{x, y})};
    return std::make_unique<CShapeManipulative>(lines, kRed);
}

class FakeWorkspaceView : public IWorkspaceView {
public:
    void InvalidateRect(const CRect&) override {}
    void InvalidateAll() override {}
};

class FakePanel : public IShapeCommandPanel {
public:
    std::string angle = "60";
    std::string AngleText() const override { return angle; }
    void SetAngleText(const std::string& text) override { angle = text; }
};

class FakeScriptView : public IScriptView {
public:
    int scriptsChanged = 0;
    int controlsChanged = 0;
    int arrowChosen = 0;
    int focused = 0;
    std::vector<std::size_t> windowsChanged;
    void ScriptsChanged() override { ++scriptsChanged; }
    void ScriptWindowChanged(std::size_t script) override { windowsChanged.push_back(script); }
    void ControlsChanged() override { ++controlsChanged; }
    void SelectArrowTool() override { ++arrowChosen; }
    void FocusRepeatNumber() override { ++focused; }
    CPoint ClientOriginOnScreen() const override { return {64, 48}; }
};

// A geometry workspace with its command and script controllers around recording fakes.
class Scripts : public ::testing::Test {
protected:
    CGeometryUnitDocument doc;
    FakePrompter prompter;
    FakeTimerHost timers;
    FakeWorkspaceView workspace;
    FakePanel panel;
    FakeScriptView view;
    CShapeCommandController commands{doc, prompter, timers};
    CScriptController scripts{doc, commands, prompter, timers};

    Scripts() {
        doc.SetView(&workspace);
        commands.SetPanel(&panel);
        commands.SetSnapping(false);
        scripts.SetView(&view);
    }

    CManipulative* Add(std::unique_ptr<CManipulative> m, bool select = true) {
        CManipulative* raw = doc.AddManipulative(std::move(m));
        if (select)
            doc.Select(raw);
        return raw;
    }

    // Fires whatever timer runs until none does; the number of ticks.
    int Drain(int limit = 100000) {
        int ticks = 0;
        while (!timers.running.empty() && ticks < limit) {
            timers.Fire(timers.running.begin()->first);
            ++ticks;
        }
        return ticks;
    }

    // Starts recording a new script called `name`.
    void Record(const std::string& name) {
        prompter.texts.push_back(name);
        scripts.OnCommand(kCmdRecord);
        ASSERT_TRUE(scripts.recording());
    }

    // The press-drag-release of the Arrow from `from` by (dx, dy).
    void Drag(CPoint from, int dx, int dy) {
        ASSERT_TRUE(scripts.MouseDownAllowed(from));
        commands.MouseDown(from);
        commands.MouseMove({from.x + dx / 2, from.y + dy / 2});
        commands.MouseUp({from.x + dx, from.y + dy});
    }

    const std::vector<ScriptStruct>& Steps(std::size_t script = 0) const {
        return doc.scripts().at(script).steps;
    }

    std::vector<std::string> Texts(std::size_t script = 0) const {
        std::vector<std::string> texts;
        for (const auto& step : Steps(script))
            texts.push_back(step.text);
        return texts;
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : prompter.messages)
            texts.push_back(m.text);
        return texts;
    }

    // Records "rotate right 60, copy" and a repeat of `times` on a square at (200, 200).
    CManipulative* RecordSixCopies(const std::string& times = "5") {
        CManipulative* square = Add(Square(200, 200, 40));
        Record("hexa");
        commands.OnRotateRight();
        Drain();
        scripts.OnCommand(kCmdCopy);
        scripts.SetRepeatKind(RepeatKind::Times);
        scripts.SetRepeatNumberText(times);
        scripts.OnCommand(kCmdRepeat);
        return square;
    }
};

} // namespace

// --- starting a recording --------------------------------------------------------------------

TEST_F(Scripts, RecordAsksForANameAndEntersRecordingMode) {
    CManipulative* square = Add(Square(100, 100, 40));
    CManipulative* other = Add(Square(300, 100, 40), false);
    doc.SetCurrentTool(1);
    Record("spin");

    EXPECT_EQ(prompter.messages.front().text, "Name of Script?");
    EXPECT_EQ(prompter.initialTexts, std::vector<std::string>{"script1"});
    EXPECT_EQ(prompter.textLimits, std::vector<std::size_t>{kMaxScriptNameLength});
    ASSERT_EQ(doc.scripts().size(), 1u);
    EXPECT_EQ(doc.scripts().at(0).name, "spin");
    EXPECT_EQ(doc.scripts().selected(), std::optional<std::size_t>(0));
    // The new script's window opens at the view's client origin, with the banner.
    EXPECT_EQ(doc.scripts().at(0).windowX, 64);
    EXPECT_EQ(doc.scripts().at(0).windowY, 48);
    EXPECT_TRUE(scripts.windowState(0).open);
    EXPECT_TRUE(scripts.IsWindowRecording(0));
    // The Arrow, marks on the selection only, and the panel given over to recording.
    EXPECT_EQ(doc.currentTool(), 0);
    EXPECT_EQ(view.arrowChosen, 1);
    EXPECT_TRUE(square->scriptMark());
    EXPECT_FALSE(other->scriptMark());
    EXPECT_FALSE(scripts.ToolsEnabled());
    EXPECT_FALSE(scripts.DrawersEnabled());
    for (int id : std::initializer_list<int>{kCmdCopy, kCmdStamp, kCmdEnlarge, kCmdReduce,
                                             kCmdFlipHorizontal, kCmdFlipVertical, kCmdRotateRight,
                                             kCmdRotateLeft, kCmdAngleSpin, kCmdFirstColor,
                                             kCmdLastColor, kCmdSelectAndGroup, kCmdEndRecord})
        EXPECT_TRUE(scripts.IsCommandEnabled(id)) << id;
    for (int id : std::initializer_list<int>{
             kCmdGroup, kCmdUngroup, kCmdThinLine, kCmdThickLine, kCmdRecord, kCmdPlay,
             kCmdViewScript, kCmdStopPlay, kCmdStopRepeat, kCtlScriptCombo, kCmdSendToBack,
             kCmdBringToFront, kCmdSelectAllShapes, kCmdClearAnglemeters, 1004, 1271, 1273})
        EXPECT_FALSE(scripts.IsCommandEnabled(id)) << id;
    // Nothing recorded yet: nothing to repeat, but the repeat controls show.
    EXPECT_FALSE(scripts.IsCommandEnabled(kCmdRepeat));
    EXPECT_TRUE(scripts.IsControlShown(kCmdRepeat));
    // Leaving the unit is the page's own business.
    EXPECT_TRUE(scripts.IsCommandEnabled(1003));
}

TEST_F(Scripts, RecordRefusesWithoutAShapeAndStopsOnCancel) {
    scripts.OnCommand(kCmdRecord);
    Add(std::make_unique<CStaticAnnotatorManipulative>());
    scripts.OnCommand(kCmdRecord);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kPleaseSelect, kPleaseSelect}));

    prompter.messages.clear();
    Add(Square(0, 0, 40));
    scripts.OnCommand(kCmdRecord); // the name box cancelled
    EXPECT_EQ(Messages(), std::vector<std::string>{"Name of Script?"});
    EXPECT_FALSE(scripts.recording());
    EXPECT_TRUE(doc.scripts().empty());
}

TEST_F(Scripts, NamesAreOneToEightCharacters) {
    Add(Square(0, 0, 40));
    prompter.texts = {std::string(), std::string("tessellate")};
    scripts.OnCommand(kCmdRecord);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Name of Script?", kScriptNameLength, "Name of Script?"}));
    ASSERT_TRUE(scripts.recording());
    // A ninth character cannot be typed.
    EXPECT_EQ(doc.scripts().at(0).name, "tessella");
}

TEST_F(Scripts, AnExistingNameIsAddedToReplacedOrAskedAgain) {
    Add(Square(0, 0, 40));
    Record("spin");
    scripts.OnCommand(kCmdCopy);
    scripts.OnCommand(kCmdEndRecord);
    ASSERT_EQ(Steps().size(), 1u);

    // Cancel goes back to the name, filled with the combo box's choice; Add keeps the steps.
    prompter.messages.clear();
    prompter.texts = {std::string("SPIN"), std::string("spin")};
    prompter.choices = {2, 0};
    scripts.OnCommand(kCmdRecord);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Name of Script?", kScriptExistsText,
                                                    "Name of Script?", kScriptExistsText}));
    EXPECT_EQ(prompter.buttonSets.front(), (std::vector<std::string>{"Add", "Replace", "Cancel"}));
    EXPECT_EQ(prompter.initialTexts.back(), "spin");
    ASSERT_TRUE(scripts.recording());
    EXPECT_EQ(doc.scripts().size(), 1u);
    // The window shows the script with its last row selected.
    EXPECT_EQ(scripts.windowState(0).selectedRow, 0);
    scripts.OnCommand(kCmdStamp);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"COPY", "STAMP"}));
    scripts.OnCommand(kCmdEndRecord);

    prompter.texts = {std::string("spin")};
    prompter.choices = {1};
    scripts.OnCommand(kCmdRecord);
    ASSERT_TRUE(scripts.recording());
    EXPECT_TRUE(Steps().empty());
}

// --- steps while recording -------------------------------------------------------------------

TEST_F(Scripts, EachSuccessfulCommandAppendsItsStep) {
    Add(Square(100, 100, 40));
    Record("all");
    panel.angle = "60";
    scripts.OnCommand(kCmdRotateRight);
    Drain();
    panel.angle = "22.5";
    scripts.OnCommand(kCmdRotateLeft);
    Drain();
    for (int id : std::initializer_list<int>{kCmdCopy, kCmdStamp, kCmdEnlarge, kCmdReduce,
                                             kCmdFlipHorizontal, kCmdFlipVertical,
                                             kCmdFirstColor + 4, kCmdLastColor}) {
        scripts.OnCommand(id);
        Drain();
    }
    // Refused commands record nothing: a bad angle, and commands disabled while recording.
    panel.angle = "0";
    scripts.OnCommand(kCmdRotateRight);
    scripts.OnCommand(kCmdGroup);
    scripts.OnCommand(kCmdThickLine);

    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"ROTATE RIGHT 60", "ROTATE LEFT 22.5", "COPY", "STAMP",
                                        "ENLARGE", "REDUCE", "FLIP HORIZONTAL", "FLIP VERTICAL",
                                        "COLOR Red", "COLOR Forest green"}));
    EXPECT_EQ(Steps()[0].code, kCmdRotateRight);
    EXPECT_EQ(Steps()[0].angle, 60.0);
    EXPECT_EQ(Steps()[1].angle, 22.5);
    EXPECT_EQ(Steps()[8].code, 1075);
    EXPECT_EQ(doc.selection().front()->GetLineWidth(), 1);
    EXPECT_EQ(scripts.windowState(0).selectedRow, 9);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Scripts, CopiesAndStampsWhileRecordingCarryTheScriptMark) {
    Add(Square(100, 100, 40));
    Add(Square(400, 400, 40), false);
    Record("marks");
    scripts.OnCommand(kCmdCopy);
    scripts.OnCommand(kCmdStamp);
    ASSERT_EQ(doc.manipulatives().size(), 4u);
    EXPECT_FALSE(doc.manipulatives()[1]->scriptMark());
    EXPECT_TRUE(doc.manipulatives()[2]->scriptMark());
    EXPECT_TRUE(doc.manipulatives()[3]->scriptMark());
    EXPECT_EQ(commands.stampList().size(), 1u);

    scripts.OnCommand(kCmdEndRecord);
    for (const auto& m : doc.manipulatives())
        EXPECT_FALSE(m->scriptMark());
    EXPECT_TRUE(commands.stampList().empty());
    EXPECT_FALSE(scripts.IsWindowRecording(0));
    EXPECT_TRUE(scripts.ToolsEnabled());
    EXPECT_TRUE(scripts.IsCommandEnabled(kCmdGroup));
    EXPECT_FALSE(scripts.IsControlShown(kCmdRepeat));
}

TEST_F(Scripts, TheSelectionCannotChangeWhileRecording) {
    CManipulative* selected = Add(Square(100, 100, 40));
    Add(Square(300, 100, 40), false);
    Record("still");
    for (CPoint p : {CPoint{20, 20}, CPoint{320, 120}}) {
        prompter.messages.clear();
        EXPECT_FALSE(scripts.MouseDownAllowed(p)) << p.x;
        EXPECT_EQ(Messages(), std::vector<std::string>{kCannotChangeSelection});
        EXPECT_EQ(prompter.messages.front().icon, MessageIcon::Exclamation);
    }
    // A shift-click would take the shape out of the selection.
    EXPECT_FALSE(scripts.MouseDownAllowed({120, 120}, {true, false}));
    prompter.messages.clear();
    EXPECT_TRUE(scripts.MouseDownAllowed({120, 120}));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(doc.selection(), std::vector<CManipulative*>{selected});
}

TEST_F(Scripts, ConsecutiveDragsMakeOneSlideWithTheSummedOffset) {
    Add(Square(100, 100, 40));
    Record("slide");
    Drag({120, 120}, 30, -10);
    Drag({150, 110}, 15, 40);
    ASSERT_EQ(Steps().size(), 1u);
    EXPECT_EQ(Steps()[0].text, "SLIDE");
    EXPECT_EQ(Steps()[0].code, kCmdSlide);
    EXPECT_EQ(Steps()[0].dx, 45);
    EXPECT_EQ(Steps()[0].dy, 30);
    // Its row carries the direction icon: down and right, about 326 degrees.
    EXPECT_EQ(scripts.Rows(0).front().icon, 23);

    // A drag after another step starts a new slide.
    scripts.OnCommand(kCmdCopy);
    Drag({150, 150}, -20, 0);
    ASSERT_EQ(Steps().size(), 3u);
    EXPECT_EQ(Steps()[2].dx, -20);
    EXPECT_EQ(scripts.Rows(0)[2].icon, 13);
    EXPECT_EQ(scripts.Rows(0)[1].icon, 0);
}

TEST_F(Scripts, SelectAndGroupGroupsTheMarkedShapes) {
    Add(Square(100, 100, 40));
    CManipulative* outsider = Add(Square(400, 400, 40), false);
    Record("group");
    scripts.OnCommand(kCmdCopy);
    ASSERT_TRUE(scripts.IsCommandEnabled(kCmdRepeat));
    scripts.OnCommand(kCmdSelectAndGroup);

    ASSERT_EQ(doc.selection().size(), 1u);
    CManipulative* group = doc.selection().front();
    EXPECT_EQ(group->GetType(), kTypePolyShape);
    EXPECT_EQ(group->GetMembers()->size(), 2u);
    EXPECT_TRUE(group->scriptMark());
    EXPECT_EQ(doc.IndexOf(outsider), 0);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"COPY", "     select & group"}));
    EXPECT_EQ(Steps()[1].code, kStepSelectAndGroup);
    // Nothing to repeat until another step is recorded.
    EXPECT_FALSE(scripts.IsCommandEnabled(kCmdRepeat));
    scripts.OnCommand(kCmdRepeat);
    EXPECT_EQ(Steps().size(), 2u);
    scripts.OnCommand(kCmdFlipHorizontal);
    Drain();
    EXPECT_TRUE(scripts.IsCommandEnabled(kCmdRepeat));
}

// --- repeats while recording -----------------------------------------------------------------

TEST_F(Scripts, RotateAndCopyRepeatedFiveTimesGivesSixCopies) {
    RecordSixCopies("5");
    EXPECT_TRUE(scripts.repeating());
    EXPECT_EQ(Texts().back(), "    Repeat 5 times");
    // Only the stop question is left to the pupil while it repeats.
    EXPECT_TRUE(scripts.IsCommandEnabled(kCmdStopRepeat));
    EXPECT_FALSE(scripts.IsCommandEnabled(kCmdCopy));
    Drain();

    EXPECT_FALSE(scripts.repeating());
    EXPECT_TRUE(scripts.recording());
    EXPECT_EQ(doc.manipulatives().size(), 7u);
    ASSERT_EQ(Steps().size(), 3u);
    EXPECT_EQ(Steps()[2].text, ClosedRepeatStepText(5));
    EXPECT_EQ(Steps()[2].text, "     repeat 5 times.");
    EXPECT_EQ(Steps()[2].count, 5);
    EXPECT_EQ(Steps()[2].code, kStepRepeat);
    EXPECT_EQ(scripts.windowState(0).selectedRow, 2);
    for (const auto& m : doc.manipulatives())
        EXPECT_TRUE(m->scriptMark());
}

TEST_F(Scripts, RepeatToEndRunsUntilTheWorkspaceEdge) {
    Add(Square(100, 100, 40));
    scripts.SetWorkspaceExtent({0, 0, 200, 200});
    Record("edge");
    scripts.OnCommand(kCmdCopy);
    scripts.SetRepeatKind(RepeatKind::ToEnd);
    scripts.OnCommand(kCmdRepeat);
    EXPECT_EQ(Texts().back(), "    Repeat to end");
    EXPECT_EQ(Steps().back().count, kRepeatToEnd);
    Drain();

    EXPECT_FALSE(scripts.repeating());
    EXPECT_EQ(prompter.messages.size(), 1u); // the name box only
    // Each copy moves the square 4 pixels on; every copy left behind lies inside.
    for (const auto& m : doc.manipulatives()) {
        if (m->selected())
            continue;
        EXPECT_LE(m->GetFrameOf().right, 200);
        EXPECT_LE(m->GetFrameOf().bottom, 200);
    }
    const int copies = static_cast<int>(doc.manipulatives().size()) - 1;
    EXPECT_GT(copies, 10);
    EXPECT_EQ(Steps().back().text, ClosedRepeatStepText(copies - 1));
}

TEST_F(Scripts, ACountedRepeatTooLargeForTheWorkspaceStops) {
    Add(Square(100, 100, 40));
    scripts.SetWorkspaceExtent({0, 0, 200, 200});
    Record("big");
    scripts.OnCommand(kCmdCopy);
    scripts.SetRepeatNumberText("300");
    scripts.OnCommand(kCmdRepeat);
    Drain();
    EXPECT_EQ(Messages().back(), kRepeatTooLarge);
    EXPECT_FALSE(scripts.repeating());
    EXPECT_TRUE(scripts.recording());
    EXPECT_LT(Steps().back().count, 300);
    EXPECT_EQ(Steps().back().text, ClosedRepeatStepText(Steps().back().count));
    for (const auto& m : doc.manipulatives()) {
        if (!m->selected()) {
            EXPECT_LE(m->GetFrameOf().bottom, 200);
        }
    }
}

TEST_F(Scripts, RepeatTimesMustBeAWholeNumberFromOneTo360) {
    Add(Square(100, 100, 40));
    Record("bad");
    scripts.OnCommand(kCmdCopy);
    for (const char* text : {"0", "", "abc", "2.5", "-3", "361"}) {
        prompter.messages.clear();
        scripts.SetRepeatNumberText(text);
        scripts.OnCommand(kCmdRepeat);
        EXPECT_EQ(Messages(), std::vector<std::string>{kInvalidRepeatNumber}) << text;
    }
    EXPECT_EQ(view.focused, 6);
    EXPECT_EQ(Steps().size(), 1u);
    EXPECT_FALSE(scripts.repeating());
    // The number box holds three digits.
    scripts.SetRepeatNumberText("1000");
    EXPECT_EQ(scripts.repeatNumberText(), "100");
}

TEST_F(Scripts, StopRepeatCancelResumes) {
    RecordSixCopies("5");
    ASSERT_TRUE(timers.IsRunning(kScriptStepTimer));
    prompter.answers = {MessageResult::Cancel};
    scripts.OnCommand(kCmdStopRepeat);
    EXPECT_EQ(Messages().back(), kContinueRecordingQuestion);
    EXPECT_EQ(prompter.messages.back().buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(prompter.messages.back().icon, MessageIcon::Question);
    EXPECT_TRUE(scripts.repeating());
    EXPECT_FALSE(scripts.paused());
    Drain();
    EXPECT_EQ(Steps().back().text, "     repeat 5 times.");
    EXPECT_EQ(doc.manipulatives().size(), 7u);
}

TEST_F(Scripts, StopRepeatYesClosesTheRepeatAndRecordingGoesOn) {
    RecordSixCopies("5");
    // Two rounds: rotate and copy twice, then stop during the third rotation.
    while (scripts.repeatCounter() < 2)
        ASSERT_TRUE(timers.Fire(timers.running.begin()->first));
    timers.Fire(kScriptStepTimer);
    ASSERT_TRUE(commands.IsAnimating());
    prompter.answers = {MessageResult::Yes};
    scripts.OnCommand(kCmdStopRepeat);

    EXPECT_FALSE(scripts.repeating());
    EXPECT_TRUE(scripts.recording());
    EXPECT_FALSE(commands.IsAnimating());
    EXPECT_TRUE(timers.running.empty());
    EXPECT_EQ(Steps().back().text, "     repeat 2 times.");
    EXPECT_EQ(Steps().back().count, 2);
    scripts.OnCommand(kCmdStamp);
    EXPECT_EQ(Texts().back(), "STAMP");
}

TEST_F(Scripts, StopRepeatNoClosesTheRepeatAndEndsTheRecording) {
    RecordSixCopies("5");
    while (scripts.repeatCounter() < 1)
        ASSERT_TRUE(timers.Fire(timers.running.begin()->first));
    prompter.answers = {MessageResult::No};
    scripts.OnCommand(kCmdStopRepeat);

    EXPECT_FALSE(scripts.repeating());
    EXPECT_FALSE(scripts.recording());
    EXPECT_TRUE(timers.running.empty());
    EXPECT_EQ(Steps().back().text, "     repeat 1 times.");
    for (const auto& m : doc.manipulatives())
        EXPECT_FALSE(m->scriptMark());
}

TEST_F(Scripts, EndRecordClosesAnOpenRepeat) {
    RecordSixCopies("5");
    while (scripts.repeatCounter() < 3)
        ASSERT_TRUE(timers.Fire(timers.running.begin()->first));
    scripts.OnCommand(kCmdEndRecord);
    EXPECT_FALSE(scripts.recording());
    EXPECT_EQ(Steps().back().text, "     repeat 3 times.");
    EXPECT_TRUE(timers.running.empty());
}

// --- playing ---------------------------------------------------------------------------------

TEST_F(Scripts, PlayingARecordedScriptOnASecondShapeEndsInTheSameShapes) {
    // Given a tessellation recorded on one square: a slide, rotate and copy five more times,
    // a colour, and a select-and-group.
    Add(Square(200, 200, 40));
    Record("hexa");
    Drag({220, 220}, 40, 20);
    panel.angle = "60";
    scripts.OnCommand(kCmdRotateRight);
    Drain();
    scripts.OnCommand(kCmdCopy);
    scripts.SetRepeatNumberText("5");
    scripts.OnCommand(kCmdRepeat);
    Drain();
    scripts.OnCommand(kCmdFirstColor + 2);
    scripts.OnCommand(kCmdSelectAndGroup);
    scripts.OnCommand(kCmdEnlarge);
    Drain();
    scripts.OnCommand(kCmdEndRecord);
    ASSERT_EQ(Steps().size(), 7u);

    // When a second workspace plays it on the same square,
    CGeometryUnitDocument second;
    FakeTimerHost secondTimers;
    FakePrompter secondPrompter;
    CShapeCommandController secondCommands{second, secondPrompter, secondTimers};
    CScriptController player{second, secondCommands, secondPrompter, secondTimers};
    second.scripts().Add(doc.scripts().at(0));
    second.scripts().Select(0);
    second.Select(second.AddManipulative(Square(200, 200, 40)));
    player.OnCommand(kCmdPlay);
    EXPECT_TRUE(player.playing());
    EXPECT_FALSE(player.IsCommandEnabled(kCmdCopy));
    EXPECT_TRUE(player.IsCommandEnabled(kCmdStopPlay));
    int ticks = 0;
    while (!secondTimers.running.empty() && ticks++ < 100000)
        secondTimers.Fire(secondTimers.running.begin()->first);

    // then it ends in the same shapes, and playing has stopped.
    EXPECT_FALSE(player.playing());
    EXPECT_TRUE(secondPrompter.messages.empty());
    ASSERT_EQ(second.manipulatives().size(), doc.manipulatives().size());
    for (std::size_t i = 0; i < doc.manipulatives().size(); ++i)
        EXPECT_TRUE(second.manipulatives()[i]->IsEqualTo(*doc.manipulatives()[i])) << i;
    for (const auto& m : second.manipulatives())
        EXPECT_FALSE(m->scriptMark());
    EXPECT_FALSE(player.IsCommandEnabled(kCmdStopPlay));
}

TEST_F(Scripts, PlaybackWaitsForEachAnimationAndSlidesInTwelveParts) {
    ScriptStructList script;
    script.name = "walk";
    script.steps = {{kCmdRotateRight, "ROTATE RIGHT 30", 0, 0, 30.0, 0},
                    {kCmdSlide, "SLIDE", 24, -36, 0, 0},
                    {kCmdCopy, "COPY", 0, 0, 0, 0}};
    doc.scripts().Add(script);
    doc.scripts().Select(0);
    CManipulative* square = Add(Square(100, 100, 40));
    scripts.OnCommand(kCmdPlay);

    // The rotation runs first; nothing else until it ends.
    EXPECT_TRUE(timers.IsRunning(kRotateTimer));
    EXPECT_EQ(scripts.currentStep(), 0);
    EXPECT_EQ(timers.running.size(), 1u);
    while (timers.Fire(kRotateTimer)) {
    }
    ASSERT_TRUE(timers.Fire(kScriptStepTimer));
    ASSERT_TRUE(timers.IsRunning(kSlideTimer));
    EXPECT_EQ(timers.running.at(kSlideTimer).interval, 200);
    const C3DPointDouble start = square->centre();
    int parts = 0;
    while (timers.Fire(kSlideTimer))
        ++parts;
    EXPECT_EQ(parts, 12);
    EXPECT_NEAR(square->centre().x - start.x, 24, 1e-9);
    EXPECT_NEAR(square->centre().y - start.y, -36, 1e-9);
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    ASSERT_TRUE(timers.Fire(kScriptStepTimer));
    EXPECT_EQ(doc.manipulatives().size(), 2u);
    ASSERT_TRUE(timers.Fire(kScriptStepTimer));
    EXPECT_FALSE(scripts.playing());
}

TEST_F(Scripts, AScriptOfOnlyARepeatDoesNotPlay) {
    ScriptStructList script;
    script.name = "loop";
    script.steps = {{kStepRepeat, RepeatStepText(3), 0, 0, 0, 3}};
    doc.scripts().Add(script);
    doc.scripts().Select(0);
    CManipulative* square = Add(Square(100, 100, 40));
    scripts.OnCommand(kCmdPlay);
    EXPECT_FALSE(scripts.playing());
    EXPECT_TRUE(timers.running.empty());
    EXPECT_FALSE(square->scriptMark());
}

TEST_F(Scripts, PlayNeedsASelection) {
    doc.scripts().Add({"x", 0, 0, {{kCmdCopy, "COPY", 0, 0, 0, 0}}});
    doc.scripts().Select(0);
    Add(Square(100, 100, 40), false);
    scripts.OnCommand(kCmdPlay);
    EXPECT_EQ(Messages(), std::vector<std::string>{kPleaseSelect});
    EXPECT_FALSE(scripts.playing());
}

TEST_F(Scripts, RepeatsPlayBackTheirCount) {
    doc.scripts().Add({"r",
                       0,
                       0,
                       {{kCmdCopy, "COPY", 0, 0, 0, 0},
                        {kStepRepeat, ClosedRepeatStepText(4), 0, 0, 0, 4},
                        {kCmdStamp, "STAMP", 0, 0, 0, 0},
                        {kStepRepeat, ClosedRepeatStepText(2), 0, 0, 0, 2}}});
    doc.scripts().Select(0);
    Add(Square(100, 100, 40));
    scripts.OnCommand(kCmdPlay);
    Drain();
    // 1 + 4 copies, then 1 + 2 stamps.
    EXPECT_EQ(doc.manipulatives().size(), 1u + 5u + 3u);
    EXPECT_FALSE(scripts.playing());
}

TEST_F(Scripts, DamagedScriptsStopInsteadOfRunningAway) {
    Add(Square(100, 100, 40));
    // A repeat of a huge count ends after 360 rounds, a step and a return each.
    doc.scripts().Add(
        {"far",
         0,
         0,
         {{kCmdFirstColor, "COLOR White", 0, 0, 0, 0}, {kStepRepeat, "x", 0, 0, 0, 0x7FFFFFFF}}});
    doc.scripts().Select(0);
    scripts.OnCommand(kCmdPlay);
    const int ticks = Drain();
    EXPECT_FALSE(scripts.playing());
    EXPECT_GE(ticks, 2 * 360);
    EXPECT_LE(ticks, 2 * 360 + 4);

    // An unknown code, and a rotation by an angle out of range, stop the playback.
    for (ScriptStruct bad : {ScriptStruct{4242, "?", 0, 0, 0, 0},
                             ScriptStruct{kCmdRotateLeft, "ROTATE LEFT", 0, 0, 1e9, 0}}) {
        doc.scripts().at(0).steps = {bad, {kCmdCopy, "COPY", 0, 0, 0, 0}};
        const std::size_t before = doc.manipulatives().size();
        scripts.OnCommand(kCmdPlay);
        Drain();
        EXPECT_FALSE(scripts.playing());
        EXPECT_EQ(doc.manipulatives().size(), before) << bad.code;
    }
    EXPECT_EQ(Messages().back(), kAngleRange);
}

TEST_F(Scripts, EnlargingPastTheLimitStopsPlayback) {
    doc.scripts().Add({"grow", 0, 0, {}});
    for (int i = 0; i < 9; ++i)
        doc.scripts().at(0).steps.push_back({kCmdEnlarge, "ENLARGE", 0, 0, 0, 0});
    doc.scripts().Select(0);
    CManipulative* square = Add(Square(100, 100, 10));
    scripts.OnCommand(kCmdPlay);
    Drain();
    EXPECT_FALSE(scripts.playing());
    EXPECT_EQ(square->scaleLevel(), 7);
}

TEST_F(Scripts, StopPlayAndTheMouseWhilePlaying) {
    doc.scripts().Add(
        {"turn",
         0,
         0,
         {{kCmdRotateRight, "ROTATE RIGHT 90", 0, 0, 90.0, 0}, {kCmdCopy, "COPY", 0, 0, 0, 0}}});
    doc.scripts().Select(0);
    CManipulative* square = Add(Square(100, 100, 40));
    scripts.OnCommand(kCmdPlay);
    timers.Fire(kRotateTimer);
    EXPECT_FALSE(scripts.MouseDownAllowed({120, 120}));
    EXPECT_FALSE(scripts.MouseDownAllowed({500, 500}));
    EXPECT_TRUE(prompter.messages.empty());
    scripts.OnCommand(kCmdCopy); // disabled while playing
    EXPECT_EQ(doc.manipulatives().size(), 1u);

    scripts.OnCommand(kCmdStopPlay);
    EXPECT_FALSE(scripts.playing());
    EXPECT_TRUE(timers.running.empty());
    EXPECT_FALSE(square->scriptMark());
    EXPECT_EQ(scripts.currentStep(), 0);
    EXPECT_TRUE(scripts.MouseDownAllowed({500, 500}));
    EXPECT_EQ(doc.manipulatives().size(), 1u);
}

TEST_F(Scripts, EachCompletedCommandOfARecordingIsOneUndoStep) {
    CManipulative* square = Add(Square(100, 100, 40));
    const auto original = square->Clone();
    Record("undo");
    panel.angle = "90";
    scripts.OnCommand(kCmdRotateRight);
    Drain();
    scripts.OnCommand(kCmdCopy);
    scripts.OnCommand(kCmdEndRecord);
    ASSERT_EQ(doc.manipulatives().size(), 2u);
    ASSERT_TRUE(doc.Undo());
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_FALSE(doc.manipulatives()[0]->IsEqualTo(*original));
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.manipulatives()[0]->IsEqualTo(*original));
    // The script is not undone with the shapes.
    EXPECT_EQ(Steps().size(), 2u);
}

// --- script windows --------------------------------------------------------------------------

TEST_F(Scripts, ViewDeleteCloseAndClear) {
    doc.scripts().Add(
        {"a", 5, 6, {{kCmdCopy, "COPY", 0, 0, 0, 0}, {kCmdStamp, "STAMP", 0, 0, 0, 0}}});
    doc.scripts().Add({"b", 0, 0, {}});
    scripts.SelectScript(0);
    scripts.OnCommand(kCmdViewScript);
    EXPECT_TRUE(scripts.windowState(0).open);
    EXPECT_EQ(scripts.windowState(0).selectedRow, 0);
    EXPECT_FALSE(scripts.IsWindowRecording(0));

    scripts.SelectRow(0, 1);
    scripts.OnDeleteStep(0);
    EXPECT_EQ(Texts(), std::vector<std::string>{"COPY"});
    EXPECT_EQ(scripts.windowState(0).selectedRow, 0);

    scripts.OnCloseWindow(0, {300, 200});
    EXPECT_FALSE(scripts.windowState(0).open);
    EXPECT_EQ(doc.scripts().at(0).windowX, 300);
    EXPECT_EQ(doc.scripts().at(0).windowY, 200);

    prompter.answers = {MessageResult::Cancel, MessageResult::Ok};
    scripts.OnClearScript(0);
    EXPECT_EQ(doc.scripts().size(), 2u);
    scripts.OnClearScript(0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kEraseScriptQuestion, kEraseScriptQuestion}));
    ASSERT_EQ(doc.scripts().size(), 1u);
    EXPECT_EQ(doc.scripts().at(0).name, "b");
    EXPECT_EQ(doc.scripts().selected(), std::optional<std::size_t>(0));
}

TEST_F(Scripts, DeletingAStepStopsPlaybackFirst) {
    doc.scripts().Add(
        {"a",
         0,
         0,
         {{kCmdRotateRight, "ROTATE RIGHT 90", 0, 0, 90.0, 0}, {kCmdCopy, "COPY", 0, 0, 0, 0}}});
    doc.scripts().Select(0);
    Add(Square(100, 100, 40));
    scripts.OnCommand(kCmdViewScript);
    scripts.OnCommand(kCmdPlay);
    ASSERT_TRUE(scripts.playing());
    scripts.SelectRow(0, 1);
    scripts.OnDeleteStep(0);
    EXPECT_FALSE(scripts.playing());
    EXPECT_TRUE(timers.running.empty());
    EXPECT_EQ(Steps().size(), 1u);
}

TEST_F(Scripts, RenamingChecksTheNewName) {
    doc.scripts().Add({"spin", 0, 0, {}});
    doc.scripts().Add({"move", 0, 0, {}});
    using R = CScriptController::RenameResult;
    EXPECT_EQ(scripts.RenameScript(0, "spin"), R::Unchanged);
    EXPECT_EQ(scripts.RenameScript(0, ""), R::Refused);
    EXPECT_EQ(scripts.RenameScript(0, "Move"), R::Refused);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kScriptNameLength, kScriptNameTaken}));
    EXPECT_EQ(doc.scripts().at(0).name, "spin");
    EXPECT_EQ(scripts.RenameScript(0, "rotations"), R::Renamed);
    EXPECT_EQ(doc.scripts().at(0).name, "rotation");
    EXPECT_GE(view.scriptsChanged, 1);
}

TEST_F(Scripts, ResetForgetsWindowsAndStopsEverything) {
    Add(Square(100, 100, 40));
    Record("gone");
    scripts.OnCommand(kCmdCopy);
    scripts.Reset();
    EXPECT_FALSE(scripts.recording());
    EXPECT_FALSE(scripts.windowState(0).open);
    EXPECT_TRUE(scripts.ToolsEnabled());
}

// --- the panel as data -----------------------------------------------------------------------

TEST(ScriptPanel, CaptionsAndToolTips) {
    std::vector<std::string> captions;
    for (const auto& control : ScriptPanelControls()) {
        captions.push_back(control.caption);
        // Every tool tip is the string table's text for the control.
        if (control.toolTip) {
            EXPECT_EQ(LoadString(control.id).value_or(""), control.toolTip) << control.id;
        }
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Record", "View", "Play", "Stop Play",
                                                  "Select&&Group", "Repeat", "  Stop Repeat", ""}));
    EXPECT_EQ(LoadString(kCtlRepeatNumber).value_or(""),
              "Enter a number of times to repeat the operation.");
    std::vector<std::string> buttons;
    for (const auto& button : ScriptWindowButtons())
        buttons.push_back(button.caption);
    EXPECT_EQ(buttons, (std::vector<std::string>{"End Record", "Delete", "Clear", "Close"}));
}

TEST(ScriptWindowPlace, OverThePaneItStaysElseItGoesToThePanesTopRight) {
    const CRect pane{100, 90, 800, 560};
    const CPoint corner{800 - kScriptWindowWidth - 4, 94};
    const struct {
        CPoint saved, expected;
    } cases[] = {
        {{300, 120}, {300, 120}}, // left over the workspace
        {{0, 0}, corner},         // over the exit button and the palette
        {{650, 120}, corner},     // past the pane's right edge
        {{300, 400}, corner},     // past its bottom
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScriptWindowPlace(c.saved, pane), c.expected) << c.saved.x << "," << c.saved.y;
}
