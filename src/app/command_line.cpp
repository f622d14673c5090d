// Command-line parsing: whole-word switches, folder flags at word starts.
#include "app/command_line.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <optional>

namespace quorvel {
namespace {

struct Switch {
    std::string_view word;
    StartUnit unit;
};

constexpr std::string_view kAuthoring = "/AM";
// Tested in this order: the first that occurs opens its unit.
constexpr std::array<Switch, 5> kUnitSwitches{{
    {"/geo", StartUnit::Geometry},
    {"/stats", StartUnit::Statistics},
    {"/codes", StartUnit::Codes},
    {"/numbers", StartUnit::Numbers},
    {"/designs", StartUnit::Designs},
}};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

struct Word {
    std::size_t begin;
    std::string_view text;
};

std::vector<Word> Words(std::string_view line) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        const std::size_t begin = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i > begin)
            words.push_back({begin, line.substr(begin, i - begin)});
    }
    return words;
}

bool IsSwitchWord(std::string_view w) {
    if (w == kAuthoring)
        return true;
    for (const auto& s : kUnitSwitches)
        if (w == s.word)
            return true;
    return false;
}

std::string Trimmed(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

void TakeValue(std::string& target, std::string_view text) {
    std::string value = Trimmed(text);
    if (!value.empty())
        target = std::move(value);
}

// An argument that names an existing file and is no switch.
bool NamesDocument(const std::string& arg) {
    std::error_code ec;
    return !arg.empty() && !IsSwitchWord(arg) && std::filesystem::is_regular_file(arg, ec);
}

} // namespace

std::string JoinArguments(const std::vector<std::string>& args) {
    std::string line;
    for (const auto& a : args) {
        if (!line.empty())
            line += ' ';
        line += a;
    }
    return line;
}

CCommandLine ParseCommandLine(std::string_view line, const CDirectories& defaults) {
    CCommandLine result;
    result.directories = defaults;
    const std::vector<Word> words = Words(line);

    for (const Word& w : words)
        if (w.text == kAuthoring)
            result.authoring = true;
    for (const auto& s : kUnitSwitches) {
        bool found = false;
        for (const Word& w : words)
            found = found || w.text == s.word;
        if (found) {
            result.unit = s.unit;
            break;
        }
    }

    // First occurrence of each folder flag, in any letter case, at the start of a word.
    constexpr std::string_view kFlags = "pcbt";
    std::array<std::optional<std::size_t>, 4> at;
    for (const Word& w : words) {
        if (w.text.size() < 2 || w.text[0] != '-')
            continue;
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(w.text[1])));
        const auto k = kFlags.find(letter);
        if (k != std::string_view::npos && !at[k])
            at[k] = w.begin;
    }
    for (const auto& a : at)
        if (!a)
            return result;
    if (!(*at[0] < *at[1] && *at[1] < *at[2] && *at[2] < *at[3]))
        return result;

    auto between = [&](std::size_t from, std::size_t to) {
        return line.substr(from + 2, to - from - 2);
    };
    TakeValue(result.directories.personal, between(*at[0], *at[1]));
    TakeValue(result.directories.classDir, between(*at[1], *at[2]));
    TakeValue(result.directories.bulletinBoard, between(*at[2], *at[3]));
    std::size_t end = line.size();
    for (const Word& w : words) {
        if (w.begin > *at[3] && IsSwitchWord(w.text)) {
            end = w.begin;
            break;
        }
    }
    TakeValue(result.directories.teacherBulletinBoard, between(*at[3], end));
    return result;
}

CCommandLine ParseArguments(const std::vector<std::string>& args, const CDirectories& defaults) {
    std::vector<std::string> rest;
    std::string file;
    for (const std::string& a : args) {
        if (NamesDocument(a)) {
            if (file.empty()) {
                std::error_code ec;
                const auto absolute = std::filesystem::absolute(a, ec);
                file = ec ? a : absolute.lexically_normal().string();
            }
            continue;
        }
        rest.push_back(a);
    }
    CCommandLine result = ParseCommandLine(JoinArguments(rest), defaults);
    result.documentFile = std::move(file);
    return result;
}

std::vector<std::string> RestartArguments(const std::vector<std::string>& args) {
    std::vector<std::string> kept;
    for (const std::string& a : args) {
        const bool unitSwitch = IsSwitchWord(a) && a != kAuthoring;
        if (!unitSwitch && !NamesDocument(a))
            kept.push_back(a);
    }
    return kept;
}

const char* StartUnitName(StartUnit unit) {
    switch (unit) {
    case StartUnit::None:
        return "none";
    case StartUnit::Geometry:
        return "geo";
    case StartUnit::Statistics:
        return "stats";
    case StartUnit::Codes:
        return "codes";
    case StartUnit::Numbers:
        return "numbers";
    case StartUnit::Designs:
        return "designs";
    }
    return "none";
}

} // namespace quorvel
