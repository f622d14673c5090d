// The string table. Ids are those of the controls a text explains or of the message it is;
// several controls that do the same thing share one text.
#include "workspace/string_table.h"

#include <algorithm>
#include <cstdio>

namespace quorvel {
namespace {

constexpr const char* kColourHelp = "Click a color to change the color of the selected shapes.";
constexpr const char* kScaleSpinHelp =
    "Click the spin buttons to change the scale or type in your own scale.";
constexpr const char* kTryAgain = "Your solution is not correct. Think about the problem again.";
constexpr const char* kCorrect = "Your answer is correct.";
constexpr const char* kNotPermitted = "This operation is not permitted.";
constexpr const char* kRemoveRow = "Do you wish to remove the selected row?";
constexpr const char* kHopperOccupied = "This hopper is occupied.";
constexpr const char* kViewSolutionLastTry =
    "Your solution is not correct. Click View Solution to see the correct answer.";

struct Entry {
    int id;
    const char* text;
};

// Kept in id order.
constexpr Entry kStrings[] = {
    // Workspace buttons.
    {1003, "Click here to leave the workspace."},
    {1004, "Click here to clear your workspace and start over."},
    // Patterns messages.
    {1005, "Error, adding this link creates a loop in this supermachine."},
    // Tiles and Tessellations commands.
    {1013, "Click here to group the selected shapes."},
    {1014, "Click here to separate the selected groups."},
    {1015, "Click here to copy the selected shapes."},
    {1016, "Click here to stamp the selected shapes."},
    {1017, "Click here to make the selected shapes bigger."},
    {1018, "Click here to make the selected shapes smaller."},
    {1019, "Click here to flip the selected shapes sideways."},
    {1020, "Click here to flip the selected shapes upside-down."},
    {1021, "Click here to rotate the selected shapes to the right."},
    {1022, "Click here to rotate the selected shapes to the left."},
    // Scripts.
    {1023, "Click here to record a script."},
    {1024, "Click here to view the script in the script name combo box."},
    {1025, "Click here to play the script in the script name combo box."},
    {1026, "Click here to repeat the steps recorded since the last Repeat or Select & Group."},
    {1027, "Click here to select and group the shapes the script has made."},
    {1028, "Adding another machine to the existing machine will clear the associated table. Do "
           "you want to continue?"},
    {1029, "Changing the function of this machine will clear the associated table. Do you want "
           "to continue?"},
    {1030, "Enter a number of times to repeat the operation."},
    {1031, "The script name combo box. The names of the current scripts are listed in this "
           "drop-down combo box."},
    // Workspace navigator.
    {1032, "Use the Workspace Navigator to scroll your workspace."},
    {1033, "Error, this connection creates a loop in the machine."},
    {1035, "Scroll the workspace up."},
    {1036, "Scroll the workspace right."},
    {1037, "Scroll the workspace down."},
    {1038, "Scroll the workspace left."},
    {1039, "Scroll the workspace up and right."},
    {1040, "Scroll the workspace up and left."},
    {1041, "Scroll the workspace down and right."},
    {1042, "Scroll the workspace down and left."},
    {1043, "Click the angle spin buttons to change the angle of rotation."},
    {1055, "The Tool Palette."},
    {1058, "The name of the script, from 1 to 8 characters."},
    {1059, "Click here to end recording the script."},
    {1061, "Click here to add the new steps to the end of the script."},
    {1062, "Click here to replace the script's steps with the new ones."},
    {1063, "Click here to stop repeating."},
    {1064, "Click here to close the script window."},
    {1065, "Click here to stop playing the script."},
    {1066, "Click here to delete the selected step of the script."},
    {1069, "Click here to change the line width of the selected shapes to thin."},
    {1070, "Click here to change the line width of the selected shapes to thick."},
    {1071, kColourHelp},
    {1072, kColourHelp},
    {1073, kColourHelp},
    {1074, kColourHelp},
    {1075, kColourHelp},
    {1076, kColourHelp},
    {1077, kColourHelp},
    {1078, kColourHelp},
    // Writing tool.
    {1149, "Use the Writing tool to write something."},
    {1221, kHopperOccupied},
    {1222, kHopperOccupied},
    // Statistics workspace.
    {1249, "Click here to run the machine."},
    {1263, "Enter a label for the graph of the current column."},
    // Tools.
    {1271, "Use the Arrow to select or remove an object."},
    {1272, "Use the Selector to select more than one object."},
    {1273, "Use the Eraser to click objects to erase."},
    {1274, "Use the Writing tool to write something."},
    {1275, "Use Help to find out about buttons, tools, and parts of the screen."},
    {1276, "Use the Anglemeter tool to measure an angle."},
    {1277, "Use the Linemaker to create your own line manipulatives."},
    {1278, "Use the Cut-shape tool to cut across a shape to create two new shapes."},
    {1279, "Use the Hide/Show Lines tool to hide or show a line."},
    {1280, "Use the Mystery tool to toggle the mystery properties of function machines."},
    {1281, "Use the Linking tool to link machines together."},
    {1282, "Use the Ignore tool to selectively ignore rows or tiles."},
    {1284, "The horizontal axis label."},
    {1305, "Use the tag palette to tag data cells with a color."},
    // Patterns machine controls and messages.
    {1333, "Click here to build a number into the first input, or to take a card there again."},
    {1334, "Click here to build a number into the second input, or to take a card there again."},
    {1335, "Click here to choose the next operation."},
    {1336, "Click here to choose the previous operation."},
    {1337, "Click here to create a new table."},
    {1344, "The machine's name. Click it to type a new one."},
    {1345, "Please provide an input value before hiding the Number Card."},
    {1346, "Please provide a value for the operator before hiding it."},
    {1350, "No more columns can be created in this table."},
    {1353, "Please make sure the machine is ready before making it mysterious."},
    // Statistics buttons and messages.
    {1355, "Click here to view the Bar Graph."},
    {1356, "Click here to view the Pie Graph."},
    {1357, "Click here to view the Data Table."},
    {1358, "Click here to view the Data Board."},
    {1359, "Click here to Cluster the selected tiles in a group."},
    {1360, "Click here to sort the data in ascending order."},
    {1361, "Click here to sort the data in descending order."},
    {1362, "Click here to go to the previous column."},
    {1363, "Click here to go to the next column."},
    {1364, "Click here to view the Line Graph."},
    {1365, "Click here to auto-arrange the tiles on the baseline."},
    {1366, "Click here to place all the tiles in the Data Store."},
    {1367, "The Data Table view."},
    {1368, "The Mini-table."},
    {1376, "Click here to change the current scale."},
    {1378, "Do you wish to remove the selected column?"},
    {1379, "This column can not be removed."},
    {1380, kRemoveRow},
    {1382, "Please select tiles before clicking the \"Cluster\" button."},
    {1385, kScaleSpinHelp},
    {1386, kScaleSpinHelp},
    {1387, "The tile you are trying to delete is the Handle of a Tile Selection Group and may not "
           "be deleted."},
    {1388, "The merge operation failed."},
    {1404, "Go to the previous column in the mini-table."},
    {1405, "Go to the next column in the mini-table."},
    {1406, "Create a new row in the data table."},
    {1415, kNotPermitted},
    {1416, "Note cards cannot be stacked at hoppers."},
    {1417, "This input cannot be decoded by this machine."},
    {1418, "The pie graph is empty"},
    {1419, "The number of wedges in the pie graph must be less than or equal to 60"},
    {1420, "The bar graph is empty"},
    {1421, "The number of bars in the bar graph must be less than or equal to 60"},
    {1422, "The line graph is empty"},
    {1423, "Too many points in the line graph"},
    {1424, "Please provide an input value before hiding the Note Card."},
    // Problem sets.
    {1470, "Click Continue to proceed."},
    {1471, "The problem set prompt window."},
    {1489, "Click Check to check your answer."},
    {1490, "Please choose an answer for each part."},
    {1491, kTryAgain},
    {1492, "Your solution is not correct. Use the Mystery Tool to see the correct answer."},
    {1493, kCorrect},
    {1494, "The label for a mystery machine."},
    {1495, "Click View Solution to see the correct answer."},
    {1536, "No function machines found."},
    {1537, "Please check that an operation has been selected on each machine."},
    {1538, "The second input must be built-in on each machine."},
    {1569, "Please un-ignore a tile before checking your answer."},
    {1570, "General Error."},
    {1571, kCorrect},
    {1572, kTryAgain},
    {1573, "Your solution is not correct. Click View Solution to un-ignore the correct tile."},
    {1610, kCorrect},
    {1611, kTryAgain},
    {1612, kViewSolutionLastTry},
    {1613, "Please select one of the choices."},
    {1615, "The angle of rotation must be from 1 to 360"},
    {1618, "All output cards will be deleted."},
};

} // namespace

const std::vector<std::pair<int, std::string_view>>& StringTable() {
    static const std::vector<std::pair<int, std::string_view>> table = [] {
        std::vector<std::pair<int, std::string_view>> t;
        for (const Entry& e : kStrings)
            t.emplace_back(e.id, e.text);
        return t;
    }();
    return table;
}

std::optional<std::string_view> LoadString(int id) {
    const auto& table = StringTable();
    const auto it = std::lower_bound(table.begin(), table.end(), id,
                                     [](const auto& entry, int key) { return entry.first < key; });
    if (it == table.end() || it->first != id)
        return std::nullopt;
    return it->second;
}

std::string HelpText(int id) {
    if (id <= 1002 || id > 1500)
        return kNoHelpHere;
    if (const auto s = LoadString(id))
        return std::string(*s);
    char text[64];
    std::snprintf(text, sizeof text, kHelpNotFound, id);
    return text;
}

} // namespace quorvel
