// The "Mystery Machines" problem files (patpsA01.qvn ...), grown with the Numbers page's own
// controller: machines taken from the drawer, their operations and built-in inputs typed,
// linked with the Linking tool and made mysterious with the Mystery tool, and the questions put
// in with the teacher's prompt editor. A problem is thereby exactly the supermachine its source
// names, with questions its answer fields can take. Its source starts with "problem A|B|C".
#pragma once

#include "patterns/patterns_problems.h"
#include "tools/class_builder/class_source.h"
#include "tools/pattern_activities/pattern_activities.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The problem prompt window covers the bottom of the Numbers page's pane; the supermachine and
// the pupil's cards sit above it.
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

struct CMysteryProblem {
    CPatternActivity activity;
    CMysteryProblemSource source;
};

// Builds a problem file from its source's statements (the first is "problem A|B|C"); `name`
// is the file name without extension, which must be the level's and within its number of
// files. Throws CSourceError for a fault in the source, for something the page refuses, and
// for a problem a pupil could not answer.
CMysteryProblem BuildMysteryProblem(const std::string& name,
                                    const std::vector<CStatement>& statements);

// Whether a built-in input can be typed in the prompt window's three-character answer field:
// a whole number of at most three characters.
bool TypeableAnswer(std::string_view text);

} // namespace quorvel
