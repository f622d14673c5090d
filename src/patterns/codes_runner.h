// Code machines without a page: a teacher prepares a message with one machine
// (`qvtool code`) or runs every supermachine of a Codes document (`qvtool run`). The machines run
// through the page's own controller on a simulated clock, their boxes typed as a pupil would.
#pragma once

#include "patterns/patterns_documents.h"

#include <string>
#include <vector>

namespace quorvel {

struct CCodeRun {
    bool ok = false;
    std::string text; // the output card's message, or the message that stopped the run
};

// One machine applied to `text`: a shift machine with its places and direction boxes, a group
// machine with its size box, a keyword machine with its keyword box and Decode. Each box gets
// the text as typed; a keyword with repeated characters is used with them removed, as when the
// pupil answers OK.
CCodeRun RunShift(const std::string& places, const std::string& direction, const std::string& text);
CCodeRun RunGroup(const std::string& size, const std::string& text);
CCodeRun RunKeyword(const std::string& keyword, bool decode, const std::string& text);

// Runs every supermachine of the document whose Go can be pressed, in the order of their first
// machines: one line per output card ("machine 3: Khoor") or message shown.
std::vector<std::string> RunCodeSupermachines(CCodePatternsDocument& doc);

} // namespace quorvel
