// The Numbers document: its file byte for byte, a supermachine read back whole, the references a
// file may not break, options, spreading to another view and undo.
#include "patterns/machine_table.h"
#include "patterns/number_machine.h"
#include "patterns/patterns_documents.h"
#include "workspace/tool_palette.h"

#include "fakes/fakes.h"
#include "sample_documents.h"
#include "workspace/annotator.h"
#include "workspace/archive.h"
#include "workspace/file_store.h"
#include "workspace/problem_run.h"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <functional>

#include <unistd.h>

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A file assembled from the archive's primitives, field by field.
struct Layout {
    Bytes b;
    Layout& I32(std::initializer_list<std::int32_t> values) {
        for (std::int32_t v : values)
            for (int i = 0; i < 4; ++i)
                b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
        return *this;
    }
    Layout& Tab() { return Raw({9}); }
    // A point: x, y and z, each a double and a TAB.
    Layout& Point(double x, double y) { return Point(C3DPointDouble(x, y, 0.0)); }
    Layout& Point(const C3DPointDouble& p) { return Dbl(p.x).Tab().Dbl(p.y).Tab().Dbl(p.z).Tab(); }
    Layout& Dbl(double v) {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        for (int i = 0; i < 8; ++i)
            b.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        return *this;
    }
    Layout& Rect(const CRect& r) { return I32({r.left, r.top, r.right, r.bottom}); }
    // A CNumber: its kind, then the whole number, numerator and denominator, or double.
    Layout& Num(const CNumber& n) {
        I32({static_cast<std::int32_t>(n.kind())});
        if (n.kind() == NumberKind::Decimal)
            return Dbl(n.ToDouble());
        if (n.kind() == NumberKind::Fraction)
            return I32({n.numerator(), n.denominator()});
        return I32({n.numerator()});
    }
    Layout& Str(const std::string& s) {
        b.push_back(static_cast<std::uint8_t>(s.size()));
        return Raw(Bytes(s.begin(), s.end()));
    }
    Layout& Raw(const Bytes& more) {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }
};

std::vector<CNumberMachine*> Machines(const CUnitDocument& doc) {
    std::vector<CNumberMachine*> out;
    for (const auto& m : doc.manipulatives())
        if (auto* machine = dynamic_cast<CNumberMachine*>(m.get()))
            out.push_back(machine);
    return out;
}

CMachineLink* FirstLink(const CUnitDocument& doc) {
    for (const auto& m : doc.manipulatives())
        if (auto* link = dynamic_cast<CMachineLink*>(m.get()))
            return link;
    return nullptr;
}

Bytes SupermachineFile() {
    CNumberPatternsDocument doc;
    testing::FillNumbersSample(doc);
    return doc.SaveToBytes();
}

TEST(NumbersDocument, WritesTheLayoutFieldByField) {
    CNumberPatternsDocument doc;
    doc.SetOptions({0, 0, 1, 0, 1, 0});
    doc.SetPaneOffset({30, -4});
    doc.SetCurrentTool(3);
    auto note = std::make_unique<CAnnotatorManipulative>(CPoint{40, 50});
    note->SetText("hi");
    note->SetVisible(true);
    doc.Select(doc.AddManipulative(std::move(note)));

    CProblemRunState run;
    CArchive block;
    run.Serialize(block);
    Layout expected;
    expected
        .I32({19992003})
        // Mystery Tool, Computer Checked, Wires, Autotrigger, Output display, the further flag
        .I32({0, 0, 1, 0, 1, 0})
        .Raw(block.bytes())
        .I32({30, -4}) // pane offset
        .I32({3})      // current tool
        .I32({1, 15})  // one manipulative: the Writing tool's annotator as a Patterns annotator
        // Its data: the manipulative base (no lines, centre, rotation point, selected, visible,
        // script mark, highlighted, kind, fixed), then text, rectangle and visible flag.
        .I32({0})
        .Point(40, 50)
        .Point(40, 50)
        .I32({1, 1, 0, 0, -1, 0})
        .Str("hi")
        .Tab()
        .I32({40, 50, 640, 51})
        .Tab()
        .I32({1})
        .Tab()
        .I32({0, 0, 700, 560}) // the view rectangle
        .Str("");              // the notepad
    const Bytes saved = doc.SaveToBytes();
    EXPECT_EQ(saved, expected.b);

    CNumberPatternsDocument again;
    ASSERT_EQ(again.LoadFromBytes(saved), OpenResult::Opened);
    EXPECT_EQ(again.options(), doc.options());
    EXPECT_EQ(again.paneOffset().y, -4);
    EXPECT_EQ(again.currentTool(), 3);
    ASSERT_EQ(again.selection().size(), 1u) << "saved selected, selected again";
    EXPECT_EQ(again.SaveToBytes(), saved);
}

