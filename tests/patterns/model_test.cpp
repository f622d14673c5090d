// The Numbers model: supermachine references, wires, cards, Compute and the linked archive.
#include "fakes/fakes.h"
#include "patterns/number_machine.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorvel {
namespace {

using testing::FakeTextMetrics;
using testing::RecordingSurface;

std::unique_ptr<CNumberCardManipulative> Card(const std::string& text, CPoint at = {0, 0}) {
    FakeTextMetrics metrics;
    auto card = std::make_unique<CNumberCardManipulative>(at, metrics);
    card->SetText(text);
    return card;
}

// A link from `source` into input `which` of `target`, the way the Linking tool makes it.
int Link(CMachineLink& link, CNumberMachine& source, CNumberMachine& target, int which) {
    const int r = which == 1 ? target.SetInput1(&link) : target.SetInput2(&link);
    return r == kAccepted ? link.SetInput1(&source) : r;
}

TEST(PatternsModel, SetInputRefusesLoopsDirectlyAndThroughLinks) {
    CNumberMachine a, b;
    ASSERT_EQ(b.SetInput1(&a), kAccepted);
    EXPECT_EQ(a.SetInput1(&b), kMsgLoopInSupermachine);
    EXPECT_EQ(a.input1(), nullptr);

    CNumberMachine c, d;
    CMachineLink forward(c, d), back(d, c);
    ASSERT_EQ(Link(forward, c, d, 1), kAccepted);
    EXPECT_EQ(Link(back, d, c, 2), kMsgLoopInSupermachine);
    EXPECT_EQ(c.input2(), nullptr);
    EXPECT_EQ(d.output(), nullptr);
}

TEST(PatternsModel, DestroyedObjectsLeaveNoReferenceBehind) {
    auto source = std::make_unique<CNumberMachine>(CPoint{0, 0});
    auto machine = std::make_unique<CNumberMachine>(CPoint{0, 300});
    auto link = std::make_unique<CMachineLink>(*source, *machine);
    ASSERT_EQ(Link(*link, *source, *machine, 2), kAccepted);
    auto atHopper = Card("1"), waiting = Card("2"), produced = Card("3");
    for (auto* c : {atHopper.get(), waiting.get()}) {
        c->MoveTo(C3DPointDouble(machine->Hopper(1).left + 30, machine->Hopper(1).top + 10, 0));
        ASSERT_EQ(machine->AcceptCard(c), kAccepted);
    }
    machine->outputCards().push_back(produced.get());
    produced->SetProducer(machine.get());

    waiting.reset();
    EXPECT_TRUE(machine->waiting1().empty());
    machine.reset();
    EXPECT_EQ(atHopper->hopperOwner(), nullptr);
    EXPECT_EQ(atHopper->output(), nullptr);
    EXPECT_EQ(produced->producer(), nullptr);
    EXPECT_EQ(link->output(), nullptr);
    link.reset();
    EXPECT_EQ(source->output(), nullptr);
}

TEST(PatternsModel, WireRoutes) {
    const CRect source{0, 40, 200, 164};
    struct Case {
        CPoint s, e;
        CRect target;
        std::vector<CPoint> wire;
    };
    const Case cases[] = {
        // The target lies well below: down, across, down.
        {{100, 204},
         {358, 260},
         {300, 260, 500, 384},
         {{100, 204}, {100, 232}, {358, 232}, {358, 260}}},
        // Beside it with a gap: between the facing sides.
        {{100, 204},
         {358, 0},
         {300, 40, 500, 164},
         {{100, 204}, {100, 212}, {250, 212}, {250, -8}, {358, -8}, {358, 0}}},
        // Overlapping and to the right: below both and round the right side.
        {{100, 204},
         {108, 60},
         {50, 100, 250, 224},
         {{100, 204}, {100, 232}, {258, 232}, {258, 52}, {108, 52}, {108, 60}}},
        // Overlapping and to the left: round the left side.
        {{100, 204},
         {40, 60},
         {-50, 100, 150, 224},
         {{100, 204}, {100, 232}, {-58, 232}, {-58, 52}, {40, 52}, {40, 60}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WireRoute(c.s, c.e, source, c.target), c.wire) << c.e.x << "," << c.e.y;
}

TEST(PatternsModel, CardTextThatMakesNoNumberKeepsTheLastValue) {
    const std::pair<const char*, const char*> steps[] = {
        {"3/4", "3/4"}, {"5/0", "3/4"}, {"0/0", "3/4"}, {"abc", "3/4"}, {"123456789", "1234567"}};
    auto card = Card("");
    for (const auto& [text, value] : steps) {
        card->SetText(text);
        EXPECT_EQ(card->GetValue().Format(), value) << text;
    }
    EXPECT_EQ(card->text(), "1234567");
}

TEST(PatternsModel, CardFacesByKind) {
    struct Case {
        CNumber value;
        std::string whole, numerator, denominator;
    };
    const Case cases[] = {
        {CNumber(1, 2) + CNumber(1, 3), "", "5", "6"},
        {CNumber(5.0 / 6.0), "0.833333333333333", "", ""},
        {CNumber("2 1/3"), "2", "1", "3"},
        {CNumber(-7, 3), "-2", "1", "3"},
        {CNumber(-42), "-42", "", ""},
    };
    for (const Case& c : cases) {
        CNumberCardManipulative card;
        card.SetReadOnly(true);
        card.SetShownValue(c.value);
        const auto face = card.GetFace();
        EXPECT_EQ(face.whole, c.whole);
        EXPECT_EQ(face.numerator, c.numerator);
        EXPECT_EQ(face.denominator, c.denominator);
        EXPECT_EQ(face.fraction, !c.denominator.empty());
    }
}

TEST(PatternsModel, HidingCards) {
    auto card = Card("");
    EXPECT_EQ(card->ToggleHidden(), kMsgHideEmptyCard);
    card->SetText("4");
    ASSERT_EQ(card->ToggleHidden(), kAccepted);
    EXPECT_TRUE(card->GetFace().whole.empty());
    EXPECT_EQ(card->GetText(), "4");
}

CNumber Calculate(const char* a, int operation, const char* b, bool decimal = false) {
    CNumberMachine m;
    auto x = Card(a), y = Card(b);
    m.SetInput1(x.get());
    m.SetInput2(y.get());
    m.SetOperation(operation);
    EXPECT_EQ(m.Compute({decimal, false}), ComputeResult::Computed);
    return m.GetValue();
}

std::string Failure(const char* a, int operation, const char* b) {
    try {
        Calculate(a, operation, b);
    } catch (const CNumberException& e) {
        return e.message();
    }
    return "no exception";
}

TEST(PatternsModel, ComputeResultsAndArithmeticFailures) {
    EXPECT_EQ(Calculate("1/2", 0, "1/3").Format(), "5/6");
    EXPECT_EQ(Calculate("1/2", 0, "1/3", true).kind(), NumberKind::Decimal);
    EXPECT_EQ(Failure("7", 3, "0"), "Division by Zero");
    EXPECT_EQ(Failure("99999", 2, "99999"), "Integer Overflow");

    CNumberMachine none;
    EXPECT_EQ(none.Compute({}), ComputeResult::Missing);
}

TEST(PatternsModel, ChainedOverflowAndTheFirstMachinesGoButton) {
    CNumberMachine first, second{CPoint{0, 300}};
    CMachineLink link(first, second);
    ASSERT_EQ(Link(link, first, second, 1), kAccepted);
    auto a = Card("-32768"), b = Card("65536"), c = Card("-1");
    first.SetInput1(a.get());
    first.SetInput2(b.get());
    second.SetInput2(c.get());
    first.SetOperation(2);
    second.SetOperation(3);
    first.UpdateSupermachineGoButtons();
    EXPECT_TRUE(first.goEnabled());
    EXPECT_FALSE(second.goEnabled());

    const CComputeOptions fractional{false, false};
    ASSERT_EQ(first.Compute(fractional), ComputeResult::Computed);
    EXPECT_EQ(second.Compute(fractional), ComputeResult::Waiting);
    second.SetInput1Arrived(true);
    try {
        second.Compute(fractional);
        ADD_FAILURE() << "no overflow";
    } catch (const CIntegerOverflowException& e) {
        EXPECT_EQ(e.message(), "Integer Overflow");
    }
}

TEST(PatternsModel, SpinButtonsWrap) {
    CNumberMachine m;
    m.SetOperation(0);
    for (int i = 0; i < 4; ++i)
        m.NextOperation();
    EXPECT_EQ(m.operation(), 0);
    m.SetOperation(kNoOperation);
    m.PreviousOperation();
    EXPECT_EQ(m.operation(), 3);
}

TEST(PatternsModel, CardsDroppedOnHoppersAreCentredAndStacked) {
    CNumberMachine m(CPoint{40, 100});
    const CRect hopper = m.Hopper(2);
    auto first = Card("1"), second = Card("2"), far = Card("3", {900, 900});
    for (auto* c : {first.get(), second.get()}) {
        c->MoveTo(C3DPointDouble(hopper.left + 10, hopper.top - 5, 0));
        ASSERT_EQ(m.AcceptCard(c), kAccepted);
    }
    const CSize size{first->rect().Width(), first->rect().Height()};
    const CPoint place = m.CardPlace(2, size);
    EXPECT_EQ(m.input2(), first.get());
    EXPECT_EQ(first->rect().left, place.x);
    EXPECT_EQ(first->rect().top, place.y);
    ASSERT_EQ(m.waiting2().size(), 1u);
    EXPECT_EQ(second->rect().top, place.y - size.cy);
    EXPECT_EQ(m.AcceptCard(far.get()), kNotOverHopper);

    m.MoveBy(10, 5);
    EXPECT_EQ(first->rect().left, place.x + 10);
    EXPECT_EQ(second->rect().top, place.y - size.cy + 5);

    m.SetBuiltIn(1, true);
    far->MoveTo(C3DPointDouble(m.Hopper(1).left + 10, m.Hopper(1).top, 0));
    EXPECT_EQ(m.AcceptCard(far.get()), kNotOverHopper);
}

// A small supermachine as a document holds it: two machines, a link and four cards.
struct Supermachine {
    std::vector<std::unique_ptr<CManipulative>> list;

    void Build() {
        auto a = std::make_unique<CNumberMachine>(CPoint{10, 20});
        auto b = std::make_unique<CNumberMachine>(CPoint{10, 320});
        auto link = std::make_unique<CMachineLink>(*a, *b);
        Link(*link, *a, *b, 1);
        link->Route();
        auto c1 = Card("5"), c2 = Card("1/2"), c3 = Card("0.25"), waiting = Card("7");
        for (auto [card, which] : {std::pair{c1.get(), 1}, {c2.get(), 2}, {waiting.get(), 1}}) {
            card->MoveTo(C3DPointDouble(a->Hopper(which).left + 20, a->Hopper(which).top, 0));
            a->AcceptCard(card);
        }
        c3->MoveTo(C3DPointDouble(b->Hopper(2).left + 20, b->Hopper(2).top, 0));
        b->AcceptCard(c3.get());
        a->SetOperation(0);
        b->SetOperation(3);
        b->SetBuiltIn(2, false);
        b->SetSupermachineMystery(1);
        b->SetLabel("secret");
        list.push_back(std::move(a));
        list.push_back(std::move(b));
        list.push_back(std::move(link));
        for (auto* c : {&c1, &c2, &c3, &waiting})
            list.push_back(std::move(*c));
    }

    std::vector<std::uint8_t> Write() {
        CArchive ar;
        const CPatternIndex index{&list};
        for (auto& m : list)
            dynamic_cast<CPatternManipulative&>(*m).SerializeLinked(ar, index);
        return ar.TakeBytes();
    }

    void Read(const std::vector<std::int32_t>& types, const std::vector<std::uint8_t>& bytes) {
        for (std::int32_t t : types)
            list.push_back(CManipulativeRegistry::Instance().Create(t));
        CArchive ar(bytes);
        const CPatternIndex index{&list};
        for (auto& m : list)
            dynamic_cast<CPatternManipulative&>(*m).SerializeLinked(ar, index);
        EXPECT_TRUE(ar.AtEnd());
    }
};

TEST(PatternsModel, LinkedArchiveRoundTrip) {
    RegisterNumbersManipulatives();
    Supermachine original;
    original.Build();
    const auto bytes = original.Write();
    std::vector<std::int32_t> types;
    for (auto& m : original.list)
        types.push_back(m->GetType());

    Supermachine copy;
    copy.Read(types, bytes);
    EXPECT_EQ(copy.Write(), bytes);
    auto* a = dynamic_cast<CNumberMachine*>(copy.list[0].get());
    auto* b = dynamic_cast<CNumberMachine*>(copy.list[1].get());
    auto* link = dynamic_cast<CMachineLink*>(copy.list[2].get());
    EXPECT_EQ(b->input1(), link);
    EXPECT_EQ(link->source(), a);
    EXPECT_EQ(a->output(), link);
    EXPECT_EQ(a->waiting1().size(), 1u);
    EXPECT_EQ(b->GetLabel(), "secret");
    EXPECT_EQ(b->FirstMachine(), a);
}

TEST(PatternsModel, MachineDrawsItsOperatorAndGo) {
    CNumberMachine m;
    m.SetOperation(2);
    RecordingSurface dc;
    m.Draw(dc);
    const auto texts = dc.Only("drawtext");
    auto drawn = [&](const std::string& s) {
        return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) {
            return t.size() >= s.size() && t.compare(t.size() - s.size(), s.size(), s) == 0;
        });
    };
    EXPECT_TRUE(drawn(" \u00D7"));
    EXPECT_TRUE(drawn(" Go"));
    EXPECT_TRUE(drawn(" Machine"));
}

} // namespace
} // namespace quorvel
