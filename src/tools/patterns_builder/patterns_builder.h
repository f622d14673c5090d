// Builds the class folder's Patterns documents from their sources with the Numbers page's own
// controller: machines taken from the drawer, their operations and built-in inputs typed,
// linked with the Linking tool and made mysterious with the Mystery tool, and the questions
// put in with the teacher's prompt editor. A "Mystery Machines" problem is thereby exactly the
// supermachine its source names, with questions its answer fields can take.
//
// Every source kind starts with its own first statement; `BuildPatternsDocument` chooses the
// builder by it (today "problem A|B|C"; the investigations' documents add theirs beside it).
#pragma once

#include "patterns/patterns_documents.h"
#include "patterns/patterns_problems.h"
#include "tools/class_builder/class_source.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The Numbers page's pane in the 800 by 600 main window: documents store it as their view, so
// that opening them moves nothing. The problem prompt window covers the pane's bottom; the
// supermachine and the pupil's cards sit above it.
inline constexpr CRect kNumbersClassView{0, 0, 698, 525};
inline constexpr CRect kNumbersProblemArea{0, 0, 698, 296};

// A "Mystery Machines" problem as its source says it.
struct CMysteryProblemSource {
    int level = 0;
    // The machines from the first to the last, with their built-in inputs as typed.
    std::vector<CMachineStep> steps;
    std::vector<std::string> builtInTexts;
    // The cards laid out for the pupil to run through the machines.
    std::vector<std::string> cards;
};

struct CPatternsClassDocument {
    std::string name;      // the file name without its extension
    std::string extension; // ".qvn", ...
    std::unique_ptr<CUnitDocument> doc;
    std::optional<CMysteryProblemSource> problem;
};

// Builds one document from its source. Throws CSourceError for a fault in the source, for
// something the page refuses, and for a problem a pupil could not answer.
CPatternsClassDocument BuildPatternsDocument(const std::string& name, std::string_view source);

// Whether a built-in input can be typed in the prompt window's three-character answer field:
// a whole number of at most three characters.
bool TypeableAnswer(std::string_view text);

} // namespace quorvel
