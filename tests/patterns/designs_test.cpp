// The Designs environment: the design machine run from the page's controller on fake timers,
// its validations, and the Designs document's file with the readings it must refuse.
#include "patterns/designs_controller.h"

#include "fakes/fakes.h"
#include "workspace/archive.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

using testing::FakeDocumentHost;
using testing::FakeTimerHost;

CPoint Centre(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class DesignsTest : public ::testing::Test {
protected:
    DesignsTest() {
        doc.SetHost(&host);
        auto t = std::make_unique<FakeTimerHost>();
        timers = t.get();
        c = std::make_unique<CDesignsViewController>(doc, window, std::move(t));
    }
    CDesignFunctionMachine& m() { return doc.machine(); }
    void Click(DesignPart part) { c->MouseDown(Centre(m().PartRect(part))); }
    void Type(DesignPart box, const std::string& text) {
        Click(box);
        c->EditChanged(text);
        c->EndEdit();
    }
    // Chooses the first shape, types both boxes and presses Go.
    void Run(const std::string& angle, const std::string& times) {
        if (m().current() < 0)
            Click(DesignPart::Next);
        Type(DesignPart::AngleBox, angle);
        Type(DesignPart::TimesBox, times);
        Click(DesignPart::Go);
    }
    // Fires the rotation timer until the run ends; the ticks of each turn.
    std::vector<int> TurnTicks() {
        std::vector<int> turns;
        int ticks = 0;
        while (timers->IsRunning(kDesignTimer)) {
            ++ticks;
            const int before = m().stampsDone();
            timers->Fire(kDesignTimer);
            if (m().stampsDone() != before) {
                turns.push_back(ticks);
                ticks = 0;
            }
        }
        return turns;
    }
    void Wipe() {
        while (timers->Fire(kDesignWipeTimer)) {
        }
    }

    FakeDocumentHost host;
    testing::QuietWindow window;
    CDesignPatternsDocument doc;
    FakeTimerHost* timers = nullptr;
    std::unique_ptr<CDesignsViewController> c;
};

TEST_F(DesignsTest, TurnsTakeTheirTicksAndTheRemainder) {
    struct Case {
        const char* angle;
        const char* times;
        std::vector<int> turns;
        int interval;
    };
    const Case cases[] = {
        {"90", "4", {8, 8, 8, 8}, 100}, // seven of 12 degrees and one of 6
        {"84", "2", {7, 7}, 100},       // a multiple of 12 takes exactly angle / 12 ticks
        {"360", "1", {30}, 100},
        {"12", "20", std::vector<int>(20, 1), 100},
        {"5", "21", std::vector<int>(21, 1), 30},
    };
    for (const Case& k : cases) {
        c->PressClear();
        Run(k.angle, k.times);
        ASSERT_TRUE(timers->IsRunning(kDesignTimer)) << k.angle;
        EXPECT_EQ(timers->running[kDesignTimer].interval, k.interval) << k.times;
        EXPECT_EQ(TurnTicks(), k.turns) << k.angle << " x " << k.times;
        EXPECT_EQ(timers->running[kDesignWipeTimer].interval, 100);
        Wipe();
        EXPECT_FALSE(m().animating());
        EXPECT_EQ(m().RuleText(),
                  std::string("Rotate          ") + k.angle + "\xC2\xB0 " + k.times + " times");
    }
}

TEST_F(DesignsTest, GoRefusesWhatItCannotDraw) {
    struct Case {
        const char* angle;
        const char* times;
        const char* message;
    };
    const Case cases[] = {
        {"0", "4", "Please enter a rotation angle from 1 to 360"},
        {"361", "4", "Please enter a rotation angle from 1 to 360"},
        {"90", "abc", "Please enter a number of times to repeat from 1 to 360"},
        {"90", "0", "Please enter a number of times to repeat from 1 to 360"},
    };
    for (const Case& k : cases) {
        host.prompter.messages.clear();
        Run(k.angle, k.times);
        ASSERT_EQ(host.prompter.messages.size(), 1u) << k.angle << " " << k.times;
        EXPECT_EQ(host.prompter.messages[0].text, k.message);
        EXPECT_EQ(host.prompter.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_FALSE(timers->IsRunning(kDesignTimer));
        EXPECT_TRUE(m().design().rules().empty());
    }
}

TEST_F(DesignsTest, ChooserWrapsAndGoWaitsForAShape) {
    Type(DesignPart::AngleBox, "90");
    Type(DesignPart::TimesBox, "4");
    EXPECT_FALSE(m().GoEnabled()) << "no shape chosen";
    Click(DesignPart::Previous);
    EXPECT_EQ(m().current(), static_cast<int>(m().shapeCount()) - 1);
    Click(DesignPart::Next);
    EXPECT_EQ(m().current(), 0) << "next on the last shape selects the first";
    EXPECT_TRUE(m().GoEnabled());
    Click(DesignPart::Clear);
    EXPECT_EQ(m().current(), -1);
    EXPECT_EQ(m().angleText(), "");
}

TEST_F(DesignsTest, HiddenParametersAreStillChecked) {
    Run("90", "4");
    TurnTicks();
    Wipe();
    c->SelectTool(ToolCommand(kToolMystery));
    c->MysteryAt(Centre(m().PartRect(DesignPart::AngleBox)));
    EXPECT_EQ(m().BoxText(DesignPart::AngleBox), "?");
    EXPECT_EQ(m().PartAt(Centre(m().PartRect(DesignPart::AngleUp))), DesignPart::Panel)
        << "a hidden box has no spin buttons";
    // A file may hold any hidden value: Go checks it.
    doc.SetModifiedFlag(false);
    auto bytes = doc.SaveToBytes();
    CDesignPatternsDocument other;
    ASSERT_EQ(other.LoadFromBytes(bytes), OpenResult::Opened);
    EXPECT_EQ(other.SaveToBytes(), bytes);
    EXPECT_TRUE(other.machine().angleHidden());
    EXPECT_EQ(other.machine().Validate(), std::nullopt);
    CDesignPatternsDocument wrong;
    wrong.machine().SetHidden(DesignPart::AngleBox, true);
    wrong.machine().SetAngleText("");
    wrong.machine().SetTimesText("4");
    ASSERT_EQ(wrong.machine().Validate(), std::nullopt) << "90 kept from the start";
    // Edit the hidden angle in the file to 400.
    bytes = wrong.SaveToBytes();
    CDesignPatternsDocument loaded;
    const std::size_t angleAt = 4 + 7 * 5 + 5 + 9 + 5 + 5 + 2 + 3 + 5 + 5 + 5;
    // signature, options, tool, position, times, current, "", "4", hidden x2, colour
    ASSERT_EQ(bytes[angleAt], 90);
    bytes[angleAt] = 0x90;
    bytes[angleAt + 1] = 1;
    ASSERT_EQ(loaded.LoadFromBytes(bytes), OpenResult::Opened);
    EXPECT_EQ(loaded.machine().angle(), 400);
    EXPECT_EQ(loaded.machine().Validate(), "Please enter a rotation angle from 1 to 360");
}

TEST_F(DesignsTest, FileRoundTripsAndRefusesWhatDoesNotHoldTogether) {
    CDesignOptions o;
    o.stampColor = 1;
    doc.SetOptions(o);
    Click(DesignPart::ShowAxes);
    Click(DesignPart::RecordRule);
    Run("45", "3");
    TurnTicks();
    Wipe();
    Run("30", "2");
    TurnTicks();
    Wipe();
    const auto bytes = doc.SaveToBytes();
    // Every prefix is refused cleanly.
    for (std::size_t n = 4; n < bytes.size(); n += 7) {
        CDesignPatternsDocument d;
        EXPECT_NE(d.LoadFromBytes({bytes.begin(), bytes.begin() + static_cast<long>(n)}),
                  OpenResult::Opened)
            << n;
    }
    CDesignPatternsDocument back;
    ASSERT_EQ(back.LoadFromBytes(bytes), OpenResult::Opened);
    EXPECT_EQ(back.SaveToBytes(), bytes);
    ASSERT_EQ(back.machine().design().rules().size(), 2u);
    EXPECT_EQ(back.machine().design().rules()[1].firstColor, 3);
    // The same pictures, call for call.
    testing::RecordingSurface live, reopened;
    doc.DrawContents(live);
    back.DrawContents(reopened);
    EXPECT_EQ(live.calls, reopened.calls);
    // A current tool of another page.
    auto wrongTool = bytes;
    wrongTool[4 + 7 * 5] = kToolLinking;
    CDesignPatternsDocument d;
    EXPECT_NE(d.LoadFromBytes(wrongTool), OpenResult::Opened);
    // Undo takes the second run away.
    doc.Undo();
    EXPECT_EQ(doc.machine().design().rules().size(), 1u);
}

} // namespace
} // namespace quorvel
