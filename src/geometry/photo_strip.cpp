// Photos and the photo strip: taking the copies, the quarter-size picture, drawing a photo
// full size, the twenty places, scrolling and reordering, the places' order, printing the
// strip, and their archive forms.
#include "geometry/photo_strip.h"

#include "geometry/student_drawer.h"
#include "workspace/archive.h"

#include <algorithm>

namespace quorvel {

namespace {

// No manipulatives, place, picture rectangle, selected, box origin and centre.
constexpr std::size_t kMinPhotoBytes = 4 + 4 + 16 + 4 + 8 + 27;

constexpr std::uint32_t Argb(Color c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(RedOf(c)) << 16) |
           (static_cast<std::uint32_t>(GreenOf(c)) << 8) | static_cast<std::uint32_t>(BlueOf(c));
}

CPoint RectCentre(const CRect& r) {
    return {static_cast<int>((std::int64_t{r.left} + r.right) / 2),
            static_cast<int>((std::int64_t{r.top} + r.bottom) / 2)};
}

void Frame(IDrawingSurface& dc, const CRect& r, Color color) {
    dc.SetPen(1, color);
    dc.SetNullBrush();
    dc.Rectangle(r);
}

} // namespace

CSize PhotoPictureSize(const CRect& box) {
    return {std::max(0, box.Width() / 4), std::max(0, box.Height() / 4)};
}

std::unique_ptr<CManipulative> PhotoCopy(const CManipulative& m) {
    // A teacher's locked piece stays locked through the strip and back.
    auto copy = m.Clone();
    copy->SetFixed(m.fixed());
    return copy;
}

CPhotoObject::CPhotoObject(const CRect& box, const std::vector<const CManipulative*>& taken)
    : m_boxLeft(box.left),
      m_boxTop(box.top), m_centre{(static_cast<double>(box.left) + box.right) / 2,
                                  (static_cast<double>(box.top) + box.bottom) / 2, 0} {
    const CSize picture = PhotoPictureSize(box);
    m_pictureRect = {0, 0, picture.cx, picture.cy};
    m_manipulatives.reserve(taken.size());
    for (const CManipulative* m : taken)
        m_manipulatives.push_back(PhotoCopy(*m));
}

CPhotoObject::CPhotoObject(const CPhotoObject& other)
    : m_stripPlace(other.m_stripPlace), m_pictureRect(other.m_pictureRect),
      m_selected(other.m_selected), m_boxLeft(other.m_boxLeft), m_boxTop(other.m_boxTop),
      m_centre(other.m_centre), m_picture(other.m_picture), m_pictureMade(other.m_pictureMade) {
    for (const auto& m : other.m_manipulatives)
        m_manipulatives.push_back(PhotoCopy(*m));
}

const CImage& CPhotoObject::Picture(ISurfaceFactory& surfaces, CSize box) {
    const CSize size = PhotoPictureSize({0, 0, box.cx, box.cy});
    if (m_pictureMade && m_picture.width == size.cx && m_picture.height == size.cy)
        return m_picture;
    m_picture = CImage(size.cx, size.cy, Argb(kPhotoBackground));
    m_pictureMade = true;
    if (m_manipulatives.empty() || size.cx == 0 || size.cy == 0)
        return m_picture;
    auto dc = surfaces.SurfaceFor(m_picture);
    DrawShapesAtAQuarter(*dc, {0, 0, size.cx, size.cy});
    return m_picture;
}

void CPhotoObject::DrawPicture(IDrawingSurface& dc, const CRect& at) const {
    dc.FillRect(at, kPhotoBackground);
    if (!m_manipulatives.empty() && !at.IsEmpty())
        DrawShapesAtAQuarter(dc, at);
}

