// The Tools and Documents menus: finding a calculator, the companion documents and opening them.
#include "app/tools_menu.h"

#include "app/directories.h"
#include "app/workshop_app.h"
#include "workspace/prompter.h"

#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>

namespace quorvel {

namespace {

constexpr std::array<const char*, 5> kCalculators = {"gnome-calculator", "kcalc", "galculator",
                                                     "qalculate-gtk", "xcalc"};

constexpr std::array<CCompanionDocument, 7> kDocuments = {{
    {32841, "Reproducible Master &5", UnitKind::Geometry, "Tiles Reproducible Master 5.pdf",
     "Tiles and Tessellations: Reproducible Master 5"},
    {32842, "Reproducible Master &6", UnitKind::Geometry, "Tiles Reproducible Master 6.pdf",
     "Tiles and Tessellations: Reproducible Master 6"},
    {32843, "Activity Book &4", UnitKind::Geometry, "Tiles Activity Book 4.pdf",
     "Tiles and Tessellations: Activity Book 4"},
    {32844, "&Reproducible Master 12", UnitKind::Numbers, "Patterns Reproducible Master 12.pdf",
     "Patterns: Reproducible Master 12"},
    {32846, "Reproducible Master &9", UnitKind::Statistics, "Statistics Reproducible Master 9.pdf",
     "Statistics: Reproducible Master 9"},
    {32847, "Activity Book Page &5", UnitKind::Statistics, "Statistics Activity Book Page 5.pdf",
     "Statistics: Activity Book Page 5"},
    {32848, "Activity Book Page &6", UnitKind::Statistics, "Statistics Activity Book Page 6.pdf",
     "Statistics: Activity Book Page 6"},
}};

} // namespace

std::span<const char* const> CalculatorPrograms() {
    return kCalculators;
}

bool IsExecutableFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string>
FindCalculator(std::string_view pathList,
               const std::function<bool(const std::string&)>& isExecutable) {
    std::vector<std::string_view> folders;
    for (std::size_t start = 0; start <= pathList.size();) {
        std::size_t end = pathList.find(':', start);
        if (end == std::string_view::npos)
            end = pathList.size();
        const std::string_view folder = pathList.substr(start, end - start);
        if (!folder.empty() && folder.front() == '/')
            folders.push_back(folder);
        start = end + 1;
    }
    // The preferred calculator wins wherever it lies along the path.
    for (const char* program : kCalculators)
        for (std::string_view folder : folders) {
            const std::string candidate = JoinPath(folder, program);
            if (isExecutable(candidate))
                return candidate;
        }
    return std::nullopt;
}

CCalculatorLaunch CalculatorLaunch(const std::string& program, CPoint topLeft) {
    CCalculatorLaunch launch{program, {}};
    // Only the X toolkit calculator takes its place on the command line; the desktop places
    // the others.
    if (std::filesystem::path(program).filename() == "xcalc")
        launch.arguments = {"-geometry",
                            "+" + std::to_string(topLeft.x) + "+" + std::to_string(topLeft.y)};
    return launch;
}

bool StartCalculator(std::string_view pathList,
                     const std::function<bool(const std::string&)>& isExecutable,
                     const std::function<bool(const CCalculatorLaunch&)>& start, CPoint topLeft,
                     IPrompter& prompter) {
    const std::optional<std::string> program = FindCalculator(pathList, isExecutable);
    if (program && start(CalculatorLaunch(*program, topLeft)))
        return true;
    prompter.MessageBox(kCalculatorNotFound, MessageIcon::Exclamation);
    return false;
}

std::span<const CCompanionDocument> CompanionDocuments() {
    return kDocuments;
}

std::vector<const CCompanionDocument*> CompanionDocumentsOf(UnitKind unit) {
    std::vector<const CCompanionDocument*> out;
    for (const CCompanionDocument& d : kDocuments)
        if (d.unit == unit)
            out.push_back(&d);
    return out;
}

const CCompanionDocument* FindCompanionDocument(int command) {
    for (const CCompanionDocument& d : kDocuments)
        if (d.command == command)
            return &d;
    return nullptr;
}

bool OpenCompanionDocument(const CCompanionDocument& doc, const std::string& docsDir,
                           const std::function<bool(const std::string&)>& open,
                           IPrompter& prompter) {
    const std::string path = JoinPath(docsDir, doc.fileName);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        std::string text = kOpenFailure;
        text.replace(text.find("%s"), 2, path);
        prompter.MessageBox(text, MessageIcon::Exclamation);
        return false;
    }
    if (open(path))
        return true;
    prompter.MessageBox(kNoPdfReader, MessageIcon::Exclamation);
    return false;
}

} // namespace quorvel
