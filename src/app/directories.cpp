// Default folders from the program's location and the user's XDG settings.
#include "app/directories.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorvel {

std::string ProgramDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

std::string DesktopDirectory(std::string_view home, std::string_view userDirs) {
    std::istringstream in{std::string(userDirs)};
    std::string line;
    while (std::getline(in, line)) {
        constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line.compare(first, kKey.size(), kKey) != 0)
            continue;
        std::string value = line.substr(first + kKey.size());
        while (!value.empty() &&
               (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
            value.pop_back();
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        constexpr std::string_view kHome = "$HOME";
        if (value.compare(0, kHome.size(), kHome) == 0)
            value = std::string(home) + value.substr(kHome.size());
        else if (value.empty() || value.front() != '/')
            continue; // the file allows only absolute paths and $HOME-relative ones
        while (value.size() > 1 && value.back() == '/')
            value.pop_back();
        return value;
    }
    return JoinPath(home, "Desktop");
}

std::string DefaultPersonalDirectory() {
    const char* homeEnv = std::getenv("HOME");
    const std::string home = homeEnv && *homeEnv ? homeEnv : "/";
    const char* configEnv = std::getenv("XDG_CONFIG_HOME");
    const std::string config =
        configEnv && *configEnv ? std::string(configEnv) : JoinPath(home, ".config");
    std::string userDirs;
    if (std::ifstream f{JoinPath(config, "user-dirs.dirs")}) {
        std::ostringstream text;
        text << f.rdbuf();
        userDirs = text.str();
    }
    const std::string desktop = DesktopDirectory(home, userDirs);
    std::error_code ec;
    return std::filesystem::is_directory(desktop, ec) ? desktop : home;
}

CDirectories DefaultDirectories(const std::string& programDir, const std::string& personal) {
    return {personal, JoinPath(programDir, "class"), JoinPath(programDir, "bboard"),
            JoinPath(programDir, "tbboard")};
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::size_t skip = 0;
    while (skip < name.size() && name[skip] == '/')
        ++skip;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name.substr(skip);
    return path;
}

} // namespace quorvel
