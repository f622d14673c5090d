// Unit documents: the file layout, opening and saving, the file commands, selection and the
// problem pool.
#include "geometry/geometry_document.h"
#include "patterns/patterns_documents.h"
#include "statistics/stats_document.h"
#include "workspace/archive.h"
#include "workspace/random.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

using namespace quorvel;
using namespace quorvel::testing;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards.
class TempDir {
public:
    TempDir() {
        m_path = fs::temp_directory_path() /
                 ("quorvel-doc-" + std::to_string(::getpid()) + "-" + std::to_string(s_next++));
        fs::create_directories(m_path);
    }
    ~TempDir() { fs::remove_all(m_path); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_path))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path m_path;
    static inline int s_next = 0;
};

void WriteBytes(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<CLineManipulative> Square(int x, int y, int size) {
    std::vector<CLine> lines = {CLine(CPoint{x, y}, CPoint{x + size, y}),
                                CLine(CPoint{x + size, y}, CPoint{x + size, y + size}),
                                CLine(CPoint{x + size, y + size}, CPoint{x, y + size}),
                                CLine(CPoint{x, y + size}, CPoint{x, y})};
    return std::make_unique<CLineManipulative>(lines);
}

// A manipulative of any type code, to exercise the document's rules by type.
class TypedManipulative : public CLineManipulative {
public:
    TypedManipulative(std::int32_t type, std::vector<CLine> lines)
        : CLineManipulative(lines), m_type(type) {}
    std::int32_t GetType() const override { return m_type; }

private:
    std::int32_t m_type;
};

struct Fixture : ::testing::Test {
    FakeDocumentHost host;
    CGeometryUnitDocument doc;
    TempDir dir;
    Fixture() { doc.SetHost(&host); }
};

// Question record as written for a new document: "1 - 1 = ?", five empty strings, type 0,
// parts mask 0 and eight zero doubles.
void AppendDefaultQuestion(CArchive& ar) {
    ar.WriteByte(9);
    for (char c : std::string("1 - 1 = ?"))
        ar.WriteByte(static_cast<std::uint8_t>(c));
    for (int i = 0; i < 5; ++i)
        ar.WriteByte(0);
    ar.WriteInt32(0);
    ar.WriteInt32(0);
    for (int i = 0; i < 8; ++i)
        ar.WriteDouble(0.0);
}

} // namespace

TEST(UnitDocumentIdentity, FiveUnitsHaveTheirSignaturesTitlesAndFilters) {
    CGeometryUnitDocument geo;
    CDesignPatternsDocument designs;
    CCodePatternsDocument codes;
    CNumberPatternsDocument numbers;
    CStatsUnitDocument stats;
    const std::vector<const CUnitDocument*> all = {&geo, &designs, &codes, &numbers, &stats};
    const std::vector<std::uint32_t> signatures = {19992000, 19992001, 19992002, 19992003,
                                                   19992004};
    const std::vector<std::string> extensions = {"qvg", "qvd", "qvc", "qvn", "qvs"};
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i]->identity().signature, signatures[i]);
        EXPECT_EQ(all[i]->identity().defaultExtension, extensions[i]);
        EXPECT_EQ(all[i]->identity().fileFilter, "Quorvel (*." + extensions[i] + ")|*." +
                                                     extensions[i] + "||All Files (*.*)|*.*||");
    }
    EXPECT_EQ(stats.identity().unitTitle, "Statistics Unit");
    EXPECT_EQ(codes.identity().wrongFileMessage,
              "The file you are trying to open is not a Quorvel Code Patterns document!");
}

// A unit that adds nothing to the shared layout (every unit of the program has its own).
std::unique_ptr<CUnitDocument> BareDocument() {
    return std::make_unique<CUnitDocument>(
        CUnitIdentity{19992001, "Bare Unit", "Quorvel (*.qvd)|*.qvd||", "qvd", "Not bare."});
}

// The shared layout, as a unit that adds nothing to it writes it.
TEST_F(Fixture, NewDocumentBytesAreSignatureProblemBlockAndManipulatives) {
    const auto bare = BareDocument();
    CUnitDocument& designs = *bare;
    CArchive expected;
    expected.WriteUInt32(19992001);
    for (int i = 0; i < 4; ++i)
        AppendDefaultQuestion(expected);
    for (std::int32_t v : {0, 3, 0, -1, 0}) // count, tries, correct, index, level
        expected.WriteInt32(v);
    expected.WriteInt32(0); // no manipulatives
    EXPECT_EQ(designs.SaveToBytes(), expected.bytes());
}

