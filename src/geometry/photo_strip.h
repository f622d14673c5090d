// The photo strip as the document stores it: twenty places and the photos, each photo with
// copies of the manipulatives that were in the photo box.
#pragma once

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

class CPhotoObject {
public:
    using ManipulativeList = std::vector<std::unique_ptr<CManipulative>>;

    CPhotoObject() = default;
    CPhotoObject(const CPhotoObject& other);
    CPhotoObject& operator=(const CPhotoObject&) = delete;

    ManipulativeList& manipulatives() { return m_manipulatives; }
    const ManipulativeList& manipulatives() const { return m_manipulatives; }
    std::int32_t stripPlace() const { return m_stripPlace; }
    const CRect& pictureRect() const { return m_pictureRect; }

    // Manipulative count, each as type id and form, strip place, picture rectangle, selected,
    // box origin (left, top) and centre.
    void Serialize(CArchive& ar);

private:
    ManipulativeList m_manipulatives;
    std::int32_t m_stripPlace = -1;
    CRect m_pictureRect;
    bool m_selected = false;
    std::int32_t m_boxLeft = 0;
    std::int32_t m_boxTop = 0;
    C3DPointDouble m_centre;
};

class CPhotoStrip {
public:
    struct Place {
        bool occupied = false;
        CRect rect;
    };

    std::size_t size() const { return m_photos.size(); }
    const CPhotoObject& at(std::size_t i) const { return *m_photos.at(i); }
    const std::array<Place, kPhotoStripPlaces>& places() const { return m_places; }
    const CRect& stripRect() const { return m_stripRect; }
    void Clear();

    // Each place's occupied flag and rectangle, the photo count, the photos, the strip
    // rectangle. Loading replaces the photos held before.
    void Serialize(CArchive& ar);

private:
    std::array<Place, kPhotoStripPlaces> m_places{};
    std::vector<std::unique_ptr<CPhotoObject>> m_photos;
    CRect m_stripRect;
};

} // namespace quorvel
