// The Codes environment: the codes as a pupil meets them, the machines run from the page's
// controller, and the Codes document byte for byte with the files it must refuse.
#include "patterns/codes_controller.h"
#include "patterns/number_machine.h"

#include "fakes/fakes.h"
#include "workspace/archive.h"
#include "workspace/problem_run.h"

#include <gtest/gtest.h>

#include <bit>

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::FakeDocumentHost;
using testing::FakeTextMetrics;
using testing::FakeTimerHost;

CPoint Centre(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(Codes, EachCodeAsThePupilMeetsIt) {
    struct Case {
        const char* what;
        std::string got;
        const char* want;
    };
    const Case cases[] = {
        {"shift right 3", ShiftText("Hello, World!", 3 * 1), "Khoor, Zruog!"},
        {"shift left 1", ShiftText("abc", 1 * -1), "zab"},
        {"shift 26 places", ShiftText("Zz", 26), "Zz"},
        {"accents and bytes pass", ShiftText("caf\xC3\xA9 \xFF", 1), "dbg\xC3\xA9 \xFF"},
        {"group 4", GroupText("a b c d e f", 4), "abcd ef"},
        {"group 3", GroupText("attack at dawn", 3), "att ack atd awn"},
        {"zebra alphabet", CipherAlphabet("zebra"), "zebracdfghijklmnopqstuvwxy"},
        {"zebra encodes", SubstituteText("Hello, World", KeywordOffsets("zebra", false)),
         "Fajjm, Vmpjr"},
        {"zebra decodes", SubstituteText("Fajjm, Vmpjr", KeywordOffsets("zebra", true)),
         "Hello, World"},
        // Letter case is one letter: never a 27-letter alphabet.
        {"Aa alphabet", CipherAlphabet("Aa"), "abcdefghijklmnopqrstuvwxyz"},
        {"Zebra-Zoo decodes its own",
         SubstituteText(SubstituteText("Quiz Me", KeywordOffsets("Zebra-Zoo", false)),
                        KeywordOffsets("Zebra-Zoo", true)),
         "Quiz Me"},
        {"banana repaired", RemoveDuplicateCharacters("banana"), "bna"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
    EXPECT_FALSE(HasDuplicateCharacters("Aa")) << "the check compares exactly";
    EXPECT_EQ(ReadShiftPlaces(" 3x"), 3);
    EXPECT_EQ(ReadShiftPlaces("27"), std::nullopt);
    EXPECT_EQ(ReadShiftDirection("LEFT"), -1);
    EXPECT_EQ(ReadShiftDirection("left "), std::nullopt) << "untrimmed, as typed";
    EXPECT_EQ(ReadGroupSize("0"), std::nullopt);
}

class CodesControllerTest : public ::testing::Test {
protected:
    CodesControllerTest() {
        doc.SetHost(&host);
        CCodesOptions o;
        o.shiftOnly = 0;
        doc.SetOptions(o);
        auto t = std::make_unique<FakeTimerHost>();
        timers = t.get();
        c = std::make_unique<CCodesViewController>(doc, window, std::move(t),
                                                   std::make_unique<FakeTextMetrics>());
    }
    template <typename M> M& Machine(CodesDrawerItem item, CPoint at) {
        return static_cast<M&>(*c->TakeFromDrawer(item, at));
    }
    void Type(CPoint at, const std::string& text) {
        c->MouseDown(at, false, false);
        c->MouseUp(at);
        c->EditChanged(text);
        c->EndEdit();
    }
    CNoteCardManipulative& Note(const std::string& text, CCodeMachine* onto) {
        auto& card = static_cast<CNoteCardManipulative&>(
            *c->TakeFromDrawer(CodesDrawerItem::NoteCard, {900, 900}));
        Type(Centre(card.rect()), text);
        if (onto) {
            const CPoint from = Centre(card.rect()), to = Centre(onto->Hopper(1));
            c->MouseDown(from, false, false);
            c->MouseMove(to);
            c->MouseUp(to);
        }
        return card;
    }
    void Link(CCodeMachine& from, CCodeMachine& to) {
        c->SelectTool(ToolCommand(kToolLinking));
        c->MouseDown(Centre(from.Hopper(0)), false, false);
        c->MouseUp(Centre(to.Hopper(1)));
        c->SelectTool(ToolCommand(kToolArrow));
    }
    // Presses Go and runs the clock out; the newest output card of `last`, if any.
    CNoteCardManipulative* Run(CCodeMachine& first, CCodeMachine& last) {
        c->PressGo(first);
        for (int guard = 0; guard < 100 && !timers->running.empty(); ++guard)
            timers->Fire(timers->running.begin()->first);
        return last.outputCards().empty()
                   ? nullptr
                   : static_cast<CNoteCardManipulative*>(last.outputCards().front());
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& m : host.prompter.messages)
            out.push_back(m.text);
        return out;
    }

    FakeDocumentHost host;
    CCodePatternsDocument doc;
    testing::QuietWindow window;
    FakeTimerHost* timers = nullptr;
    std::unique_ptr<CCodesViewController> c;
};

TEST_F(CodesControllerTest, ANoteCardRunsThroughAShiftMachineAndOntoTheBoard) {
    auto& shift = Machine<CShiftMachine>(CodesDrawerItem::ShiftMachine, {300, 300});
    Type(Centre(shift.PartRect(CodePart::Box1)), "3");
    Note("Hello, World!", &shift);
    ASSERT_TRUE(shift.goEnabled());
    CNoteCardManipulative* out = Run(shift, shift);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->text(), "Khoor, Zruog!");
    EXPECT_TRUE(out->readOnly());
    EXPECT_EQ(shift.input1(), nullptr) << "the input card is used up";
    EXPECT_EQ(c->BoardCount(), 1u);
    EXPECT_EQ(c->BoardText(), "Hello, World!");
    EXPECT_EQ(c->BoardLetterCounts()['l' - 'a'], 3);

    // The board's card comes back into the workspace.
    CNoteCardManipulative* back = c->TakeFromBoard({100, 100});
    ASSERT_NE(back, nullptr);
    c->MouseMove({120, 120});
    c->MouseUp({120, 120});
    EXPECT_TRUE(back->visible());
    EXPECT_EQ(c->BoardCount(), 0u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CodesControllerTest, ParametersAreCheckedBeforeTheRun) {
    struct Case {
        CodesDrawerItem item;
        const char* box;
        const char* message;
    };
    const Case cases[] = {
        {CodesDrawerItem::ShiftMachine, "27", kShiftPlacesMessage},
        {CodesDrawerItem::ShiftMachine, "abc", kShiftPlacesMessage},
        {CodesDrawerItem::GroupMachine, "0", kGroupSizeMessage},
    };
    int x = 300;
    for (const Case& cs : cases) {
        host.prompter.messages.clear();
        auto& m = Machine<CCodeMachine>(cs.item, {x += 400, 300});
        Type(Centre(m.PartRect(CodePart::Box1)), cs.box);
        Note("abc", &m);
        EXPECT_EQ(Run(m, m), nullptr);
        EXPECT_EQ(Messages(), std::vector<std::string>{cs.message}) << cs.box;
        EXPECT_NE(m.input1(), nullptr) << "the card stays";
        EXPECT_TRUE(m.goEnabled());
    }
}

TEST_F(CodesControllerTest, DecodeRefusesWhatThisKeywordDidNotEncode) {
    auto& k = Machine<CKeywordMachine>(CodesDrawerItem::KeywordMachine, {300, 300});
    Type(Centre(k.PartRect(CodePart::Box1)), "banana");
    EXPECT_EQ(k.BoxText(1), "bna") << "the duplicate letters question, answered OK";
    Type(Centre(k.PartRect(CodePart::Box1)), "zebra");
    // A hand-written note card.
    Note("hello", &k);
    host.prompter.messages.clear();
    c->ToggleDecode(k);
    EXPECT_FALSE(k.decode());
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"This input cannot be decoded by this machine."});
    // A number card.
    c->OnCommand(kCmdCodesDeleteOutputCards);
    k.SetInput1(nullptr);
    CNumberCardManipulative number;
    number.SetText("5");
    k.SetInput1(&number);
    EXPECT_EQ(k.SetDecode(true), kMsgNotDecodable);
    EXPECT_FALSE(k.decode());
    k.SetInput1(nullptr);
}

