// The Tiles and Tessellations options: the teacher's twelve and the pupil's five as the document
// stores them, the two print choices, what the options show on the page, and the model of the
// "Tessellation Options" sheet and the "Print Options" dialog that the shell's dialogs drive.
#pragma once

#include "workspace/options_sheet.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quorvel {

inline constexpr int kTeacherOptionCount = 12;
inline constexpr int kUserOptionCount = 5;
inline constexpr int kTessellationOptionsCommand = 32780;

// Teacher options in stored order.
enum TeacherOption : int {
    kOptDrawer1 = 0,
    kOptDrawer2 = 1,
    kOptDrawer3 = 2,
    kOptStudentDrawers = 3,
    kOptDrawer6 = 4,
    kOptScriptControls = 5,
    kOptScrolling = 6,
    kOptGrouping = 7,
    kOptScaling = 8,
    kOptColorPalette = 9,
    kOptComputerChecked = 10,
    kOptPhotoFunctionality = 11,
};

// User options in stored order.
enum UserOption : int {
    kOptRotationPoints = 0,
    kOptView = 1,
    kOptSnapping = 2,
    kOptPhotoFeatures = 3,
    kOptReserved = 4,
};

// Teacher option 11.
enum PhotoFunctionality : std::int32_t {
    kPhotoFunctionAll = 0,
    kPhotoFunctionStripOnly = 1,
    kPhotoFunctionStripBox = 2,
    kPhotoFunctionNone = 3,
};

// User option 3.
enum PhotoFeatures : std::int32_t {
    kPhotoHideAll = 0,
    kPhotoStripViewer = 1,
    kPhotoStripViewerBox = 2,
    kPhotoShowAll = 3,
};

struct CGeometryOptions {
    std::array<std::int32_t, kTeacherOptionCount> teacher{1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 0};
    std::array<std::int32_t, kUserOptionCount> user{1, 0, 0, 0, 0};

    friend bool operator==(const CGeometryOptions&, const CGeometryOptions&) = default;

    bool Teacher(TeacherOption o) const { return teacher[static_cast<std::size_t>(o)] != 0; }
    std::int32_t User(UserOption o) const { return user[static_cast<std::size_t>(o)]; }
    // Drawers 0 to 5; the two student drawers share one option.
    bool DrawerAvailable(int drawer) const;
    bool entireView() const { return User(kOptView) != 0; }
    bool snapping() const { return User(kOptSnapping) == 0; }
};

// What the page shows for a set of options.
struct CGeometryViewControls {
    bool scriptPanel = false;
    bool navigator = false;
    bool scaleButtons = false; // Enlarge and Reduce
    bool groupButtons = false; // Group and Ungroup
    bool colorPalette = false;
    // The photo features in effect: "hide all" in the entire view, and never more than the
    // teacher's photo functionality offers.
    std::int32_t photoFeatures = kPhotoHideAll;
    bool photoStrip = false;
    bool photoViewer = false;
    bool photoBox = false;
    bool camera = false; // camera and magnifying glass
    bool entireView = false;

    friend bool operator==(const CGeometryViewControls&, const CGeometryViewControls&) = default;
};
CGeometryViewControls ViewControlsFor(const CGeometryOptions& options);

// The highest photo features the teacher's photo functionality lets the pupil choose.
std::int32_t HighestPhotoFeatures(std::int32_t photoFunctionality);

// --- the "Tessellation Options" sheet ------------------------------------------------------

inline constexpr const char* kTessellationOptionsCaption = "Tessellation Options";
inline constexpr int kTeacherOptionsDialog = 233;
inline constexpr int kUserOptionsDialog = 236;

const std::vector<COptionControl>& OptionControls(OptionsPage page);

class CTessellationOptionsSheet : public COptionsSheet {
public:
    // Works on copies of `options`; the teacher page is there only in authoring mode.
    CTessellationOptionsSheet(const CGeometryOptions& options, bool teacherPage);

    // The options as the pages hold them.
    CGeometryOptions options() const;
    // Photo-feature buttons follow the teacher's photo functionality; the rest are enabled.
    bool IsEnabled(OptionsPage page, int id) const override;

    // The options after OK: the teacher's only from the teacher page, the pupil's always.
    CGeometryOptions Result(const CGeometryOptions& before) const;
};

// --- the "Print Options" dialog --------------------------------------------------------------

inline constexpr const char* kPrintOptionsCaption = "Print Options";
inline constexpr int kPrintOptionsDialog = 261;

enum PrintArea : std::int32_t {
    kPrintVisibleWorkspace = 0,
    kPrintEntireWorkspace = 1,
    kPrintPhotoStrip = 2,
};
enum PrintShapes : std::int32_t {
    kPrintOutlinesAndFills = 0,
    kPrintOutlinesOnly = 1,
};

// Not stored in the file; both start at 0.
struct CPrintOptions {
    std::int32_t workspace = kPrintVisibleWorkspace;
    std::int32_t shapes = kPrintOutlinesAndFills;
    friend bool operator==(const CPrintOptions&, const CPrintOptions&) = default;
};

struct CPrintOptionButton {
    int id;
    const char* caption;
    bool shapes; // else the workspace group
    std::int32_t value;
};
const std::array<CPrintOptionButton, 5>& PrintOptionButtons();

} // namespace quorvel