TEST_F(Fixture, ManipulativesAreWrittenWithTheirTypeCodesInDrawingOrder) {
    const auto bare = BareDocument();
    CUnitDocument& designs = *bare;
    designs.AddManipulative(Square(0, 0, 10));
    const Bytes bytes = designs.SaveToBytes();
    CArchive one;
    one.WriteInt32(1);
    one.WriteInt32(kTypeLine);
    Square(0, 0, 10)->Serialize(one);
    const Bytes tail(bytes.end() - static_cast<std::ptrdiff_t>(one.bytes().size()), bytes.end());
    EXPECT_EQ(tail, one.bytes());
}

// Numbers and Codes documents hold only machines, links and cards, Designs their machine,
// Statistics documents only notes; their files have tests of their own.
TEST(UnitDocumentFiles, EveryUnitTypeSavesAndReopensByteForByte) {
    std::vector<std::function<std::unique_ptr<CUnitDocument>()>> makers = {
        [] { return std::make_unique<CGeometryUnitDocument>(); },
        BareDocument,
    };
    TempDir dir;
    for (auto& make : makers) {
        FakeDocumentHost host;
        auto doc = make();
        doc->SetHost(&host);
        doc->AddManipulative(Square(5, 5, 20));
        doc->AddManipulative(Square(40, 10, 7));
        doc->questions()[1].prompt = "Which core made this tessellation? \xE2\x9C\x93";
        doc->questions()[1].moreAnswers[6] = 2.5;
        doc->SetQuestionCount(2);
        doc->SetLevel(2);
        const std::string path = dir.File("doc." + doc->identity().defaultExtension);
        ASSERT_TRUE(doc->OnSaveDocument(path));
        EXPECT_FALSE(doc->IsModified());

        auto reopened = make();
        reopened->SetHost(&host);
        ASSERT_EQ(reopened->OnOpenDocument(path), OpenResult::Opened);
        EXPECT_FALSE(reopened->IsModified());
        ASSERT_EQ(reopened->manipulatives().size(), 2u);
        EXPECT_TRUE(reopened->manipulatives()[1]->IsEqualTo(*doc->manipulatives()[1]));
        EXPECT_EQ(reopened->questions(), doc->questions());
        EXPECT_EQ(reopened->level(), 2);
        EXPECT_EQ(reopened->SaveToBytes(), ReadBytes(path));
        EXPECT_TRUE(host.prompter.messages.empty());
    }
}

TEST_F(Fixture, WrongSignatureShowsTheUnitsMessageAndChangesNothing) {
    CCodePatternsDocument codes;
    const std::string path = dir.File("secret.qvc");
    codes.AddManipulative(Square(0, 0, 5));
    ASSERT_TRUE(codes.OnSaveDocument(path));

    FakeDocumentHost numbersHost;
    CNumberPatternsDocument numbers;
    numbers.SetHost(&numbersHost);
    numbers.AddManipulative(Square(1, 1, 9));
    numbers.SetModifiedFlag(false);
    EXPECT_EQ(numbers.OnOpenDocument(path), OpenResult::WrongSignature);
    ASSERT_EQ(numbersHost.prompter.messages.size(), 1u);
    EXPECT_EQ(numbersHost.prompter.messages[0].text,
              "The file you are trying to open is not a Quorvel Number Patterns document!");
    EXPECT_EQ(numbersHost.prompter.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(numbers.manipulatives().size(), 1u);
    EXPECT_FALSE(numbers.IsModified());
}

TEST_F(Fixture, EmptyFileIsRefusedSilentlyAndChangesNothing) {
    const std::string path = dir.File("empty.qvg");
    WriteBytes(path, {});
    doc.AddManipulative(Square(0, 0, 10));
    EXPECT_EQ(doc.OnOpenDocument(path), OpenResult::EmptyFile);
    EXPECT_TRUE(host.prompter.messages.empty());
    EXPECT_EQ(doc.manipulatives().size(), 1u);
}

TEST_F(Fixture, MissingFileFailsWithTheFixedMessageAndKeepsTheWorkspace) {
    doc.AddManipulative(Square(0, 0, 10));
    EXPECT_EQ(doc.OnOpenDocument(dir.File("nowhere.qvg")), OpenResult::Failed);
    EXPECT_EQ(host.prompter.LastText(), "Failed to open document.");
    EXPECT_EQ(doc.manipulatives().size(), 1u);
}

TEST_F(Fixture, EveryPrefixOfASavedDocumentFailsCleanly) {
    doc.AddManipulative(Square(0, 0, 10));
    doc.AddManipulative(Square(30, 30, 10));
    doc.questions()[0].choices[2] = "Core #3";
    const Bytes full = doc.SaveToBytes();
    for (std::size_t n = 1; n < full.size(); ++n) {
        CGeometryUnitDocument victim;
        victim.AddManipulative(Square(0, 0, 3));
        const Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        ASSERT_EQ(victim.LoadFromBytes(prefix), OpenResult::Failed) << "prefix of " << n;
        EXPECT_TRUE(victim.manipulatives().empty()) << "prefix of " << n;
    }
    CGeometryUnitDocument whole;
    EXPECT_EQ(whole.LoadFromBytes(full), OpenResult::Opened);
}

TEST_F(Fixture, CorruptFileClearsTheWorkspaceAndTheWorkIsOneUndoAway) {
    Bytes bytes = doc.SaveToBytes();
    bytes.back() = 0x7F; // manipulative count far beyond the file
    const std::string path = dir.File("corrupt.qvg");
    WriteBytes(path, bytes);
    doc.AddManipulative(Square(0, 0, 10));
    EXPECT_EQ(doc.OnOpenDocument(path), OpenResult::Failed);
    EXPECT_EQ(host.prompter.LastText(), "Failed to open document.");
    EXPECT_TRUE(doc.manipulatives().empty());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.manipulatives().size(), 1u);
}

