// Photos: the camera's copies and quarter-size picture, the twenty places, editing a photo in
// the photo box, the strip's drags, its archive form byte for byte, and the viewer.
#include "geometry/geometry_document.h"
#include "geometry/photo_controller.h"
#include "geometry/shape_manipulative.h"
#include "workspace/annotator.h"
#include "workspace/archive.h"

#include "fakes/fakes.h"
#include "workspace/layout_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kLightBlueArgb = 0xFF61BFFFu;

CShapeManipulative Square(int x, int y, int side) {
    const std::vector<CPoint> p = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
    std::vector<CLine> lines;
    for (std::size_t i = 0; i < p.size(); ++i)
        lines.emplace_back(p[i], p[(i + 1) % p.size()]);
    return CShapeManipulative(lines, PaletteRGB(0, 0, 255));
}

// Surfaces into core images whose calls are kept after the surface is gone.
class LoggingSurfaces : public ISurfaceFactory {
public:
    std::vector<std::string> calls;
    int made = 0;

    std::unique_ptr<IDrawingSurface> SurfaceFor(CImage&) override {
        ++made;
        return std::make_unique<Logged>(calls);
    }

private:
    class Logged : public RecordingSurface {
    public:
        explicit Logged(std::vector<std::string>& sink) : m_sink(sink) {}
        ~Logged() override { m_sink.insert(m_sink.end(), calls.begin(), calls.end()); }

    private:
        std::vector<std::string>& m_sink;
    };
};

class RecordingPhotoWindow : public IPhotoWindow {
public:
    std::vector<bool> camera;
    int stripChanges = 0;
    void ShowCamera(bool shown) override { camera.push_back(shown); }
    void StripChanged() override { ++stripChanges; }
};

class PhotoTest : public ::testing::Test {
protected:
    PhotoTest() {
        doc.SetHost(&host);
        photos.SetWindow(&window);
    }

    CManipulative* Add(const CManipulative& m) { return doc.AddManipulative(m.Clone()); }

    FakeDocumentHost host;
    CGeometryUnitDocument doc;
    RecordingPhotoWindow window;
    CPhotoController photos{doc};
    const CRect box{100, 50, 248, 150}; // 148 by 100
};

bool AllPixels(const CImage& image, std::uint32_t argb) {
    return std::all_of(image.pixels.begin(), image.pixels.end(),
                       [&](std::uint32_t p) { return p == argb; });
}

Bytes FormOf(CManipulative& m) {
    return Stored([&](CArchive& ar) { m.Serialize(ar); });
}

} // namespace

TEST_F(PhotoTest, CameraOnAnEmptyBoxMakesAnEmptyLightBluePhoto) {
    CPhotoObject& photo = photos.TakePhoto(box, false);
    LoggingSurfaces surfaces;
    const CImage& picture = photo.Picture(surfaces);

    EXPECT_EQ(doc.photoStrip().size(), 1u);
    EXPECT_TRUE(photo.manipulatives().empty());
    EXPECT_EQ(picture.width, 37);
    EXPECT_EQ(picture.height, 25);
    EXPECT_TRUE(AllPixels(picture, kLightBlueArgb));
    EXPECT_EQ(surfaces.made, 0) << "nothing to draw into an empty photo";
}

TEST_F(PhotoTest, ABoxOf148By100GivesA37By25PictureInTheFirstPlace) {
    CPhotoObject& photo = photos.TakePhoto(box, false);
    EXPECT_EQ(photo.stripPlace(), 0);
    EXPECT_EQ(photo.pictureRect(), CPhotoStrip::PlaceRect(0));
    EXPECT_EQ(photo.pictureRect().Width(), 37);
    EXPECT_EQ(photo.pictureRect().Height(), 25);
    EXPECT_EQ(photo.boxOrigin().x, 100);
    EXPECT_EQ(photo.boxOrigin().y, 50);
    EXPECT_DOUBLE_EQ(photo.centre().x, 174.0);
    EXPECT_DOUBLE_EQ(photo.centre().y, 100.0);
    EXPECT_TRUE(doc.photoStrip().places()[0].occupied);
}

TEST_F(PhotoTest, CameraCopiesWhatTouchesTheBoxAndClearsTheSelection) {
    CManipulative* inside = Add(Square(120, 60, 40));
    CManipulative* across = Add(Square(230, 140, 40)); // reaches over the box's corner
    Add(Square(400, 400, 40));                         // far away
    doc.Select(inside);

    CPhotoObject& photo = photos.TakePhoto(box, false);

    ASSERT_EQ(photo.manipulatives().size(), 2u);
    EXPECT_TRUE(photo.manipulatives()[0]->IsEqualTo(*inside));
    EXPECT_TRUE(photo.manipulatives()[1]->IsEqualTo(*across));
    EXPECT_NE(photo.manipulatives()[0].get(), inside) << "a copy, not the shape itself";
    EXPECT_TRUE(doc.selection().empty());
    EXPECT_EQ(doc.manipulatives().size(), 3u) << "the shapes stay in the workspace";
}