TEST_F(CodesControllerTest, AKeywordMachineLinkedAfterAShiftMachineDecodesBack) {
    // Encode: keyword zebra, then shift right 3.
    auto& k1 = Machine<CKeywordMachine>(CodesDrawerItem::KeywordMachine, {300, 300});
    auto& s1 = Machine<CShiftMachine>(CodesDrawerItem::ShiftMachine, {300, 700});
    Type(Centre(k1.PartRect(CodePart::Box1)), "zebra");
    Type(Centre(s1.PartRect(CodePart::Box1)), "3");
    Link(k1, s1);
    Note("Meet me at noon!", &k1);
    CNoteCardManipulative* secret = Run(k1, s1);
    ASSERT_NE(secret, nullptr);
    EXPECT_EQ(secret->text(),
              ShiftText(SubstituteText("Meet me at noon!", KeywordOffsets("zebra", false)), 3));

    // Decode: shift left 3, then the keyword machine with Decode.
    auto& s2 = Machine<CShiftMachine>(CodesDrawerItem::ShiftMachine, {900, 300});
    auto& k2 = Machine<CKeywordMachine>(CodesDrawerItem::KeywordMachine, {900, 700});
    Type(Centre(s2.PartRect(CodePart::Box1)), "3");
    Type(Centre(s2.PartRect(CodePart::Box2)), "Left");
    Type(Centre(k2.PartRect(CodePart::Box1)), "zebra");
    c->ToggleDecode(k2);
    Link(s2, k2);
    const CPoint from = Centre(secret->rect()), to = Centre(s2.Hopper(1));
    c->MouseDown(from, false, false);
    c->MouseMove(to);
    c->MouseUp(to);
    CNoteCardManipulative* plain = Run(s2, k2);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->text(), "Meet me at noon!");
    EXPECT_EQ(plain->keywordUsed(), "zebra");
    EXPECT_TRUE(Messages().empty());
}

