// The program's command line, as a classroom shortcut or a pupil might type it: the input is
// the argument list with NUL bytes between arguments. The same text is also read as the
// user's folder settings file that names the desktop.
#include "fuzz/fuzz_targets.h"

#include "app/command_line.h"
#include "app/directories.h"

#include <string_view>

namespace quorvel::fuzz {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A folder the line sets is a trimmed, non-empty piece of the line.
void CheckFolder(const std::string& folder, const std::string& fallback, std::string_view line) {
    if (folder == fallback)
        return;
    if (folder.empty() || IsBlank(folder.front()) || IsBlank(folder.back()))
        Broken("folder \"" + folder + "\" is empty or untrimmed");
    if (line.find(folder) == std::string_view::npos)
        Broken("folder \"" + folder + "\" is not part of the command line");
}

} // namespace

int FuzzCommandLine(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    std::size_t from = 0;
    while (from <= input.size()) {
        const auto nul = input.find('\0', from);
        const auto to = nul == std::string_view::npos ? input.size() : nul;
        args.emplace_back(input.substr(from, to - from));
        from = to + 1;
    }
    const std::string line = JoinArguments(args);

    const CDirectories defaults{"<personal>", "<class>", "<bboard>", "<tbboard>"};
    const CCommandLine parsed = ParseCommandLine(line, defaults);
    if (!(ParseCommandLine(line, defaults) == parsed))
        Broken("the same command line reads differently twice");
    CheckFolder(parsed.directories.personal, defaults.personal, line);
    CheckFolder(parsed.directories.classDir, defaults.classDir, line);
    CheckFolder(parsed.directories.bulletinBoard, defaults.bulletinBoard, line);
    CheckFolder(parsed.directories.teacherBulletinBoard, defaults.teacherBulletinBoard, line);
    StartUnitName(parsed.unit);

    DesktopDirectory("/home/pupil", input);
    return 0;
}

} // namespace quorvel::fuzz
