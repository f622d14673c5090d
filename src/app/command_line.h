// The program's command line: authoring mode, the unit to open at start-up, the four working
// folders and a document to open. Switches are whole words; folder flags start a word and keep
// their values' letter case, because folder names on this system are case-sensitive and contain "/"
// and "-".
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
    // The document an argument names, as an absolute path; empty for none.
    std::string documentFile;
    friend bool operator==(const CCommandLine&, const CCommandLine&) = default;
};

// The program's arguments joined by single spaces.
std::string JoinArguments(const std::vector<std::string>& args);

// What `line` asks for; the directories it does not set keep the values of `defaults`.
CCommandLine ParseCommandLine(std::string_view line, const CDirectories& defaults);

// What the program's arguments ask for. The first argument that names an existing file (not a
// switch) is the document to open; every such argument is taken out before the switches and
// folders are read, so a path with spaces stays whole and a file after "-t" is no folder.
CCommandLine ParseArguments(const std::vector<std::string>& args, const CDirectories& defaults);

// The arguments a restart passes on: authoring mode and the folders stay; the unit switches and
// the document go, so that the program comes back to its menus.
std::vector<std::string> RestartArguments(const std::vector<std::string>& args);

// "none", "geo", "stats", "codes", "numbers" or "designs".
const char* StartUnitName(StartUnit unit);

} // namespace quorvel
