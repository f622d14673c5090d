// Builds the Tiles and Tessellations documents of the class folder (the "What's My Core?"
// problem files and the investigations' activity documents) from their sources, with the
// workspace's own drawer shapes and shape commands, so that every tessellation is what the
// commands make of its core.
#pragma once

#include "geometry/geometry_document.h"
#include "geometry/geometry_view_controller.h"
#include "tools/class_builder/class_source.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The geometry page in the 800 by 600 main window: its pane on the page (lower when the script
// panel shows), the workspace the pane scrolls over (two panes across and down), and the part
// the pane shows on any desktop. Documents store the page as it is here, so that opening them
// moves nothing.
inline constexpr CRect kClassPaneRect{97, 65, 795, 480};
inline constexpr int kClassScriptPanelHeight = 29;
inline constexpr CRect kClassVisibleArea{0, 0, 698, 409};
// The problem prompt window covers the pane's top right corner; a problem shows its
// tessellation at the top left and the four cores in a row along the bottom.
inline constexpr CRect kClassPromptArea{698 - 5 - kGeometryPromptWidth - 5, 0, 698,
                                        5 + kGeometryPromptHeight + 6};
inline constexpr CRect kClassTessellationArea{6, 6, kClassPromptArea.left - 6, 262};
inline constexpr CRect kClassCandidateArea{6, 268, 692, 404};

inline constexpr int kCandidateCount = 4;

// Loose shapes that a source names: a core built piece by piece, or what a core grew into.
struct CFigure {
    std::vector<std::unique_ptr<CManipulative>> pieces;
    // The figure it was grown from; empty for one built piece by piece.
    std::string grownFrom;

    CFigure() = default;
    CFigure(CFigure&&) = default;
    CFigure& operator=(CFigure&&) = default;
    CFigure Clone() const;
};

// What a problem file asks, as its source says it.
struct CCoreProblemSource {
    int level = 0;
    // The figure shown as the tessellation, and the four cores beside it in "Core #1" order.
    std::string tessellation;
    std::vector<std::string> candidates;
    // The candidate that the tessellation was grown from.
    int answer = -1;
};

struct CClassDocument {
    std::string name; // the file name without ".qvg"
    std::unique_ptr<CGeometryUnitDocument> doc;
    std::map<std::string, CFigure> figures;
    std::optional<CCoreProblemSource> problem;
};

// Builds one document from its source. Throws CSourceError for a fault in the source, for a
// command the workspace refuses, and for a layout that leaves the shown area or overlaps.
CClassDocument BuildClassDocument(const std::string& name, std::string_view source);

// The shapes a source may take, by their source names ("triangle", "rhombus-1" ...), with the
// catalogue index of the drawer slot each comes from.
const std::map<std::string, int>& SourceShapeNames();

// Each source shape's edges, numbered as sources number them, for people writing sources.
std::string DescribeSourceShapes();

} // namespace quorvel