// --- the document -----------------------------------------------------------------------------

struct Layout {
    Bytes b;
    Layout& I32(std::initializer_list<std::int32_t> values) {
        for (std::int32_t v : values)
            for (int i = 0; i < 4; ++i)
                b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
        return *this;
    }
    Layout& Tab() {
        b.push_back(9);
        return *this;
    }
    Layout& Point(double x, double y) {
        for (double v : {x, y, 0.0}) {
            const auto bits = std::bit_cast<std::uint64_t>(v);
            for (int i = 0; i < 8; ++i)
                b.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
            Tab();
        }
        return *this;
    }
    Layout& Str(const std::string& s) {
        b.push_back(static_cast<std::uint8_t>(s.size()));
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    // The manipulative base at a centre, then the Patterns fields: mystery, the value 0,
    // input1, input2, table, hopper owner, producer, no waiting or output cards, the flag.
    Layout& Pattern(double x, double y, bool visible, std::int32_t mystery, std::int32_t in1 = -1,
                    std::int32_t owner = -1) {
        I32({0}).Point(x, y).Point(x, y).I32({0, visible ? 1 : 0, 0, 0, -1, 0});
        return I32({mystery, 0, 0, in1, -1, -1, owner, -1, 0, 0, 0, 0});
    }
    Layout& Note(double x, double y, bool visible, const std::string& shown,
                 const std::string& keyword, const std::string& hidden, CRect r, std::int32_t state,
                 std::int32_t owner = -1) {
        Pattern(x, y, visible, 0, -1, owner);
        Str(shown).Tab().Str(keyword).Tab().Str(hidden).Tab();
        return Str(shown).I32({1, r.left, r.top, r.right, r.bottom, state, 1});
    }
};

// The document a golden file describes: a shift machine with a card at its hopper and its
// places hidden, a mysterious keyword machine decoding, a group machine, a read-only card made
// hidden, and one card on the message board.
void FillCodes(CCodePatternsDocument& doc, ITextMetrics& metrics) {
    doc.SetOptions({0, 1, 0, 1, 0});
    doc.SetCurrentTool(kToolLinking);
    auto* shift = static_cast<CShiftMachine*>(
        doc.AddManipulative(std::make_unique<CShiftMachine>(CPoint{0, 0})));
    shift->SetBoxText(1, "3");
    shift->SetBoxText(2, "left");
    shift->ToggleBoxHidden(1);
    auto* card = static_cast<CNoteCardManipulative*>(
        doc.AddManipulative(std::make_unique<CNoteCardManipulative>(CPoint{0, 0}, metrics)));
    card->SetText("abc", metrics);
    card->SetRect({50, -4, 202, 24});
    shift->SetInput1(card);
    card->SetHopperOwner(shift);
    auto* keyword = static_cast<CKeywordMachine*>(
        doc.AddManipulative(std::make_unique<CKeywordMachine>(CPoint{300, 0})));
    keyword->SetBoxText(1, "zebra");
    keyword->SetDecode(true);
    keyword->SetMystery(1);
    keyword->SetLabel("K");
    doc.AddManipulative(std::make_unique<CGroupMachine>(CPoint{600, 0}));
    auto* secret = static_cast<CNoteCardManipulative*>(
        doc.AddManipulative(std::make_unique<CNoteCardManipulative>(CPoint{0, 300}, metrics)));
    secret->SetText("Fajjm", metrics);
    secret->SetRect({0, 300, 152, 328});
    secret->SetReadOnly(true);
    secret->SetKeywordUsed("zebra");
    secret->ToggleHidden();
    CNoteCardManipulative board(CPoint{0, 0}, metrics);
    board.SetText("hi", metrics);
    board.SetRect({0, 400, 152, 428});
    doc.AddToBoard(board);
}

TEST(CodesDocument, WritesTheLayoutFieldByField) {
    FakeTextMetrics metrics;
    CCodePatternsDocument doc;
    FillCodes(doc, metrics);
    CProblemRunState run;
    CArchive block;
    run.Serialize(block);
    const int mx = CCodeMachine::kWidth / 2, my = CCodeMachine::kHeight / 2;
    Layout expected;
    expected.I32({19992002})
        .I32({0, 1, 0, 1, 0}) // Shift only, Mystery Tool, Computer Checked, Board, Linking
        .I32({10})            // current tool
        .I32({6, 7, 6, 8, 9, 6, 6});
    // 0: the shift machine, its card at input 1; places hidden, direction shown.
    expected.Pattern(mx, my, true, 0, 1).I32({0}).I32({0, 0}).Str("").Str("");
    expected.Str("3").Str("left").I32({3, 1, 1, 0}); // the direction as last checked
    // 1: the card at its hopper.
    expected.Note(126, 10, true, "abc", "", "", {50, -4, 202, 24}, 0, 0);
    // 2: the keyword machine, mysterious and decoding.
    expected.Pattern(300 + mx, my, true, 1).I32({1}).I32({300, 0}).Str("").Str("K");
    expected.Str("zebra").Str("").I32({0, 1}).Str("");
    // 3: the group machine as it comes from the drawer.
    expected.Pattern(600 + mx, my, true, 0).I32({0}).I32({600, 0}).Str("").Str("");
    expected.Str("5").I32({5, 0});
    // 4: a machine's card, hidden; 5: the board's copy, not shown in the workspace.
    expected.Note(76, 314, true, "?", "zebra", "Fajjm", {0, 300, 152, 328}, 3);
    expected.Note(76, 414, false, "hi", "", "", {0, 400, 152, 428}, 0);
    expected.I32({0, 0, 700, 560}).Str("");
    expected.b.insert(expected.b.end(), block.bytes().begin(), block.bytes().end());
    expected.I32({0, 0}).I32({1, 5}); // pane offset; the board holds manipulative 5
    const Bytes saved = doc.SaveToBytes();
    EXPECT_EQ(saved, expected.b);

    CCodePatternsDocument again;
    ASSERT_EQ(again.LoadFromBytes(saved), OpenResult::Opened);
    EXPECT_EQ(again.SaveToBytes(), saved);
    const auto& list = again.manipulatives();
    EXPECT_EQ(list[0]->GetType(), kTypeShiftMachine);
    EXPECT_TRUE(static_cast<CShiftMachine&>(*list[0]).BoxHidden(1));
    EXPECT_EQ(static_cast<CPatternManipulative&>(*list[0]).input1(), list[1].get());
    EXPECT_TRUE(static_cast<CNoteCardManipulative&>(*list[4]).hidden());
    EXPECT_TRUE(static_cast<CNoteCardManipulative&>(*list[4]).readOnly());
    EXPECT_EQ(static_cast<CKeywordMachine&>(*list[2]).mystery(), 1);
    ASSERT_EQ(again.BoardCards().size(), 1u);
    EXPECT_EQ(again.BoardCards()[0]->text(), "hi");
}

TEST(CodesDocument, RefusesWhatDoesNotHoldTogether) {
    FakeTextMetrics metrics;
    CCodePatternsDocument doc;
    FillCodes(doc, metrics);
    const Bytes good = doc.SaveToBytes();
    const auto at = [&](std::size_t offset, std::int32_t v) {
        Bytes b = good;
        for (int i = 0; i < 4; ++i)
            b[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
        return b;
    };
    const std::size_t tool = 4 + 5 * 4, types = tool + 8;
    // The shift machine's input1 index: after its base (4 + 2 x 27 + 24), mystery and value.
    const std::size_t input1 = types + 7 * 4 + 4 + 54 + 24 + 4 + 8;
    const std::size_t board = good.size() - 4;
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"unknown type code", at(types + 4 * 4, 11)},
        {"a tool of another page", at(tool, kToolAnglemeter)},
        {"an input index beyond the list", at(input1, 40)},
        {"an input naming the machine itself", at(input1, 0)},
        {"a board entry that is a machine", at(board, 0)},
        {"a board entry naming a card at a hopper", at(board, 1)},
    };
    for (const Case& cs : cases) {
        CCodePatternsDocument broken;
        EXPECT_NE(broken.LoadFromBytes(cs.file), OpenResult::Opened) << cs.what;
        EXPECT_TRUE(broken.manipulatives().empty()) << cs.what;
    }
}

