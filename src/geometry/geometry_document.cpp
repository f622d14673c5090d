// Tiles and Tessellations document identity.
#include "geometry/geometry_document.h"

#include "geometry/shape_manipulative.h"
#include "problemsets/problem_files.h"

namespace quorvel {

CGeometryUnitDocument::CGeometryUnitDocument()
    : CUnitDocument({kGeometrySignature, "Geometry Unit",
                     "Quorvel (*.qvg)|*.qvg||All Files (*.*)|*.*||", "qvg",
                     "The file you are trying to open is not a Quorvel Tiles and Tessellations "
                     "document!"}) {
    RegisterGeometryManipulatives();
}

void CGeometryUnitDocument::AppendProblemFileName(std::string& path, int level) {
    quorvel::AppendProblemFileName(*this, path, kGeometryProblemFiles, level);
}

} // namespace quorvel