TEST_F(PhotoTest, APlayingScriptKeepsItsSelection) {
    CManipulative* inside = Add(Square(120, 60, 40));
    doc.Select(inside);
    photos.TakePhoto(box, true);
    EXPECT_EQ(doc.selection().size(), 1u);
}

TEST_F(PhotoTest, ThePictureShowsTheShapesAtAQuarterAboutTheBoxCentre) {
    // A square of 40 centred on the box centre (174, 100) becomes one of 10 centred on the
    // picture's centre (18.5, 12.5).
    Add(Square(154, 80, 40));
    CPhotoObject& photo = photos.TakePhoto(box, false);
    LoggingSurfaces surfaces;
    photo.Picture(surfaces);
    ASSERT_EQ(surfaces.made, 1);
    const auto polygons =
        std::count_if(surfaces.calls.begin(), surfaces.calls.end(),
                      [](const std::string& c) { return c.rfind("polygon", 0) == 0; });
    ASSERT_GE(polygons, 1);
    const std::string polygon =
        *std::find_if(surfaces.calls.begin(), surfaces.calls.end(),
                      [](const std::string& c) { return c.rfind("polygon", 0) == 0; });
    EXPECT_NE(polygon.find(" 14,8"), std::string::npos) << polygon;
    EXPECT_NE(polygon.find(" 24,18"), std::string::npos) << polygon;
    // Made once; drawn again from the cache.
    photo.Picture(surfaces);
    EXPECT_EQ(surfaces.made, 1);
}

TEST_F(PhotoTest, ThePictureDrawnStraightOntoASurfaceLiesWhereItIsAsked) {
    Add(Square(154, 80, 40));
    CPhotoObject& photo = photos.TakePhoto(box, false);
    RecordingSurface dc;
    const CRect at{100, 10, 137, 35}; // a picture's size, moved
    photo.DrawPicture(dc, at);

    ASSERT_GE(dc.calls.size(), 3u);
    EXPECT_EQ(dc.calls[0].rfind("fill 100,10 137,35", 0), 0u) << dc.calls[0];
    EXPECT_EQ(dc.calls[1], "clip 100,10 137,35");
    EXPECT_EQ(dc.calls.back(), "clip none");
    const std::vector<std::string> polygons = dc.Only("polygon");
    ASSERT_FALSE(polygons.empty());
    EXPECT_NE(polygons[0].find(" 114,18"), std::string::npos) << polygons[0];
    EXPECT_NE(polygons[0].find(" 124,28"), std::string::npos) << polygons[0];
    ASSERT_EQ(photo.manipulatives().size(), 1u);
    EXPECT_EQ(photo.manipulatives()[0]->GetFrameOf(), Square(154, 80, 40).GetFrameOf());
}

TEST_F(PhotoTest, PhotosTakeTheFirstFreePlaceAndTheStripScrollsToThem) {
    doc.photoStrip().SetVisibleWidth(100);
    for (int i = 0; i < 5; ++i)
        photos.TakePhoto(box, false);
    EXPECT_EQ(doc.photoStrip().at(4).stripPlace(), 4);
    EXPECT_GE(doc.photoStrip().scroll() + doc.photoStrip().visibleWidth(),
              CPhotoStrip::PlaceRect(4).right);
    EXPECT_LE(doc.photoStrip().scroll(), CPhotoStrip::PlaceRect(4).left);

    ASSERT_NE(doc.photoStrip().Remove(1), nullptr);
    EXPECT_FALSE(doc.photoStrip().places()[1].occupied);
    CPhotoObject& again = photos.TakePhoto(box, false);
    EXPECT_EQ(again.stripPlace(), 1);
    EXPECT_EQ(doc.photoStrip().IndexOf(&again), 4) << "appended to the list";
    EXPECT_LE(doc.photoStrip().scroll(), CPhotoStrip::PlaceRect(1).left);
}

TEST_F(PhotoTest, ATwentyFirstPhotoHasNoPlaceAndStaysAtTheFirstPosition) {
    for (int i = 0; i < kPhotoStripPlaces; ++i)
        photos.TakePhoto(box, false);
    CPhotoObject& extra = photos.TakePhoto(box, false);
    EXPECT_EQ(extra.stripPlace(), -1);
    EXPECT_EQ(extra.pictureRect(), CPhotoStrip::PlaceRect(0));
    EXPECT_EQ(doc.photoStrip().size(), 21u);
}

