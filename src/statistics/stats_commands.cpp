// The Statistics menu commands' rules.
#include "statistics/stats_commands.h"

#include "statistics/stats_problems.h"

#include "statistics/stats_document.h"

namespace quorvel {

CStatsCommandState StatsCommandState(const CStatsUnitDocument& doc, int id, bool graphShown) {
    const bool visible = doc.summary().window().visible != 0;
    const int decimals = doc.summary().decimals();
    const bool editable = doc.dataSet().storedEditable() != 0;
    switch (id) {
    case kCmdShowSummary:
        return {doc.SummaryCommandsEnabled(), visible};
    case kCmdHideSummary:
        return {doc.SummaryCommandsEnabled(), !visible};
    case kCmdNoDecimals:
    case kCmdOneDecimal:
    case kCmdTwoDecimals:
        return {true, decimals == id - kCmdNoDecimals};
    case kCmdEditOn:
        return {true, editable};
    case kCmdEditOff:
        return {true, !editable};
    case kCmdGraphViewersOn:
        return {!graphShown, doc.graphViewers()};
    case kCmdGraphViewersOff:
        return {!graphShown, !doc.graphViewers()};
    case kCmdMiniTableOn:
        return {true, doc.miniTable()};
    case kCmdMiniTableOff:
        return {true, !doc.miniTable()};
    case kCmdComputerCheckedOn:
        return {true, doc.computerChecked()};
    case kCmdComputerCheckedOff:
        return {true, !doc.computerChecked()};
    case kCmdImportCsv:
        // Bringing data in changes the table: not while it may not be edited.
        return {doc.dataSet().editable(), false};
    case kCmdExportCsv:
        return {true, false};
    case kCmdStatsPrompts: // the page runs the prompt editor
        return {true, false};
    }
    return {false, false};
}

bool RunStatsCommand(CStatsUnitDocument& doc, int id) {
    if (!StatsCommandState(doc, id).enabled)
        return false;
    switch (id) {
    case kCmdShowSummary:
    case kCmdHideSummary:
        return doc.SetSummaryVisible(id == kCmdShowSummary);
    case kCmdNoDecimals:
    case kCmdOneDecimal:
    case kCmdTwoDecimals:
        doc.SetDecimalPlaces(id - kCmdNoDecimals);
        return true;
    case kCmdEditOn:
    case kCmdEditOff:
        doc.SetEditable(id == kCmdEditOn);
        return true;
    case kCmdGraphViewersOn:
    case kCmdGraphViewersOff:
        doc.SetGraphViewers(id == kCmdGraphViewersOn);
        return true;
    case kCmdMiniTableOn:
    case kCmdMiniTableOff:
        doc.SetMiniTable(id == kCmdMiniTableOn);
        return true;
    case kCmdComputerCheckedOn:
    case kCmdComputerCheckedOff:
        doc.SetComputerChecked(id == kCmdComputerCheckedOn);
        return true;
    }
    return false;
}

} // namespace quorvel
