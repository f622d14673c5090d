// The Numbers page's logic as a pupil meets it: cards on hoppers, Go, linking, the Mystery tool
// and the Eraser, with timers fired by hand.
#include "patterns/numbers_controller.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

using testing::FakeDocumentHost;
using testing::FakeTextMetrics;
using testing::FakeTimerHost;

CPoint Centre(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A point of the machine's body away from its boxes and buttons.
CPoint BodyPoint(const CNumberMachine& m) {
    const CRect b = m.Body();
    for (int y = b.top; y < b.bottom; y += 2)
        for (int x = b.left; x < b.right; x += 2)
            if (m.PartAt({x, y}) == MachinePart::Body)
                return {x, y};
    return {};
}

class NumbersControllerTest : public ::testing::Test {
protected:
    NumbersControllerTest() {
        doc.SetHost(&host);
        auto t = std::make_unique<FakeTimerHost>();
        timers = t.get();
        c = std::make_unique<CNumbersViewController>(doc, window, std::move(t),
                                                     std::make_unique<FakeTextMetrics>());
    }

    CNumberMachine& Machine(CPoint at, int operation) {
        auto* m = static_cast<CNumberMachine*>(c->TakeFromDrawer(NumbersDrawerItem::Machine, at));
        if (operation != kNoOperation) {
            c->MouseDown(Centre(m->PartRect(MachinePart::Operator)), false, false);
            c->EditChanged(OperationSymbol(operation));
            c->EndEdit();
        }
        return *m;
    }
    // A card typed on and dropped on input `which` of `m`.
    CNumberCardManipulative& Card(const std::string& text, CNumberMachine& m, int which) {
        auto* card = static_cast<CNumberCardManipulative*>(
            c->TakeFromDrawer(NumbersDrawerItem::Card, {900, 900}));
        const CPoint at = Centre(card->rect());
        c->MouseDown(at, false, false);
        c->MouseUp(at);
        c->EditChanged(text);
        c->EndEdit();
        const CPoint target = Centre(m.Hopper(which));
        c->MouseDown(at, false, false);
        c->MouseMove(target);
        c->MouseUp(target);
        return *card;
    }
    void Go(CNumberMachine& m) {
        c->MouseDown(Centre(m.PartRect(MachinePart::Go)), false, false);
        c->MouseUp(Centre(m.PartRect(MachinePart::Go)));
    }
    // Fires the timers until nothing runs; the autotrigger waits counted.
    int RunOut() {
        int waits = 0;
        for (int guard = 0; guard < 1000 && !timers->running.empty(); ++guard) {
            const auto id = timers->running.begin()->first;
            waits += id != kMachineTickTimer;
            timers->Fire(id);
        }
        return waits;
    }
    std::vector<CNumberCardManipulative*> OutputCards(CNumberMachine& m) const {
        std::vector<CNumberCardManipulative*> out;
        for (auto* p : m.outputCards())
            out.push_back(static_cast<CNumberCardManipulative*>(p));
        return out;
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& m : host.prompter.messages)
            out.push_back(m.text);
        return out;
    }

    FakeDocumentHost host;
    CNumberPatternsDocument doc;
    testing::QuietWindow window;
    FakeTimerHost* timers = nullptr;
    std::unique_ptr<CNumbersViewController> c;
};

TEST_F(NumbersControllerTest, GoRunsSixTicksAndLeavesTheResultAtTheOutputHopper) {
    struct Case {
        const char* a;
        int op;
        const char* b;
        bool decimal;
        const char* message; // or the face
        const char* face;
    };
    const Case cases[] = {
        {"1/2", 0, "1/3", false, nullptr, "5/6"},
        {"1/2", 0, "1/3", true, nullptr, "0.833333333333333"},
        {"7", 3, "0", true, "Division by Zero", nullptr},
        {"99999", 2, "99999", true, "Integer Overflow", nullptr},
        {"2 1/3", 1, "0", false, nullptr, "2 1/3"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.a) + OperationSymbol(k.op) + k.b);
        doc.ClearWorkspace();
        host.prompter.messages.clear();
        CNumbersOptions o = doc.options();
        o.decimalOutput = k.decimal;
        doc.SetOptions(o);
        CNumberMachine& m = Machine({300, 300}, k.op);
        Card(k.a, m, 1);
        Card(k.b, m, 2);
        ASSERT_TRUE(m.goEnabled());
        Go(m);
        int ticks = 0;
        while (timers->Fire(kMachineTickTimer))
            ++ticks;
        if (k.message) {
            EXPECT_EQ(Messages(), std::vector<std::string>{k.message});
            EXPECT_TRUE(OutputCards(m).empty());
            EXPECT_TRUE(m.goEnabled()) << "Go is back";
            continue;
        }
        EXPECT_EQ(ticks, kRunTicks);
        EXPECT_TRUE(Messages().empty());
        ASSERT_EQ(OutputCards(m).size(), 1u);
        const auto face = OutputCards(m)[0]->GetFace();
        const std::string shown = face.fraction ? (face.whole.empty() ? "" : face.whole + " ") +
                                                      face.numerator + "/" + face.denominator
                                                : face.whole;
        EXPECT_EQ(shown, k.face);
        EXPECT_EQ(m.input1(), nullptr) << "the input cards are used up";
        EXPECT_FALSE(m.goEnabled());
    }
}