TEST_F(PhotoTest, EditingPutsTheShapesBackInTheBoxWhereTheyStood) {
    Add(Square(120, 60, 40));
    photos.TakePhoto(box, false);
    doc.DeleteManipulative(doc.manipulatives().front().get());
    ASSERT_TRUE(doc.manipulatives().empty());
    CGeometryOptions all = doc.options();
    all.user[kOptPhotoFeatures] = kPhotoShowAll;
    doc.SetOptions(all);

    const CRect moved{300, 200, 448, 300}; // the box, after the pane scrolled
    EXPECT_EQ(photos.EditPhotos({0}, moved), PhotoEdit::Edited);

    ASSERT_EQ(doc.manipulatives().size(), 1u);
    EXPECT_EQ(doc.manipulatives()[0]->GetFrameOf().left, Square(320, 210, 40).GetFrameOf().left);
    EXPECT_EQ(doc.manipulatives()[0]->GetFrameOf().top, Square(320, 210, 40).GetFrameOf().top);
    EXPECT_EQ(doc.photoStrip().size(), 0u);
    EXPECT_FALSE(doc.photoStrip().places()[0].occupied);
    EXPECT_EQ(window.camera, std::vector<bool>{true});
    EXPECT_TRUE(host.prompter.messages.empty());
}

TEST_F(PhotoTest, ALockedPieceStaysLockedThroughTheStripAndBack) {
    Add(Square(120, 60, 40))->SetFixed(true);
    Add(Square(180, 60, 40));
    photos.TakePhoto(box, false);
    CGeometryUnitDocument reread; // and through the file
    ASSERT_EQ(reread.LoadFromBytes(doc.SaveToBytes()), OpenResult::Opened);
    EXPECT_TRUE(reread.photoStrip().at(0).manipulatives()[0]->fixed());
    while (!doc.manipulatives().empty())
        doc.DeleteManipulative(doc.manipulatives().front().get());
    CGeometryOptions all = doc.options();
    all.user[kOptPhotoFeatures] = kPhotoShowAll;
    doc.SetOptions(all);
    ASSERT_EQ(photos.EditPhotos({0}, box), PhotoEdit::Edited);
    ASSERT_EQ(doc.manipulatives().size(), 2u);
    EXPECT_TRUE(doc.manipulatives()[0]->fixed());
    EXPECT_FALSE(doc.manipulatives()[1]->fixed());
}

TEST_F(PhotoTest, CancelOnTheReplaceQuestionChangesNothing) {
    Add(Square(120, 60, 40));
    photos.TakePhoto(box, false);
    Add(Square(150, 90, 20));
    const Bytes before = doc.SaveToBytes();
    host.prompter.answers.push_back(MessageResult::Cancel);

    EXPECT_EQ(photos.EditPhotos({0}, box), PhotoEdit::Kept);

    ASSERT_EQ(host.prompter.messages.size(), 1u);
    EXPECT_EQ(host.prompter.messages[0].text, kReplacePhotoBox);
    EXPECT_EQ(host.prompter.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(host.prompter.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(doc.manipulatives().size(), 2u);
    EXPECT_EQ(doc.photoStrip().size(), 1u);
    EXPECT_EQ(doc.SaveToBytes(), before);
}

TEST_F(PhotoTest, OkOnTheReplaceQuestionDeletesWhatWasInTheBox) {
    Add(Square(120, 60, 40));
    photos.TakePhoto(box, false);
    Add(Square(150, 90, 20));
    Add(Square(500, 500, 20)); // outside the box: kept
    EXPECT_EQ(photos.EditPhotos({0}, box), PhotoEdit::Edited);
    ASSERT_EQ(doc.manipulatives().size(), 2u);
    EXPECT_EQ(doc.manipulatives()[0]->GetFrameOf(), Square(500, 500, 20).GetFrameOf());
    EXPECT_EQ(doc.manipulatives()[1]->GetFrameOf(), Square(120, 60, 40).GetFrameOf());
}

TEST_F(PhotoTest, TwoPhotosAtOnceAreRefused) {
    photos.TakePhoto(box, false);
    photos.TakePhoto(box, false);
    EXPECT_EQ(photos.EditPhotos({0, 1}, box), PhotoEdit::TooMany);
    EXPECT_EQ(host.prompter.LastText(), kOnePhotoAtATime);
    EXPECT_EQ(doc.photoStrip().size(), 2u);
    EXPECT_EQ(photos.EditPhotos({}, box), PhotoEdit::Nothing);
    EXPECT_EQ(photos.EditPhotos({7}, box), PhotoEdit::Nothing) << "no such photo";
}

TEST_F(PhotoTest, TakingAndEditingAPhotoAreEachOneUndoStep) {
    Add(Square(120, 60, 40));
    photos.TakePhoto(box, false);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.photoStrip().size(), 0u);
    EXPECT_FALSE(doc.photoStrip().places()[0].occupied);
    EXPECT_EQ(doc.photoStrip().FirstFreePlace(), 0);
    ASSERT_TRUE(doc.Redo());
    ASSERT_EQ(doc.photoStrip().size(), 1u);

    // Given the shape gone from the box, editing the photo brings it back and empties the
    // strip; undo takes the shape away again and the photo returns to its place.
    doc.MarkUndoStep();
    doc.DeleteManipulative(doc.manipulatives().front().get());
    ASSERT_EQ(photos.EditPhotos({0}, box), PhotoEdit::Edited);
    ASSERT_EQ(doc.manipulatives().size(), 1u);
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.manipulatives().empty());
    ASSERT_EQ(doc.photoStrip().size(), 1u);
    EXPECT_EQ(doc.photoStrip().at(0).stripPlace(), 0);
    ASSERT_EQ(doc.photoStrip().at(0).manipulatives().size(), 1u);
    EXPECT_EQ(doc.photoStrip().at(0).manipulatives()[0]->GetFrameOf(),
              Square(120, 60, 40).GetFrameOf());
}