TEST(CodesDocument, RefusesADegenerateViewAndAnInvalidNumber) {
    CCodePatternsDocument empty;
    Bytes good = empty.SaveToBytes();
    // options, tool, no manipulatives, then the view rectangle.
    const std::size_t view = 4 + 5 * 4 + 4 + 4;
    Bytes flat = good;
    flat[view + 8] = 0; // right = left
    flat[view + 9] = 0;
    CCodePatternsDocument a;
    EXPECT_NE(a.LoadFromBytes(flat), OpenResult::Opened);

    // A group machine holding a fraction 2/4 as its value, and one whose hidden size is 0.
    CCodePatternsDocument doc;
    auto* g = static_cast<CGroupMachine*>(doc.AddManipulative(std::make_unique<CGroupMachine>()));
    g->ToggleBoxHidden(1);
    Bytes file = doc.SaveToBytes();
    const std::size_t value = 4 + 5 * 4 + 4 + 8 + 4 + 54 + 24 + 4;
    Bytes fraction(file.begin(), file.begin() + static_cast<long>(value));
    Layout mid;
    mid.I32({1, 2, 4});
    fraction.insert(fraction.end(), mid.b.begin(), mid.b.end());
    fraction.insert(fraction.end(), file.begin() + static_cast<long>(value + 8), file.end());
    CCodePatternsDocument b;
    EXPECT_NE(b.LoadFromBytes(fraction), OpenResult::Opened);

    // The stored size 0 reads, and Go refuses it with the group size's message.
    CProblemRunState run;
    CArchive block;
    run.Serialize(block);
    const std::size_t size = file.size() - (16 + 1 + block.bytes().size() + 8 + 4) - 8;
    file[size] = 0;
    FakeDocumentHost host;
    CCodePatternsDocument d;
    d.SetHost(&host);
    ASSERT_EQ(d.LoadFromBytes(file), OpenResult::Opened);
    auto& machine = static_cast<CGroupMachine&>(*d.manipulatives()[0]);
    EXPECT_EQ(machine.size(), 0);
    EXPECT_EQ(machine.CheckParameters(), std::optional<std::string>(kGroupSizeMessage));
}

} // namespace
} // namespace quorvel
