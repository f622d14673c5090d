// The menu pages' commands by name, what each one does, and where the pages' rule-placed
// buttons go; the pages hand every click to CWorkshopApp::OnMenuCommand.
#pragma once

#include "app/activities.h"
#include "workspace/types.h"

#include <optional>
#include <vector>

namespace quorvel {

// The unit menus' three top buttons; each is an activity of its own.
enum class UnitMenuActivity { Explore, MakeChallenges, SolveChallenges };

enum MenuCommand : int {
    kCmdGeometryUnitMenu = 1000, // the main menu's units, unit menus 1..3
    kCmdPatternsUnitMenu = 1001,
    kCmdStatsUnitMenu = 1002,
    kCmdMenuBack = 1003,
    kCmdExplore = 1005,
    kCmdMakeChallenges = 1006,
    kCmdSolveChallenges = 1007,
    kCmdFirstInvestigation = 1008, // Investigation 1 .. 5: 1008 .. 1012
    kCmdLastInvestigation = 1012,
    kCmdCodesEnvironment = 1244,
    kCmdNumbersEnvironment = 1245,
    kCmdDesignsEnvironment = 1246,
    kCmdViewIntro = 1704,
    kCmdUnitGuide = 1705,
};

// The unit menu (1..3) a main-menu button shows; 0 for other commands.
int UnitMenuOfCommand(int id);
// The activity of a unit menu's top button.
std::optional<UnitMenuActivity> UnitMenuActivityOfCommand(int id);
// Investigation button n (1..5) of a unit menu and back; 0 for other commands.
int InvestigationCommand(int n);
int InvestigationOfCommand(int id);
// The Patterns environment (0 Codes, 1 Numbers, 2 Designs) of a panel button; -1 otherwise.
int EnvironmentOfCommand(int id);

// A unit menu's activity and investigation buttons, in the order the keyboard visits them.
const std::vector<int>& UnitMenuButtonIds();
// Where a unit menu's button stands on a page `pageWidth` wide: the rows keep their layout
// and are centred across the page. Empty for other ids.
CRect UnitMenuButtonRect(int id, int pageWidth);
// The centre of a main-menu unit button on a page of `page`: (w/4, h/3), (w - w/4, h/3) and
// (w/2, h - h/3).
CPoint MainMenuButtonCentre(int id, CSize page);

// An investigations menu's activity buttons stand in rows from (62, 100), each row three
// button heights below the one before, the buttons 5 pixels apart.
inline constexpr CSize kActivityButtonSize{72, 44};
inline constexpr int kActivityButtonGap = 5;
inline constexpr CPoint kFirstActivityRow{62, 100};

struct CActivityRowPlaces {
    int top = 0;
    std::vector<CRect> buttons; // one per activity of the row, in its order
};
// The rows of `investigation`, in its order.
std::vector<CActivityRowPlaces> LayoutActivityRows(const CInvestigation& investigation);

} // namespace quorvel
