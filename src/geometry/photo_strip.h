// The photo strip as the document stores it: twenty places and the photos, each photo with
// copies of the manipulatives that were in the photo box and a quarter-size picture.
#pragma once

#include "workspace/drawing_surface.h"
#include "workspace/manipulative.h"
#include "workspace/point.h"
#include "workspace/types.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace quorvel {

class CArchive;

inline constexpr int kPhotoStripPlaces = 20;
// The photo box's size on the geometry page; a photo's picture is a quarter of it each way.
inline constexpr CSize kPhotoBoxSize{148, 100};
// Room between the strip's places and around them.
inline constexpr int kPhotoPlaceGap = 4;
// Light blue behind a photo, grey where there is no photo to show.
inline constexpr Color kPhotoBackground = PaletteRGB(0x61, 0xBF, 0xFF);
inline constexpr Color kNoPhotoBackground = PaletteRGB(0x80, 0x80, 0x80);

// The picture size of a photo taken in `box`: a quarter each way, rounded down, never negative.
CSize PhotoPictureSize(const CRect& box);

class CPhotoObject {
public:
    using ManipulativeList = std::vector<std::unique_ptr<CManipulative>>;

    CPhotoObject() = default;
    // Copies of `taken`, the box's origin and centre; the picture rectangle (0, 0, box width
    // / 4, box height / 4).
    CPhotoObject(const CRect& box, const std::vector<const CManipulative*>& taken);
    CPhotoObject(const CPhotoObject& other);
    CPhotoObject& operator=(const CPhotoObject&) = delete;

    ManipulativeList& manipulatives() { return m_manipulatives; }
    const ManipulativeList& manipulatives() const { return m_manipulatives; }
    std::int32_t stripPlace() const { return m_stripPlace; }
    void SetStripPlace(std::int32_t place) { m_stripPlace = place; }
    const CRect& pictureRect() const { return m_pictureRect; }
    void SetPictureRect(const CRect& r) { m_pictureRect = r; }
    bool selected() const { return m_selected; }
    void SetSelected(bool selected) { m_selected = selected; }
    CPoint boxOrigin() const { return {m_boxLeft, m_boxTop}; }
    const C3DPointDouble& centre() const { return m_centre; }

    // The quarter-size picture of a photo taken in a box of `box` size: light blue, with
    // each copy reduced about the box centre and drawn centred. Made again whenever the
    // size asked for differs or the photo was read from a file; the size never comes from one.
    const CImage& Picture(ISurfaceFactory& surfaces, CSize box = kPhotoBoxSize);
    // The same picture drawn straight onto `dc` in `at` (a picture's size wherever it lies),
    // for screens and printers that draw sharper than the bitmap.
    void DrawPicture(IDrawingSurface& dc, const CRect& at) const;
    // Full size, centred on `area` by the union of the copies' redraw boxes, and framed
    // black. Writing-tool annotations are left out; the stored copies are not touched.
    void DrawFullSize(IDrawingSurface& dc, const CRect& area) const;

    // Manipulative count, each as type id and form, strip place, picture rectangle, selected,
    // box origin (left, top) and centre.
    void Serialize(CArchive& ar);

private:
    void DrawShapesAtAQuarter(IDrawingSurface& dc, const CRect& at) const;

    ManipulativeList m_manipulatives;
    std::int32_t m_stripPlace = -1;
    CRect m_pictureRect;
    bool m_selected = false;
    std::int32_t m_boxLeft = 0;
    std::int32_t m_boxTop = 0;
    C3DPointDouble m_centre;
    CImage m_picture;
    bool m_pictureMade = false;
};

class CPhotoStrip {
public:
    struct Place {
        bool occupied = false;
        CRect rect;
    };

    CPhotoStrip();

    std::size_t size() const { return m_photos.size(); }
    const CPhotoObject& at(std::size_t i) const { return *m_photos.at(i); }
    CPhotoObject& at(std::size_t i) { return *m_photos.at(i); }
    // The index of `photo` in the strip's order, or -1.
    int IndexOf(const CPhotoObject* photo) const;
    const std::array<Place, kPhotoStripPlaces>& places() const { return m_places; }
    const CRect& stripRect() const { return m_stripRect; }
    void Clear();

    // Where place `place` lies in the strip, in strip coordinates (before scrolling), for
    // pictures of `picture` size.
    static CRect PlaceRect(int place, CSize picture = PhotoPictureSize({0, 0, kPhotoBoxSize.cx,
                                                                        kPhotoBoxSize.cy}));
    // The width of all twenty places with their gaps.
    static int
    ContentWidth(CSize picture = PhotoPictureSize({0, 0, kPhotoBoxSize.cx, kPhotoBoxSize.cy}));
    // The first free place, or -1 when all twenty are taken.
    int FirstFreePlace() const;
    // Appends `photo`, which takes the first free place (its picture rectangle moves there),
    // or none when all are taken (its picture stays at the first position).
    CPhotoObject& Add(std::unique_ptr<CPhotoObject> photo);
    // Takes photo `index` out of the strip and frees its place; null for a bad index.
    std::unique_ptr<CPhotoObject> Remove(std::size_t index);
    // The photos whose place rectangles, offset by `origin`, lie wholly inside `r`.
    std::vector<std::size_t> PhotosInside(const CRect& r, CPoint origin) const;
    // The photo whose place contains `p` (strip coordinates, scrolling included), or -1.
    int PhotoAt(CPoint p) const;
    // Moves photo `index` to `place`; a photo already there takes its old place. The strip's
    // order follows the places afterwards, so the viewer shows them as the strip does.
    bool MoveToPlace(std::size_t index, int place);
    // The place under strip point `p` (scrolling included), or -1.
    int PlaceAt(CPoint p) const;
    // The photos in the order of their places, those without a place last: the order the
    // keyboard steps through, which the list's own order need not follow after a photo
    // took a freed place.
    std::vector<std::size_t> PlaceOrder() const;
    // The photos picked out, in the strip's order.
    std::vector<std::size_t> Picked() const;

    // The strip's scroll position and the width it shows; kept in the strip rectangle.
    int scroll() const { return m_stripRect.left; }
    int visibleWidth() const { return m_stripRect.Width(); }
    void SetVisibleWidth(int width);
    // Scrolls to `x`, kept within the places.
    void ScrollTo(int x);
    // Scrolls the least distance that shows place `place` whole.
    void ScrollToPlace(int place);

    // Each place's occupied flag and rectangle, the photo count, the photos, the strip
    // rectangle. Loading replaces the photos held before.
    void Serialize(CArchive& ar);

private:
    std::array<Place, kPhotoStripPlaces> m_places{};
    std::vector<std::unique_ptr<CPhotoObject>> m_photos;
    CRect m_stripRect;
};

// A manipulative copied into a photo or back out of one, fixed flag and all.
std::unique_ptr<CManipulative> PhotoCopy(const CManipulative& m);

// The strip on paper: every photo, whether scrolled into view or not, in the order of its
// place, five to a row and as many rows as they need, each framed in black.
// `PhotoStripPrintRect` is the area that holds them all.
CRect PhotoStripPrintRect(const CPhotoStrip& strip);
void DrawPhotoStripForPrint(IDrawingSurface& dc, const CPhotoStrip& strip);

} // namespace quorvel
