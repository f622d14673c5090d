// Documents written as JSON, as qvtool build reads them: the text is parsed, the document its
// signature names is built from the field tree, and what is built must save into bytes that
// open. Parsed JSON printed again must parse into the same text.
#include "fuzz/fuzz_targets.h"

#include "app/document_factory.h"
#include "workspace/value_tree.h"

#include <string_view>

namespace quorvel::fuzz {

int FuzzDocumentJson(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CValue root;
    CJsonError error;
    if (!ParseJson(text, root, error))
        return 0;

    const std::string printed = root.ToJson();
    CValue again;
    if (!ParseJson(printed, again, error))
        Broken("printed JSON does not parse: " + error.message);
    if (again.ToJson() != printed)
        Broken("printed JSON prints differently once parsed");

    const CValue* signature =
        root.type() == CValue::Type::Object ? root.Find("signature") : nullptr;
    if (!signature || signature->type() != CValue::Type::Int)
        return 0;
    auto doc = CreateDocumentForSignature(static_cast<std::uint32_t>(signature->intValue()));
    if (!doc)
        return 0;
    std::string detail;
    if (!doc->LoadFromTree(root, &detail))
        return 0;
    const std::vector<std::uint8_t> bytes = doc->SaveToBytes();
    auto reopened = CreateDocumentForSignature(doc->identity().signature);
    if (reopened->LoadFromBytes(bytes, &detail) != OpenResult::Opened)
        Broken("a document built from JSON saves bytes that do not open: " + detail);
    return 0;
}

} // namespace quorvel::fuzz