TEST_F(PhotoTest, UndoAndRedoOfAnEditLeaveStripViewerAndFileAgreeing) {
    Add(Square(120, 60, 40));
    photos.TakePhoto(box, false);
    Add(Square(150, 80, 30));
    photos.TakePhoto(box, false);
    while (!doc.manipulatives().empty())
        doc.DeleteManipulative(doc.manipulatives().front().get());
    CGeometryOptions all = doc.options();
    all.user[kOptPhotoFeatures] = kPhotoShowAll;
    doc.SetOptions(all);
    doc.photoStrip().SetVisibleWidth(200);
    const auto stripBytes = [this] {
        return Stored([this](CArchive& ar) { doc.photoStrip().Serialize(ar); });
    };
    const Bytes twoPhotos = stripBytes();

    ASSERT_EQ(photos.EditPhotos({0}, box), PhotoEdit::Edited);
    const Bytes onePhoto = stripBytes();
    for (const bool undo : {true, false}) {
        SCOPED_TRACE(undo ? "undo" : "redo");
        ASSERT_TRUE(undo ? doc.Undo() : doc.Redo());
        EXPECT_EQ(stripBytes(), undo ? twoPhotos : onePhoto);
        CPhotoStrip& strip = doc.photoStrip();
        ASSERT_EQ(strip.size(), undo ? 2u : 1u);
        for (std::size_t i = 0; i < strip.size(); ++i) {
            EXPECT_TRUE(
                strip.places()[static_cast<std::size_t>(strip.at(i).stripPlace())].occupied);
            EXPECT_EQ(strip.at(i).pictureRect(), CPhotoStrip::PlaceRect(strip.at(i).stripPlace()));
        }
        FakeTimerHost timers;
        CPhotoViewerController viewer(strip, timers);
        EXPECT_EQ(viewer.Caption(), undo ? "Photo #1 of 2" : "Photo #1 of 1");
        CGeometryUnitDocument reread;
        ASSERT_EQ(reread.LoadFromBytes(doc.SaveToBytes()), OpenResult::Opened);
        EXPECT_EQ(Stored([&](CArchive& ar) { reread.photoStrip().Serialize(ar); }), stripBytes());
    }
}

TEST_F(PhotoTest, ScrollingTheStripOrPickingAPhotoIsNoUndoStepAndUndoKeepsThem) {
    CPhotoStrip& strip = doc.photoStrip();
    strip.SetVisibleWidth(60);
    for (int i = 0; i < 3; ++i)
        photos.TakePhoto(box, false);
    doc.ClearUndoHistory();

    doc.MarkUndoStep();
    strip.ScrollTo(30);
    strip.at(1).SetSelected(true);
    EXPECT_FALSE(doc.CanUndo());

    // Given a photo taken while the strip shows its far end with a photo picked out, undo
    // takes the photo away but leaves the strip where the pupil scrolled it.
    photos.TakePhoto(box, false);
    strip.ScrollTo(50);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(strip.size(), 3u);
    EXPECT_EQ(strip.scroll(), 50);
    EXPECT_EQ(strip.visibleWidth(), 60);
    EXPECT_TRUE(strip.at(1).selected());
    EXPECT_FALSE(strip.at(0).selected());
}

TEST_F(PhotoTest, FineWheelStepsAddUpToTheScrollOfANotch) {
    for (int i = 0; i < kPhotoStripPlaces; ++i)
        photos.TakePhoto(box, false);
    CPhotoStrip& strip = doc.photoStrip();
    strip.SetVisibleWidth(200);
    strip.ScrollTo(100);
    for (int i = 0; i < 24; ++i) // a touchpad's small steps, 5 eighths of a degree each
        photos.StripWheel(-5);
    EXPECT_EQ(strip.scroll(), 120);
    photos.StripWheel(120); // one notch of a plain wheel back
    EXPECT_EQ(strip.scroll(), 100);
    photos.StripWheel(-7);
    photos.StripWheel(7);
    EXPECT_EQ(strip.scroll(), 100);
}

