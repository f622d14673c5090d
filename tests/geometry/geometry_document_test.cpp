// The Tiles and Tessellations document: drawer cycling, the student drawers, the view switch,
// the file layout byte for byte against a layout assembled field by field, damaged and
// truncated files, and what loading does afterwards.
#include "geometry/anglemeter_manipulative.h"
#include "geometry/geometry_document.h"
#include "geometry/poly_shape_manipulative.h"
#include "geometry/shape_catalogue.h"
#include "geometry/shape_manipulative.h"
#include "problemsets/problem_files.h"
#include "workspace/annotator.h"
#include "workspace/archive.h"
#include "workspace/notepad_text.h"

#include "fakes/fakes.h"
#include "workspace/layout_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr Color kBlue = PaletteRGB(0, 0, 255);

CShapeManipulative Square(int x, int y, int side, Color fill = kBlue) {
    const std::vector<CPoint> p = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
    std::vector<CLine> lines;
    for (std::size_t i = 0; i < p.size(); ++i)
        lines.emplace_back(p[i], p[(i + 1) % p.size()]);
    return CShapeManipulative(lines, fill);
}

CManipulative* Add(CGeometryUnitDocument& doc, const CManipulative& m) {
    return doc.AddManipulative(m.Clone());
}

struct Frame {
    int width;
    int height;
};

Frame SizeOf(const CManipulative& m) {
    const CRect r = m.GetFrameOf();
    return {r.Width(), r.Height()};
}

// The width of a shape's outline itself, without the pen around it.
double OutlineWidth(const CManipulative& m) {
    double lo = 1e300, hi = -1e300;
    for (const CLine& line : m.lines()) {
        lo = std::min(lo, line.start().x);
        hi = std::max(hi, line.start().x);
    }
    return hi - lo;
}

CGeometryOptions WithTeacher(std::initializer_list<std::pair<TeacherOption, int>> values) {
    CGeometryOptions o;
    for (auto [option, v] : values)
        o.teacher[static_cast<std::size_t>(option)] = v;
    return o;
}

// --- the layout, assembled from the primitives -----------------------------------------------

void String(LayoutBuilder& b, const std::string& s) {
    b.bytes.push_back(static_cast<std::uint8_t>(s.size()));
    b.bytes.insert(b.bytes.end(), s.begin(), s.end());
}

void Rect(LayoutBuilder& b, const CRect& r) {
    b.Int32(r.left).Int32(r.top).Int32(r.right).Int32(r.bottom);
}

void PointOf(LayoutBuilder& b, const C3DPointDouble& p) {
    b.Point(p.x, p.y, p.z);
}

void Base(LayoutBuilder& b, const CManipulative& m) {
    b.Int32(static_cast<std::int32_t>(m.lines().size()));
    PointOf(b, m.centre());
    PointOf(b, m.rotationPoint());
    b.Int32(m.selected()).Int32(m.visible()).Int32(m.scriptMark()).Int32(m.highlighted());
    b.Int32(m.kind()).Int32(m.fixed());
    for (const CLine& line : m.lines()) {
        PointOf(b, line.start());
        PointOf(b, line.end());
        PointOf(b, line.midpoint());
        b.Int32(line.width()).Tab().UInt32(line.color()).Tab().Int32(line.visible()).Tab();
    }
}

void Shape(LayoutBuilder& b, const CShapeManipulative& s) {
    Base(b, s);
    b.UInt32(s.fillColor()).Tab();
}

void Group(LayoutBuilder& b, const CPolyShapeManipulative& g) {
    Base(b, g);
    b.Int32(static_cast<std::int32_t>(g.GetMembers()->size())).Tab();
    for (const auto& m : *g.GetMembers()) {
        b.Int32(m->GetType()).Tab();
        Shape(b, dynamic_cast<const CShapeManipulative&>(*m));
    }
    for (const C3DPointDouble& corner : g.frameCorners())
        PointOf(b, corner);
    b.Tab();
}

void Anglemeter(LayoutBuilder& b, const CAnglemeterManipulative& a) {
    Base(b, a);
    Rect(b, a.labelRect());
    b.Tab();
    String(b, a.label());
    b.Tab().Int32(a.orientation()).Tab().Int32(a.flipCounter()).Tab();
}

void Annotator(LayoutBuilder& b, const CAnnotatorManipulative& a) {
    Base(b, a);
    String(b, a.text());
    b.Tab();
    Rect(b, a.textRect());
    b.Tab().Int32(a.visible()).Tab();
}

// A document a pupil has worked in: two shapes, a group, an anglemeter, an annotator, a
// script with a repeat and a slide, a labelled student drawer with a shape in slot 2.
struct Sample {
    FakeTextMetrics metrics;
    CGeometryUnitDocument doc;

    Sample() {
        doc.SetOptions(WithTeacher({{kOptScriptControls, 1}, {kOptPhotoFunctionality, 2}}));
        doc.SetPresentGeometry({0, 0, 560, 400}, {0, 0, 1120, 800});
        doc.paneState().SetScroll(30, 40);
        doc.SetAngleValue(45.5);
        doc.SetCurrentTool(5);

        Add(doc, Square(100, 100, 40));
        doc.Select(Add(doc, Square(200, 100, 30, PaletteRGB(255, 0, 0))));
        CPolyShapeManipulative::MemberList members;
        members.push_back(Square(300, 300, 20).Clone());
        members.push_back(Square(330, 300, 20).Clone());
        Add(doc, CPolyShapeManipulative(std::move(members)));
        Add(doc, CAnglemeterManipulative(C3DPointDouble(500, 200, 0.0), metrics));
        CAnnotatorManipulative note(CPoint{50, 600});
        note.SetText("my tiles");
        note.FitToText(metrics);
        note.SetVisible(true);
        Add(doc, note);

        ScriptStructList script;
        script.name = "turn";
        script.windowX = 12;
        script.windowY = 34;
        script.steps = {{1021, "ROTATE RIGHT 60", 0, 0, 60.0, 0},
                        {kStepRepeat, "    Repeat 5 times", 0, 0, 0, 5},
                        {1054, "SLIDE", 25, -10, 0, 0}};
        doc.scripts().Add(script);

        doc.NextDrawer();
        doc.NextDrawer();
        doc.NextDrawer(); // drawer 4
        doc.SetStudentDrawerLabel(3, 2, "kite");
        doc.DeselectAll();
        doc.Select(Add(doc, Square(700, 100, 20, PaletteRGB(0, 255, 0))));
        EXPECT_TRUE(doc.PutSelectionIntoStudentDrawer(2));
        doc.Select(doc.manipulatives()[1].get());
    }
};

