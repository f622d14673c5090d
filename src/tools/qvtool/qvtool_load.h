// Reading a document the way every qvtool verb does: by the signature at its start.
#pragma once

#include "workspace/unit_document.h"

#include <memory>
#include <string>

namespace quorvel {

struct LoadedDocument {
    std::unique_ptr<CUnitDocument> doc;
    std::string error; // what went wrong, with the byte offset and field where reading failed
};

LoadedDocument LoadDocument(const std::string& path);

} // namespace quorvel
