// Where the program finds its data and the pupil's work: the program folder with class/,
// bboard/, tbboard/ and docs/ beside the program, and the personal folder (the desktop).
#pragma once

#include "workspace/document_host.h"

#include <string>
#include <string_view>

namespace quorvel {

// The folder holding the running program, without a trailing separator.
std::string ProgramDirectory();

// The pupil's desktop folder as the XDG user-dirs file names it ("$HOME/..." expanded), else
// "$HOME/Desktop"; `userDirs` is that file's text (empty when there is none).
std::string DesktopDirectory(std::string_view home, std::string_view userDirs);

// The personal folder of this user: the desktop folder when it exists, else the home folder.
std::string DefaultPersonalDirectory();

// class/, bboard/ and tbboard/ beside the program and the given personal folder.
CDirectories DefaultDirectories(const std::string& programDir, const std::string& personal);

// A folder and a name joined with one "/".
std::string JoinPath(std::string_view folder, std::string_view name);

} // namespace quorvel
