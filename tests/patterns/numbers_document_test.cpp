// The Numbers document: its file byte for byte, a supermachine read back whole, the references a
// file may not break, options, spreading to another view and undo.
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
// hoppers, 5 the link, 6 the output card, 7 the loose card, 8 the note.
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
