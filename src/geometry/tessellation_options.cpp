// Tessellation options: drawer availability, what the page shows, and the option pages' controls.
#include "geometry/tessellation_options.h"

#include <algorithm>

namespace quorvel {

bool CGeometryOptions::DrawerAvailable(int drawer) const {
    static constexpr TeacherOption kOptionOfDrawer[6] = {
        kOptDrawer1, kOptDrawer2, kOptDrawer3, kOptStudentDrawers, kOptStudentDrawers, kOptDrawer6};
    if (drawer < 0 || drawer >= 6)
        return false;
    return Teacher(kOptionOfDrawer[drawer]);
}

std::int32_t HighestPhotoFeatures(std::int32_t photoFunctionality) {
    switch (photoFunctionality) {
    case kPhotoFunctionAll:
        return kPhotoShowAll;
    case kPhotoFunctionStripOnly:
        return kPhotoStripViewer;
    case kPhotoFunctionStripBox:
        return kPhotoStripViewerBox;
    default:
        return kPhotoHideAll;
    }
}

CGeometryViewControls ViewControlsFor(const CGeometryOptions& options) {
    CGeometryViewControls c;
    c.entireView = options.entireView();
    c.photoFeatures = c.entireView
                          ? kPhotoHideAll
                          : std::clamp<std::int32_t>(
                                options.User(kOptPhotoFeatures), kPhotoHideAll,
                                HighestPhotoFeatures(options.teacher[kOptPhotoFunctionality]));
    c.scriptPanel = options.Teacher(kOptScriptControls);
    c.navigator =
        options.Teacher(kOptScrolling) && c.photoFeatures == kPhotoHideAll && !c.entireView;
    c.scaleButtons = options.Teacher(kOptScaling) && !c.entireView;
    c.groupButtons = options.Teacher(kOptGrouping);
    c.colorPalette = options.Teacher(kOptColorPalette);
    c.photoStrip = c.photoFeatures >= kPhotoStripViewer;
    c.photoViewer = c.photoFeatures >= kPhotoStripViewer;
    c.photoBox = c.photoFeatures >= kPhotoStripViewerBox;
    c.camera = c.photoFeatures == kPhotoShowAll;
    return c;
}

const std::vector<COptionControl>& OptionControls(OptionsPage page) {
    static const std::vector<COptionControl> kTeacher = {
        {1117, "Drawer 1", kOptDrawer1, false, 1, nullptr},
        {1118, "Drawer 2", kOptDrawer2, false, 1, nullptr},
        {1119, "Drawer 3", kOptDrawer3, false, 1, nullptr},
        {1120, "Student Drawers (4&&5)", kOptStudentDrawers, false, 1, nullptr},
        {1121, "Drawer 6", kOptDrawer6, false, 1, nullptr},
        {1122, "Script Controls", kOptScriptControls, false, 1, nullptr},
        {1123, "Scrolling", kOptScrolling, false, 1, nullptr},
        {1124, "Grouping", kOptGrouping, false, 1, nullptr},
        {1115, "Scaling", kOptScaling, false, 1, nullptr},
        {1116, "Color Palette", kOptColorPalette, false, 1, nullptr},
        // The dialog's "On" is its first radio value, which stores 1.
        {1319, "On", kOptComputerChecked, true, 1, "Computer Checked"},
        {1320, "Off", kOptComputerChecked, true, 0, nullptr},
        {1091, "All", kOptPhotoFunctionality, true, kPhotoFunctionAll, "Photo Functionality"},
        {1092, "Strip Only", kOptPhotoFunctionality, true, kPhotoFunctionStripOnly, nullptr},
        {1093, "Strip/Box", kOptPhotoFunctionality, true, kPhotoFunctionStripBox, nullptr},
        {1094, "None", kOptPhotoFunctionality, true, kPhotoFunctionNone, nullptr},
    };
    static const std::vector<COptionControl> kUser = {
        {1107, "hide", kOptRotationPoints, true, 0, "Rotation Points"},
        {1108, "show", kOptRotationPoints, true, 1, nullptr},
        {1096, "Set", kOptRotationPoints, true, 2, nullptr},
        {1110, "partial", kOptView, true, 0, "View"},
        {1111, "entire", kOptView, true, 1, nullptr},
        {1112, "On", kOptSnapping, true, 0, "Snapping"},
        {1113, "Off", kOptSnapping, true, 1, nullptr},
        {1114, "hide all", kOptPhotoFeatures, true, kPhotoHideAll, "Photo Features"},
        {1115, "show strip && Viewer", kOptPhotoFeatures, true, kPhotoStripViewer, nullptr},
        {1116, "show strip, viewer && box", kOptPhotoFeatures, true, kPhotoStripViewerBox, nullptr},
        {1117, "show All", kOptPhotoFeatures, true, kPhotoShowAll, nullptr},
    };
    return page == OptionsPage::Teacher ? kTeacher : kUser;
}

CTessellationOptionsSheet::CTessellationOptionsSheet(const CGeometryOptions& options,
                                                     bool teacherPage)
    : COptionsSheet(kTessellationOptionsCaption, teacherPage, OptionControls(OptionsPage::Teacher),
                    OptionControls(OptionsPage::User),
                    {options.teacher.begin(), options.teacher.end()},
                    {options.user.begin(), options.user.end()}) {}

CGeometryOptions CTessellationOptionsSheet::options() const {
    CGeometryOptions o;
    for (int i = 0; i < kTeacherOptionCount; ++i)
        o.teacher[static_cast<std::size_t>(i)] = Value(OptionsPage::Teacher, i);
    for (int i = 0; i < kUserOptionCount; ++i)
        o.user[static_cast<std::size_t>(i)] = Value(OptionsPage::User, i);
    return o;
}

bool CTessellationOptionsSheet::IsEnabled(OptionsPage page, int id) const {
    const COptionControl* c = Find(page, id);
    if (!c)
        return false;
    if (page == OptionsPage::User && c->option == kOptPhotoFeatures)
        return c->value <=
               HighestPhotoFeatures(Value(OptionsPage::Teacher, kOptPhotoFunctionality));
    return true;
}

CGeometryOptions CTessellationOptionsSheet::Result(const CGeometryOptions& before) const {
    const CGeometryOptions edited = options();
    CGeometryOptions out = before;
    if (hasTeacherPage())
        out.teacher = edited.teacher;
    out.user = edited.user;
    return out;
}

const std::array<CPrintOptionButton, 5>& PrintOptionButtons() {
    static const std::array<CPrintOptionButton, 5> kButtons = {{
        {1140, "Visible Workspace", false, kPrintVisibleWorkspace},
        {1141, "Entire Workspace", false, kPrintEntireWorkspace},
        {1142, "Photo Strip", false, kPrintPhotoStrip},
        {1143, "Outlines and Fills", true, kPrintOutlinesAndFills},
        {1144, "Outlines Only", true, kPrintOutlinesOnly},
    }};
    return kButtons;
}

} // namespace quorvel