void CPhotoObject::DrawShapesAtAQuarter(IDrawingSurface& dc, const CRect& at) const {
    dc.SetClip(at);
    // The box centre lands on the picture's centre, wherever the box stood.
    const C3DPointDouble centre{m_centre.x, m_centre.y, 0};
    const double toX = (static_cast<double>(at.left) + at.right) / 2;
    const double toY = (static_cast<double>(at.top) + at.bottom) / 2;
    for (const auto& m : m_manipulatives) {
        auto copy = m->Clone();
        copy->SetSelected(false, false);
        copy->Scale(0.25, centre);
        copy->MoveBy(toX - centre.x, toY - centre.y);
        copy->Draw(dc);
    }
    dc.ClearClip();
}

void CPhotoObject::DrawFullSize(IDrawingSurface& dc, const CRect& area) const {
    CRect united = CRect::Inverted();
    for (const auto& m : m_manipulatives)
        united = united.United(m->GetFrameOf());
    if (!m_manipulatives.empty() && !united.IsEmpty()) {
        const CPoint from = RectCentre(united);
        const CPoint to = RectCentre(area);
        dc.SetClip(area);
        for (const auto& m : m_manipulatives) {
            // Neither kind of writing belongs to the picture.
            if (m->IsAnnotation())
                continue;
            auto copy = m->Clone();
            copy->SetSelected(false, false);
            copy->MoveBy(static_cast<double>(to.x) - from.x, static_cast<double>(to.y) - from.y);
            copy->Draw(dc);
        }
        dc.ClearClip();
    }
    Frame(dc, area, PaletteRGB(0, 0, 0));
}

void CPhotoObject::Serialize(CArchive& ar) {
    const std::size_t count = ar.ExchangeCount(m_manipulatives.size(), "manipulative count",
                                               "manipulatives", kMinTypedManipulativeBytes);
    {
        CArchive::ArrayScope items(ar, "manipulatives");
        ManipulativeList read;
        ManipulativeList& list = ar.IsStoring() ? m_manipulatives : read;
        if (ar.IsLoading())
            read.resize(count);
        const CManipulativeForm form = GeometryManipulativeForm();
        for (std::size_t i = 0; i < list.size(); ++i) {
            CArchive::Item item(ar, i);
            if (ar.IsStoring())
                WriteManipulative(ar, *list[i], form);
            else
                list[i] = ReadManipulative(ar, form);
        }
        if (ar.IsLoading()) {
            m_manipulatives = std::move(read);
            m_pictureMade = false; // made again from the copies when next drawn
        }
    }
    ar.Exchange(m_stripPlace, "strip place");
    ar.Exchange(m_pictureRect, "picture rectangle");
    ar.Exchange(m_selected, "selected");
    ar.Exchange(m_boxLeft, "box left");
    ar.Exchange(m_boxTop, "box top");
    CArchive::Scope centre(ar, "centre");
    m_centre.Serialize(ar);
}

CPhotoStrip::CPhotoStrip() {
    Clear();
}

int CPhotoStrip::IndexOf(const CPhotoObject* photo) const {
    for (std::size_t i = 0; i < m_photos.size(); ++i)
        if (m_photos[i].get() == photo)
            return static_cast<int>(i);
    return -1;
}

void CPhotoStrip::Clear() {
    m_photos.clear();
    for (int i = 0; i < kPhotoStripPlaces; ++i)
        m_places[static_cast<std::size_t>(i)] = {false, PlaceRect(i)};
    m_stripRect = {0, 0, 0, PlaceRect(0).bottom + kPhotoPlaceGap};
}

CRect CPhotoStrip::PlaceRect(int place, CSize picture) {
    const int left = kPhotoPlaceGap + place * (picture.cx + kPhotoPlaceGap);
    return {left, kPhotoPlaceGap, left + picture.cx, kPhotoPlaceGap + picture.cy};
}

int CPhotoStrip::ContentWidth(CSize picture) {
    return PlaceRect(kPhotoStripPlaces - 1, picture).right + kPhotoPlaceGap;
}

int CPhotoStrip::FirstFreePlace() const {
    // What the photos hold counts, whatever flags a file brought.
    std::array<bool, kPhotoStripPlaces> held{};
    for (const auto& p : m_photos)
        if (p->stripPlace() >= 0 && p->stripPlace() < kPhotoStripPlaces)
            held[static_cast<std::size_t>(p->stripPlace())] = true;
    for (int i = 0; i < kPhotoStripPlaces; ++i)
        if (!held[static_cast<std::size_t>(i)])
            return i;
    return -1;
}

