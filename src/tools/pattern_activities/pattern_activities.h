// Builds the documents the Patterns investigations open (Numbers, Codes and Designs activities)
// from small text sources, by working the program's own machines through their controllers as a
// pupil would: machines taken from the drawer, cards typed and dropped on hoppers, Go pressed
// and the clock run out, the Mystery tool applied. The same source always gives the same bytes.
#pragma once

#include "tools/class_builder/class_source.h"
#include "workspace/unit_document.h"

#include <memory>
#include <string>
#include <string_view>

namespace quorvel {

// The part of each Patterns page's workspace that its pane shows in the 800 by 600 main window.
// Documents store it as their view rectangle, so that opening one on its page moves nothing.
inline constexpr CRect kNumbersClassView{0, 0, 698, 525};
inline constexpr CRect kCodesClassView{0, 0, 698, 408};
inline constexpr CRect kDesignsClassView{0, 0, 698, 525};

struct CPatternActivity {
    std::string name;      // the file name without its extension
    std::string extension; // "qvn", "qvc" or "qvd"
    std::unique_ptr<CUnitDocument> doc;
};

// Builds one document from its source. Throws CSourceError for a fault in the source, for a
// step the controllers refuse (a message instead of a result) and for something placed outside
// the shown part of the workspace.
CPatternActivity BuildPatternActivity(const std::string& name, std::string_view source);

} // namespace quorvel
