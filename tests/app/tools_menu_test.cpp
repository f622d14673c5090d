// The Tools and Documents menus: which calculator starts and where, the message when there is
// none, the companion documents of each unit and the messages when one cannot be opened.
#include "app/tools_menu.h"

#include "app/workshop_app.h"
#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <unistd.h>

using namespace quorvel;
using quorvel::testing::FakePrompter;
namespace fs = std::filesystem;

namespace {

// A file system of executables given by full path.
struct Executables {
    std::set<std::string> paths;
    std::vector<std::string> asked;
    std::function<bool(const std::string&)> Test() {
        return [this](const std::string& p) {
            asked.push_back(p);
            return paths.count(p) != 0;
        };
    }
};

} // namespace

TEST(Calculator, ThePreferredCalculatorWinsWhereverItLiesOnThePath) {
    Executables fs{{"/usr/bin/xcalc", "/opt/kde/bin/kcalc", "/usr/local/bin/galculator"}, {}};
    EXPECT_EQ(FindCalculator("/usr/local/bin:/usr/bin:/opt/kde/bin", fs.Test()),
              "/opt/kde/bin/kcalc");
    fs.paths.insert("/usr/bin/gnome-calculator");
    EXPECT_EQ(FindCalculator("/usr/local/bin:/usr/bin:/opt/kde/bin", fs.Test()),
              "/usr/bin/gnome-calculator");
    fs.paths = {"/usr/bin/xcalc"};
    EXPECT_EQ(FindCalculator("/usr/bin/", fs.Test()), "/usr/bin/xcalc") << "trailing slash";
}

TEST(Calculator, EmptyAndRelativePathEntriesAreNeverSearched) {
    Executables fs{{"gnome-calculator", "./gnome-calculator", "bin/gnome-calculator"}, {}};
    EXPECT_EQ(FindCalculator(":.:bin::", fs.Test()), std::nullopt);
    EXPECT_TRUE(fs.asked.empty());
    EXPECT_EQ(FindCalculator("", fs.Test()), std::nullopt);
}

TEST(Calculator, OnlyXcalcIsPlacedByItsCommandLine) {
    const CCalculatorLaunch x = CalculatorLaunch("/usr/bin/xcalc", {120, 45});
    EXPECT_EQ(x.program, "/usr/bin/xcalc");
    EXPECT_EQ(x.arguments, (std::vector<std::string>{"-geometry", "+120+45"}));
    EXPECT_TRUE(CalculatorLaunch("/usr/bin/gnome-calculator", {120, 45}).arguments.empty());
}

TEST(Calculator, StartsTheOneFoundAtTheMainWindowsCorner) {
    Executables fs{{"/usr/bin/xcalc"}, {}};
    FakePrompter prompter;
    std::vector<CCalculatorLaunch> started;
    const auto start = [&](const CCalculatorLaunch& l) {
        started.push_back(l);
        return true;
    };
    EXPECT_TRUE(StartCalculator("/usr/bin", fs.Test(), start, {10, 20}, prompter));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, "/usr/bin/xcalc");
    EXPECT_EQ(started[0].arguments.back(), "+10+20");
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(Calculator, NoneOnThePathOrOneThatWillNotStartGivesTheMessage) {
    Executables none;
    FakePrompter prompter;
    int starts = 0;
    const auto start = [&](const CCalculatorLaunch&) {
        ++starts;
        return false;
    };
    EXPECT_FALSE(StartCalculator("/usr/bin:/bin", none.Test(), start, {0, 0}, prompter));
    EXPECT_EQ(starts, 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "No calculator was found on your system.");

    Executables broken{{"/bin/kcalc"}, {}};
    EXPECT_FALSE(StartCalculator("/usr/bin:/bin", broken.Test(), start, {0, 0}, prompter));
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(prompter.LastText(), kCalculatorNotFound);
}

