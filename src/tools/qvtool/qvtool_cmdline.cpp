// qvtool cmdline: what the program makes of a command line, for teachers who set up
// classroom shortcuts.
#include "tools/qvtool/qvtool.h"

#include "app/command_line.h"
#include "app/directories.h"

#include <ostream>

namespace quorvel {

int CQvTool::Cmdline(const std::vector<std::string>& args) {
    std::string programDir = ProgramDirectory();
    std::vector<std::string> programArgs;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--") {
            ++i;
            break;
        }
        if (args[i] == "--program-dir" && i + 1 < args.size()) {
            programDir = args[++i];
            continue;
        }
        m_err << "usage: qvtool cmdline [--program-dir DIR] -- ARG...\n";
        return 2;
    }
    programArgs.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    while (programDir.size() > 1 && programDir.back() == '/')
        programDir.pop_back();

    const CDirectories defaults = DefaultDirectories(programDir, DefaultPersonalDirectory());
    const CCommandLine line = ParseArguments(programArgs, defaults);
    m_out << "authoring: " << (line.authoring ? "yes" : "no") << '\n'
          << "unit: " << StartUnitName(line.unit) << '\n'
          << "personal: " << line.directories.personal << '\n'
          << "class: " << line.directories.classDir << '\n'
          << "bboard: " << line.directories.bulletinBoard << '\n'
          << "tbboard: " << line.directories.teacherBulletinBoard << '\n'
          << "file: " << (line.documentFile.empty() ? "none" : line.documentFile) << '\n';
    return 0;
}

} // namespace quorvel