TEST_F(PhotoTest, DraggingAPhotoReordersAndDraggingTheStripScrollsIt) {
    CPhotoStrip& strip = doc.photoStrip();
    strip.SetVisibleWidth(120);
    for (int i = 0; i < 3; ++i)
        photos.TakePhoto(box, false);
    CPhotoObject* first = &strip.at(0);
    CPhotoObject* third = &strip.at(2);
    strip.ScrollTo(0);

    // The first photo dropped on the third place: they change places and order.
    const CRect p0 = CPhotoStrip::PlaceRect(0);
    const CRect p2 = CPhotoStrip::PlaceRect(2);
    photos.StripPress({p0.left + 3, p0.top + 3});
    EXPECT_EQ(photos.draggedPhoto(), 0);
    photos.StripDrag({p2.left + 3, p2.top + 3});
    EXPECT_EQ(strip.scroll(), 0) << "a dragged photo does not scroll the strip";
    photos.StripRelease({p2.left + 3, p2.top + 3});
    EXPECT_EQ(first->stripPlace(), 2);
    EXPECT_EQ(third->stripPlace(), 0);
    EXPECT_EQ(&strip.at(0), third);
    EXPECT_EQ(&strip.at(2), first);
    EXPECT_TRUE(strip.places()[0].occupied);
    EXPECT_TRUE(strip.places()[2].occupied);

    // Dragging the empty part of the strip to the left shows later places, within limits.
    const CRect p10 = CPhotoStrip::PlaceRect(10);
    photos.StripPress({p10.left, p10.top});
    EXPECT_EQ(photos.draggedPhoto(), -1);
    photos.StripDrag({p10.left - 50, p10.top});
    EXPECT_EQ(strip.scroll(), 50);
    photos.StripDrag({p10.left - 100000, p10.top});
    EXPECT_EQ(strip.scroll(), CPhotoStrip::ContentWidth() - 120);
    photos.StripRelease({0, 0});
}

// The places of the photos picked out, in the strip's order.
std::vector<int> PickedPlaces(const CPhotoStrip& strip) {
    std::vector<int> places;
    for (std::size_t i : strip.Picked())
        places.push_back(strip.at(i).stripPlace());
    return places;
}

TEST_F(PhotoTest, AClickPicksAPhotoAndCtrlAddsOrRemovesOne) {
    struct Click {
        int place; // a place without a photo is the strip's empty part
        bool ctrl = false;
        bool drag = false;
    };
    struct Row {
        const char* what;
        std::vector<Click> clicks;
        std::vector<int> picked;
    };
    const Row rows[] = {
        {"a click picks one", {{1}}, {1}},
        {"another click picks only that one", {{1}, {2}}, {2}},
        {"Ctrl adds", {{1}, {2, true}}, {1, 2}},
        {"Ctrl on a picked one takes it out", {{1}, {2, true}, {1, true}}, {2}},
        {"the empty part picks none", {{1}, {2, true}, {5}}, {}},
        {"with Ctrl too", {{1}, {5, true}}, {}},
        {"a drag is no click", {{1}, {2, false, true}}, {1}},
    };
    CPhotoStrip& strip = doc.photoStrip();
    strip.SetVisibleWidth(400);
    for (int i = 0; i < 3; ++i)
        photos.TakePhoto(box, false);
    for (const Row& r : rows) {
        photos.Pick(-1);
        for (const Click& c : r.clicks) {
            const CRect at = CPhotoStrip::PlaceRect(c.place);
            photos.StripPress({at.left + 3, at.top + 3});
            if (c.drag)
                photos.StripDrag({at.left + 13, at.top + 3});
            photos.StripRelease({at.left + 3, at.top + 3}, c.ctrl);
        }
        EXPECT_EQ(PickedPlaces(strip), r.picked) << r.what;
    }
}