// Two machines linked into a supermachine, cards at, above and hidden in the first one's
// hoppers, and a table recording one run; the expected file is written from the layout, with
// the places the model computed read from the objects.
TEST(NumbersDocument, WritesASupermachineFieldByField) {
    testing::FakeTextMetrics metrics;
    CNumberPatternsDocument doc;
    const auto add = [&doc](auto made) { return doc.AddManipulative(std::move(made)); };
    auto* first =
        static_cast<CNumberMachine*>(add(std::make_unique<CNumberMachine>(CPoint{60, 60})));
    auto* second =
        static_cast<CNumberMachine*>(add(std::make_unique<CNumberMachine>(CPoint{60, 380})));
    first->SetOperation(0);
    second->SetOperation(2);
    ASSERT_EQ(second->ToggleOperatorHidden(), kAccepted);
    second->SetBuiltIn(2, true);
    second->builtInCard(2).SetText("4");
    std::vector<CNumberCardManipulative*> cards;
    for (auto [which, text] : {std::pair{1, "1/2"}, {2, "3"}, {1, "-2.5"}}) {
        const CRect area = first->DropArea(which);
        const CSize size = NumberCardSize(metrics);
        auto card = std::make_unique<CNumberCardManipulative>(
            CPoint{(area.left + area.right - size.cx) / 2, (area.top + area.bottom - size.cy) / 2},
            metrics);
        card->SetText(text);
        cards.push_back(static_cast<CNumberCardManipulative*>(add(std::move(card))));
        ASSERT_EQ(first->AcceptCard(cards.back()), kAccepted);
    }
    ASSERT_EQ(cards[1]->ToggleHidden(), kAccepted);
    auto made = std::make_unique<CMachineLink>();
    CMachineLink* link = made.get();
    ASSERT_EQ(second->SetInput1(link), kAccepted);
    ASSERT_EQ(link->SetInput1(first), kAccepted);
    link->Route();
    add(std::move(made));
    auto* table = static_cast<CTableManipulative*>(
        add(std::make_unique<CTableManipulative>(CPoint{330, 380})));
    ASSERT_EQ(table->AttachColumn(first, kColumnInput1), kAccepted);
    ASSERT_EQ(table->AttachColumn(second, kColumnOutput), kAccepted);
    table->PrepareRun();
    table->AddEntry(first, kColumnInput1, CNumber(1, 2));
    table->AddEntry(second, kColumnOutput, CNumber(14));
    doc.SetCurrentTool(kToolLinking);

    CProblemRunState run;
    CArchive block;
    run.Serialize(block);
    Layout e;
    e.I32({19992003}).I32({1, 0, 1, 1, 1, 1}).Raw(block.bytes()).I32({0, 0, kToolLinking});
    // The list: 0, 1 the machines, 2 to 4 the cards, 5 the link, 6 the table.
    e.I32({7, 10, 10, 13, 13, 13, 12, 14});
    // The manipulative base (no lines, not selected, visible, kind -1), then the Patterns fields:
    // mystery, value, input 1, input 2, table, hopper owner, producer, the waiting and output
    // card lists as counts and indices, the flag.
    const auto patterns = [&e](const CManipulative& m, const CNumber& value,
                               std::initializer_list<std::int32_t> references) {
        e.I32({0}).Point(m.centre()).Point(m.rotationPoint()).I32({0, 1, 0, 0, -1, 0});
        e.I32({0}).Num(value).I32(references).I32({0});
    };
    // A card: card text, then the edit window (text, shown, rectangle, one LONG, enabled,
    // value), read-only and the hidden state.
    const auto card = [&](const CNumberCardManipulative& c, std::int32_t owner,
                          const std::string& text, bool shown, bool hidden) {
        const CNumber value = text.empty() ? CNumber() : CNumber(text);
        patterns(c, value, {-1, -1, -1, owner, -1, 0, 0, 0});
        e.Str(text).Str(text).I32({shown}).Rect(c.rect()).I32({0, 1}).Num(value).I32({0, hidden});
    };
    // A machine: after the Patterns fields its mystery again, then operation, operator hidden,
    // label hidden, label, built-in flags, built-in cards, top-left corner and mystery label.
    const auto machine = [&](const CNumberMachine& m,
                             std::initializer_list<std::int32_t> references, std::int32_t operation,
                             bool hidden, bool builtIn2) {
        patterns(m, CNumber(), references);
        e.I32({0, operation, hidden, 0}).Str("Machine").I32({0, builtIn2});
        card(m.builtInCard(1), -1, "", false, false);
        card(m.builtInCard(2), -1, builtIn2 ? "4" : "", builtIn2, false);
        e.I32({m.topLeft().x, m.topLeft().y}).Str("");
    };
    machine(*first, {2, 3, 6, -1, -1, 1, 4, 0, 0}, 0, false, false);
    machine(*second, {5, -1, 6, -1, -1, 0, 0, 0}, 2, true, true);
    card(*cards[0], 0, "1/2", true, false);
    card(*cards[1], 0, "3", true, true);
    card(*cards[2], 0, "-2.5", true, false);
    // The link: its source as input 1, its mystery again, then the rectangles the wire was
    // routed between, each followed by a TAB: the source's body, none, the target's body.
    patterns(*link, CNumber(), {0, -1, -1, -1, -1, 0, 0, 0});
    e.I32({0}).Rect(first->Body()).Tab().Rect({}).Tab().Rect(second->Body()).Tab();
    // The table: the grid (rows, columns, then each cell's colours, alignment, has-value flag,
    // text and value), the groups in supermachine order from the head (machine, first column,
    // Output, Input 1, Input 2 offsets) and the window's rectangle.
    patterns(*table, CNumber(), {-1, -1, -1, -1, -1, 0, 0, 0});
    e.I32({2, 3});
    const CNumber none(kEmptyCellValue);
    const std::vector<std::tuple<bool, std::string, CNumber>> cells = {
        {false, "", none},  {false, "Output", none},   {false, "Input 1", none},
        {false, "1", none}, {true, "14", CNumber(14)}, {true, "1/2", CNumber(1, 2)}};
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const auto& [hasValue, text, value] = cells[i];
        const CGridCell& cell =
            table->grid().Cell(static_cast<int>(i / 3), static_cast<int>(i % 3));
        e.I32({static_cast<std::int32_t>(cell.background), static_cast<std::int32_t>(cell.ink),
               cell.align});
        e.I32({hasValue}).Str(text).Num(value);
    }
    e.I32({2, 1, 1, 0, -1, -1, 0, 2, -1, 0, -1}).Rect(table->WindowRect());
    e.I32({0, 0, 700, 560}).Str(""); // the view rectangle, the notepad

    const Bytes saved = doc.SaveToBytes();
    EXPECT_EQ(saved, e.b);
    CNumberPatternsDocument again;
    ASSERT_EQ(again.LoadFromBytes(e.b), OpenResult::Opened);
    EXPECT_EQ(again.SaveToBytes(), e.b);
}