TEST_F(Fixture, UnknownTypeCodeIsAFailedOpen) {
    // In the shared layout; a geometry document's list ends its reading there instead.
    CCodePatternsDocument codes;
    Bytes bytes = codes.SaveToBytes();
    bytes.resize(bytes.size() - 4);
    CArchive tail;
    tail.WriteInt32(1);
    tail.WriteInt32(11); // a code no class has
    Bytes more = tail.TakeBytes();
    more.resize(more.size() + 200);
    bytes.insert(bytes.end(), more.begin(), more.end());
    EXPECT_EQ(codes.LoadFromBytes(bytes), OpenResult::Failed);
}

TEST_F(Fixture, SavePromptCancelStopsNoDiscardsYesSaves) {
    doc.AddManipulative(Square(0, 0, 10));

    host.prompter.answers = {MessageResult::Cancel};
    EXPECT_FALSE(doc.FileNew());
    EXPECT_EQ(host.prompter.LastText(),
              "The document has been modified. Do you wish to save your changes?");
    EXPECT_EQ(host.prompter.messages.back().buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(host.prompter.messages.back().icon, MessageIcon::Question);
    EXPECT_EQ(doc.manipulatives().size(), 1u);

    host.prompter.answers = {MessageResult::Cancel};
    EXPECT_FALSE(doc.FileOpen());
    EXPECT_TRUE(host.chooser.requests.empty());

    host.prompter.answers = {MessageResult::Yes};
    host.chooser.answers = {dir.File("mine")};
    doc.SetActivityName("Shapes");
    EXPECT_TRUE(doc.FileNew());
    ASSERT_EQ(host.chooser.requests.size(), 1u);
    EXPECT_TRUE(host.chooser.requests[0].save);
    EXPECT_EQ(host.chooser.requests[0].defaultName, "Shapes");
    EXPECT_EQ(host.chooser.requests[0].initialFolder, host.directories.personal);
    EXPECT_FALSE(ReadBytes(dir.File("mine.qvg")).empty()) << "the extension is added";
    EXPECT_TRUE(doc.manipulatives().empty());
    EXPECT_FALSE(doc.IsModified());

    doc.AddManipulative(Square(0, 0, 10));
    host.prompter.answers = {MessageResult::No};
    EXPECT_TRUE(doc.FileNew());
    EXPECT_TRUE(doc.manipulatives().empty());
}

TEST_F(Fixture, CancelInTheSaveAsDialogKeepsTheWork) {
    doc.AddManipulative(Square(0, 0, 10));
    host.prompter.answers = {MessageResult::Yes};
    host.chooser.answers = {std::nullopt};
    EXPECT_FALSE(doc.FileNew());
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Fixture, FailedSaveKeepsThePathAndReportsIt) {
    doc.SetFilePath(dir.File("kept.qvg"));
    doc.AddManipulative(Square(0, 0, 10));
    const std::string unreachable = dir.File("no/such/folder/x.qvg");
    host.chooser.answers = {unreachable};
    EXPECT_FALSE(doc.FileSaveAs());
    EXPECT_EQ(host.prompter.LastText(), "Failed to save document.");
    EXPECT_EQ(doc.filePath(), dir.File("kept.qvg"));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Fixture, FileOpenTakesThePathAndUpdatesTheCaption) {
    CGeometryUnitDocument other;
    other.AddManipulative(Square(3, 3, 3));
    const std::string path = dir.File("tiles.qvg");
    ASSERT_TRUE(other.OnSaveDocument(path));

    host.caption = "Quorvel Demonstration - Geometry Unit - /old/file.qvg";
    host.chooser.answers = {path};
    doc.SetDirectoryChoice(DirectoryChoice::TeacherBulletinBoard);
    ASSERT_TRUE(doc.FileOpen());
    EXPECT_EQ(host.chooser.requests[0].initialFolder, host.directories.teacherBulletinBoard);
    EXPECT_FALSE(host.chooser.requests[0].save);
    EXPECT_EQ(doc.filePath(), path);
    EXPECT_EQ(doc.activityPath(), path);
    EXPECT_EQ(host.caption, "Quorvel Demonstration - Geometry Unit - " + path);
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_FALSE(doc.loading());
}

TEST_F(Fixture, FileOpenInAProblemSetKeepsTheFileAsTheActivity) {
    CGeometryUnitDocument other;
    const std::string path = dir.File("geopsA07.qvg");
    ASSERT_TRUE(other.OnSaveDocument(path));
    doc.SetProblemSequence({0, 3, 0}, 5);
    doc.SetModifiedFlag(false);
    host.chooser.answers = {path};
    ASSERT_TRUE(doc.FileOpen());
    EXPECT_EQ(doc.filePath(), "");
    EXPECT_EQ(doc.activityPath(), path);
    EXPECT_EQ(doc.activityName(), "Probset");
}

TEST_F(Fixture, SaveOverAnOldFileLeavesNoTemporaryFiles) {
    const std::string path = dir.File("work.qvg");
    WriteBytes(path, {1, 2, 3});
    doc.SetFilePath(path);
    doc.AddManipulative(Square(0, 0, 10));
    ASSERT_TRUE(doc.FileSave());
    EXPECT_EQ(ReadBytes(path), doc.SaveToBytes());
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"work.qvg"});
}

