// Menu commands, their meaning and the unit menus' button places.
#include "app/menu_commands.h"

namespace quorvel {

int UnitMenuOfCommand(int id) {
    switch (id) {
    case kCmdGeometryUnitMenu:
        return kGeometryUnitMenu;
    case kCmdPatternsUnitMenu:
        return kPatternsUnitMenu;
    case kCmdStatsUnitMenu:
        return kStatsUnitMenu;
    default:
        return 0;
    }
}

std::optional<UnitMenuActivity> UnitMenuActivityOfCommand(int id) {
    switch (id) {
    case kCmdExplore:
        return UnitMenuActivity::Explore;
    case kCmdMakeChallenges:
        return UnitMenuActivity::MakeChallenges;
    case kCmdSolveChallenges:
        return UnitMenuActivity::SolveChallenges;
    default:
        return std::nullopt;
    }
}

int InvestigationCommand(int n) {
    return n >= 1 && n <= kInvestigationsPerMenu ? kCmdFirstInvestigation + n - 1 : 0;
}

int InvestigationOfCommand(int id) {
    return id >= kCmdFirstInvestigation && id <= kCmdLastInvestigation
               ? id - kCmdFirstInvestigation + 1
               : 0;
}

int EnvironmentOfCommand(int id) {
    switch (id) {
    case kCmdCodesEnvironment:
        return 0;
    case kCmdNumbersEnvironment:
        return 1;
    case kCmdDesignsEnvironment:
        return 2;
    default:
        return -1;
    }
}

const std::vector<int>& UnitMenuButtonIds() {
    static const std::vector<int> ids = [] {
        std::vector<int> v{kCmdExplore, kCmdMakeChallenges, kCmdSolveChallenges};
        for (int n = 1; n <= kInvestigationsPerMenu; ++n)
            v.push_back(InvestigationCommand(n));
        return v;
    }();
    return ids;
}

CRect UnitMenuButtonRect(int id, int pageWidth) {
    // The places on a page laid out 460 wide from x = 50: three activities in a row, then the
    // investigations three and two.
    static constexpr struct {
        int id;
        CRect rect;
    } kPlaces[] = {
        {kCmdExplore, {50, 100, 200, 150}},
        {kCmdMakeChallenges, {205, 100, 355, 150}},
        {kCmdSolveChallenges, {360, 100, 510, 150}},
        {kCmdFirstInvestigation, {50, 200, 200, 330}},
        {kCmdFirstInvestigation + 1, {205, 200, 355, 330}},
        {kCmdFirstInvestigation + 2, {360, 200, 510, 330}},
        {kCmdFirstInvestigation + 3, {125, 335, 275, 465}},
        {kCmdLastInvestigation, {280, 335, 430, 465}},
    };
    const int dx = (pageWidth - 460) / 2 - 50;
    for (const auto& place : kPlaces) {
        if (place.id != id)
            continue;
        CRect r = place.rect;
        r.Offset(dx, 0);
        return r;
    }
    return {};
}

CPoint MainMenuButtonCentre(int id, CSize page) {
    const int w = page.cx, h = page.cy;
    switch (id) {
    case kCmdGeometryUnitMenu:
        return {w / 4, h / 3};
    case kCmdPatternsUnitMenu:
        return {w - w / 4, h / 3};
    case kCmdStatsUnitMenu:
        return {w / 2, h - h / 3};
    default:
        return {};
    }
}

std::vector<CActivityRowPlaces> LayoutActivityRows(const CInvestigation& investigation) {
    std::vector<CActivityRowPlaces> rows;
    int top = kFirstActivityRow.y;
    for (const CActivityRow& row : investigation.rows) {
        CActivityRowPlaces places{top, {}};
        int left = kFirstActivityRow.x;
        for (std::size_t i = 0; i < row.activities.size(); ++i) {
            places.buttons.push_back(
                {left, top, left + kActivityButtonSize.cx, top + kActivityButtonSize.cy});
            left += kActivityButtonSize.cx + kActivityButtonGap;
        }
        rows.push_back(std::move(places));
        top += 3 * kActivityButtonSize.cy;
    }
    return rows;
}

} // namespace quorvel