TEST_F(PhotoTest, KeysStepThroughThePlacesAndCtrlMovesThePickedPhoto) {
    // Photos in places 0, 2 and 1, in that order in the strip: a photo took the freed place.
    // Each taken at its own box origin, so that a move changes what undo keeps.
    CPhotoStrip& strip = doc.photoStrip();
    strip.SetVisibleWidth(60);
    const auto take = [&](int i) {
        photos.TakePhoto({box.left + i, box.top, box.right + i, box.bottom}, false);
    };
    for (int i = 0; i < 3; ++i)
        take(i);
    ASSERT_NE(strip.Remove(1), nullptr);
    take(3);
    ASSERT_EQ(strip.at(2).stripPlace(), 1);
    const auto photoIn = [&strip](int place) {
        const CRect r = CPhotoStrip::PlaceRect(place);
        return strip.PhotoAt({r.left + 1, r.top + 1});
    };

    struct Row {
        int picked; // place, or -1 for none
        PhotoStripKey key;
        bool ctrl;
        int after; // the picked photo's place after the key, or -1 for none picked
    };
    const Row rows[] = {
        {-1, PhotoStripKey::Right, false, 0}, {-1, PhotoStripKey::Left, false, 2},
        {0, PhotoStripKey::Right, false, 1},  {1, PhotoStripKey::Right, false, 2},
        {2, PhotoStripKey::Right, false, 2},  {1, PhotoStripKey::Left, false, 0},
        {2, PhotoStripKey::Home, false, 0},   {0, PhotoStripKey::End, false, 2},
        {1, PhotoStripKey::Right, true, 2},   {2, PhotoStripKey::Left, true, 1},
        {0, PhotoStripKey::Left, true, 0},    {-1, PhotoStripKey::Right, true, -1},
    };
    for (const Row& r : rows) {
        const std::string what = std::to_string(r.picked) + " key " +
                                 std::to_string(static_cast<int>(r.key)) + (r.ctrl ? " ctrl" : "");
        photos.Pick(r.picked >= 0 ? photoIn(r.picked) : -1);
        const CPhotoObject* picked = r.picked >= 0 ? &strip.at(strip.Picked().at(0)) : nullptr;
        const int other = r.after >= 0 && r.ctrl ? photoIn(r.after) : -1;
        const CPhotoObject* displaced =
            other >= 0 ? &strip.at(static_cast<std::size_t>(other)) : nullptr;
        doc.ClearUndoHistory();

        photos.StripKey(r.key, r.ctrl);

        const std::vector<std::size_t> now = strip.Picked();
        ASSERT_EQ(now.size(), r.after >= 0 ? 1u : 0u) << what;
        if (r.after < 0)
            continue;
        const CPhotoObject& photo = strip.at(now.front());
        EXPECT_EQ(photo.stripPlace(), r.after) << what;
        const CRect place = CPhotoStrip::PlaceRect(r.after);
        EXPECT_LE(strip.scroll(), place.left) << what << ": in view";
        EXPECT_GE(strip.scroll() + strip.visibleWidth(), place.right) << what << ": in view";
        if (!r.ctrl)
            continue;
        EXPECT_EQ(&photo, picked) << what << ": the same photo, moved";
        EXPECT_EQ(doc.CanUndo(), r.after != r.picked) << what;
        if (displaced && displaced != picked) {
            EXPECT_EQ(displaced->stripPlace(), r.picked) << what << ": the places swapped";
        }
    }
}

TEST_F(PhotoTest, AReorderToAFreePlaceFreesTheOldOne) {
    photos.TakePhoto(box, false);
    CPhotoStrip& strip = doc.photoStrip();
    EXPECT_TRUE(strip.MoveToPlace(0, 5));
    EXPECT_FALSE(strip.places()[0].occupied);
    EXPECT_TRUE(strip.places()[5].occupied);
    EXPECT_EQ(strip.FirstFreePlace(), 0);
    EXPECT_FALSE(strip.MoveToPlace(0, 20));
    EXPECT_FALSE(strip.MoveToPlace(3, 1));
}

TEST_F(PhotoTest, TheStripsArchiveFormWithTwoPhotos) {
    Add(Square(120, 60, 40));
    photos.TakePhoto(box, false);
    doc.DeleteManipulative(doc.manipulatives().front().get());
    photos.TakePhoto(box, false);
    CPhotoStrip& strip = doc.photoStrip();
    strip.at(1).SetSelected(true);

    LayoutBuilder b;
    for (int i = 0; i < kPhotoStripPlaces; ++i) {
        const CRect r = CPhotoStrip::PlaceRect(i);
        b.Int32(i < 2).Int32(r.left).Int32(r.top).Int32(r.right).Int32(r.bottom);
    }
    b.Int32(2);
    for (std::size_t i = 0; i < 2; ++i) {
        CPhotoObject& photo = strip.at(i);
        b.Int32(static_cast<std::int32_t>(photo.manipulatives().size()));
        for (auto& m : photo.manipulatives()) {
            b.Int32(kTypeShape);
            const Bytes form = FormOf(*m);
            b.bytes.insert(b.bytes.end(), form.begin(), form.end());
        }
        const CRect r = CPhotoStrip::PlaceRect(static_cast<int>(i));
        b.Int32(static_cast<std::int32_t>(i));
        b.Int32(r.left).Int32(r.top).Int32(r.right).Int32(r.bottom);
        b.Int32(i == 1);
        b.Int32(100).Int32(50);
        b.Point(174, 100);
    }
    const CRect s = strip.stripRect();
    b.Int32(s.left).Int32(s.top).Int32(s.right).Int32(s.bottom);

    const Bytes stored = Stored([&](CArchive& ar) { strip.Serialize(ar); });
    EXPECT_EQ(stored, b.bytes);

    // Read back into a strip that held other photos: they are gone, the copies are equal.
    CPhotoStrip read;
    read.Add(
        std::make_unique<CPhotoObject>(CRect{0, 0, 8, 8}, std::vector<const CManipulative*>{}));
    CArchive in(stored);
    read.Serialize(in);
    EXPECT_TRUE(in.AtEnd());
    ASSERT_EQ(read.size(), 2u);
    ASSERT_EQ(read.at(0).manipulatives().size(), 1u);
    EXPECT_TRUE(read.at(0).manipulatives()[0]->IsEqualTo(*strip.at(0).manipulatives()[0]));
    EXPECT_TRUE(read.at(1).selected());
    EXPECT_EQ(Stored([&](CArchive& ar) { read.Serialize(ar); }), stored);

    // Its picture is made again from the copies, at the page's size whatever the file says.
    LoggingSurfaces surfaces;
    const CImage& picture = read.at(0).Picture(surfaces);
    EXPECT_EQ(picture.width, 37);
    EXPECT_EQ(picture.height, 25);
    EXPECT_EQ(surfaces.made, 1);
}

