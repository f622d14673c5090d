// The Tools menu of every unit (the notepad and a calculator) and the Documents menus of the
// units that have printed companion material: which calculator to start, which PDF each
// command opens, and the messages when either cannot be done.
#pragma once

#include "app/document_factory.h"
#include "workspace/types.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class IPrompter;

inline constexpr int kNotepadCommand = 32836;    // "&Notepad"
inline constexpr int kCalculatorCommand = 32839; // "&Calculator"

inline constexpr const char* kToolsMenuText = "&Tools";
inline constexpr const char* kNotepadMenuText = "&Notepad";
inline constexpr const char* kCalculatorMenuText = "&Calculator";
inline constexpr const char* kDocumentsMenuText = "Doc&uments";
inline constexpr const char* kNotepadTitle = "Notepad";

inline constexpr const char* kCalculatorNotFound = "No calculator was found on your system.";
inline constexpr const char* kNoPdfReader =
    "Sorry, a suitable application for reading 'pdf' files was not found on your system.";

// The notepad's edit control: its margins inside the window, in pixels.
inline constexpr int kNotepadMarginLeft = 15;
inline constexpr int kNotepadMarginTop = 25;
inline constexpr int kNotepadMarginRight = 10;

// The desktop calculators tried, in order.
std::span<const char* const> CalculatorPrograms();

// The first calculator found along `pathList` (directories separated by ':'), as a full path.
// Empty and relative entries are skipped, so that nothing is started from the current folder.
std::optional<std::string>
FindCalculator(std::string_view pathList,
               const std::function<bool(const std::string&)>& isExecutable);
// A regular file that the user may run.
bool IsExecutableFile(const std::string& path);

struct CCalculatorLaunch {
    std::string program;
    std::vector<std::string> arguments;
};
// The command that starts `program` with its window at `topLeft` (screen coordinates) where
// the program takes a place on its command line.
CCalculatorLaunch CalculatorLaunch(const std::string& program, CPoint topLeft);

// Finds and starts a calculator; the message when none is found or it does not start.
bool StartCalculator(std::string_view pathList,
                     const std::function<bool(const std::string&)>& isExecutable,
                     const std::function<bool(const CCalculatorLaunch&)>& start, CPoint topLeft,
                     IPrompter& prompter);

// A printed companion document of a unit, opened from its Documents menu.
struct CCompanionDocument {
    int command;
    const char* menuText;
    UnitKind unit;
    const char* fileName; // in the docs folder
    const char* title;    // what it holds
};

std::span<const CCompanionDocument> CompanionDocuments();
// The Documents menu of a unit in menu order; empty for a unit without one.
std::vector<const CCompanionDocument*> CompanionDocumentsOf(UnitKind unit);
const CCompanionDocument* FindCompanionDocument(int command);

// Opens the document from `docsDir` with `open` (the desktop's application for PDF files).
// A missing file gives the launching message with its path; a failed open the PDF message.
bool OpenCompanionDocument(const CCompanionDocument& doc, const std::string& docsDir,
                           const std::function<bool(const std::string&)>& open,
                           IPrompter& prompter);

} // namespace quorvel
