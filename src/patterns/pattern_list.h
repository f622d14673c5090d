// What the Numbers and Codes documents do alike with their lists of manipulatives: the
// two-pass file form, drawing without selection marks, clearing cards, and the small blocks
// both files hold.
#pragma once

#include "workspace/unit_document.h"

#include <cstdint>
#include <span>
#include <string>

namespace quorvel {

// Writes or reads the two-pass list: every manipulative's type code (the Writing tool's
// annotators under the Patterns annotator's code), then each one's data with its references
// as indices. Reading makes only the codes of `types`; an unknown code or an index that names
// nothing fails the whole list.
void SerializePatternList(CArchive& ar, CUnitDocument::ManipulativeList& list,
                          std::span<const std::int32_t> types);

// Each visible manipulative itself (a copy would lose its links), the tables' wires under
// everything and the selected ones without their marks.
void DrawPatternList(IDrawingSurface& dc, const CUnitDocument::ManipulativeList& list);

// Deletes every manipulative of `doc` that `doomed` picks, marking the document modified
// first; false when none is picked.
bool DeleteManipulativesWhere(CUnitDocument& doc, bool (*doomed)(const CManipulative&));

// The pane offset block of both files.
void ExchangePaneOffset(CArchive& ar, CPoint& offset);

// The notepad text: the program notepad's when storing with one, else `kept`; what was
// written or read.
std::string ExchangeNotepadText(CArchive& ar, const std::string& kept, IDocumentHost* host);

// qvtool info's line of the current tool, the pane offset and the view rectangle.
std::string DescribeToolAndView(int tool, CPoint offset, const CRect& view);

} // namespace quorvel
