// Photos and the photo strip: their archive forms.
#include "geometry/photo_strip.h"

#include "geometry/student_drawer.h"
#include "workspace/archive.h"

namespace quorvel {

namespace {

// No manipulatives, place, picture rectangle, selected, box origin and centre.
constexpr std::size_t kMinPhotoBytes = 4 + 4 + 16 + 4 + 8 + 27;

} // namespace

CPhotoObject::CPhotoObject(const CPhotoObject& other)
    : m_stripPlace(other.m_stripPlace), m_pictureRect(other.m_pictureRect),
      m_selected(other.m_selected), m_boxLeft(other.m_boxLeft), m_boxTop(other.m_boxTop),
      m_centre(other.m_centre) {
    for (const auto& m : other.m_manipulatives)
        m_manipulatives.push_back(m->Clone());
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
        for (std::size_t i = 0; i < list.size(); ++i) {
            CArchive::Item item(ar, i);
            ExchangeTypedManipulative(ar, list[i]);
        }
        if (ar.IsLoading())
            m_manipulatives = std::move(read);
    }
    ar.Exchange(m_stripPlace, "strip place");
    ar.Exchange(m_pictureRect, "picture rectangle");
    ar.Exchange(m_selected, "selected");
    ar.Exchange(m_boxLeft, "box left");
    ar.Exchange(m_boxTop, "box top");
    CArchive::Scope centre(ar, "centre");
    m_centre.Serialize(ar);
}

void CPhotoStrip::Clear() {
    m_photos.clear();
    for (Place& p : m_places)
        p.occupied = false;
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

} // namespace quorvel