TEST_F(PhotoTest, ATruncatedOrBoastfulStripFailsWithoutTouchingMemory) {
    Add(Square(120, 60, 40));
    photos.TakePhoto(box, false);
    const Bytes stored = Stored([&](CArchive& ar) { doc.photoStrip().Serialize(ar); });
    CPhotoStrip read;
    EXPECT_EQ(FirstPrefixThatLoads(stored, [&](CArchive& ar) { read.Serialize(ar); }),
              std::nullopt);

    // A photo count of two thousand million with nothing behind it.
    LayoutBuilder b;
    for (int i = 0; i < kPhotoStripPlaces; ++i)
        b.Int32(0).Int32(0).Int32(0).Int32(0).Int32(0);
    b.Int32(2000000000);
    CArchive ar(b.bytes);
    EXPECT_THROW(read.Serialize(ar), CArchiveException);
}

TEST_F(PhotoTest, DrawingFullSizeNeverChangesTheStoredCopies) {
    Add(Square(120, 60, 40));
    doc.Select(doc.manipulatives().front().get());
    CPhotoObject& photo = photos.TakePhoto(box, true); // a script plays: the copy is selected
    const Bytes before = FormOf(*photo.manipulatives()[0]);

    RecordingSurface dc;
    const CRect area{10, 10, 158, 110};
    photo.DrawFullSize(dc, area);
    photo.DrawFullSize(dc, area);

    EXPECT_EQ(FormOf(*photo.manipulatives()[0]), before);
    // Full size and centred: the 40-pixel square lies at (64, 40) to (104, 80).
    const auto polygons = dc.Only("polygon");
    ASSERT_FALSE(polygons.empty());
    EXPECT_NE(polygons[0].find(" 64,40"), std::string::npos) << polygons[0];
    EXPECT_NE(polygons[0].find(" 104,80"), std::string::npos) << polygons[0];
    EXPECT_EQ(dc.calls.back(), "rect 10,10 158,110");
}

TEST_F(PhotoTest, FullSizeLeavesBothKindsOfWritingOut) {
    Add(Square(120, 60, 40));
    std::vector<std::unique_ptr<CAnnotatorManipulative>> notes;
    notes.push_back(std::make_unique<CAnnotatorManipulative>(CPoint{110, 60}));
    notes.push_back(std::make_unique<CStaticAnnotatorManipulative>(CPoint{110, 100}));
    for (auto& note : notes) {
        note->SetText("our tiling");
        FakeTextMetrics metrics;
        note->FitToText(metrics);
        doc.AddManipulative(std::move(note));
    }
    CPhotoObject& photo = photos.TakePhoto(box, false);
    ASSERT_EQ(photo.manipulatives().size(), 3u);
    RecordingSurface dc;
    photo.DrawFullSize(dc, {0, 0, 148, 100});
    EXPECT_FALSE(dc.Only("polygon").empty());
    EXPECT_TRUE(dc.Only("drawtext").empty());
    EXPECT_TRUE(dc.Only("text").empty());
}

TEST_F(PhotoTest, PrintingTheStripDrawsEveryPhotoWhereverItIsScrolled) {
    for (int i = 0; i < kPhotoStripPlaces; ++i)
        photos.TakePhoto(box, false);
    CPhotoStrip& strip = doc.photoStrip();
    strip.SetVisibleWidth(200); // about seven photos show
    strip.ScrollTo(300);
    RecordingSurface dc;
    DrawPhotoStripForPrint(dc, strip);
    const std::vector<std::string> frames = dc.Only("rect");
    EXPECT_EQ(frames.size(), std::size_t(kPhotoStripPlaces));
    EXPECT_EQ(dc.Only("fill").size(), std::size_t(kPhotoStripPlaces));
    // Five to a row, four rows, every frame inside the printed area.
    const CRect printed = PhotoStripPrintRect(strip);
    const CRect last = CPhotoStrip::PlaceRect(4);
    EXPECT_EQ(printed.right, last.right + kPhotoPlaceGap);
    EXPECT_EQ(printed.bottom, kPhotoPlaceGap + 4 * (last.Height() + kPhotoPlaceGap));
    EXPECT_EQ(frames.back(),
              "rect " + std::to_string(last.left - 1) + "," +
                  std::to_string(printed.bottom - kPhotoPlaceGap - last.Height() - 1) + " " +
                  std::to_string(last.right + 1) + "," +
                  std::to_string(printed.bottom - kPhotoPlaceGap + 1));
}