CPhotoObject& CPhotoStrip::Add(std::unique_ptr<CPhotoObject> photo) {
    const int place = FirstFreePlace();
    photo->SetStripPlace(place);
    const CRect& r = photo->pictureRect();
    const CRect at = PlaceRect(std::max(place, 0));
    photo->SetPictureRect({at.left, at.top, at.left + r.Width(), at.top + r.Height()});
    if (place >= 0)
        m_places[static_cast<std::size_t>(place)] = {true, at};
    m_photos.push_back(std::move(photo));
    return *m_photos.back();
}

std::unique_ptr<CPhotoObject> CPhotoStrip::Remove(std::size_t index) {
    if (index >= m_photos.size())
        return nullptr;
    auto photo = std::move(m_photos[index]);
    m_photos.erase(m_photos.begin() + static_cast<std::ptrdiff_t>(index));
    const int place = photo->stripPlace();
    if (place >= 0 && place < kPhotoStripPlaces)
        m_places[static_cast<std::size_t>(place)].occupied = false;
    photo->SetStripPlace(-1);
    return photo;
}

std::vector<std::size_t> CPhotoStrip::PhotosInside(const CRect& r, CPoint origin) const {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < m_photos.size(); ++i) {
        CRect pr = m_photos[i]->pictureRect();
        pr.Offset(origin.x, origin.y);
        if (pr.left >= r.left && pr.top >= r.top && pr.right <= r.right && pr.bottom <= r.bottom)
            out.push_back(i);
    }
    return out;
}

int CPhotoStrip::PlaceAt(CPoint p) const {
    for (int i = 0; i < kPhotoStripPlaces; ++i)
        if (PlaceRect(i).Contains(p))
            return i;
    return -1;
}

int CPhotoStrip::PhotoAt(CPoint p) const {
    const int place = PlaceAt(p);
    if (place < 0)
        return -1;
    for (std::size_t i = 0; i < m_photos.size(); ++i)
        if (m_photos[i]->stripPlace() == place)
            return static_cast<int>(i);
    return -1;
}

std::vector<std::size_t> CPhotoStrip::PlaceOrder() const {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < m_photos.size(); ++i)
        order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return static_cast<unsigned>(m_photos[a]->stripPlace()) <
               static_cast<unsigned>(m_photos[b]->stripPlace());
    });
    return order;
}

std::vector<std::size_t> CPhotoStrip::Picked() const {
    std::vector<std::size_t> picked;
    for (std::size_t i = 0; i < m_photos.size(); ++i)
        if (m_photos[i]->selected())
            picked.push_back(i);
    return picked;
}

bool CPhotoStrip::MoveToPlace(std::size_t index, int place) {
    if (index >= m_photos.size() || place < 0 || place >= kPhotoStripPlaces)
        return false;
    CPhotoObject& moved = *m_photos[index];
    const int from = moved.stripPlace();
    if (from == place)
        return false;
    auto settle = [this](CPhotoObject& p, int at) {
        p.SetStripPlace(at);
        const CRect r = p.pictureRect();
        const CRect pr = PlaceRect(std::max(at, 0));
        p.SetPictureRect({pr.left, pr.top, pr.left + r.Width(), pr.top + r.Height()});
        if (at >= 0)
            m_places[static_cast<std::size_t>(at)] = {true, pr};
    };
    bool swapped = false;
    for (auto& other : m_photos)
        if (other.get() != &moved && other->stripPlace() == place) {
            settle(*other, from);
            swapped = true;
        }
    if (!swapped && from >= 0 && from < kPhotoStripPlaces)
        m_places[static_cast<std::size_t>(from)].occupied = false;
    settle(moved, place);
    // Photos without a place follow the placed ones, in the order they had.
    std::stable_sort(m_photos.begin(), m_photos.end(), [](const auto& a, const auto& b) {
        const unsigned pa = static_cast<unsigned>(a->stripPlace());
        const unsigned pb = static_cast<unsigned>(b->stripPlace());
        return pa < pb;
    });
    return true;
}