TEST_F(Fixture, ActivityFileBecomesTheActivityPathNotTheFilePath) {
    const std::string path = dir.File("11w.qvg");
    ASSERT_TRUE(CGeometryUnitDocument().OnSaveDocument(path));
    EXPECT_TRUE(doc.OpenActivityFile(path));
    EXPECT_EQ(doc.activityPath(), path);
    EXPECT_EQ(doc.filePath(), "");
    EXPECT_FALSE(doc.OpenActivityFile(dir.File("missing.qvg")));
    EXPECT_EQ(doc.activityPath(), path);
}

TEST_F(Fixture, RestartActivityReloadsTheFileAndKeepsTheProblemPosition) {
    const std::string path = dir.File("geopsB03.qvg");
    CGeometryUnitDocument original;
    original.AddManipulative(Square(0, 0, 10));
    ASSERT_TRUE(original.OnSaveDocument(path));
    ASSERT_TRUE(doc.OpenActivityFile(path));
    doc.SetProblemSequence({2, 1, 1}, 5);
    doc.AddManipulative(Square(50, 50, 10));
    doc.RestartActivity();
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(doc.problemPosition(), (CProblemPosition{2, 1, 1}));
}

TEST(UnitDocumentCaption, CutsAfterTheUnitTitleAndAppendsThePath) {
    FakeDocumentHost host;
    CStatsUnitDocument doc;
    doc.SetHost(&host);
    host.caption = "Quorvel Demonstration - [Statistics Unit - /a/b.qvs]";
    doc.UpdateCaption("/c/d.qvs");
    EXPECT_EQ(host.caption, "Quorvel Demonstration - [Statistics Unit - /c/d.qvs");
    doc.UpdateCaption("");
    EXPECT_EQ(host.caption, "Quorvel Demonstration - [Statistics Unit");
}

