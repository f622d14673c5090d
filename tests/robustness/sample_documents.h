// Sample documents of every unit, made through the document classes and saved as the program
// saves them: the fixtures of the robustness sweeps and the seeds of the fuzzers.
#pragma once

#include "app/document_factory.h"
#include "patterns/patterns_documents.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::testing {

struct CSampleDocument {
    std::string name; // file name with the unit's extension, e.g. "geometry-workspace.qvg"
    UnitKind kind;
    std::vector<std::uint8_t> bytes;
};

// For each unit: an empty workspace, a workspace with manipulatives of every registered type,
// and a problem set with its questions; and one large workspace, over 64 KB.
std::vector<CSampleDocument> SampleDocuments();

// The Numbers workspace of the samples: a mysterious supermachine of two machines joined by a
// link, with cards at and above the first one's hoppers, the second one's built-in input and
// hidden operator and an output card; a loose selected card, a note, a table of both machines
// with two runs, and options, pane offset and tool other than the defaults.
void FillNumbersSample(CNumberPatternsDocument& doc);

// The Designs workspace of the samples: two runs of the machine (rainbow hexagons with axes,
// then black stamps with the rule), a hidden times box, a picture of the design and a note, and
// options other than the defaults.
void FillDesignsSample(CDesignPatternsDocument& doc);

// The Codes workspace of the samples: a mysterious supermachine of a shift machine (direction
// hidden) linked to a keyword machine, a card at the shift machine's hopper, a hidden output
// card, a loose selected card, a card on the message board, a note, and options, pane offset and
// tool other than the defaults.
void FillCodesSample(CCodePatternsDocument& doc);

// The name of the libFuzzer target that reads documents of `kind`.
std::string DocumentFuzzTarget(UnitKind kind);

} // namespace quorvel::testing
