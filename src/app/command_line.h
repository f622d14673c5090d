// The program's command line: authoring mode, the unit to open at start-up and the four
// working folders. Switches are whole words; folder flags start a word and keep their values'
// letter case, because folder names on this system are case-sensitive and contain "/" and "-".
#pragma once

#include "workspace/document_host.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The unit a command line opens, in the order the switches are tested.
enum class StartUnit { None, Geometry, Statistics, Codes, Numbers, Designs };

struct CCommandLine {
    bool authoring = false;
    StartUnit unit = StartUnit::None;
    CDirectories directories;
    friend bool operator==(const CCommandLine&, const CCommandLine&) = default;
};

// The program's arguments joined by single spaces.
std::string JoinArguments(const std::vector<std::string>& args);

// What `line` asks for; the directories it does not set keep the values of `defaults`.
CCommandLine ParseCommandLine(std::string_view line, const CDirectories& defaults);

// "none", "geo", "stats", "codes", "numbers" or "designs".
const char* StartUnitName(StartUnit unit);

} // namespace quorvel