TEST(NumbersDocument, ASupermachineComesBackWhole) {
    const Bytes file = SupermachineFile();
    CNumberPatternsDocument doc;
    ASSERT_EQ(doc.LoadFromBytes(file), OpenResult::Opened);
    EXPECT_EQ(doc.SaveToBytes(), file);

    const auto machines = Machines(doc);
    ASSERT_EQ(machines.size(), 2u);
    CNumberMachine& first = *machines[0];
    CNumberMachine& second = *machines[1];
    CMachineLink* link = FirstLink(doc);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->source(), &first);
    EXPECT_EQ(link->target(), &second);
    EXPECT_EQ(first.output(), link);
    EXPECT_EQ(second.input1(), link);
    EXPECT_EQ(link->wire().size(), 4u) << "the wire is routed again";
    ASSERT_TRUE(first.input1() && first.input2());
    EXPECT_EQ(first.input1()->GetText(), "1/2");
    EXPECT_EQ(first.input2()->GetText(), "7");
    ASSERT_EQ(first.waiting1().size(), 1u);
    EXPECT_EQ(first.waiting1()[0]->GetText(), "-2.5");
    EXPECT_EQ(first.waiting1()[0]->hopperOwner(), &first);
    EXPECT_TRUE(second.IsBuiltIn(2));
    EXPECT_EQ(second.builtInCard(2).text(), "3");
    EXPECT_TRUE(second.operatorHidden());
    EXPECT_NE(first.mystery(), 0);
    EXPECT_NE(second.mystery(), 0);
    ASSERT_EQ(second.outputCards().size(), 1u);
    EXPECT_EQ(second.outputCards()[0]->producer(), &second);
    ASSERT_EQ(doc.selection().size(), 1u);
    EXPECT_EQ(static_cast<CPatternManipulative*>(doc.selection()[0])->GetText(), "12");

    // Delete All Output cards takes the machine's output card only.
    ASSERT_TRUE(doc.HasOutputCardsToDelete());
    const std::size_t before = doc.manipulatives().size();
    doc.DeleteOutputCards();
    EXPECT_EQ(doc.manipulatives().size(), before - 1);
    EXPECT_TRUE(second.outputCards().empty());
    EXPECT_FALSE(doc.HasOutputCardsToDelete());
    EXPECT_TRUE(doc.IsModified());
}