TEST(PhotoViewer, WithoutPhotosItSaysSoOverGrey) {
    CPhotoStrip strip;
    FakeTimerHost timers;
    CPhotoViewerController viewer(strip, timers);
    EXPECT_EQ(viewer.Caption(), "There are no Photos");
    for (int b :
         {kViewerNext, kViewerPrevious, kViewerPlayForward, kViewerPlayBackward, kViewerPrint})
        EXPECT_FALSE(viewer.IsEnabled(b)) << b;

    RecordingSurface dc;
    const CRect client{0, 0, 400, 300};
    viewer.Draw(dc, client);
    const CRect area = CPhotoViewerController::PhotoArea(client);
    EXPECT_EQ(area, (CRect{126, 100, 274, 200}));
    const auto fills = dc.Only("fill");
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0], "fill " + RecordingSurface::Rc(client) + " " +
                            RecordingSurface::Hex(PaletteRGB(255, 255, 255)));
    EXPECT_EQ(fills[1], "fill " + RecordingSurface::Rc(area) + " " +
                            RecordingSurface::Hex(kNoPhotoBackground));
    const auto texts = dc.Only("drawtext");
    ASSERT_FALSE(texts.empty());
    EXPECT_NE(texts.back().find("There are no Photos"), std::string::npos) << texts.back();
}

TEST(PhotoViewer, ButtonsAtTheFirstAndLastPhotoAndTheSlideShow) {
    CPhotoStrip strip;
    for (int i = 0; i < 3; ++i)
        strip.Add(std::make_unique<CPhotoObject>(CRect{0, 0, 148, 100},
                                                 std::vector<const CManipulative*>{}));
    FakeTimerHost timers;
    CPhotoViewerController viewer(strip, timers);

    EXPECT_EQ(viewer.Caption(), "Photo #1 of 3");
    EXPECT_FALSE(viewer.IsEnabled(kViewerPrevious));
    EXPECT_FALSE(viewer.IsEnabled(kViewerPlayBackward));
    EXPECT_TRUE(viewer.IsEnabled(kViewerNext));
    EXPECT_TRUE(viewer.IsEnabled(kViewerPlayForward));

    viewer.PlayForward();
    ASSERT_TRUE(timers.IsRunning(kPhotoViewerTimer));
    EXPECT_EQ(timers.running[kPhotoViewerTimer].interval, 1250);
    EXPECT_FALSE(viewer.IsEnabled(kViewerPlayForward)) << "the pressed button";
    viewer.PlayBackward();
    EXPECT_EQ(viewer.index(), 0) << "one slide show at a time";

    timers.Fire(kPhotoViewerTimer);
    EXPECT_EQ(viewer.Caption(), "Photo #2 of 3");
    EXPECT_TRUE(viewer.IsEnabled(kViewerPrevious));
    EXPECT_TRUE(viewer.IsEnabled(kViewerPlayBackward));
    timers.Fire(kPhotoViewerTimer);
    EXPECT_EQ(viewer.index(), 2);
    EXPECT_FALSE(timers.IsRunning(kPhotoViewerTimer)) << "the last photo stops the show";
    EXPECT_FALSE(viewer.IsEnabled(kViewerNext));
    EXPECT_FALSE(viewer.IsEnabled(kViewerPlayForward));
    viewer.Next();
    EXPECT_EQ(viewer.index(), 2) << "never beyond the last photo";

    viewer.Previous();
    viewer.Previous();
    EXPECT_EQ(viewer.index(), 0);
    EXPECT_FALSE(viewer.IsEnabled(kViewerPrevious));
    EXPECT_TRUE(viewer.IsEnabled(kViewerNext));
    viewer.Previous();
    EXPECT_EQ(viewer.index(), 0);
}

TEST(PhotoViewer, ShowsTheCurrentPhotoOverLightBlue) {
    CPhotoStrip strip;
    const CShapeManipulative square = Square(0, 0, 20);
    strip.Add(std::make_unique<CPhotoObject>(CRect{0, 0, 148, 100},
                                             std::vector<const CManipulative*>{&square}));
    FakeTimerHost timers;
    CPhotoViewerController viewer(strip, timers);
    RecordingSurface dc;
    viewer.Draw(dc, {0, 0, 400, 300});
    const auto fills = dc.Only("fill");
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_NE(fills[1].find(RecordingSurface::Hex(kPhotoBackground)), std::string::npos);
    EXPECT_FALSE(dc.Only("polygon").empty());
}
