// Scripts: named sequences of recorded shape commands with repeat blocks, their archive forms,
// and the ordered list of a workspace's scripts that the script-name combo box shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class CArchive;

// Step codes beyond the shape commands' ids, which the other steps use as their codes.
inline constexpr std::int32_t kStepRepeat = 1026;
inline constexpr std::int32_t kStepSelectAndGroup = 1027;
// A repeat step's count when it repeats to the end.
inline constexpr std::int32_t kRepeatToEnd = -1;

inline constexpr std::size_t kMaxScriptNameLength = 8;

// One step of a script.
struct ScriptStruct {
    std::int32_t code = 0;
    std::string text;
    std::int32_t dx = 0; // slides: the offset in pixels
    std::int32_t dy = 0;
    double angle = 0;       // rotations: degrees as entered
    std::int32_t count = 0; // repeats: how many times, or kRepeatToEnd

    friend bool operator==(const ScriptStruct&, const ScriptStruct&) = default;

    // Code, text, dx, dy, angle, count; no TAB bytes.
    void Serialize(CArchive& ar);
};

// One script.
struct ScriptStructList {
    std::string name;
    std::int32_t windowX = 0; // the script window's top-left on the screen
    std::int32_t windowY = 0;
    std::vector<ScriptStruct> steps;

    friend bool operator==(const ScriptStructList&, const ScriptStructList&) = default;

    // Window x and y, TAB, name, TAB, step count, TAB, the steps. Loading replaces the steps.
    void Serialize(CArchive& ar);
};

// The workspace's scripts in the order of the script-name combo box, and its selection.
class CScriptList {
public:
    std::size_t size() const { return m_scripts.size(); }
    bool empty() const { return m_scripts.empty(); }
    const std::vector<ScriptStructList>& scripts() const { return m_scripts; }
    ScriptStructList& at(std::size_t i) { return m_scripts.at(i); }
    const ScriptStructList& at(std::size_t i) const { return m_scripts.at(i); }

    // The index of the script called `name`, compared without regard to letter case as the
    // combo box compares its entries.
    std::optional<std::size_t> Find(std::string_view name) const;
    // Appends a script and returns its index.
    std::size_t Add(ScriptStructList script);
    void Remove(std::size_t i);
    void Clear();

    // The combo box's selection, or nothing.
    std::optional<std::size_t> selected() const { return m_selected; }
    void Select(std::optional<std::size_t> i);

    // The number of scripts, TAB, then each script. Loading selects the first.
    void Serialize(CArchive& ar);

private:
    std::vector<ScriptStructList> m_scripts;
    std::optional<std::size_t> m_selected;
};

// A name as the 8-character name box keeps it: its first eight characters.
std::string ClipScriptName(std::string_view name);

// The step texts.
std::string RepeatStepText(std::int32_t count);       // "    Repeat 5 times" or "    Repeat to end"
std::string ClosedRepeatStepText(std::int32_t times); // "     repeat 5 times."
inline constexpr const char* kSelectAndGroupStepText = "     select & group";
inline constexpr const char* kSlideStepText = "SLIDE";

// The direction icon of a slide row, 1 to 24: icon k points (k - 1) * 15 degrees
// anticlockwise from the right on the screen, and each covers 7.5 degrees either side.
int SlideIconIndex(std::int32_t dx, std::int32_t dy);
// The same for a direction in degrees in [0, 360), anticlockwise from the right.
int SlideIconIndexForDegrees(double degrees);

} // namespace quorvel
