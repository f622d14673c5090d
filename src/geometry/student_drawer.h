// Drawer slot pictures, the student drawers' filled slots, and the type codes a geometry
// document, a photo or a student drawer holds.
#pragma once

#include "workspace/manipulative.h"
#include "workspace/manipulative_registry.h"

#include <array>
#include <cstdint>
#include <memory>

namespace quorvel {

class CArchive;
class IDrawingSurface;

// A drawer slot on the drawer pane, and the picture inside it: the slot less 2 pixels a side.
inline constexpr int kDrawerSlotSize = 64;
inline constexpr int kStudentSlotInset = 2;
inline constexpr int kStudentDrawerCount = 2; // drawers 4 and 5
inline constexpr int kFirstStudentDrawer = 3; // drawer 4, counted from 0

inline bool IsStudentDrawer(int drawer) {
    return drawer == kFirstStudentDrawer || drawer == kFirstStudentDrawer + 1;
}

// The type codes a document, a photo or a student drawer holds: 0 to 4 and 16.
inline constexpr std::array<std::int32_t, 6> kGeometryDocumentTypes = {
    kTypeLine, kTypeShape, kTypePolyShape, kTypeAnglemeter, kTypeAnnotator, kTypeStaticAnnotator};
// How they store a manipulative, with the geometry classes registered. The document's list
// puts a TAB after each code and ends at a code it does not hold.
CManipulativeForm GeometryManipulativeForm(bool tabAfterType = false,
                                           UnknownType unknown = UnknownType::Fails);
// The least a manipulative with its code takes in a file.
inline constexpr std::size_t kMinTypedManipulativeBytes = 4 + kMinManipulativeBytes;

// Reduces `m` about its centre when its frame is larger than a slot picture of `size` less
// `inset` a side, by whichever dimension overflows more, and centres its frame in the
// picture. The factor it was reduced by; 1 when it fitted.
double FitIntoSlotPicture(CManipulative& m, CSize size, int inset);
// A fixed drawer slot's shape as its picture of `size` shows it; null for an empty slot.
std::unique_ptr<CManipulative> MakeDrawerSlotPicture(int catalogueIndex, CSize size);

// One filled slot: the pupil's manipulative kept whole, and the copy the slot shows, reduced
// when the original is larger than the slot and centred in it.
class CStudentDrawerObject {
public:
    // Copies `m`; the picture is (0, 0, width, height) of the slot rectangle deflated by 2.
    CStudentDrawerObject(const CManipulative& m, CSize slot);

    const CManipulative& manipulative() const { return *m_manipulative; }
    // The copy drawn in the slot picture, in picture coordinates.
    const CManipulative& picture() const { return *m_picture; }
    CSize pictureSize() const { return m_pictureSize; }
    // The factor the picture's copy was reduced by; 1 when it fitted.
    double scale() const { return m_scale; }
    // Draws the picture's copy; the caller has placed the origin at the picture's top-left.
    void DrawPicture(IDrawingSurface& dc) const;

private:
    std::unique_ptr<CManipulative> m_manipulative;
    std::unique_ptr<CManipulative> m_picture;
    CSize m_pictureSize;
    double m_scale = 1.0;
};

} // namespace quorvel
