// Unit document creation by kind and by signature.
#include "app/document_factory.h"

#include "geometry/geometry_document.h"
#include "patterns/patterns_documents.h"
#include "statistics/stats_document.h"

namespace quorvel {

std::unique_ptr<CUnitDocument> CreateUnitDocument(UnitKind kind) {
    switch (kind) {
    case UnitKind::Geometry:
        return std::make_unique<CGeometryUnitDocument>();
    case UnitKind::Designs:
        return std::make_unique<CDesignPatternsDocument>();
    case UnitKind::Codes:
        return std::make_unique<CCodePatternsDocument>();
    case UnitKind::Numbers:
        return std::make_unique<CNumberPatternsDocument>();
    case UnitKind::Statistics:
        return std::make_unique<CStatsUnitDocument>();
    }
    return nullptr;
}

const std::vector<UnitKind>& AllUnitKinds() {
    static const std::vector<UnitKind> kinds = {UnitKind::Geometry, UnitKind::Designs,
                                                UnitKind::Codes, UnitKind::Numbers,
                                                UnitKind::Statistics};
    return kinds;
}

std::unique_ptr<CUnitDocument> CreateDocumentForSignature(std::uint32_t signature) {
    const auto kind = UnitKindForSignature(signature);
    return kind ? CreateUnitDocument(*kind) : nullptr;
}

std::optional<UnitKind> UnitKindForSignature(std::uint32_t signature) {
    for (UnitKind kind : AllUnitKinds())
        if (CreateUnitDocument(kind)->identity().signature == signature)
            return kind;
    return std::nullopt;
}

std::string UnitKindName(UnitKind kind) {
    switch (kind) {
    case UnitKind::Geometry:
        return "Tiles and Tessellations";
    case UnitKind::Designs:
        return "Designs";
    case UnitKind::Codes:
        return "Codes";
    case UnitKind::Numbers:
        return "Numbers";
    case UnitKind::Statistics:
        return "Statistics";
    }
    return {};
}

} // namespace quorvel