TEST_F(NumbersControllerTest, StackedCardsRunAsASeriesThatStopFinishes) {
    CNumberMachine& m = Machine({300, 300}, 2);
    for (const char* t : {"1", "2", "3"}) {
        Card(t, m, 1);
        Card("10", m, 2);
    }
    EXPECT_EQ(m.waiting1().size(), 2u);
    Go(m);
    EXPECT_EQ(m.goText(), "Stop");
    EXPECT_EQ(RunOut(), 2) << "two 750 ms waits between three runs";
    const auto out = OutputCards(m);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0]->GetValue(), CNumber(30));
    EXPECT_EQ(out[2]->GetValue(), CNumber(10));
    const int centre = Centre(m.Hopper(0)).x;
    const auto mid = [](const CNumberCardManipulative* k) { return Centre(k->rect()).x; };
    EXPECT_EQ(mid(out[2]), centre - 3);
    EXPECT_EQ(mid(out[1]), centre + 3);
    EXPECT_EQ(mid(out[0]), centre - 3);
    EXPECT_LE(out[0]->rect().bottom, out[1]->rect().top) << "earlier cards pushed down";
    EXPECT_EQ(m.goText(), "Go");

    // Stop during a series: the run under way ends, no other starts.
    for (const char* t : {"4", "5", "6"}) {
        Card(t, m, 1);
        Card("1", m, 2);
    }
    Go(m);
    timers->Fire(kMachineTickTimer);
    Go(m); // "Stop"
    EXPECT_EQ(RunOut(), 0);
    EXPECT_EQ(OutputCards(m).size(), 4u);
    EXPECT_NE(m.input1(), nullptr) << "the next cards wait";
    EXPECT_TRUE(m.goEnabled());
}

TEST_F(NumbersControllerTest, LinkedMachinesPassTheirResultOnAndRefuseLoops) {
    CNumberMachine& a = Machine({100, 100}, 0);
    CNumberMachine& b = Machine({100, 400}, 2);
    Card("1/2", a, 1);
    Card("1/3", a, 2);
    Card("6", b, 2);
    c->SelectTool(ToolCommand(kToolLinking));
    const auto link = [&](CNumberMachine& from, CNumberMachine& to, int which) {
        c->MouseDown(Centre(from.Hopper(0)), false, false);
        c->MouseMove(Centre(to.Hopper(which)));
        c->MouseUp(Centre(to.Hopper(which)));
    };
    link(a, b, 1);
    ASSERT_NE(b.input1(), nullptr);
    EXPECT_TRUE(b.input1()->IsLink());
    EXPECT_FALSE(b.goEnabled());
    EXPECT_TRUE(a.goEnabled()) << "the first machine runs the supermachine";
    link(b, a, 1);
    link(a, b, 2);
    CNumberMachine& d = Machine({500, 100}, 0);
    Card("1", d, 2);
    link(d, b, 2);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Error, this connection creates a loop in the machine.",
                                        "This hopper is occupied.",
                                        "This input is occupied by a number card."}));
    c->SelectTool(ToolCommand(kToolArrow));
    Go(a);
    RunOut();
    ASSERT_EQ(OutputCards(b).size(), 1u);
    EXPECT_EQ(OutputCards(b)[0]->GetValue(), CNumber(5.0));
    EXPECT_TRUE(OutputCards(a).empty());

    // Undo takes the run back, and the links stay whole.
    EXPECT_TRUE(doc.Undo());
    int links = 0;
    for (const auto& m : doc.manipulatives()) {
        EXPECT_FALSE(m->GetType() == kTypeNumberCard &&
                     static_cast<CNumberCardManipulative&>(*m).readOnly());
        if (m->GetType() == kTypeMachineLink) {
            ++links;
            EXPECT_NE(static_cast<CMachineLink&>(*m).target(), nullptr);
        }
    }
    EXPECT_EQ(links, 1);
}

