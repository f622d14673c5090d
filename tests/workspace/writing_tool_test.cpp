// The Writing tool: binding the edit box, every change fitting the annotator, the rule that
// keeps or deletes it when the writing ends, editing again, undo, and text in any language.
#include "workspace/writing_tool.h"

#include "fakes/fakes.h"
#include "geometry/geometry_document.h"

#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::testing::FakeTextMetrics;

namespace {

constexpr int kChar = 7;
constexpr int kLine = 16;

// Records what the tool asks of the edit box.
class FakeEditBox : public IAnnotatorEditBox {
public:
    bool shown = false;
    CRect area;
    std::string text;
    int shows = 0;

    void ShowEditBox(const CRect& r, const std::string& t) override {
        shown = true;
        area = r;
        text = t;
        ++shows;
    }
    void PlaceEditBox(const CRect& r) override { area = r; }
    void HideEditBox() override { shown = false; }
};

class CountingView : public IWorkspaceView {
public:
    int repaints = 0;
    std::vector<CRect> invalidated;
    void InvalidateAll() override { ++repaints; }
    void InvalidateRect(const CRect& r) override { invalidated.push_back(r); }
};

struct WritingTool : ::testing::Test {
    CGeometryUnitDocument doc;
    FakeEditBox box;
    FakeTextMetrics metrics;
    CountingView view;
    CWritingTool tool{doc, box, metrics};

    WritingTool() { doc.SetView(&view); }

    // The pupil clicks at `p`, types `text` one character at a time and clicks away.
    CAnnotatorManipulative* Write(CPoint p, const std::string& text) {
        CAnnotatorManipulative* a = tool.ClickAt(p);
        std::string typed;
        for (char c : text) {
            typed += c;
            tool.TextChanged(typed);
        }
        tool.EndEditing();
        return a;
    }
    const CAnnotatorManipulative* Only() const {
        EXPECT_EQ(doc.manipulatives().size(), 1u);
        return doc.manipulatives().empty()
                   ? nullptr
                   : dynamic_cast<const CAnnotatorManipulative*>(doc.manipulatives()[0].get());
    }
};

} // namespace

TEST_F(WritingTool, AClickMakesAnInvisibleAnnotatorAndShowsTheBoxOverIt) {
    CAnnotatorManipulative* a = tool.ClickAt({40, 50});
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(tool.annotator(), a);
    EXPECT_FALSE(a->visible());
    EXPECT_TRUE(box.shown);
    EXPECT_EQ(box.text, "");
    EXPECT_EQ(box.area, (CRect{40, 50, 40 + 3 * kChar, 50 + 3 * kLine / 2}))
        << "the fitted rectangle and one character more for the caret";
}

TEST_F(WritingTool, EveryChangeFitsTheAnnotatorMarksTheDocumentAndMovesTheBox) {
    CAnnotatorManipulative* a = tool.ClickAt({40, 50});
    doc.SetModifiedFlag(false);
    view.invalidated.clear();

    tool.TextChanged("Hello   ");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(a->text(), "Hello");
    EXPECT_EQ(a->textRect(), (CRect{40, 50, 40 + 6 * kChar, 50 + kLine + kLine / 2}));
    EXPECT_EQ(box.area.right, a->textRect().right + kChar);
    EXPECT_EQ(tool.boxText(), "Hello   ") << "the box keeps what is typed";
    EXPECT_TRUE(a->visible()) << "so that saving while writing keeps the text";
    ASSERT_FALSE(view.invalidated.empty());
    EXPECT_EQ(view.invalidated.back(), a->GetFrameOf());

    tool.TextChanged("Hello\nthere");
    EXPECT_EQ(a->textRect().Height(), 2 * kLine + kLine / 2);
}

TEST_F(WritingTool, BeginningToWriteChangesNothingUntilTheTextDoes) {
    CAnnotatorManipulative* a = Write({10, 10}, "kept");
    doc.SetModifiedFlag(false);
    tool.ClickAt({12, 12});
    EXPECT_EQ(tool.annotator(), a);
    EXPECT_EQ(box.text, "kept");
    tool.EndEditing();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Only()->text(), "kept");
}

TEST_F(WritingTool, OnlySpacesAndAClickElsewhereRemoveTheNewAnnotator) {
    tool.ClickAt({40, 50});
    tool.TextChanged("   ");
    // Clicking elsewhere with the tool ends the first writing before starting the next.
    CAnnotatorManipulative* second = tool.ClickAt({300, 300});
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(doc.manipulatives()[0].get(), second);
    EXPECT_EQ(box.shows, 2);

    tool.EndEditing();
    EXPECT_TRUE(doc.manipulatives().empty());
    EXPECT_FALSE(box.shown);
    EXPECT_EQ(tool.annotator(), nullptr);
    EXPECT_GT(view.repaints, 0);
}

