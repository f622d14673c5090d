// Undo and redo over document snapshots.
#include "geometry/geometry_document.h"
#include "workspace/archive.h"
#include "workspace/undo_history.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

std::unique_ptr<CLineManipulative> Bar(int x) {
    return std::make_unique<CLineManipulative>(std::vector<CLine>{
        CLine(CPoint{x, 0}, CPoint{x + 10, 0}), CLine(CPoint{x + 10, 0}, CPoint{x + 10, 10})});
}

// Counts how often it is written: every snapshot of the workspace writes it once.
class CountingBar : public CLineManipulative {
public:
    explicit CountingBar(int& writes) : CLineManipulative(*Bar(0)), m_writes(writes) {}
    void Serialize(CArchive& ar) override {
        ++m_writes;
        CLineManipulative::Serialize(ar);
    }

private:
    int& m_writes;
};

} // namespace

TEST(Undo, CanUndoTakesASnapshotOnlyAfterTheWorkspaceChanged) {
    CUnitDocument doc({1, "Test", "", "tst", ""});
    int writes = 0;
    CManipulative* bar = doc.AddManipulative(std::make_unique<CountingBar>(writes));
    doc.ClearUndoHistory();
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(writes, 0);

    // Selecting changes nothing to undo: one comparison after it, then none.
    doc.MarkUndoStep();
    int before = writes;
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(writes, before);
    doc.Select(bar);
    EXPECT_FALSE(doc.CanUndo());
    before = writes;
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(writes, before);

    // A move is a step, told while it lasts and after the next mark.
    doc.MarkUndoStep();
    doc.MoveSelection(5, 0);
    EXPECT_TRUE(doc.CanUndo());
    doc.MoveSelection(5, 0);
    EXPECT_TRUE(doc.CanUndo());
    before = writes;
    EXPECT_TRUE(doc.CanUndo());
    doc.MarkUndoStep();
    EXPECT_TRUE(doc.CanUndo());
    EXPECT_EQ(writes, before + 1);

    // The view hears once that Undo may have come on (its menu item and Ctrl+Z follow), not
    // at every step of a drag, even when the document was modified before.
    struct CountingView : IWorkspaceView {
        int told = 0;
        void DocumentStateChanged() override { ++told; }
    } view;
    doc.SetView(&view);
    doc.ClearUndoHistory();
    doc.MarkUndoStep();
    EXPECT_FALSE(doc.CanUndo());
    view.told = 0;
    doc.MoveSelection(5, 0);
    doc.MoveSelection(5, 0);
    EXPECT_EQ(view.told, 1);
    EXPECT_TRUE(doc.CanUndo());
    doc.SetView(nullptr);
}

TEST(Undo, UndoAndRedoAnAddition) {
    CGeometryUnitDocument doc;
    EXPECT_FALSE(doc.CanUndo());
    doc.MarkUndoStep();
    doc.AddManipulative(Bar(0));
    ASSERT_TRUE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
    doc.SetModifiedFlag(false);

    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.manipulatives().empty());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.CanRedo());
    EXPECT_FALSE(doc.CanUndo());

    ASSERT_TRUE(doc.Redo());
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_TRUE(doc.manipulatives()[0]->IsEqualTo(*Bar(0)));
    EXPECT_FALSE(doc.CanRedo());
}

TEST(Undo, StepsThatChangedNothingAreSkipped) {
    CGeometryUnitDocument doc;
    doc.MarkUndoStep();
    doc.AddManipulative(Bar(0));
    doc.MarkUndoStep(); // a click that selected nothing
    doc.MarkUndoStep();
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.manipulatives().empty());
}

TEST(Undo, SelectingAloneIsNothingToUndoAndTheSelectionSurvives) {
    CGeometryUnitDocument doc;
    CManipulative* a = doc.AddManipulative(Bar(0));
    doc.ClearUndoHistory();
    doc.MarkUndoStep();
    doc.Select(a);
    EXPECT_FALSE(doc.CanUndo());

    doc.MarkUndoStep();
    doc.MoveSelection(30, 0);
    ASSERT_TRUE(doc.Undo());
    ASSERT_EQ(doc.selection().size(), 1u);
    EXPECT_EQ(doc.selection()[0]->centre().x, doc.manipulatives()[0]->centre().x);
    EXPECT_TRUE(doc.manipulatives()[0]->selected());
    EXPECT_NEAR(doc.selection()[0]->centre().x, 7.5, 1e-9);
}

TEST(Undo, ANewActionClearsRedo) {
    CGeometryUnitDocument doc;
    doc.MarkUndoStep();
    doc.AddManipulative(Bar(0));
    doc.Undo();
    ASSERT_TRUE(doc.CanRedo());
    doc.MarkUndoStep();
    doc.AddManipulative(Bar(50));
    EXPECT_FALSE(doc.CanRedo());
}

TEST(Undo, NewAndOpenClearTheHistory) {
    quorvel::testing::FakeDocumentHost host;
    CGeometryUnitDocument doc;
    doc.SetHost(&host);
    doc.MarkUndoStep();
    doc.AddManipulative(Bar(0));
    host.prompter.answers = {MessageResult::No};
    ASSERT_TRUE(doc.FileNew());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
}

TEST(UndoHistory, KeepsTheLastHundredSteps) {
    CUndoHistory h;
    for (int i = 0; i < 150; ++i)
        h.Mark({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8)});
    EXPECT_EQ(h.undoSteps(), CUndoHistory::kMaxSteps);
    CUndoHistory::Snapshot restored;
    ASSERT_TRUE(h.Undo({0xFF, 0xFF}, restored));
    EXPECT_EQ(restored, (CUndoHistory::Snapshot{149, 0}));
}

TEST(UndoHistory, MemoryIsBounded) {
    CUndoHistory h;
    for (int i = 0; i < 20; ++i)
        h.Mark(CUndoHistory::Snapshot(3u * 1024 * 1024, static_cast<std::uint8_t>(i)));
    EXPECT_LE(h.bytes(), CUndoHistory::kMaxBytes);
    EXPECT_GE(h.undoSteps(), 9u);
    CUndoHistory::Snapshot restored;
    ASSERT_TRUE(h.Undo({}, restored));
    EXPECT_EQ(restored.front(), 19);
}
