// The Statistics page's menu commands that this unit's core answers: the summary window, the
// decimal places, the authored modes and CSV. Each command's enabling, check mark and effect.
#pragma once

#include <string_view>

namespace quorvel {

class CStatsUnitDocument;

enum StatsCommand : int {
    kCmdShowSummary = 33101,
    kCmdHideSummary = 33102,
    kCmdNoDecimals = 33103,
    kCmdOneDecimal = 33104,
    kCmdTwoDecimals = 33105,
    kCmdEditOn = 33106,
    kCmdEditOff = 33107,
    kCmdGraphViewersOn = 33108,
    kCmdGraphViewersOff = 33109,
    kCmdMiniTableOn = 33110,
    kCmdMiniTableOff = 33111,
    kCmdComputerCheckedOn = 33112,
    kCmdComputerCheckedOff = 33113,
    kCmdImportCsv = 33114,
    kCmdExportCsv = 33115,
};

struct CStatsMenuItem {
    int id;
    std::string_view text;
};

// "&Statistics": the summary window and its decimal places.
inline constexpr CStatsMenuItem kStatsMenuItems[] = {
    {kCmdShowSummary, "&Show Summary Statistics window"},
    {kCmdHideSummary, "&Hide Summary Statistics window"},
    {kCmdNoDecimals, "No Decimal Places"},
    {kCmdOneDecimal, "One Decimal Place"},
    {kCmdTwoDecimals, "Two Decimal Places"},
};
// "Authored Modes", in authoring mode only.
inline constexpr std::string_view kAuthoredModesTitle = "Authored Modes";
inline constexpr CStatsMenuItem kAuthoredModeItems[] = {
    {kCmdEditOn, "Edit On"},
    {kCmdEditOff, "Edit Off"},
    {kCmdGraphViewersOn, "Graph Viewers On"},
    {kCmdGraphViewersOff, "Graph Viewers Off"},
    {kCmdMiniTableOn, "Mini-Table On"},
    {kCmdMiniTableOff, "Mini-Table Off"},
    {kCmdComputerCheckedOn, "Computer Checked On"},
    {kCmdComputerCheckedOff, "Computer Checked Off"},
};
// "Ta&ble": teachers bring their own data and take it out again.
inline constexpr CStatsMenuItem kTableMenuItems[] = {
    {kCmdImportCsv, "Import Data from CSV..."},
    {kCmdExportCsv, "Export Data as CSV..."},
};

struct CStatsCommandState {
    bool enabled = true;
    bool checked = false;
};

// A graph being shown disables the graph-viewer items; the view says so.
CStatsCommandState StatsCommandState(const CStatsUnitDocument& doc, int id,
                                     bool graphShown = false);
// Runs a command that needs no dialog; false for one it refuses or does not know (the CSV
// commands need the shell's file dialogs).
bool RunStatsCommand(CStatsUnitDocument& doc, int id);

} // namespace quorvel