Bytes SampleLayout(Sample& s) {
    CGeometryUnitDocument& doc = s.doc;
    LayoutBuilder b;
    b.UInt32(19992000);
    for (int v : {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 2})
        b.Int32(v);
    for (int v : {1, 0, 0, 0, 0})
        b.Int32(v);
    // Four empty questions: prompt "1 - 1 = ?", five empty choices, type, answer, parts,
    // then the further answers, as the shared problem block writes them.
    const Bytes problems = Stored([&](CArchive& ar) {
        for (std::size_t i = 0; i < doc.questions().size(); ++i)
            doc.questions()[i].Serialize(ar);
    });
    b.bytes.insert(b.bytes.end(), problems.begin(), problems.end());
    b.Int32(0).Int32(3).Int32(0).Int32(-1).Int32(0);
    // The workspace pane, the student drawer labels and the photo strip's empty places.
    b.Int32(30).Int32(40);
    Rect(b, {0, 0, 560, 400});
    for (int d = 0; d < 2; ++d)
        for (int slot = 0; slot < 6; ++slot)
            String(b, d == 0 && slot == 2 ? "kite" : "");
    for (const CPhotoStrip::Place& place : doc.photoStrip().places()) {
        b.Int32(place.occupied);
        Rect(b, place.rect);
    }
    b.Int32(0);
    Rect(b, doc.photoStrip().stripRect());
    // The navigator.
    Rect(b, doc.navigator().shown());
    for (int d = 0; d < kNavDirections; ++d)
        b.Int32(doc.navigator().IsEnabled(static_cast<NavDirection>(d)));
    b.Double(45.5).Tab();
    // One script.
    b.Int32(1).Tab();
    b.Int32(12).Int32(34).Tab();
    String(b, "turn");
    b.Tab().Int32(3).Tab();
    b.Int32(1021);
    String(b, "ROTATE RIGHT 60");
    b.Int32(0).Int32(0).Double(60.0).Int32(0);
    b.Int32(kStepRepeat);
    String(b, "    Repeat 5 times");
    b.Int32(0).Int32(0).Double(0).Int32(5);
    b.Int32(1054);
    String(b, "SLIDE");
    b.Int32(25).Int32(-10).Double(0).Int32(0);
    // Tool, drawer, the manipulatives.
    b.Int32(5).Tab().Int32(3).Tab().Int32(5).Tab();
    const auto& list = doc.manipulatives();
    b.Int32(1).Tab();
    Shape(b, dynamic_cast<const CShapeManipulative&>(*list[0]));
    b.Int32(1).Tab();
    Shape(b, dynamic_cast<const CShapeManipulative&>(*list[1]));
    b.Int32(2).Tab();
    Group(b, dynamic_cast<const CPolyShapeManipulative&>(*list[2]));
    b.Int32(3).Tab();
    Anglemeter(b, dynamic_cast<const CAnglemeterManipulative&>(*list[3]));
    b.Int32(4).Tab();
    Annotator(b, dynamic_cast<const CAnnotatorManipulative&>(*list[4]));
    // Student drawer 4: slot 2 holds a shape, with no TAB after its type; drawer 5 is empty.
    b.Int32(1).Int32(2).Int32(1);
    Shape(b, dynamic_cast<const CShapeManipulative&>(doc.StudentDrawerEntry(3, 2)->manipulative()));
    b.Int32(0);
    Rect(b, {0, 0, 1120, 800});
    String(b, "");
    return b.bytes;
}

// --- drawers ---------------------------------------------------------------------------------

TEST(GeometryDrawers, NextAndPreviousSkipUnavailableDrawers) {
    CGeometryUnitDocument doc;
    EXPECT_EQ(doc.currentDrawer(), 0);
    doc.SetOptions(WithTeacher({{kOptDrawer2, 0}, {kOptDrawer3, 0}, {kOptDrawer6, 0}}));
    doc.NextDrawer();
    EXPECT_EQ(doc.currentDrawer(), 3) << "drawer 1 goes on to drawer 4";
    doc.NextDrawer();
    EXPECT_EQ(doc.currentDrawer(), 4);
    doc.NextDrawer();
    EXPECT_EQ(doc.currentDrawer(), 0) << "wraps from drawer 5 past drawer 6";
    doc.PreviousDrawer();
    EXPECT_EQ(doc.currentDrawer(), 4) << "backwards wraps from drawer 1";

    // Switching the open drawer off moves on to the next available one.
    doc.SetOptions(WithTeacher({{kOptStudentDrawers, 0}, {kOptDrawer2, 0}}));
    EXPECT_EQ(doc.currentDrawer(), 5);

    // With every drawer off there is none, and cycling finds none either.
    doc.SetOptions(WithTeacher({{kOptDrawer1, 0},
                                {kOptDrawer2, 0},
                                {kOptDrawer3, 0},
                                {kOptStudentDrawers, 0},
                                {kOptDrawer6, 0}}));
    EXPECT_EQ(doc.currentDrawer(), -1);
    doc.NextDrawer();
    EXPECT_EQ(doc.currentDrawer(), -1);
    EXPECT_EQ(doc.AddShapeFromDrawer(0, C3DPointDouble(50, 50, 0.0)), nullptr);
    EXPECT_TRUE(doc.manipulatives().empty());

    // One drawer coming back is found from "none" in either direction.
    doc.SetOptions(WithTeacher(
        {{kOptDrawer1, 0}, {kOptDrawer2, 0}, {kOptStudentDrawers, 0}, {kOptDrawer6, 0}}));
    EXPECT_EQ(doc.currentDrawer(), 2);
}

