// Slot pictures of the drawers, student drawer slots and the geometry files' type codes.
#include "geometry/student_drawer.h"

#include "geometry/shape_catalogue.h"

#include <algorithm>

namespace quorvel {

namespace {

// Room left around a catalogue shape inside its slot picture.
constexpr int kFixedSlotInset = 6;

} // namespace

CManipulativeForm GeometryManipulativeForm(bool tabAfterType, UnknownType unknown) {
    RegisterGeometryManipulatives();
    return {kGeometryDocumentTypes, tabAfterType, unknown};
}

double FitIntoSlotPicture(CManipulative& m, CSize size, int inset) {
    const double roomWidth = size.cx - 2.0 * inset;
    const double roomHeight = size.cy - 2.0 * inset;
    const CRect box = m.GetFrameOf();
    const int w = std::max(box.Width(), 1);
    const int h = std::max(box.Height(), 1);
    double scale = 1.0;
    if (w > roomWidth || h > roomHeight) {
        scale = std::min(roomWidth / w, roomHeight / h);
        const C3DPointDouble centre = m.centre();
        m.Scale(scale, centre);
    }
    const CRect fitted = m.GetFrameOf();
    const double cx = (static_cast<double>(fitted.left) + fitted.right) / 2;
    const double cy = (static_cast<double>(fitted.top) + fitted.bottom) / 2;
    m.MoveBy(size.cx / 2.0 - cx, size.cy / 2.0 - cy);
    return scale;
}

std::unique_ptr<CManipulative> MakeDrawerSlotPicture(int catalogueIndex, CSize size) {
    std::unique_ptr<CManipulative> shape =
        MakeDrawerShape(catalogueIndex, C3DPointDouble(size.cx / 2.0, size.cy / 2.0, 0.0));
    if (shape)
        FitIntoSlotPicture(*shape, size, kFixedSlotInset);
    return shape;
}

CStudentDrawerObject::CStudentDrawerObject(const CManipulative& m, CSize slot)
    : m_manipulative(m.Clone()),
      m_picture(m.Clone()), m_pictureSize{std::max(0, slot.cx - 2 * kStudentSlotInset),
                                          std::max(0, slot.cy - 2 * kStudentSlotInset)} {
    m_scale = FitIntoSlotPicture(*m_picture, m_pictureSize, 0);
}

void CStudentDrawerObject::DrawPicture(IDrawingSurface& dc) const {
    m_picture->Draw(dc);
}

} // namespace quorvel