TEST_F(WritingTool, WrittenTextStaysVisibleAndFitted) {
    Write({40, 50}, "a  ");
    const CAnnotatorManipulative* a = Only();
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->visible());
    EXPECT_EQ(a->text(), "a");
    EXPECT_EQ(a->textRect(), (CRect{40, 50, 40 + 2 * kChar, 50 + kLine + kLine / 2}));
    EXPECT_FALSE(box.shown);
}

TEST_F(WritingTool, ErasingAnExistingAnnotatorsTextDeletesIt) {
    Write({40, 50}, "gone");
    tool.ClickAt({41, 51});
    tool.TextChanged("");
    tool.EndEditing();
    EXPECT_TRUE(doc.manipulatives().empty());
}

TEST_F(WritingTool, AFixedAnnotatorSurvivesAnEmptyEdit) {
    auto label = std::make_unique<CStaticAnnotatorManipulative>(CPoint{20, 20});
    label->SetText("Teacher's label");
    label->FitToText(metrics);
    label->SetVisible(true);
    label->SetFixed(true);
    auto* fixed = static_cast<CAnnotatorManipulative*>(doc.AddManipulative(std::move(label)));

    EXPECT_EQ(tool.ClickAt({25, 25}), fixed) << "clicking an annotator edits it";
    EXPECT_EQ(box.text, "Teacher's label");
    tool.TextChanged(" ");
    tool.EndEditing();
    ASSERT_EQ(Only(), fixed);
    EXPECT_TRUE(fixed->visible());
    EXPECT_EQ(fixed->text(), "");
    EXPECT_EQ(fixed->textRect(), (CRect{20, 20, 20 + 2 * kChar, 20 + 3 * kLine / 2}));
}

TEST_F(WritingTool, ClicksFindTheTopmostVisibleAnnotatorUnderOtherObjects) {
    CAnnotatorManipulative* lower = Write({0, 0}, "lower text");
    // A click there would edit the lower one, so the upper one is placed directly.
    CAnnotatorManipulative* upper = AddAnnotatorAt(doc, {5, 5}, metrics);
    upper->SetText("upper text");
    upper->FitToText(metrics);
    upper->SetVisible(true);
    doc.AddManipulative(std::make_unique<CLineManipulative>(
        std::vector<CLine>{CLine(CPoint{0, 0}, CPoint{100, 100})}));
    EXPECT_EQ(tool.AnnotatorAt({6, 6}), upper);
    EXPECT_EQ(tool.AnnotatorAt({1, 1}), lower);
    EXPECT_EQ(tool.AnnotatorAt({500, 500}), nullptr);
    upper->SetVisible(false);
    EXPECT_EQ(tool.AnnotatorAt({6, 6}), lower);
}

TEST_F(WritingTool, AWholeWritingIsOneUndoStep) {
    Write({40, 50}, "first");
    ASSERT_TRUE(doc.CanUndo());
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.manipulatives().empty());
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(Only()->text(), "first");

    tool.ClickAt({41, 51});
    tool.TextChanged("first edit");
    tool.TextChanged("second");
    tool.EndEditing();
    EXPECT_EQ(Only()->text(), "second");
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(Only()->text(), "first");
}

TEST_F(WritingTool, AnEmptyWritingLeavesNothingToUndo) {
    Write({40, 50}, "  ");
    EXPECT_TRUE(doc.manipulatives().empty());
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(WritingTool, AnnotatorsThatGoWhileBoundAreLetGo) {
    // Given a writing in progress, when Undo replaces the manipulatives underneath it...
    Write({40, 50}, "before");
    tool.ClickAt({41, 51});
    tool.TextChanged("during");
    ASSERT_TRUE(doc.Undo());
    // ...then the tool no longer feeds the old annotator, and ending deletes nothing.
    EXPECT_EQ(tool.annotator(), nullptr);
    tool.TextChanged("ignored");
    tool.EndEditing();
    EXPECT_FALSE(box.shown);
    EXPECT_EQ(Only()->text(), "before");

    tool.ClickAt({41, 51});
    doc.ClearWorkspace();
    EXPECT_EQ(tool.annotator(), nullptr);
    tool.EndEditing();
    EXPECT_TRUE(doc.manipulatives().empty());
}

TEST_F(WritingTool, TextInAnyLanguageIsKeptAndSaved) {
    const std::string greek = "\xCE\xB3\xCE\xB5\xCE\xB9\xCE\xAC";          // "γειά"
    const std::string arabic = "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7"; // "مرحبا"
    tool.ClickAt({10, 10});
    tool.TextChanged(greek + "\n" + arabic);
    tool.EndEditing();
    EXPECT_EQ(Only()->textRect().Width(), 6 * kChar) << "measured in characters, not bytes";

    CGeometryUnitDocument back;
    ASSERT_EQ(back.LoadFromBytes(doc.SaveToBytes()), OpenResult::Opened);
    ASSERT_EQ(back.manipulatives().size(), 1u);
    const auto* a = dynamic_cast<const CAnnotatorManipulative*>(back.manipulatives()[0].get());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), greek + "\n" + arabic);
}