// The supermachine file with one thing changed in its field tree; reading it must fail.
struct BrokenReference {
    const char* name;
    std::function<void(CValue& types, CValue& items)> edit;
    const char* error;
};

CValue& Field(CValue& items, std::size_t i, const char* field) {
    return *items.items()[i].Find(field);
}

// The sample's list: 0 and 1 the machines, 2 to 4 the cards at and above the first one's
// hoppers, 5 the link, 6 the output card, 7 the loose card, 8 the note, 9 the table, whose groups
// are the second machine's and the first's.
const BrokenReference kBroken[] = {
    {"an index outside the list",
     [](CValue&, CValue& items) { Field(items, 0, "input1") = CValue::Int(99); }, "names nothing"},
    {"a link from a card",
     [](CValue&, CValue& items) { Field(items, 5, "input1") = CValue::Int(2); }, "link"},
    {"a waiting card at another machine",
     [](CValue&, CValue& items) { Field(items, 1, "waiting2").Append(CValue::Int(4)); }, "hopper"},
    {"a loop through the second inputs",
     [](CValue& types, CValue& items) {
         // A second link from the second machine into the first one's second input, in place
         // of the card there.
         types.Append(types.items()[5]);
         items.Append(items.items()[5]);
         const auto added = static_cast<std::int64_t>(items.items().size() - 1);
         Field(items, items.items().size() - 1, "input1") = CValue::Int(1);
         Field(items, 0, "input2") = CValue::Int(added);
         Field(items, 3, "hopper owner") = CValue::Int(-1);
     },
     "loop"},
    {"a table group naming a card",
     [](CValue&, CValue& items) {
         Field(Field(items, 9, "groups"), 0, "machine") = CValue::Int(2);
     },
     "no machine"},
    {"a table group naming its machine twice",
     [](CValue&, CValue& items) {
         Field(Field(items, 9, "groups"), 1, "machine") = CValue::Int(1);
     },
     "twice"},
    {"a table group outside the grid",
     [](CValue&, CValue& items) {
         Field(Field(items, 9, "groups"), 1, "first column") = CValue::Int(7);
     },
     "outside the grid"},
};

class NumbersDocumentBroken : public ::testing::TestWithParam<BrokenReference> {};

TEST_P(NumbersDocumentBroken, RefusesTheFile) {
    CNumberPatternsDocument doc;
    ASSERT_EQ(doc.LoadFromBytes(SupermachineFile()), OpenResult::Opened);
    CValue tree = doc.DumpToTree();
    GetParam().edit(*tree.Find("manipulative types"), *tree.Find("manipulatives"));

    CNumberPatternsDocument broken;
    std::string error;
    EXPECT_FALSE(broken.LoadFromTree(tree, &error));
    EXPECT_NE(error.find(GetParam().error), std::string::npos) << error;
    EXPECT_TRUE(broken.manipulatives().empty());
}

INSTANTIATE_TEST_SUITE_P(, NumbersDocumentBroken, ::testing::ValuesIn(kBroken), [](const auto& p) {
    std::string n = p.param.name;
    std::replace(n.begin(), n.end(), ' ', '_');
    return n;
});

