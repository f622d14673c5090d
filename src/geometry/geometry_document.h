// The Tiles and Tessellations document.
#pragma once

#include "geometry/script.h"
#include "workspace/unit_document.h"

namespace quorvel {

inline constexpr std::uint32_t kGeometrySignature = 19992000;

class CGeometryUnitDocument : public CUnitDocument {
public:
    CGeometryUnitDocument();

    // Its problem files: "geopsA", "geopsB" or "geopsC", two digits, ".qvg".
    void AppendProblemFileName(std::string& path, int level) override;

    // The shape commands recompute it after every command.
    using CUnitDocument::RecomputeSelectionRotationPoint;

    // The workspace's scripts, saved with the document; not part of undo.
    CScriptList& scripts() { return m_scripts; }
    const CScriptList& scripts() const { return m_scripts; }

private:
    CScriptList m_scripts;
};

} // namespace quorvel
