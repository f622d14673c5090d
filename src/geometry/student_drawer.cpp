// Student drawer slots and the typed manipulative form of photos and student drawers.
#include "geometry/student_drawer.h"

#include "geometry/shape_manipulative.h"
#include "workspace/archive.h"

#include <algorithm>
#include <string>

namespace quorvel {

bool IsGeometryDocumentType(std::int32_t type) {
    return (type >= kTypeLine && type <= kTypeAnnotator) || type == kTypeStaticAnnotator;
}

std::unique_ptr<CManipulative> CreateGeometryManipulative(std::int32_t type) {
    if (!IsGeometryDocumentType(type))
        return nullptr;
    RegisterGeometryManipulatives();
    return CManipulativeRegistry::Instance().Create(type);
}

void ExchangeTypedManipulative(CArchive& ar, std::unique_ptr<CManipulative>& m) {
    if (ar.IsStoring()) {
        const std::int32_t type = m->GetType();
        ar.WriteInt32(type, "type");
        if (ar.IsTree())
            ar.WriteString(CManipulativeRegistry::ClassName(type), "class");
        m->Serialize(ar);
        return;
    }
    const std::int32_t type = ar.ReadInt32("type");
    ar.Consume("class");
    auto read = CreateGeometryManipulative(type);
    if (!read)
        ar.Fail("manipulative of type " + std::to_string(type), "type");
    read->Serialize(ar);
    m = std::move(read);
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