TEST_F(NumbersControllerTest, MysteryAndEraserFollowTheSupermachine) {
    CNumberMachine& a = Machine({100, 100}, kNoOperation);
    c->SelectTool(ToolCommand(kToolMystery));
    c->MysteryAt(BodyPoint(a));
    auto* empty = static_cast<CNumberCardManipulative*>(
        c->TakeFromDrawer(NumbersDrawerItem::Card, {700, 700}));
    c->SelectTool(ToolCommand(kToolMystery));
    c->MysteryAt(Centre(empty->rect()));
    c->SelectTool(ToolCommand(kToolMystery));
    c->MysteryAt(Centre(a.PartRect(MachinePart::Operator)));
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "Please make sure the machine is ready before making it mysterious.",
                              "Please provide an input value before hiding the Number Card.",
                              "Please provide a value for the operator before hiding it."}));

    CNumberMachine& b = Machine({100, 400}, 0);
    c->SelectTool(ToolCommand(kToolArrow));
    c->MouseDown(Centre(a.PartRect(MachinePart::SpinNext)), false, false);
    c->SelectTool(ToolCommand(kToolLinking));
    c->MouseDown(Centre(a.Hopper(0)), false, false);
    c->MouseUp(Centre(b.Hopper(1)));
    c->SelectTool(ToolCommand(kToolArrow));
    Card("3", b, 2);
    c->SelectTool(ToolCommand(kToolMystery));
    c->MysteryAt(BodyPoint(b));
    EXPECT_EQ(a.mystery(), 1) << "the whole supermachine";

    host.prompter.messages.clear();
    host.prompter.choices = {1}; // "Erase SuperMachine"
    c->SelectTool(ToolCommand(kToolEraser));
    c->MouseDown(BodyPoint(a), false, false);
    EXPECT_EQ(Messages(), std::vector<std::string>{
                              "Erase a single machine to break the supermachine and remove any "
                              "attached links or erase the entire supermachine?"});
    EXPECT_EQ(doc.manipulatives().size(), 2u) << "only the cards stay";
}

TEST_F(NumbersControllerTest, ATableRecordsRunsAndOutlivesItsMachines) {
    CNumberMachine& a = Machine({100, 100}, 0);
    Card("2", a, 1);
    Card("3", a, 2);
    c->OnCommand(kCmdNewTable);
    auto* table = static_cast<CTableManipulative*>(doc.manipulatives().back().get());
    ASSERT_EQ(table->GetType(), kTypeTable);
    c->SelectTool(ToolCommand(kToolLinking));
    for (int part : {0, 1}) { // the output hopper, then input hopper 1
        const CPoint plug = Centre(a.Hopper(part));
        c->MouseDown(plug, false, false);
        c->MouseMove(Centre(table->WindowRect()));
        c->MouseUp(Centre(table->WindowRect()));
    }
    ASSERT_EQ(table->grid().dataColumns(), 2);
    EXPECT_EQ(table->grid().Cell(0, 1).text, "Input 1");
    c->SelectTool(ToolCommand(kToolArrow));
    Go(a);
    RunOut();
    ASSERT_EQ(table->grid().dataRows(), 1);
    EXPECT_EQ(table->CopyText(), "");
    table->grid().Select({1, 1, 1, 2});
    EXPECT_EQ(table->CopyText(), "2\t5.0\r\n");

    // Changing the operation asks first and clears the rows.
    c->MouseDown(Centre(a.PartRect(MachinePart::SpinNext)), false, false);
    EXPECT_EQ(Messages().back(), "Changing the function of this machine will clear the "
                                 "associated table. Do you want to continue?");
    EXPECT_FALSE(table->HasRows());

    const auto theTable = [this]() -> CTableManipulative* {
        for (const auto& m : doc.manipulatives())
            if (m->GetType() == kTypeTable)
                return static_cast<CTableManipulative*>(m.get());
        return nullptr;
    };
    c->SelectTool(ToolCommand(kToolEraser));
    c->MouseDown(BodyPoint(a), false, false);
    ASSERT_EQ(theTable(), table) << "the table stays";
    EXPECT_EQ(table->grid().columns(), 1);
    EXPECT_TRUE(doc.Undo());
    ASSERT_NE(theTable(), nullptr);
    EXPECT_EQ(theTable()->grid().dataColumns(), 2);
}

} // namespace
} // namespace quorvel

namespace quorvel {
namespace {
TEST_F(NumbersControllerTest, WhatComesOutOfTheDrawerLiesInsideTheWorkspace) {
    for (auto item : {NumbersDrawerItem::Machine, NumbersDrawerItem::Card}) {
        const CRect frame = c->TakeFromDrawer(item, {2, 3})->GetFrameOf();
        EXPECT_GE(frame.left, 0);
        EXPECT_GE(frame.top, 0);
    }
}
} // namespace
} // namespace quorvel