TEST(GeometryDrawers, ShapesComeOutWithTheirCatalogueIndexAndHalfSizeInTheEntireView) {
    CGeometryUnitDocument doc;
    doc.NextDrawer(); // drawer 2
    CManipulative* t = doc.AddShapeFromDrawer(4, C3DPointDouble(200, 200, 0.0));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->kind(), 10);
    EXPECT_EQ(doc.AddShapeFromDrawer(5, C3DPointDouble(200, 200, 0.0)), nullptr) << "empty slot";
    const double full = OutlineWidth(*t);

    CGeometryOptions entire = doc.options();
    entire.user[kOptView] = 1;
    doc.SetOptions(entire);
    CManipulative* half = doc.AddShapeFromDrawer(4, C3DPointDouble(100, 100, 0.0));
    ASSERT_NE(half, nullptr);
    EXPECT_NEAR(OutlineWidth(*half), full / 2.0, 1e-9);
}

TEST(GeometryDrawers, FixedSlotPicturesFitTheSlotLessItsInsetCentredAndNeverEnlarged) {
    constexpr int kSize = kDrawerSlotSize;
    constexpr int kInset = 6;
    int reduced = 0;
    for (int index = 0; index < kCatalogueSize; ++index) {
        const auto whole = MakeDrawerShape(index, C3DPointDouble(0, 0, 0.0));
        const auto picture = MakeDrawerSlotPicture(index, {kSize, kSize});
        ASSERT_EQ(whole == nullptr, picture == nullptr) << index;
        if (!whole)
            continue;
        const CRect frame = picture->GetFrameOf();
        EXPECT_LE(OutlineWidth(*picture), OutlineWidth(*whole) + 1e-9) << index;
        reduced += OutlineWidth(*picture) < OutlineWidth(*whole) ? 1 : 0;
        EXPECT_GE(std::min(frame.left, frame.top), kInset - 1) << index;
        EXPECT_LE(std::max(frame.right, frame.bottom), kSize - kInset + 1) << index;
        EXPECT_LE(std::abs(frame.left + frame.right - kSize), 1) << index;
        EXPECT_LE(std::abs(frame.top + frame.bottom - kSize), 1) << index;
    }
    EXPECT_GT(reduced, 0);
}

TEST(GeometryDrawers, NameTableFollowsTheCatalogueAndTheStudentLabels) {
    CGeometryUnitDocument doc;
    const std::vector<std::string> first = {"triangle", "square",  "pentagon",
                                            "hexagon",  "octagon", "dodecagon"};
    for (int s = 0; s < 6; ++s)
        EXPECT_EQ(doc.DrawerName(0, s), first[static_cast<std::size_t>(s)]);
    EXPECT_EQ(doc.DrawerName(1, 4), "triangle 5");
    EXPECT_EQ(doc.DrawerName(1, 5), " ");
    EXPECT_EQ(doc.DrawerName(2, 3), "rhombus 3");
    EXPECT_EQ(doc.DrawerName(5, 3), "trapezoid");
    EXPECT_EQ(doc.DrawerName(5, 5), " ");
    EXPECT_EQ(doc.DrawerName(4, 1), "");
    doc.SetStudentDrawerLabel(4, 1, "my hexagon");
    EXPECT_EQ(doc.DrawerName(4, 1), "my hexagon");
    EXPECT_TRUE(doc.IsModified());
}

// --- student drawers -------------------------------------------------------------------------

struct StudentDrawerTest : ::testing::Test {
    FakeDocumentHost host;
    CGeometryUnitDocument doc;
    void SetUp() override {
        doc.SetHost(&host);
        doc.NextDrawer();
        doc.NextDrawer();
        doc.NextDrawer();
        ASSERT_EQ(doc.currentDrawer(), 3);
    }
};

TEST_F(StudentDrawerTest, PuttingAShapeAwayStoresItAndTakingItOutGivesItBack) {
    CManipulative* s = Add(doc, Square(100, 100, 40));
    CManipulative* other = Add(doc, Square(300, 100, 40));
    other->SetKind(3 * 6 + 1); // came out of this slot before
    doc.Select(s);
    ASSERT_TRUE(doc.PutSelectionIntoStudentDrawer(1));
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_TRUE(doc.selection().empty());
    EXPECT_EQ(other->kind(), -1) << "the slot holds something else now";
    const CStudentDrawerObject* entry = doc.StudentDrawerEntry(3, 1);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->scale(), 1.0);
    EXPECT_TRUE(host.prompter.messages.empty());

    CManipulative* out = doc.AddShapeFromDrawer(1, C3DPointDouble(500, 400, 0.0));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->kind(), 19);
    EXPECT_EQ(out->centre(), C3DPointDouble(500, 400, 0.0));
    EXPECT_EQ(SizeOf(*out).width, SizeOf(Square(0, 0, 40)).width);
    EXPECT_NE(doc.StudentDrawerEntry(3, 1), nullptr) << "the drawer keeps its shape";
}