// Fields around the list that a page could not show, and a code no Numbers list holds.
TEST(NumbersDocument, RefusesWhatThePageCannotShow) {
    const std::vector<std::pair<std::function<void(CValue&)>, const char*>> edits = {
        {[](CValue& root) { *root.Find("current tool") = CValue::Int(kToolAnglemeter); },
         "not a Numbers tool"},
        {[](CValue& root) { *root.Find("view rectangle")->Find("right") = CValue::Int(0); },
         "without area"},
        {[](CValue& root) {
             *root.Find("manipulative types")->items()[7].Find("type") = CValue::Int(kTypeShape);
         },
         "unknown manipulative type"},
    };
    for (const auto& [edit, message] : edits) {
        CNumberPatternsDocument doc;
        ASSERT_EQ(doc.LoadFromBytes(SupermachineFile()), OpenResult::Opened);
        CValue tree = doc.DumpToTree();
        edit(tree);
        CNumberPatternsDocument broken;
        std::string error;
        EXPECT_FALSE(broken.LoadFromTree(tree, &error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
        EXPECT_TRUE(broken.manipulatives().empty());
    }
}

TEST(NumbersDocument, RefusesACodesFileWithItsMessage) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("quorvel-numbers-" + std::to_string(::getpid()) + ".qvc");
    ASSERT_TRUE(SaveFileAtomically(path.string(), CCodePatternsDocument().SaveToBytes()));
    testing::FakeDocumentHost host;
    CNumberPatternsDocument doc;
    doc.SetHost(&host);
    ASSERT_EQ(doc.LoadFromBytes(SupermachineFile()), OpenResult::Opened);
    const std::size_t kept = doc.manipulatives().size();

    EXPECT_EQ(doc.OnOpenDocument(path.string()), OpenResult::WrongSignature);
    std::filesystem::remove(path);
    ASSERT_EQ(host.prompter.messages.size(), 1u);
    EXPECT_EQ(host.prompter.messages[0].text,
              "The file you are trying to open is not a Quorvel Number Patterns document!");
    EXPECT_EQ(host.prompter.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(doc.manipulatives().size(), kept);
}

TEST(NumbersDocument, NewStartsAgainWithTheDefaultOptions) {
    testing::FakeDocumentHost host;
    CNumberPatternsDocument doc;
    doc.SetHost(&host);
    doc.SetOptions({0, 1, 0, 0, 0, 0});
    EXPECT_TRUE(doc.IsModified()) << "options are saved with the document";
    host.prompter.answers.push_back(MessageResult::No);
    ASSERT_TRUE(doc.FileNew());
    // Mystery tool on, computer checking off, wires shown, autotrigger on, decimal output.
    EXPECT_EQ(doc.options(), (CNumbersOptions{1, 0, 1, 1, 1, 1}));
}

TEST(NumbersDocument, SpreadsToAViewOfAnotherSize) {
    CNumberPatternsDocument saved;
    ASSERT_EQ(saved.LoadFromBytes(SupermachineFile()), OpenResult::Opened);
    ASSERT_EQ(saved.viewRect(), (CRect{0, 0, 700, 560}));

    CNumberPatternsDocument doc;
    doc.SetPresentViewRect({0, 0, 1400, 1120});
    ASSERT_EQ(doc.LoadFromBytes(SupermachineFile()), OpenResult::Opened);
    const auto was = Machines(saved);
    const auto now = Machines(doc);
    // The head's centre doubles; the machine linked on keeps its place beside it.
    const C3DPointDouble head = was[1]->centre();
    EXPECT_DOUBLE_EQ(now[1]->centre().x, head.x * 2);
    EXPECT_DOUBLE_EQ(now[1]->centre().y, head.y * 2);
    EXPECT_DOUBLE_EQ(now[0]->centre().x - now[1]->centre().x, was[0]->centre().x - head.x);
    EXPECT_DOUBLE_EQ(now[0]->centre().y - now[1]->centre().y, was[0]->centre().y - head.y);
    // Cards at a hopper stay on it; a loose card keeps its relative place.
    EXPECT_EQ(now[0]->input1()->centre().x - now[0]->centre().x,
              was[0]->input1()->centre().x - was[0]->centre().x);
    const auto* loose = doc.selection()[0];
    EXPECT_DOUBLE_EQ(loose->centre().x, saved.selection()[0]->centre().x * 2);
    EXPECT_EQ(FirstLink(doc)->wire().front(), now[0]->GetOutputPoint());
}

TEST(NumbersDocument, UndoBringsBackAnErasedLink) {
    CNumberPatternsDocument doc;
    ASSERT_EQ(doc.LoadFromBytes(SupermachineFile()), OpenResult::Opened);
    doc.SetOptions({1, 0, 0, 1, 1, 1}); // wires hidden
    doc.MarkUndoStep();
    doc.DeleteManipulative(FirstLink(doc));
    EXPECT_EQ(Machines(doc)[1]->input1(), nullptr);

    ASSERT_TRUE(doc.Undo());
    const auto machines = Machines(doc);
    CMachineLink* link = FirstLink(doc);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(machines[1]->input1(), link);
    EXPECT_EQ(machines[0]->output(), link);
    EXPECT_EQ(link->source(), machines[0]);
    EXPECT_EQ(doc.options().wiresShown, 0) << "options are no step";
    testing::RecordingSurface dc;
    link->Draw(dc);
    EXPECT_TRUE(dc.calls.empty()) << "the restored wire is hidden as the options say";
}

} // namespace
} // namespace quorvel
