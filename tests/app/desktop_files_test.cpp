// The desktop's description of our documents agrees with the documents themselves: each unit's
// type is named after the unit, matched by its extension and its signature, and listed in the
// menu entry.
#include "app/document_factory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quorvel {
namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DesktopFiles, EveryDocumentKindIsDescribedByItsSignatureAndExtension) {
    const std::string mime = ReadText(QUORVEL_DESKTOP_DIR "/quorvel-mime.xml");
    const std::string entry = ReadText(QUORVEL_DESKTOP_DIR "/quorvel.desktop");
    ASSERT_FALSE(mime.empty());
    for (UnitKind kind : AllUnitKinds()) {
        const CUnitIdentity id = CreateUnitDocument(kind)->identity();
        const std::string comment = "<comment>Quorvel " + UnitKindName(kind) + " document<";
        const auto at = mime.find(comment);
        ASSERT_NE(at, std::string::npos) << comment;
        const auto begin = mime.rfind("<mime-type type=\"", at);
        const auto end = mime.find("</mime-type>", at);
        const std::string block = mime.substr(begin, end - begin);
        const std::string type = block.substr(17, block.find('"', 17) - 17);
        EXPECT_NE(block.find("value=\"" + std::to_string(id.signature) + "\""), std::string::npos)
            << type;
        EXPECT_NE(block.find("type=\"little32\" offset=\"0\""), std::string::npos) << type;
        EXPECT_NE(block.find("pattern=\"*." + id.defaultExtension + "\""), std::string::npos)
            << type;
        EXPECT_NE(entry.find(type + ";"), std::string::npos) << type;
    }
}

} // namespace
} // namespace quorvel