TEST(Calculator, IsExecutableFileWantsARunnableRegularFile) {
    const fs::path dir = fs::temp_directory_path() / ("quorvel-calc-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path plain = dir / "plain";
    std::ofstream(plain) << "#!/bin/sh\n";
    EXPECT_FALSE(IsExecutableFile(plain.string()));
    fs::permissions(plain, fs::perms::owner_exec, fs::perm_options::add);
    EXPECT_TRUE(IsExecutableFile(plain.string()));
    EXPECT_FALSE(IsExecutableFile(dir.string())) << "a folder is not a program";
    EXPECT_FALSE(IsExecutableFile((dir / "missing").string()));
    fs::remove_all(dir);
}

TEST(CompanionDocuments, EachUnitMenuListsItsDocumentsInOrder) {
    const auto tiles = CompanionDocumentsOf(UnitKind::Geometry);
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[0]->command, 32841);
    EXPECT_STREQ(tiles[0]->menuText, "Reproducible Master &5");
    EXPECT_STREQ(tiles[1]->menuText, "Reproducible Master &6");
    EXPECT_STREQ(tiles[2]->menuText, "Activity Book &4");

    const auto numbers = CompanionDocumentsOf(UnitKind::Numbers);
    ASSERT_EQ(numbers.size(), 1u);
    EXPECT_EQ(numbers[0]->command, 32844);
    EXPECT_STREQ(numbers[0]->menuText, "&Reproducible Master 12");

    const auto stats = CompanionDocumentsOf(UnitKind::Statistics);
    ASSERT_EQ(stats.size(), 3u);
    EXPECT_EQ(stats[0]->command, 32846);
    EXPECT_STREQ(stats[1]->menuText, "Activity Book Page &5");
    EXPECT_STREQ(stats[2]->menuText, "Activity Book Page &6");

    EXPECT_TRUE(CompanionDocumentsOf(UnitKind::Designs).empty());
    EXPECT_TRUE(CompanionDocumentsOf(UnitKind::Codes).empty());
}

TEST(CompanionDocuments, FilesAreDistinctPdfsFoundByCommand) {
    std::set<std::string> names;
    for (const CCompanionDocument& d : CompanionDocuments()) {
        const std::string name = d.fileName;
        EXPECT_TRUE(name.ends_with(".pdf")) << name;
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(FindCompanionDocument(d.command), &d);
    }
    EXPECT_EQ(names.size(), 7u);
    EXPECT_EQ(FindCompanionDocument(32845), nullptr) << "no document has that command";
}

TEST(CompanionDocuments, OpeningHandsThePathToTheDesktopOrGivesTheMessage) {
    const fs::path docs =
        fs::temp_directory_path() / ("quorvel-docs-" + std::to_string(::getpid()));
    fs::create_directories(docs);
    const CCompanionDocument& master = *FindCompanionDocument(32846);
    std::ofstream(docs / master.fileName) << "%PDF-1.4\n";
    FakePrompter prompter;
    std::vector<std::string> opened;
    bool readerPresent = true;
    const auto open = [&](const std::string& p) {
        opened.push_back(p);
        return readerPresent;
    };

    EXPECT_TRUE(OpenCompanionDocument(master, docs.string(), open, prompter));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], (docs / master.fileName).string());
    EXPECT_TRUE(prompter.messages.empty());

    readerPresent = false;
    EXPECT_FALSE(OpenCompanionDocument(master, docs.string(), open, prompter));
    EXPECT_EQ(prompter.LastText(),
              "Sorry, a suitable application for reading 'pdf' files was not found on your "
              "system.");

    // A file that is not there is never handed on; the message names it.
    const CCompanionDocument& missing = *FindCompanionDocument(32848);
    readerPresent = true;
    EXPECT_FALSE(OpenCompanionDocument(missing, docs.string(), open, prompter));
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_NE(prompter.LastText().find((docs / missing.fileName).string()), std::string::npos);
    EXPECT_EQ(prompter.LastText().rfind("Sorry, an error occured while trying to open", 0), 0u);
    fs::remove_all(docs);
}

TEST(NotepadText, ListenerHearsOnlyRealChanges) {
    CNotepadText notepad;
    std::vector<std::string> heard;
    notepad.SetListener([&](const std::string& t) { heard.push_back(t); });
    notepad.SetText("7 x 8 = 56");
    notepad.SetText("7 x 8 = 56");
    notepad.SetText("");
    EXPECT_EQ(heard, (std::vector<std::string>{"7 x 8 = 56", ""}));
    EXPECT_EQ(notepad.text(), "");
}
