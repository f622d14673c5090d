// What the application asks of its main window: menu pages made once and swapped, workspace
// pages for unit documents, the desktop's way of opening files, and closing.
#pragma once

#include "app/activities.h"

#include <string>

namespace quorvel {

class CUnitDocument;

// The pages of the main-menu frame; each is made on first use and then only hidden.
enum class MenuView {
    None,
    Main,
    GeometryUnit,
    PatternsUnit,
    StatsUnit,
    StatsInvestigations,
    PatternsInvestigations,
    GeometryInvestigations,
};

// Unit menu n (1..3) and investigations menu i (0..2) as pages; None outside the ranges.
MenuView UnitMenuView(int unitMenu);
MenuView InvestigationsMenuView(int menu);
// The unit menu (1..3) or investigations menu (0..2) a page shows; -1 for other pages.
int UnitMenuOf(MenuView view);
int InvestigationsMenuOf(MenuView view);

class IWorkshopFrame {
public:
    virtual ~IWorkshopFrame() = default;
    // Makes the page of `view`; false when it cannot be made.
    virtual bool CreateMenuView(MenuView view) = 0;
    // Shows `view` in place of `hidden` (None for the first page).
    virtual void ShowMenuView(MenuView view, MenuView hidden) = 0;
    // Investigations menu `menu` changed its investigation, or its instruction box its text.
    virtual void InvestigationChanged(int /*menu*/) {}
    virtual void InstructionsChanged(int /*menu*/) {}
    // The Patterns unit menu's environment panel was opened or closed.
    virtual void EnvironmentPanelChanged(bool /*shown*/) {}
    // Makes and shows the workspace page of a new unit document; false when it cannot.
    virtual bool OpenUnitPage(UnitKind unit, CUnitDocument& doc, const std::string& title,
                              bool authoring) = 0;
    // Removes the current workspace page; the menu page under it shows again.
    virtual void CloseUnitPage() = 0;
    // Opens a file in the desktop's default application for it; false when that fails.
    virtual bool OpenWithDesktop(const std::string& path) = 0;
    // Asks the main window to close (it asks the exit question).
    virtual void CloseMainWindow() = 0;
};

} // namespace quorvel