TEST_F(StudentDrawerTest, CancelOnTheReplaceQuestionKeepsBoth) {
    doc.Select(Add(doc, Square(100, 100, 40)));
    ASSERT_TRUE(doc.PutSelectionIntoStudentDrawer(0));
    CManipulative* second = Add(doc, Square(200, 200, 30));
    doc.Select(second);
    host.prompter.answers.push_back(MessageResult::Cancel);
    EXPECT_FALSE(doc.PutSelectionIntoStudentDrawer(0));
    ASSERT_EQ(host.prompter.messages.size(), 1u);
    EXPECT_EQ(host.prompter.messages[0].text, kReplaceDrawerShape);
    EXPECT_EQ(host.prompter.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(host.prompter.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(doc.IndexOf(second), 0) << "the new shape stays in the workspace";
    EXPECT_EQ(SizeOf(doc.StudentDrawerEntry(3, 0)->manipulative()).width,
              SizeOf(Square(0, 0, 40)).width)
        << "the old entry stays";

    host.prompter.answers.push_back(MessageResult::Ok);
    EXPECT_TRUE(doc.PutSelectionIntoStudentDrawer(0));
    EXPECT_TRUE(doc.manipulatives().empty());
    EXPECT_EQ(SizeOf(doc.StudentDrawerEntry(3, 0)->manipulative()).width,
              SizeOf(Square(0, 0, 30)).width);
}

TEST_F(StudentDrawerTest, OnlyOneManipulativeGoesIntoASlot) {
    doc.Select(Add(doc, Square(100, 100, 40)));
    doc.Select(Add(doc, Square(200, 100, 40)));
    EXPECT_FALSE(doc.PutSelectionIntoStudentDrawer(0));
    EXPECT_EQ(host.prompter.LastText(), kOneManipulativePerDrawer);
    EXPECT_EQ(doc.manipulatives().size(), 2u);
    EXPECT_EQ(doc.StudentDrawerEntry(3, 0), nullptr);

    // Nothing selected, or a fixed drawer open: nothing happens and nothing is asked.
    doc.DeselectAll();
    host.prompter.messages.clear();
    EXPECT_FALSE(doc.PutSelectionIntoStudentDrawer(0));
    doc.PreviousDrawer();
    doc.Select(doc.manipulatives()[0].get());
    EXPECT_FALSE(doc.PutSelectionIntoStudentDrawer(0));
    EXPECT_TRUE(host.prompter.messages.empty());
}

TEST_F(StudentDrawerTest, ALargeShapeIsStoredWholeShownReducedAndComesOutFullSize) {
    const CShapeManipulative big = Square(100, 100, 240);
    doc.Select(Add(doc, big));
    ASSERT_TRUE(doc.PutSelectionIntoStudentDrawer(5));
    const CStudentDrawerObject* entry = doc.StudentDrawerEntry(3, 5);
    ASSERT_NE(entry, nullptr);
    EXPECT_LT(entry->scale(), 0.3);
    // Its redraw box, pen included, is brought to the picture's size and centred in it.
    EXPECT_NEAR(OutlineWidth(entry->picture()), 240 * entry->scale(), 1e-9);
    const CRect picture = entry->picture().GetFrameOf();
    EXPECT_EQ(picture.left + picture.right, kDrawerSlotSize - 4);
    EXPECT_GE(picture.left, -kStudentSlotInset);
    EXPECT_LE(picture.right, kDrawerSlotSize - kStudentSlotInset);
    EXPECT_EQ(SizeOf(entry->manipulative()).width, SizeOf(big).width);

    CManipulative* out = doc.AddShapeFromDrawer(5, C3DPointDouble(400, 400, 0.0));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(SizeOf(*out).width, SizeOf(big).width);
    EXPECT_EQ(SizeOf(*out).height, SizeOf(big).height);
}

TEST_F(StudentDrawerTest, InTheEntireViewAShapeKeepsItsSizeThroughTheDrawer) {
    CGeometryOptions entire = doc.options();
    entire.user[kOptView] = 1;
    doc.SetOptions(entire);
    CManipulative* s = Add(doc, Square(100, 100, 40));
    const Frame before = SizeOf(*s);
    doc.Select(s);
    ASSERT_TRUE(doc.PutSelectionIntoStudentDrawer(0));
    CManipulative* out = doc.AddShapeFromDrawer(0, C3DPointDouble(300, 300, 0.0));
    ASSERT_NE(out, nullptr);
    EXPECT_NEAR(SizeOf(*out).width, before.width, 1);
    EXPECT_NEAR(SizeOf(*out).height, before.height, 1);
}

TEST_F(StudentDrawerTest, DropsOnTheDrawerPane) {
    // A drop that misses the slots tells the pupil and puts the selection back.
    CManipulative* s = Add(doc, Square(100, 100, 40));
    doc.Select(s);
    const C3DPointDouble at = s->centre();
    EXPECT_EQ(doc.DropSelectionOnDrawerPane(-1, {30, 200}), DrawerDrop::MovedBack);
    EXPECT_EQ(host.prompter.LastText(), kOpenDrawerFirst);
    EXPECT_EQ(s->centre(), C3DPointDouble(at.x - 30, at.y - 200, 0.0));
    EXPECT_EQ(doc.manipulatives().size(), 1u);

    EXPECT_EQ(doc.DropSelectionOnDrawerPane(4, {0, 0}), DrawerDrop::Stored);
    EXPECT_NE(doc.StudentDrawerEntry(3, 4), nullptr);

    // A fixed drawer takes the shapes back.
    doc.PreviousDrawer();
    doc.Select(Add(doc, Square(100, 100, 40)));
    doc.Select(Add(doc, Square(200, 100, 40)));
    EXPECT_EQ(doc.DropSelectionOnDrawerPane(-1, {0, 50}), DrawerDrop::PutBack);
    EXPECT_TRUE(doc.manipulatives().empty());
    EXPECT_EQ(doc.DropSelectionOnDrawerPane(-1, {0, 50}), DrawerDrop::Refused);
}

TEST_F(StudentDrawerTest, UndoBringsBackTheShapeAndEmptiesTheSlot) {
    doc.Select(Add(doc, Square(100, 100, 40)));
    doc.MarkUndoStep();
    ASSERT_TRUE(doc.PutSelectionIntoStudentDrawer(2));
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(doc.StudentDrawerEntry(3, 2), nullptr);
    ASSERT_TRUE(doc.Redo());
    EXPECT_TRUE(doc.manipulatives().empty());
    EXPECT_NE(doc.StudentDrawerEntry(3, 2), nullptr);
}

// --- options ---------------------------------------------------------------------------------

TEST(GeometryOptions, EntireAndBackRestoresSizesAndPlaces) {
    FakeTextMetrics metrics;
    CGeometryUnitDocument doc;
    doc.SetPresentGeometry({0, 0, 500, 400}, {0, 0, 1000, 800});
    Add(doc, Square(101, 203, 37));
    CManipulative* fixed = Add(doc, Square(600, 500, 60));
    fixed->SetFixed(true);
    CPolyShapeManipulative::MemberList members;
    members.push_back(Square(300, 300, 20).Clone());
    members.push_back(Square(321, 300, 20).Clone());
    Add(doc, CPolyShapeManipulative(std::move(members)));
    Add(doc, CAnglemeterManipulative(C3DPointDouble(700, 100, 0.0), metrics));
    CAnnotatorManipulative note(CPoint{40, 700});
    note.SetText("look");
    note.FitToText(metrics);
    note.SetVisible(true);
    CManipulative* written = Add(doc, note);
    doc.SetModifiedFlag(false);

    std::vector<std::vector<CLine>> lines;
    std::vector<CRect> frames;
    for (const auto& m : doc.manipulatives()) {
        lines.push_back(m->lines());
        frames.push_back(m->GetFrameOf());
    }

    CGeometryOptions o = doc.options();
    o.user[kOptView] = 1;
    o.user[kOptPhotoFeatures] = kPhotoShowAll;
    doc.SetOptions(o);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.options().user[kOptPhotoFeatures], kPhotoHideAll);
    EXPECT_FALSE(written->visible()) << "annotations hide in the entire view";
    EXPECT_TRUE(fixed->fixed());
    EXPECT_NEAR(fixed->centre().x, 315, 1e-9);
    EXPECT_NEAR(fixed->centre().y, 265, 1e-9);
    EXPECT_NEAR(SizeOf(*doc.manipulatives()[0]).width, frames[0].Width() / 2.0, 1.5);

    o = doc.options();
    o.user[kOptView] = 0;
    doc.SetOptions(o);
    EXPECT_TRUE(written->visible());
    EXPECT_TRUE(fixed->fixed());
    for (std::size_t i = 0; i < doc.manipulatives().size(); ++i) {
        const CManipulative& m = *doc.manipulatives()[i];
        EXPECT_EQ(m.GetFrameOf(), frames[i]) << i;
        ASSERT_EQ(m.lines().size(), lines[i].size());
        for (std::size_t k = 0; k < lines[i].size(); ++k) {
            EXPECT_NEAR(m.lines()[k].start().x, lines[i][k].start().x, 1e-9);
            EXPECT_NEAR(m.lines()[k].start().y, lines[i][k].start().y, 1e-9);
        }
    }
}

TEST(GeometryOptions, ViewControlsFollowTheOptions) {
    CGeometryOptions o;
    CGeometryViewControls c = ViewControlsFor(o);
    EXPECT_FALSE(c.scriptPanel);
    EXPECT_TRUE(c.navigator);
    EXPECT_TRUE(c.scaleButtons);
    EXPECT_TRUE(c.groupButtons);
    EXPECT_TRUE(c.colorPalette);
    EXPECT_FALSE(c.photoStrip);

    // Photo features show what the teacher's photo functionality allows, and take the
    // navigator's place.
    o.user[kOptPhotoFeatures] = kPhotoShowAll;
    o.teacher[kOptPhotoFunctionality] = kPhotoFunctionStripOnly;
    c = ViewControlsFor(o);
    EXPECT_EQ(c.photoFeatures, kPhotoStripViewer);
    EXPECT_TRUE(c.photoStrip && c.photoViewer);
    EXPECT_FALSE(c.photoBox || c.camera);
    EXPECT_FALSE(c.navigator);
    o.teacher[kOptPhotoFunctionality] = kPhotoFunctionAll;
    c = ViewControlsFor(o);
    EXPECT_TRUE(c.photoBox && c.camera);

    // The entire view: no navigator, no Enlarge and Reduce, no photos.
    o.user[kOptView] = 1;
    c = ViewControlsFor(o);
    EXPECT_TRUE(c.entireView);
    EXPECT_FALSE(c.navigator || c.scaleButtons || c.photoStrip);

    o = CGeometryOptions{};
    o.teacher[kOptScrolling] = 0;
    o.teacher[kOptScaling] = 0;
    o.teacher[kOptGrouping] = 0;
    o.teacher[kOptColorPalette] = 0;
    o.teacher[kOptScriptControls] = 1;
    c = ViewControlsFor(o);
    EXPECT_TRUE(c.scriptPanel);
    EXPECT_FALSE(c.navigator || c.scaleButtons || c.groupButtons || c.colorPalette);
}

TEST(GeometryOptions, TheSheetEditsCopiesAndKeepsTheTeacherPageForAuthoring) {
    CGeometryOptions o;
    o.teacher[kOptPhotoFunctionality] = kPhotoFunctionStripBox;
    CTessellationOptionsSheet pupil(o, false);
    EXPECT_FALSE(pupil.Click(OptionsPage::Teacher, 1117)) << "no teacher page";
    EXPECT_TRUE(pupil.IsEnabled(OptionsPage::User, 1116));
    EXPECT_FALSE(pupil.IsEnabled(OptionsPage::User, 1117)) << "\"show All\" beyond Strip/Box";
    EXPECT_FALSE(pupil.Click(OptionsPage::User, 1117));
    EXPECT_TRUE(pupil.Click(OptionsPage::User, 1111));
    EXPECT_TRUE(pupil.IsChecked(OptionsPage::User, 1111));
    EXPECT_FALSE(pupil.IsChecked(OptionsPage::User, 1110));

    CTessellationOptionsSheet teacher(o, true);
    EXPECT_TRUE(teacher.IsChecked(OptionsPage::Teacher, 1320)) << "computer checked Off is 0";
    EXPECT_TRUE(teacher.Click(OptionsPage::Teacher, 1319));
    EXPECT_TRUE(teacher.Click(OptionsPage::Teacher, 1118));
    EXPECT_TRUE(teacher.Click(OptionsPage::Teacher, 1094));
    EXPECT_FALSE(teacher.IsEnabled(OptionsPage::User, 1115)) << "None leaves only hide all";
    EXPECT_TRUE(teacher.IsEnabled(OptionsPage::User, 1114));
    const CGeometryOptions result = teacher.Result(o);
    EXPECT_EQ(result.teacher[kOptComputerChecked], 1);
    EXPECT_EQ(result.teacher[kOptDrawer2], 0);
    EXPECT_EQ(result.teacher[kOptPhotoFunctionality], kPhotoFunctionNone);
    // Without the teacher page only the pupil's options come back.
    EXPECT_EQ(pupil.Result(o).teacher, o.teacher);
    EXPECT_EQ(pupil.Result(o).user[kOptView], 1);
}

class SheetView : public IGeometryDocumentView {
public:
    bool answer = true;
    bool sawTeacherPage = false;
    int applied = 0;
    bool RunOptionsSheet(CTessellationOptionsSheet& sheet) override {
        sawTeacherPage = sheet.hasTeacherPage();
        sheet.Click(OptionsPage::User, 1113);
        sheet.Click(OptionsPage::Teacher, 1122);
        return answer;
    }
    void OptionsApplied(const CGeometryOptions&) override { ++applied; }
};

class AuthoringHost : public FakeDocumentHost {
public:
    bool AuthoringMode() const override { return true; }
};

TEST(GeometryOptions, EditOptionsAppliesOnOkOnly) {
    CGeometryUnitDocument doc;
    SheetView view;
    doc.SetGeometryView(&view);
    FakeDocumentHost pupil;
    doc.SetHost(&pupil);
    view.answer = false;
    doc.EditOptions();
    EXPECT_EQ(doc.options(), CGeometryOptions{});
    EXPECT_EQ(view.applied, 0);

    view.answer = true;
    doc.EditOptions();
    EXPECT_FALSE(view.sawTeacherPage);
    EXPECT_EQ(doc.options().user[kOptSnapping], 1);
    EXPECT_EQ(doc.options().teacher[kOptScriptControls], 0);
    EXPECT_EQ(view.applied, 1);

    AuthoringHost teacher;
    doc.SetHost(&teacher);
    doc.EditOptions();
    EXPECT_TRUE(view.sawTeacherPage);
    EXPECT_EQ(doc.options().teacher[kOptScriptControls], 1);
    doc.SetGeometryView(nullptr);
}

// --- the file --------------------------------------------------------------------------------

TEST(GeometryFile, GoldenLayoutReadBackAndWrittenAgainIdentically) {
    Sample sample;
    const Bytes saved = sample.doc.SaveToBytes();
    const Bytes expected = SampleLayout(sample);
    ASSERT_EQ(saved.size(), expected.size());
    EXPECT_EQ(saved, expected);

    CGeometryUnitDocument reread;
    std::string error;
    ASSERT_EQ(reread.LoadFromBytes(saved, &error), OpenResult::Opened) << error;
    EXPECT_EQ(reread.SaveToBytes(), saved);
    ASSERT_EQ(reread.manipulatives().size(), 5u);
    ASSERT_EQ(reread.selection().size(), 1u);
    EXPECT_EQ(reread.selection()[0], reread.manipulatives()[1].get());
    EXPECT_EQ(reread.currentTool(), 5);
    EXPECT_EQ(reread.currentDrawer(), 3);
    EXPECT_EQ(reread.DrawerName(3, 2), "kite");
    ASSERT_NE(reread.StudentDrawerEntry(3, 2), nullptr);
    EXPECT_EQ(reread.scripts().size(), 1u);
    EXPECT_EQ(reread.scripts().selected(), std::optional<std::size_t>(0));
    EXPECT_EQ(reread.angleValue(), 45.5);
    EXPECT_EQ(reread.paneState().scrollX(), 30);
    EXPECT_EQ(reread.workspaceRect(), (CRect{0, 0, 1120, 800}));

    // The field tree names every field and builds the same bytes.
    CGeometryUnitDocument built;
    ASSERT_TRUE(built.LoadFromTree(sample.doc.DumpToTree(), &error)) << error;
    EXPECT_EQ(built.SaveToBytes(), saved);
}

TEST(GeometryFile, EveryPrefixFailsCleanly) {
    Sample sample;
    const Bytes saved = sample.doc.SaveToBytes();
    for (std::size_t n = 4; n < saved.size(); ++n) {
        CGeometryUnitDocument doc;
        const Bytes prefix(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(n));
        ASSERT_EQ(doc.LoadFromBytes(prefix), OpenResult::Failed) << n;
        EXPECT_TRUE(doc.manipulatives().empty());
        EXPECT_EQ(doc.StudentDrawerEntry(3, 2), nullptr);
        EXPECT_EQ(doc.options(), CGeometryOptions{}) << n;
    }
}

TEST(GeometryFile, DamagedBytesNeverCrash) {
    Sample sample;
    const Bytes saved = sample.doc.SaveToBytes();
    int opened = 0;
    for (std::size_t i = 4; i < saved.size(); ++i) {
        for (std::uint8_t v : {0x00, 0x09, 0x7F, 0xFF}) {
            Bytes bad = saved;
            bad[i] = v;
            CGeometryUnitDocument doc;
            if (doc.LoadFromBytes(bad) != OpenResult::Opened)
                continue;
            ++opened;
            RecordingSurface dc;
            for (const auto& m : doc.manipulatives())
                m->Draw(dc);
            doc.SaveToBytes();
        }
    }
    EXPECT_GT(opened, 0);
}

TEST(GeometryFile, AnUnknownTypeEndsTheReadingAndKeepsWhatWasRead) {
    Sample sample;
    const Bytes saved = sample.doc.SaveToBytes();
    // The third manipulative's type (the group, 2) becomes a picture's (5), which a geometry
    // document does not hold: it stands right after the first two shapes' forms.
    const auto& list = sample.doc.manipulatives();
    LayoutBuilder two;
    two.Int32(1).Tab();
    Shape(two, dynamic_cast<const CShapeManipulative&>(*list[0]));
    two.Int32(1).Tab();
    Shape(two, dynamic_cast<const CShapeManipulative&>(*list[1]));
    const auto at = std::search(saved.begin(), saved.end(), two.bytes.begin(), two.bytes.end());
    ASSERT_NE(at, saved.end());
    Bytes bad = saved;
    const std::size_t typeAt = static_cast<std::size_t>(at - saved.begin()) + two.bytes.size();
    ASSERT_EQ(bad[typeAt], 2);
    bad[typeAt] = 5;

    CGeometryUnitDocument doc;
    ASSERT_EQ(doc.LoadFromBytes(bad), OpenResult::Opened);
    EXPECT_EQ(doc.manipulatives().size(), 2u);
    EXPECT_EQ(doc.scripts().size(), 1u);
    EXPECT_EQ(doc.currentTool(), 5);
    EXPECT_EQ(doc.StudentDrawerEntry(3, 2), nullptr);
}

TEST(GeometryFile, AnUnknownTypeInAStudentDrawerIsAReadError) {
    // Only the manipulative list ends at an unknown type; a drawer's entry names its place.
    Sample sample;
    const Bytes saved = sample.doc.SaveToBytes();
    LayoutBuilder entry;
    entry.Int32(1).Int32(2).Int32(1);
    Shape(entry, dynamic_cast<const CShapeManipulative&>(
                     sample.doc.StudentDrawerEntry(3, 2)->manipulative()));
    const auto at = std::search(saved.begin(), saved.end(), entry.bytes.begin(), entry.bytes.end());
    ASSERT_NE(at, saved.end());
    Bytes bad = saved;
    const std::size_t typeAt = static_cast<std::size_t>(at - saved.begin()) + 8;
    bad[typeAt] = 5;

    CGeometryUnitDocument doc;
    std::string error;
    ASSERT_EQ(doc.LoadFromBytes(bad, &error), OpenResult::Failed);
    EXPECT_NE(error.find("unknown manipulative type 5 (type at byte " + std::to_string(typeAt + 4)),
              std::string::npos)
        << error;
    EXPECT_TRUE(doc.manipulatives().empty());
}

TEST(GeometryFile, AWindowlessDocumentAdoptsItsFilesViewAndMovesNothing) {
    Sample sample;
    const Bytes saved = sample.doc.SaveToBytes();
    CGeometryUnitDocument doc;
    ASSERT_EQ(doc.LoadFromBytes(saved), OpenResult::Opened);
    EXPECT_EQ(doc.paneRect(), (CRect{0, 0, 560, 400}));
    for (std::size_t i = 0; i < doc.manipulatives().size(); ++i)
        EXPECT_EQ(doc.manipulatives()[i]->centre(), sample.doc.manipulatives()[i]->centre());
    EXPECT_EQ(doc.SaveToBytes(), saved);
}

TEST(GeometryFile, ASmallerSavedWorkspaceSpreadsShapesWithoutResizingThem) {
    CGeometryUnitDocument small;
    small.SetPresentGeometry({0, 0, 400, 300}, {0, 0, 800, 600});
    CManipulative* a = Add(small, Square(380, 280, 40));
    CManipulative* fixed = Add(small, Square(100, 500, 20));
    fixed->SetFixed(true);
    const Bytes saved = small.SaveToBytes();

    CGeometryUnitDocument large;
    large.SetPresentGeometry({0, 0, 500, 450}, {0, 0, 1000, 900});
    ASSERT_EQ(large.LoadFromBytes(saved), OpenResult::Opened);
    const CManipulative& a2 = *large.manipulatives()[0];
    EXPECT_NEAR(a2.centre().x, a->centre().x * 1000 / 800, 1e-9);
    EXPECT_NEAR(a2.centre().y, a->centre().y * 900 / 600, 1e-9);
    EXPECT_EQ(SizeOf(a2).width, SizeOf(*a).width);
    EXPECT_EQ(SizeOf(a2).height, SizeOf(*a).height);
    const CManipulative& f2 = *large.manipulatives()[1];
    EXPECT_TRUE(f2.fixed());
    EXPECT_NEAR(f2.centre().y, fixed->centre().y * 1.5, 1e-9);
    // The pane's offsets follow its size.
    EXPECT_EQ(large.paneRect(), (CRect{0, 0, 500, 450}));
}

TEST(GeometryFile, LoadingAppliesTheOptionsWithoutScalingTheShapesAgain) {
    CGeometryUnitDocument doc;
    CManipulative* s = Add(doc, Square(200, 200, 40));
    CGeometryOptions o = doc.options();
    o.user[kOptView] = 1;
    doc.SetOptions(o);
    const Frame half = SizeOf(*s);
    const Bytes saved = doc.SaveToBytes();

    CGeometryUnitDocument reread;
    SheetView view;
    reread.SetGeometryView(&view);
    ASSERT_EQ(reread.LoadFromBytes(saved), OpenResult::Opened);
    EXPECT_EQ(view.applied, 1);
    EXPECT_TRUE(reread.options().entireView());
    EXPECT_EQ(SizeOf(*reread.manipulatives()[0]).width, half.width);
    reread.SetGeometryView(nullptr);
}

TEST(GeometryFile, ComputerCheckedDocumentsStartTheirProblemAndBadToolsBecomeTheArrow) {
    class ProblemView : public IWorkspaceView {
    public:
        int begun = 0;
        void BeginProblem(const CQuestionSet&, int, int) override { ++begun; }
    };
    CGeometryUnitDocument doc;
    doc.SetOptions(WithTeacher({{kOptComputerChecked, 1}}));
    doc.SetQuestionCount(1);
    Bytes saved = doc.SaveToBytes();

    CGeometryUnitDocument reread;
    ProblemView view;
    reread.SetView(&view);
    ASSERT_EQ(reread.LoadFromBytes(saved), OpenResult::Opened);
    EXPECT_TRUE(reread.problemSetMode());
    EXPECT_EQ(view.begun, 1);
    reread.SetView(nullptr);

    doc.SetCurrentTool(77);
    saved = doc.SaveToBytes();
    ASSERT_EQ(reread.LoadFromBytes(saved), OpenResult::Opened);
    EXPECT_EQ(reread.currentTool(), 0);
}

TEST(GeometryFile, StudentDrawerEntriesOutOfRangeOrTwiceAreDamage) {
    Sample sample;
    const Bytes saved = sample.doc.SaveToBytes();
    // The drawer-4 block is the last: count, slot, type, form, then drawer 5's count,
    // the workspace rectangle and the empty notepad string.
    LayoutBuilder tail;
    tail.Int32(0);
    Rect(tail, {0, 0, 1120, 800});
    String(tail, "");
    LayoutBuilder entry;
    Shape(entry, dynamic_cast<const CShapeManipulative&>(
                     sample.doc.StudentDrawerEntry(3, 2)->manipulative()));
    const std::size_t countAt = saved.size() - tail.bytes.size() - entry.bytes.size() - 12;
    ASSERT_EQ(saved[countAt], 1);
    ASSERT_EQ(saved[countAt + 4], 2);
    for (auto [offset, value] : {std::pair{0, 7}, {4, 6}, {4, 0xFF}}) {
        Bytes bad = saved;
        bad[countAt + static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
        CGeometryUnitDocument doc;
        EXPECT_EQ(doc.LoadFromBytes(bad), OpenResult::Failed) << offset << " " << value;
    }
    // The same entry twice.
    Bytes twice(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(countAt));
    LayoutBuilder two;
    two.Int32(2);
    for (int i = 0; i < 2; ++i) {
        two.Int32(2).Int32(1);
        two.bytes.insert(two.bytes.end(), entry.bytes.begin(), entry.bytes.end());
    }
    twice.insert(twice.end(), two.bytes.begin(), two.bytes.end());
    twice.insert(twice.end(), tail.bytes.begin(), tail.bytes.end());
    CGeometryUnitDocument doc;
    EXPECT_EQ(doc.LoadFromBytes(twice), OpenResult::Failed);
}

TEST(GeometryFile, GroupsNestSixtyFourDeepAndNoDeeper) {
    const auto nested = [](int depth) {
        std::unique_ptr<CManipulative> m = Square(10, 10, 10).Clone();
        for (int i = 0; i < depth; ++i) {
            CPolyShapeManipulative::MemberList members;
            members.push_back(std::move(m));
            m = std::make_unique<CPolyShapeManipulative>(std::move(members));
        }
        return m;
    };
    CGeometryUnitDocument doc;
    doc.AddManipulative(nested(64));
    const Bytes saved = doc.SaveToBytes();
    CGeometryUnitDocument reread;
    ASSERT_EQ(reread.LoadFromBytes(saved), OpenResult::Opened);
    EXPECT_EQ(reread.SaveToBytes(), saved);

    // One more level, written byte by byte since the writer will not write it either.
    LayoutBuilder deeper;
    CPolyShapeManipulative::MemberList members;
    members.push_back(nested(64));
    CPolyShapeManipulative outer(std::move(members));
    Base(deeper, outer);
    deeper.Int32(1).Tab().Int32(kTypePolyShape).Tab();
    const Bytes inner = Stored([&](CArchive& ar) { outer.GetMembers()->front()->Serialize(ar); });
    deeper.bytes.insert(deeper.bytes.end(), inner.begin(), inner.end());
    for (const C3DPointDouble& corner : outer.frameCorners())
        PointOf(deeper, corner);
    deeper.Tab();
    CArchive ar(deeper.bytes);
    CPolyShapeManipulative read;
    EXPECT_THROW(read.Serialize(ar), CArchiveException);
}

TEST(GeometryFile, TheNotepadTextTravelsWithTheDocument) {
    class NotepadHost : public FakeDocumentHost {
    public:
        CNotepadText notepad;
        CNotepadText* Notepad() override { return &notepad; }
    };
    NotepadHost host;
    host.notepad.SetText("Tiles with ½ turns");
    CGeometryUnitDocument doc;
    doc.SetHost(&host);
    const Bytes saved = doc.SaveToBytes();

    NotepadHost other;
    CGeometryUnitDocument reread;
    reread.SetHost(&other);
    ASSERT_EQ(reread.LoadFromBytes(saved), OpenResult::Opened);
    EXPECT_EQ(other.notepad.text(), "Tiles with ½ turns");
    // Without a program notepad the document keeps the text for its next save.
    CGeometryUnitDocument windowless;
    ASSERT_EQ(windowless.LoadFromBytes(saved), OpenResult::Opened);
    EXPECT_EQ(windowless.notepadText(), "Tiles with ½ turns");
    EXPECT_EQ(windowless.SaveToBytes(), saved);
}

TEST(GeometryFile, FileNewEmptiesTheStudentDrawersAndScriptsAndKeepsTheOptions) {
    Sample sample;
    FakeDocumentHost host;
    sample.doc.SetHost(&host);
    CGeometryOptions pupils = sample.doc.options();
    pupils.user[kOptRotationPoints] = 2;
    pupils.user[kOptPhotoFeatures] = kPhotoShowAll;
    sample.doc.SetOptions(pupils);
    sample.doc.NextDrawer();
    host.prompter.answers.push_back(MessageResult::No); // do not save
    ASSERT_TRUE(sample.doc.FileNew());
    // The pupil's options and the open drawer start again; the teacher's stay.
    EXPECT_EQ(sample.doc.options().user, CGeometryOptions{}.user);
    EXPECT_EQ(sample.doc.options().teacher, pupils.teacher);
    EXPECT_EQ(sample.doc.currentDrawer(), 0);
    EXPECT_TRUE(sample.doc.manipulatives().empty());
    EXPECT_EQ(sample.doc.StudentDrawerEntry(3, 2), nullptr);
    EXPECT_EQ(sample.doc.DrawerName(3, 2), "");
    EXPECT_TRUE(sample.doc.scripts().empty());
    EXPECT_TRUE(sample.doc.options().Teacher(kOptScriptControls));
    EXPECT_FALSE(sample.doc.IsModified());
}

TEST(GeometryFile, ProblemFileNamesByLevel) {
    CGeometryUnitDocument doc;
    std::string path = "/opt/quorvel/class";
    doc.AppendProblemFileName(path, 1);
    EXPECT_EQ(path.rfind("/opt/quorvel/class/geopsB", 0), 0u) << path;
    EXPECT_EQ(path.size(), std::string("/opt/quorvel/class/geopsB07.qvg").size()) << path;
    EXPECT_EQ(path.substr(path.size() - 4), ".qvg");
}

TEST(GeometryFile, EachLevelDrawsAllItsOwnProblemsBeforeAnyRepeats) {
    const auto drawAll = [](CGeometryUnitDocument& doc, int level, int times) {
        std::set<std::string> drawn;
        for (int i = 0; i < times; ++i) {
            std::string path = "class";
            doc.AppendProblemFileName(path, level);
            drawn.insert(path);
        }
        return drawn;
    };
    const auto files = [](int level) {
        std::set<std::string> all;
        for (int n = 1; n <= kGeometryProblemsPerLevel[static_cast<std::size_t>(level)]; ++n)
            all.insert("class/" + ProblemFileName(kGeometryProblemFiles, level, n));
        return all;
    };
    EXPECT_EQ(kGeometryProblemsPerLevel, (std::array<int, 3>{6, 6, 12}));
    CGeometryUnitDocument doc;
    EXPECT_EQ(drawAll(doc, kLevelC, 12), files(kLevelC));
    // Given a run at level C left half way, a run at level A in the same document draws from
    // level A's six problems only.
    drawAll(doc, kLevelC, 5);
    EXPECT_EQ(drawAll(doc, kLevelA, 6), files(kLevelA));
    EXPECT_EQ(drawAll(doc, kLevelB, 6), files(kLevelB));
}

} // namespace
