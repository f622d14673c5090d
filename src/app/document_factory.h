// Unit documents by kind and by file signature, for the shell and for qvtool.
#pragma once

#include "workspace/unit_document.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

enum class UnitKind { Geometry, Designs, Codes, Numbers, Statistics };

std::unique_ptr<CUnitDocument> CreateUnitDocument(UnitKind kind);
// The document whose files start with `signature`, or null.
std::unique_ptr<CUnitDocument> CreateDocumentForSignature(std::uint32_t signature);
// The unit whose files start with `signature`, or nothing.
std::optional<UnitKind> UnitKindForSignature(std::uint32_t signature);
// "Tiles and Tessellations", "Designs", "Codes", "Numbers", "Statistics".
std::string UnitKindName(UnitKind kind);
const std::vector<UnitKind>& AllUnitKinds();

} // namespace quorvel