TEST(ProblemPool, TenDrawsGiveEachNumberOnceThenTheEleventhRefills) {
    CGeometryUnitDocument doc;
    doc.SetProblemCount(10);
    for (std::uint32_t seed : {1u, 42u, 20261207u}) {
        SeedRandom(seed);
        doc.RefillProblemPool();
        std::set<int> seen;
        for (int i = 0; i < 10; ++i)
            seen.insert(doc.DrawProblemNumber());
        EXPECT_EQ(seen.size(), 10u);
        EXPECT_EQ(*seen.begin(), 1);
        EXPECT_EQ(*seen.rbegin(), 10);
        EXPECT_TRUE(doc.problemPool().empty());
        const int eleventh = doc.DrawProblemNumber();
        EXPECT_GE(eleventh, 1);
        EXPECT_LE(eleventh, 10);
        EXPECT_EQ(doc.problemPool().size(), 9u);
    }
}

TEST(ProblemPool, SeededDrawsRepeat) {
    CGeometryUnitDocument a, b;
    SeedRandom(7);
    std::vector<int> first;
    for (int i = 0; i < 5; ++i)
        first.push_back(a.DrawProblemNumber());
    SeedRandom(7);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(b.DrawProblemNumber(), first[static_cast<std::size_t>(i)]);
}

TEST(UnitDocumentSelection, FixedOrRepeatedSelectionIsRefused) {
    CGeometryUnitDocument doc;
    CManipulative* a = doc.AddManipulative(Square(0, 0, 10));
    CManipulative* b = doc.AddManipulative(Square(20, 0, 10));
    b->SetFixed(true);
    EXPECT_TRUE(doc.Select(a));
    EXPECT_FALSE(doc.Select(a));
    EXPECT_FALSE(doc.Select(b));
    EXPECT_EQ(doc.selection().size(), 1u);
    EXPECT_TRUE(a->selected());
}

TEST(UnitDocumentSelection, RotationPointIsTheMeanAndUnchangedWhenEmpty) {
    CGeometryUnitDocument doc;
    CManipulative* a = doc.AddManipulative(Square(0, 0, 10));
    CManipulative* b = doc.AddManipulative(Square(20, 0, 10));
    doc.Select(a);
    EXPECT_EQ(doc.selectionRotationPoint(), (C3DPointDouble{5, 5, 0}));
    doc.Select(b);
    EXPECT_EQ(doc.selectionRotationPoint(), (C3DPointDouble{15, 5, 0}));
    EXPECT_TRUE(doc.IsOnSelectionRotationPoint({18, 2}));
    EXPECT_FALSE(doc.IsOnSelectionRotationPoint({19, 5}));
    doc.DeselectAll();
    EXPECT_EQ(doc.selectionRotationPoint(), (C3DPointDouble{15, 5, 0}));
    EXPECT_FALSE(doc.IsOnSelectionRotationPoint({15, 5}));
}

TEST(UnitDocumentSelection, ClearingTheSelectionRedrawsWhereItsRotationPointStood) {
    struct RecordingView : IWorkspaceView {
        std::vector<CRect> redrawn;
        void InvalidateRect(const CRect& r) override { redrawn.push_back(r); }
    } view;
    CGeometryUnitDocument doc;
    CManipulative* a = doc.AddManipulative(Square(0, 0, 10));
    doc.Select(a);
    doc.SetSelectionRotationPoint({300, 200, 0}); // set away from the shape
    doc.SetView(&view);
    doc.DeselectAll();
    EXPECT_TRUE(std::any_of(view.redrawn.begin(), view.redrawn.end(), [](const CRect& r) {
        return r.left <= 292 && r.top <= 192 && r.right >= 308 && r.bottom >= 208 && r.left <= 0;
    }));
    doc.SetView(nullptr);
}

TEST(UnitDocumentSelection, PaperLeavesTheSelectionMarksOut) {
    CGeometryUnitDocument doc;
    CManipulative* a = doc.AddManipulative(Square(0, 0, 10));
    RecordingSurface unselected;
    doc.DrawContents(unselected);
    doc.Select(a);
    RecordingSurface paper;
    doc.DrawContents(paper);
    EXPECT_EQ(paper.calls, unselected.calls);
    EXPECT_TRUE(a->selected());
}

TEST(UnitDocumentSelection, BoundsOfNothingAreInverted) {
    CGeometryUnitDocument doc;
    CRect r;
    doc.GetSelectionBounds(r);
    EXPECT_EQ(r, CRect::Inverted());
    doc.Select(doc.AddManipulative(Square(10, 20, 10)));
    doc.GetSelectionBounds(r);
    EXPECT_EQ(r, (CRect{10, 20, 21, 31}));
}

