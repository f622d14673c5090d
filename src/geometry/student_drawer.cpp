// Student drawer slots and the type codes of geometry files.
#include "geometry/student_drawer.h"

#include "geometry/shape_manipulative.h"

#include <algorithm>

namespace quorvel {

CManipulativeForm GeometryManipulativeForm(bool tabAfterType, UnknownType unknown) {
    RegisterGeometryManipulatives();
    return {kGeometryDocumentTypes, tabAfterType, unknown};
}

CStudentDrawerObject::CStudentDrawerObject(const CManipulative& m, CSize slot)
    : m_manipulative(m.Clone()),
      m_picture(m.Clone()), m_pictureSize{std::max(0, slot.cx - 2 * kStudentSlotInset),
                                          std::max(0, slot.cy - 2 * kStudentSlotInset)} {
    // Reduced by whichever dimension overflows more, so that the whole copy shows.
    const CRect box = m_picture->GetFrameOf();
    const int w = std::max(box.Width(), 1);
    const int h = std::max(box.Height(), 1);
    if (w > m_pictureSize.cx || h > m_pictureSize.cy) {
        m_scale = std::min(static_cast<double>(m_pictureSize.cx) / w,
                           static_cast<double>(m_pictureSize.cy) / h);
        const C3DPointDouble centre = m_picture->centre();
        m_picture->Scale(m_scale, centre);
    }
    const CRect fitted = m_picture->GetFrameOf();
    const double cx = (static_cast<double>(fitted.left) + fitted.right) / 2;
    const double cy = (static_cast<double>(fitted.top) + fitted.bottom) / 2;
    m_picture->MoveBy(m_pictureSize.cx / 2.0 - cx, m_pictureSize.cy / 2.0 - cy);
}

void CStudentDrawerObject::DrawPicture(IDrawingSurface& dc) const {
    m_picture->Draw(dc);
}

} // namespace quorvel
