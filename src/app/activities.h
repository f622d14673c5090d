// The investigations of the three units and the activities their buttons open: which unit,
// which file of the class folder, which activity name, and what the pupil is asked to do.
#pragma once

#include "app/document_factory.h"

#include <string>
#include <vector>

namespace quorvel {

// The three unit menus (1..3 for ShowUnitMenu) and the three investigations menus (0..2).
enum UnitMenu { kGeometryUnitMenu = 1, kPatternsUnitMenu = 2, kStatsUnitMenu = 3 };
enum InvestigationsMenu {
    kStatsInvestigations = 0,
    kPatternsInvestigations = 1,
    kGeometryInvestigations = 2
};
inline constexpr int kInvestigationsPerMenu = 5;

enum class ActivityKind {
    Document,   // opens the unit and the activity file (a new workspace when there is none)
    ProblemSet, // draws a problem of the level and starts a set of five
    ChooseSaved // opens the unit and lets the pupil pick a saved workspace
};

struct CActivity {
    int button = 0;
    std::string label; // "1 ", "2 " ... or "A", "B" ...
    ActivityKind kind = ActivityKind::Document;
    UnitKind unit = UnitKind::Geometry;
    std::string file; // in the class folder; empty for a new workspace
    std::string name; // the activity name the document takes
    int level = 0;    // problem sets: 0 A, 1 B, 2 C
    std::string instructions;
};

struct CActivityRow {
    std::string title; // the activity's title above the caption; may be empty
    std::string kind;  // "Demonstration", "Exploration", "Challenges", "Problem Sets" ...
    std::vector<CActivity> activities;
};

struct CInvestigation {
    std::string title;
    std::string overview; // shown in the instruction box until a button is chosen
    std::vector<CActivityRow> rows;
};

// Investigation k (0..4) of investigations menu `menu` (0..2); nullptr outside those ranges.
const CInvestigation* FindInvestigation(int menu, int k);
// The activity behind `button` in that investigation; nullptr when it shows no such button.
const CActivity* FindActivity(int menu, int k, int button);

// The investigations menu of unit menu n (1..3), -1 outside.
int InvestigationsMenuOfUnit(int unitMenu);
// The page title of unit menu n: "Tiles and Tessellations", "Patterns", "Statistics".
const char* UnitMenuTitle(int unitMenu);
// The instruction document of unit menu n in the docs folder ("Tiles Guide.rtf" ...).
const char* UnitGuideFile(int unitMenu);
// The title a new document of the unit takes ("Geometry Unit", "Patterns Unit - Designs" ...).
const char* UnitDocumentTitle(UnitKind unit);

// What a pupil reads before a problem set of the unit starts.
const char* ProblemSetIntroduction(UnitKind unit);
// The title of the introduction box.
const char* ProblemSetTitle(UnitKind unit);

// Every investigation button id, in row order.
const std::vector<int>& InvestigationButtonIds();

} // namespace quorvel
