// The fifteen investigations, their rows of buttons and the activities behind them.
#include "app/activities.h"

#include <array>

namespace quorvel {
namespace {

// The problem-set level buttons.
constexpr int kLevelButtons[3] = {1460, 1461, 1462};

CActivity Doc(int button, const char* label, UnitKind unit, const char* file, const char* name,
              const char* text) {
    return {button, label, ActivityKind::Document, unit, file, name, 0, text};
}

CActivity Saved(int button, const char* label, UnitKind unit, const char* name, const char* text) {
    return {button, label, ActivityKind::ChooseSaved, unit, "", name, 0, text};
}

// Levels A, B and C; Statistics names each level's set, the other units call them all one.
std::vector<CActivity> Levels(UnitKind unit) {
    static const char* const kTexts[3] = {
        "Level A: five problems to begin with. You have three tries at each problem.",
        "Level B: five harder problems. You have three tries at each problem.",
        "Level C: five of the hardest problems. You have three tries at each problem.",
    };
    static const char* const kLetters[3] = {"A", "B", "C"};
    std::vector<CActivity> levels;
    for (int level = 0; level < 3; ++level) {
        std::string name = "probset1";
        if (unit == UnitKind::Statistics)
            name = "probset" + std::to_string(level + 1);
        levels.push_back({kLevelButtons[level], kLetters[level], ActivityKind::ProblemSet, unit, "",
                          name, level, kTexts[level]});
    }
    return levels;
}

using Menu = std::array<CInvestigation, kInvestigationsPerMenu>;

Menu GeometryInvestigations() {
    const UnitKind g = UnitKind::Geometry;
    return {{
        {"Discovering Tessellations",
         "A tessellation is a pattern of shapes that covers a surface with no gaps and no "
         "overlaps. Choose a button to begin.",
         {
             {"Shapes and Patterns",
              "Exploration",
              {Doc(1430, "1 ", g, "11w.qvg", "Shapes",
                   "Take shapes out of the drawers and fit them together. Can you cover part of "
                   "the workspace with no gaps and no overlaps? Try one kind of shape first, then "
                   "mix two kinds.")}},
             {"Fill the Outline",
              "Challenges",
              {Doc(1450, "1 ", g, "11c1.qvg", "Outline1",
                   "An outline is waiting on the workspace. Fill it with shapes from the drawers "
                   "so that no gaps are left and no shapes overlap."),
               Doc(1451, "2 ", g, "11c2.qvg", "Outline2",
                   "Fill this outline with only one kind of shape. Which shapes work? Which ones "
                   "leave gaps?"),
               Doc(1452, "3 ", g, "11c3.qvg", "Outline3",
                   "Fill this outline with two different kinds of shapes. Try to use as few "
                   "pieces as you can."),
               Doc(1453, "4 ", g, "11c4.qvg", "Outline4",
                   "A tricky one! Fill the outline, then count your pieces. Can a friend do it "
                   "with fewer?")}},
         }},
        {"Shapes And Angles",
         "The corners of shapes have angles. When the angles around a point make a full turn, "
         "the shapes fit together with no gap.",
         {
             {"",
              "Exploration",
              {Doc(1430, "1 ", g, "21w.qvg", "Angles",
                   "Use the Anglemeter to measure the corners of the shapes. Put shapes together "
                   "around one point. What do their angles add up to when they fit with no gap?")}},
             {"How Much Will It Rotate?",
              "Challenges",
              {Doc(1450, "1 ", g, "21c1.qvg", "Rotate1",
                   "Guess how far the shape must turn to fit into the gap. Then rotate it and "
                   "see if you were right."),
               Doc(1451, "2 ", g, "21c2.qvg", "Rotate2",
                   "Two shapes must turn before they fit. How many degrees for each one? Guess "
                   "first, then try."),
               Doc(1452, "3 ", g, "21c3.qvg", "Rotate3",
                   "Turn the shapes so that they make the pattern shown. Use as few turns as you "
                   "can.")}},
         }},
        {"Tessellations and Cores",
         "A core is a small group of shapes. Copy it again and again, and it covers the whole "
         "workspace.",
         {
             {"",
              "Exploration",
              {Doc(1430, "1 ", g, "31w.qvg", "Cores",
                   "Build a core from two or three shapes and group them. Then copy, slide, flip "
                   "and turn your core to make a tessellation.")}},
             {"",
              "Challenges",
              {Doc(1440, "A", g, "31s1.qvg", "CoresA",
                   "Find a core that makes the tessellation on the screen. Group it, then stamp "
                   "copies to check."),
               Doc(1441, "B", g, "31s2.qvg", "CoresB",
                   "This tessellation uses two kinds of shapes. Find the smallest core that "
                   "makes it."),
               Doc(1442, "C", g, "31s3.qvg", "CoresC",
                   "Can you find a core of only two pieces that makes this tessellation?"),
               Doc(1443, "D", g, "31s4.qvg", "CoresD",
                   "The hardest core challenge. Look for the part of the pattern that repeats, "
                   "then build its core.")}},
         }},
        {"Core Creations",
         "Make cores of your own, then test your eye with the problems of \"What's My Core?\".",
         {
             {"",
              "Make Challenges",
              {Doc(1619, "1 ", g, "", "MyCore",
                   "Make a core of your own and build a tessellation from it. Save it on the "
                   "Student Bulletin Board so that a friend can try to find your core.")}},
             {"What's My Core?", "Problem Sets", Levels(g)},
         }},
        {"Tessellation Expo",
         "Plan, build and show off your best tessellation.",
         {
             {"Tessellation Projects",
              "Exploration",
              {Doc(1430, "1 ", g, "51w.qvg", "Project",
                   "Design a tessellation for a floor, a wall or a quilt. Use colour to make the "
                   "pattern stand out, then save it for the class expo.")}},
             {"",
              "Challenges",
              {Doc(1440, "A", g, "51s1.qvg", "ProjectA",
                   "Finish the tessellation that has been started. Keep the pattern going all "
                   "the way to the edges."),
               Doc(1441, "B", g, "51s2.qvg", "ProjectB",
                   "Colour the tessellation so that no two shapes of the same colour share a "
                   "side."),
               Doc(1442, "C", g, "51s3.qvg", "ProjectC",
                   "Make a tessellation with a line of symmetry. Flipping shapes will help.")}},
             {"What's My Core?", "Problem Sets", Levels(g)},
         }},
    }};
}

Menu PatternsInvestigations() {
    const UnitKind c = UnitKind::Codes, d = UnitKind::Designs, n = UnitKind::Numbers;
    return {{
        {"Coding Machines",
         "Code machines turn messages into secret codes and back again. Can you crack them?",
         {
             {"",
              "Exploration",
              {Doc(1430, "1 ", c, "", "Codes",
                   "Put a note card with a message into a code machine. Try the shift, group and "
                   "keyword machines. Which one makes the hardest code to crack?")}},
             {"",
              "Challenges",
              {Doc(1450, "1 ", c, "11c1.qvc", "Codec1",
                   "Use a code machine to put the message on the card into code. Then post your "
                   "coded message on the message board."),
               Doc(1451, "2 ", c, "11c2.qvc", "Codedec2",
                   "A secret message is waiting. Find the machine and the setting that decode "
                   "it."),
               Doc(1452, "3 ", c, "11c3.qvc", "Codedec3",
                   "Another coded message! Try different settings until the words make sense."),
               Doc(1453, "4 ", c, "11c4.qvc", "Codedec4",
                   "The toughest code. Look for short words and repeated letters to help you "
                   "decode it.")}},
         }},
        {"Design Machines",
         "The design machine turns a shape and stamps it to make a design. Every design follows "
         "a rule.",
         {
             {"Mystery Designs",
              "Solve Challenges",
              {Doc(1450, "1 ", d, "22c1.qvd", "MDesign1",
                   "Look at the design. Set up the design machine so that it makes the same "
                   "design. What is the rule?"),
               Doc(1451, "2 ", d, "22c2.qvd", "MDesign2",
                   "This design turns by a different angle. Find the rule that makes it."),
               Doc(1452, "3 ", d, "22c3.qvd", "MDesign3",
                   "Count how many times the shape is stamped. Make the design machine copy the "
                   "pattern."),
               Doc(1453, "4 ", d, "22c4.qvd", "MDesign4",
                   "A harder mystery design. Find the shape, the turn and the number of stamps."),
               Doc(1454, "5 ", d, "22c5.qvd", "MDesign5",
                   "The last mystery design! Can you find its rule?")}},
             {"",
              "Make Challenges",
              {Doc(1619, "1 ", d, "22m.qvd", "MakeMyst",
                   "Make a mystery design of your own. Save it on the Student Bulletin Board and "
                   "challenge a friend to find your rule.")}},
             {"A Friend's Mystery Design",
              "Solve Challenges",
              {Saved(1624, "1 ", d, "",
                     "Open a mystery design that a friend saved on the Student Bulletin Board, "
                     "then find the rule that makes it.")}},
         }},
        {"Number Machines",
         "A number machine takes in a number, works on it and sends out a new number.",
         {
             {"",
              "Exploration",
              {Doc(1430, "1 ", n, "", "Numbers",
                   "Build a number machine, choose its operator and its built-in input, then "
                   "feed it number cards. Can you tell what will come out before you press Go?")}},
             {"",
              "Challenges",
              {Doc(1440, "A", n, "31c1.qvn", "NumbersA",
                   "Look at the cards that went in and the cards that came out. Set up a machine "
                   "that does the same thing."),
               Doc(1441, "B", n, "31c2.qvn", "NumbersB",
                   "This time the cards hold fractions. Set up a machine that turns each card "
                   "into the one the challenge shows."),
               Doc(1442, "C", n, "31c3.qvn", "NumbersC",
                   "Find two different machines that give the same output for every card.")}},
         }},
        {"Linked Machines",
         "Link two machines and the output of the first becomes the input of the second.",
         {
             {"",
              "Exploration",
              {Doc(1430, "1 ", n, "41w.qvn", "Linked",
                   "Link two number machines and send cards through both. Can the second machine "
                   "undo what the first one did?")}},
             {"Mystery Machines", "Problem Sets", Levels(n)},
         }},
        {"Problem Solving With Number Machines",
         "Number machines can help you solve problems, and undo them too.",
         {
             {"Inverse Machines",
              "Challenges",
              {Doc(1450, "1 ", n, "51c1.qvn", "Inverse1",
                   "A machine has changed some numbers. Build the machine that changes them back "
                   "into the numbers that went in."),
               Doc(1451, "2 ", n, "51c2.qvn", "Inverse2",
                   "Two linked machines changed these numbers. Build linked machines that undo "
                   "both steps."),
               Doc(1452, "3 ", n, "51c3.qvn", "Inverse3",
                   "Find the number that went in when you only know the number that came out.")}},
             {"Party Makers",
              "Exploration",
              {Doc(1431, "1 ", n, "51w.qvn", "Party",
                   "Planning a party? Use linked number machines to work out how much food and "
                   "drink you need for any number of guests.")}},
         }},
    }};
}

Menu StatsInvestigations() {
    const UnitKind s = UnitKind::Statistics;
    return {{
        {"Describing Categorical Data",
         "Categorical data sort things into groups, like favourite colours or kinds of pets.",
         {
             {"What Are They Like?",
              "Demonstration",
              {Doc(1440, "1 ", s, "11s.qvs", "demo",
                   "Watch how answers are sorted into groups. Look at the data board and the bar "
                   "graph. Which group is the biggest?")}},
             {"Which Bar Is It?",
              "Challenges",
              {Doc(1450, "1 ", s, "11c1.qvs", "Bar1",
                   "Each bar of the graph stands for one group. Find the group that belongs to "
                   "each bar."),
               Doc(1451, "2 ", s, "11c2.qvs", "Bar2",
                   "The labels have fallen off the graph! Use the data table to put them back."),
               Doc(1452, "3 ", s, "11c3.qvs", "Bar3",
                   "Two graphs, one set of data. Which bar of one graph matches which slice of "
                   "the other?")}},
         }},
        {"Describing Numerical Data",
         "Numerical data are numbers, like heights, ages or how many pets we have.",
         {
             {"Let's Find Out More!",
              "Demonstration",
              {Doc(1440, "1 ", s, "21s.qvs", "demo",
                   "See how numbers are put in order. Find the smallest and the largest, the "
                   "mean, the median and the mode.")}},
             {"",
              "Exploration",
              {Doc(1430, "1 ", s, "21w.qvs", "Explore",
                   "Change some of the numbers and watch the mean, the median and the mode. "
                   "Which one changes most?")}},
         }},
        {"Making Profiles",
         "A profile uses several kinds of data together to describe a group.",
         {
             {"",
              "Demonstration",
              {Doc(1440, "1 ", s, "staps90A.qvs", "demo",
                   "Watch a profile being built from a set of data. Which graph tells the story "
                   "best?")}},
             {"",
              "Exploration",
              {Doc(1430, "1 ", s, "31w.qvs", "Profile",
                   "Use the data on the screen to build a profile. Try a bar graph, a pie graph "
                   "and a line graph. Which one shows the data best?")}},
         }},
        {"Asking More Questions",
         "A good answer often leads to a new question.",
         {
             {"",
              "Demonstration",
              {Doc(1440, "1 ", s, "staps90B.qvs", "demo",
                   "Watch how one question about the data leads to another. What would you ask "
                   "next?")}},
             {"Did You Mean That?", "Problem Sets", Levels(s)},
         }},
        {"Describing Us",
         "Put it all together and describe your own class.",
         {
             {"Explore Our Own Data",
              "Exploration",
              {Doc(1430, "1 ", s, "", "OurData",
                   "Collect data from your class, type it into the data table and save it. What "
                   "questions can your data answer?")}},
             {"Analyze Our Own Data Exploration",
              "Exploration",
              {Saved(1431, "1 ", s, "Analyze",
                     "Open the data your class saved. Use graphs and the summary statistics to "
                     "describe your class. What is typical of us?")}},
         }},
    }};
}

const std::array<Menu, 3>& AllMenus() {
    static const std::array<Menu, 3> menus{StatsInvestigations(), PatternsInvestigations(),
                                           GeometryInvestigations()};
    return menus;
}

} // namespace

const CInvestigation* FindInvestigation(int menu, int k) {
    if (menu < 0 || menu > 2 || k < 0 || k >= kInvestigationsPerMenu)
        return nullptr;
    return &AllMenus()[static_cast<std::size_t>(menu)][static_cast<std::size_t>(k)];
}

const CActivity* FindActivity(int menu, int k, int button) {
    const CInvestigation* inv = FindInvestigation(menu, k);
    if (!inv)
        return nullptr;
    for (const auto& row : inv->rows)
        for (const auto& a : row.activities)
            if (a.button == button)
                return &a;
    return nullptr;
}

int InvestigationsMenuOfUnit(int unitMenu) {
    switch (unitMenu) {
    case kGeometryUnitMenu:
        return kGeometryInvestigations;
    case kPatternsUnitMenu:
        return kPatternsInvestigations;
    case kStatsUnitMenu:
        return kStatsInvestigations;
    default:
        return -1;
    }
}

const char* UnitMenuTitle(int unitMenu) {
    switch (unitMenu) {
    case kGeometryUnitMenu:
        return "Tiles and Tessellations";
    case kPatternsUnitMenu:
        return "Patterns";
    case kStatsUnitMenu:
        return "Statistics";
    default:
        return "";
    }
}

const char* UnitGuideFile(int unitMenu) {
    switch (unitMenu) {
    case kGeometryUnitMenu:
        return "Tiles Guide.rtf";
    case kPatternsUnitMenu:
        return "Patterns Guide.rtf";
    case kStatsUnitMenu:
        return "Statistics Guide.rtf";
    default:
        return "";
    }
}

const char* UnitDocumentTitle(UnitKind unit) {
    switch (unit) {
    case UnitKind::Geometry:
        return "Geometry Unit";
    case UnitKind::Designs:
        return "Patterns Unit - Designs";
    case UnitKind::Numbers:
        return "Patterns Unit - Numbers";
    case UnitKind::Codes:
        return "Patterns Unit - Codes";
    case UnitKind::Statistics:
        return "Statistics Unit";
    }
    return "";
}

const char* ProblemSetIntroduction(UnitKind unit) {
    switch (unit) {
    case UnitKind::Geometry:
        return "In the following problems, you will see a tessellation and four cores that could "
               "have made the tessellation. Look at the tessellation on the screen, and use the "
               "radio buttons to enter the core that you think made the tessellation.  Remember "
               "there may be more than one core that will work.  You are to choose the smallest "
               "set of pieces  that will create the tessellation.";
    case UnitKind::Statistics:
        return "In the following problems, there will be collections of data. Using the \"Ignore "
               "Tool\", change the state of a tile from \"ignored\" to \"used\" so that the "
               "statement in the prompt is true.  When you are finished, click CHECK to check "
               "your answer.";
    default:
        return "In the following problems, you will see a mystery machine made of two linked "
               "number machines. Send number cards through the mystery machine and watch what "
               "comes out.  Then use the prompt window to enter the operator and the built-in "
               "input that you think each machine has.  When you are finished, click CHECK to "
               "check your answer.";
    }
}

const char* ProblemSetTitle(UnitKind unit) {
    switch (unit) {
    case UnitKind::Geometry:
        return "What's My Core?";
    case UnitKind::Statistics:
        return "Did You Mean That?";
    default:
        return "Mystery Machines";
    }
}

const std::vector<int>& InvestigationButtonIds() {
    static const std::vector<int> ids{1430, 1431, 1432, 1440, 1441, 1442, 1443, 1450, 1451, 1452,
                                      1453, 1454, 1460, 1461, 1462, 1463, 1464, 1619, 1624};
    return ids;
}

} // namespace quorvel