TEST(UnitDocumentSelection, FrameGrowsByEightAndHoldsTheSharedRotationPoint) {
    CGeometryUnitDocument doc;
    doc.Select(doc.AddManipulative(Square(10, 10, 10)));
    CRect one;
    doc.GetSelectionFrame(one);
    CRect frame = doc.selection()[0]->GetFrameOf();
    frame.Inflate(8, 8);
    EXPECT_EQ(one, frame);

    doc.Select(doc.AddManipulative(Square(30, 10, 10)));
    doc.SetSelectionRotationPoint({100, 100, 0});
    CRect two;
    doc.GetSelectionFrame(two);
    EXPECT_GE(two.right, 100 + 8);
    EXPECT_GE(two.bottom, 100 + 8);
}

TEST(UnitDocumentHitTest, SelectedFirstThenTopDownSkippingAnglemetersAndAnnotators) {
    CGeometryUnitDocument doc;
    CManipulative* bottom = doc.AddManipulative(Square(0, 0, 20));
    CManipulative* top = doc.AddManipulative(Square(0, 0, 20));
    const std::vector<CLine> edge = {CLine(CPoint{0, 10}, CPoint{20, 10})};
    doc.AddManipulative(std::make_unique<TypedManipulative>(kTypeAnglemeter, edge));
    doc.AddManipulative(std::make_unique<TypedManipulative>(kTypeAnnotator, edge));
    EXPECT_EQ(doc.HitTest({0, 10}), top);
    doc.Select(bottom);
    EXPECT_EQ(doc.HitTest({0, 10}), bottom);
    EXPECT_EQ(doc.HitTest({10, 10}), nullptr) << "only the skipped types lie under (10,10)";
    EXPECT_EQ(doc.HitTest({300, 300}), nullptr);
}

TEST(UnitDocumentOrder, BringToFrontAndSendToBackKeepSelectionOrder) {
    CGeometryUnitDocument doc;
    CManipulative* a = doc.AddManipulative(Square(0, 0, 5));
    CManipulative* b = doc.AddManipulative(Square(10, 0, 5));
    CManipulative* c = doc.AddManipulative(Square(20, 0, 5));
    doc.Select(b);
    doc.Select(a);
    doc.BringToFront();
    EXPECT_EQ(doc.IndexOf(c), 0);
    EXPECT_EQ(doc.IndexOf(b), 1);
    EXPECT_EQ(doc.IndexOf(a), 2) << "the last selected ends on top";
    EXPECT_TRUE(doc.selection().empty());
    EXPECT_FALSE(a->selected());

    doc.Select(c);
    doc.Select(a);
    doc.SendToBack();
    EXPECT_EQ(doc.IndexOf(a), 0) << "the last selected ends at the very bottom";
    EXPECT_EQ(doc.IndexOf(c), 1);
    EXPECT_EQ(doc.IndexOf(b), 2);
}

TEST(UnitDocumentEdits, RemovingASelectedManipulativeTakesItOutOfTheSelection) {
    CGeometryUnitDocument doc;
    CManipulative* a = doc.AddManipulative(Square(0, 0, 5));
    doc.Select(a);
    std::unique_ptr<CManipulative> owned = doc.RemoveManipulative(a);
    EXPECT_EQ(owned.get(), a);
    EXPECT_TRUE(doc.selection().empty());
    EXPECT_TRUE(doc.manipulatives().empty());
    doc.AddManipulative(std::move(owned));
    EXPECT_EQ(doc.manipulatives().size(), 1u);
}

TEST(UnitDocumentEdits, MoveAndDeleteSelection) {
    CGeometryUnitDocument doc;
    CManipulative* a = doc.AddManipulative(Square(0, 0, 10));
    doc.AddManipulative(Square(50, 50, 10));
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(doc.MoveSelection(5, 5));
    doc.Select(a);
    EXPECT_TRUE(doc.MoveSelection(5, -2));
    EXPECT_EQ(a->centre(), (C3DPointDouble{10, 3, 0}));
    EXPECT_TRUE(doc.IsModified());
    doc.DeleteSelection();
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_TRUE(doc.selection().empty());
}

TEST(UnitDocumentTools, SettingAToolClearsHighlights) {
    CGeometryUnitDocument doc;
    CManipulative* a = doc.AddManipulative(Square(0, 0, 10));
    a->SetHighlighted(true);
    doc.SetCurrentTool(3);
    EXPECT_EQ(doc.currentTool(), 3);
    EXPECT_FALSE(a->highlighted());
}