void CPhotoStrip::SetVisibleWidth(int width) {
    m_stripRect.right = CRect::Saturated(std::int64_t{m_stripRect.left} + std::max(width, 0));
    ScrollTo(m_stripRect.left);
}

void CPhotoStrip::ScrollTo(int x) {
    const int width = std::max(visibleWidth(), 0);
    const int most = std::max(ContentWidth() - width, 0);
    const int left = std::clamp(x, 0, most);
    m_stripRect.left = left;
    m_stripRect.right = left + width;
}

void CPhotoStrip::ScrollToPlace(int place) {
    const CRect r = PlaceRect(std::clamp(place, 0, kPhotoStripPlaces - 1));
    const int width = visibleWidth();
    if (r.left - kPhotoPlaceGap < scroll())
        ScrollTo(r.left - kPhotoPlaceGap);
    else if (r.right + kPhotoPlaceGap > scroll() + width)
        ScrollTo(r.right + kPhotoPlaceGap - width);
}

void CPhotoStrip::Serialize(CArchive& ar) {
    {
        CArchive::ArrayScope items(ar, "places");
        for (std::size_t i = 0; i < m_places.size(); ++i) {
            CArchive::Item item(ar, i);
            ar.Exchange(m_places[i].occupied, "occupied");
            ar.Exchange(m_places[i].rect, "place rectangle");
        }
    }
    const std::size_t count =
        ar.ExchangeCount(m_photos.size(), "photo count", "photos", kMinPhotoBytes);
    {
        CArchive::ArrayScope items(ar, "photos");
        if (ar.IsStoring()) {
            for (std::size_t i = 0; i < m_photos.size(); ++i) {
                CArchive::Item item(ar, i);
                m_photos[i]->Serialize(ar);
            }
        } else {
            std::vector<std::unique_ptr<CPhotoObject>> read;
            read.reserve(count);
            for (std::size_t i = 0; i < count; ++i) {
                CArchive::Item item(ar, i);
                auto photo = std::make_unique<CPhotoObject>();
                photo->Serialize(ar);
                read.push_back(std::move(photo));
            }
            m_photos = std::move(read);
        }
    }
    ar.Exchange(m_stripRect, "strip rectangle");
}

namespace {

constexpr int kPhotosPerPrintedRow = 5;

// Where the `k`th photo in place order stands on paper: the strip's own places, row by row.
CRect PrintCell(std::size_t k) {
    const CRect place = CPhotoStrip::PlaceRect(static_cast<int>(k) % kPhotosPerPrintedRow);
    const int row = static_cast<int>(k) / kPhotosPerPrintedRow;
    CRect cell = place;
    cell.Offset(0, row * (place.Height() + kPhotoPlaceGap));
    return cell;
}

} // namespace

CRect PhotoStripPrintRect(const CPhotoStrip& strip) {
    const std::size_t n = std::max<std::size_t>(strip.size(), 1);
    const std::size_t columns = std::min<std::size_t>(n, kPhotosPerPrintedRow);
    const CRect lastColumn = PrintCell(columns - 1);
    const CRect lastRow = PrintCell(n - 1);
    return {0, 0, lastColumn.right + kPhotoPlaceGap, lastRow.bottom + kPhotoPlaceGap};
}

void DrawPhotoStripForPrint(IDrawingSurface& dc, const CPhotoStrip& strip) {
    const std::vector<std::size_t> order = strip.PlaceOrder();
    for (std::size_t k = 0; k < order.size(); ++k) {
        const CRect cell = PrintCell(k);
        strip.at(order[k]).DrawPicture(dc, cell);
        // White frames vanish on paper: every photo is edged in black.
        CRect frame = cell;
        frame.Inflate(1, 1);
        dc.SetNullBrush();
        dc.SetPen(1, PaletteRGB(0, 0, 0));
        dc.Rectangle(frame);
    }
}

} // namespace quorvel
