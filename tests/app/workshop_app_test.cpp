// The application through a recording main window: start-up, menu navigation and back
// buttons, the activity table, problem sets, launching guides, leaving a unit and exiting.
#include "app/workshop_app.h"

#include "app/directories.h"
#include "fakes/fakes.h"
#include "recording_frame.h"
#include "workspace/unit_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quorvel {
namespace {

using testing::FakeDocumentHost;
using testing::RecordingFrame;
namespace fs = std::filesystem;

// A program folder of its own per test, with class/ and docs/ beside the program.
class TempProgramDir {
public:
    TempProgramDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = fs::temp_directory_path() /
                 (std::string("quorvel-app-") + info->test_suite_name() + "-" + info->name());
        fs::remove_all(m_path);
        fs::create_directories(m_path / "class");
        fs::create_directories(m_path / "docs");
    }
    ~TempProgramDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    std::string str() const { return m_path.string(); }
    std::string classFile(const std::string& name) const {
        return (m_path / "class" / name).string();
    }
    // An empty document of `unit` saved as class/<name>.
    void AddActivity(UnitKind unit, const std::string& name) const {
        auto doc = CreateUnitDocument(unit);
        ASSERT_TRUE(doc->OnSaveDocument(classFile(name))) << name;
    }
    void AddDoc(const std::string& name) const {
        std::ofstream(m_path / "docs" / name) << "{\\rtf1 guide}";
    }

private:
    fs::path m_path;
};

class WorkshopApp : public ::testing::Test {
protected:
    TempProgramDir dir;
    FakeDocumentHost host;
    RecordingFrame frame;
    CWorkshopApp app{host, frame};

    void Start(const std::vector<std::string>& args = {}) {
        ASSERT_TRUE(app.InitInstance(args, dir.str(), "/home/pupil/Desktop"));
        host.prompter.messages.clear();
        frame.calls.clear();
    }
    // Unit menu n, leaving out the guide it opens.
    void EnterUnitMenu(int n) {
        ASSERT_TRUE(app.ShowUnitMenu(n));
        host.prompter.messages.clear();
    }
};

TEST_F(WorkshopApp, StartsOnTheMainMenuWithDefaultFolders) {
    ASSERT_TRUE(app.InitInstance({}, dir.str(), "/home/pupil/Desktop"));
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"create Main", "show Main hide None"}));
    EXPECT_EQ(app.currentMenuView(), MenuView::Main);
    EXPECT_EQ(host.caption, "Quorvel Demonstration - Main Menu");
    EXPECT_EQ(app.Directories(), DefaultDirectories(dir.str(), "/home/pupil/Desktop"));
    EXPECT_FALSE(app.authoring());
    EXPECT_EQ(app.currentUnitDocument(), nullptr);
}

TEST_F(WorkshopApp, MainDocumentFailureStopsStartUp) {
    frame.refuse.insert(MenuView::Main);
    EXPECT_FALSE(app.InitInstance({}, dir.str(), "/home/pupil/Desktop"));
    ASSERT_EQ(host.prompter.messages.size(), 1u);
    EXPECT_EQ(host.prompter.messages[0].text,
              "Failed to load the main document; application terminating!");
}

TEST_F(WorkshopApp, CommandLineSetsFoldersAndAuthoring) {
    ASSERT_TRUE(app.InitInstance(
        {"/AM", "-p", "/home/Ann", "-c", "/srv/Class", "-b", "/srv/bb", "-t", "/srv/tbb"},
        dir.str(), "/home/pupil/Desktop"));
    EXPECT_TRUE(app.authoring());
    EXPECT_EQ(app.Directories(), (CDirectories{"/home/Ann", "/srv/Class", "/srv/bb", "/srv/tbb"}));
    EXPECT_EQ(app.currentMenuView(), MenuView::Main);
}

TEST_F(WorkshopApp, StatsSwitchInAuthoringModeOpensStatisticsForAuthoring) {
    ASSERT_TRUE(app.InitInstance({"/AM", "/stats"}, dir.str(), "/home/pupil/Desktop"));
    EXPECT_EQ(app.currentMenuView(), MenuView::StatsUnit);
    ASSERT_NE(app.currentUnitDocument(), nullptr);
    EXPECT_EQ(frame.unitKind, UnitKind::Statistics);
    EXPECT_TRUE(frame.unitAuthoring);
    EXPECT_EQ(frame.unitTitle, "Statistics Unit");
}

TEST_F(WorkshopApp, GeoAndStatsOpenOnlyTheGeometryUnit) {
    ASSERT_TRUE(app.InitInstance({"/stats", "/geo"}, dir.str(), "/home/pupil/Desktop"));
    EXPECT_EQ(frame.unitKind, UnitKind::Geometry);
    EXPECT_FALSE(frame.Called("unit Statistics Unit"));
    EXPECT_EQ(host.caption, "Quorvel Demonstration - Geometry Unit");
}

TEST_F(WorkshopApp, PatternsSwitchesOpenTheirEnvironment) {
    ASSERT_TRUE(app.InitInstance({"/designs"}, dir.str(), "/home/pupil/Desktop"));
    EXPECT_EQ(app.currentMenuView(), MenuView::PatternsUnit);
    EXPECT_EQ(frame.unitKind, UnitKind::Designs);
    EXPECT_FALSE(app.environmentPanelShown());
}

// A document on the command line opens after the switches, in the unit of its signature; one
// of no known kind says so and leaves the pupil at the main menu, whatever the switch opened.
TEST_F(WorkshopApp, CommandLineDocumentOpensAfterTheSwitches) {
    dir.AddActivity(UnitKind::Geometry, "tiles work.qvg");
    std::ofstream(dir.classFile("junk.qvd")) << "not a document";
    ASSERT_TRUE(app.InitInstance({"/codes", dir.classFile("tiles work.qvg")}, dir.str(), "/h"));
    EXPECT_EQ(frame.unitKind, UnitKind::Geometry);
    EXPECT_EQ(app.currentUnitDocument()->filePath(), dir.classFile("tiles work.qvg"));

    CWorkshopApp second{host, frame};
    host.prompter.messages.clear();
    ASSERT_TRUE(second.InitInstance({"/codes", dir.classFile("junk.qvd")}, dir.str(), "/h"));
    EXPECT_EQ(host.prompter.LastText(), kFailedToOpen);
    EXPECT_EQ(second.currentUnitDocument(), nullptr);
    EXPECT_EQ(second.currentMenuView(), MenuView::Main);
}

TEST_F(WorkshopApp, UnitMenusOutsideOneToThreeDoNothing) {
    Start();
    for (int n : {-1, 0, 4, 100}) {
        EXPECT_FALSE(app.ShowUnitMenu(n)) << n;
    }
    EXPECT_TRUE(frame.calls.empty());
    EXPECT_TRUE(host.prompter.messages.empty());
    EXPECT_EQ(app.currentMenuView(), MenuView::Main);
}

TEST_F(WorkshopApp, InvestigationsMenusOutsideZeroToTwoDoNothing) {
    Start();
    for (int i : {-1, 3, 7}) {
        EXPECT_FALSE(app.GetInvestigationsMenu(i)) << i;
        EXPECT_FALSE(app.SelectInvestigation(i, 0)) << i;
        EXPECT_FALSE(app.LaunchActivity(i, 1430)) << i;
    }
    app.ShowInvestigation(0, 1);
    app.ShowInvestigation(4, 1);
    EXPECT_TRUE(frame.calls.empty());
    EXPECT_EQ(app.currentMenuView(), MenuView::Main);
}

TEST_F(WorkshopApp, MenuPagesAreMadeOnceAndSwapped) {
    Start();
    EnterUnitMenu(1);
    app.Back();
    EnterUnitMenu(1);
    int made = 0;
    for (const auto& c : frame.calls)
        made += c == "create GeometryUnit";
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(frame.Called("show GeometryUnit hide Main"));
    EXPECT_TRUE(frame.Called("show Main hide GeometryUnit"));
    EXPECT_EQ(host.caption, "Quorvel Demonstration - Tiles and Tessellations");
}

TEST_F(WorkshopApp, InvestigationButtonsSelectAndBackReturnsToTheUnitMenu) {
    Start();
    EnterUnitMenu(1);
    app.ShowInvestigation(1, 3);
    EXPECT_EQ(app.currentMenuView(), MenuView::GeometryInvestigations);
    EXPECT_EQ(app.previousMenuView(), MenuView::GeometryUnit);
    EXPECT_EQ(app.selectedInvestigation(kGeometryInvestigations), 2);
    EXPECT_EQ(app.menuViewTitle(MenuView::GeometryInvestigations), "Tessellations and Cores");
    EXPECT_EQ(host.caption, "Quorvel Demonstration - Tessellations and Cores");

    app.Back();
    EXPECT_EQ(app.currentMenuView(), MenuView::GeometryUnit);
    app.Back();
    EXPECT_EQ(app.currentMenuView(), MenuView::Main);
    EXPECT_EQ(frame.closeRequests, 0);
    app.Back();
    EXPECT_EQ(frame.closeRequests, 1);
}

TEST_F(WorkshopApp, EachUnitMenuLeadsToItsInvestigationsMenu) {
    Start();
    const std::pair<int, MenuView> expected[] = {{1, MenuView::GeometryInvestigations},
                                                 {2, MenuView::PatternsInvestigations},
                                                 {3, MenuView::StatsInvestigations}};
    for (const auto& [n, view] : expected) {
        EnterUnitMenu(n);
        app.ShowInvestigation(n, 5);
        EXPECT_EQ(app.currentMenuView(), view) << n;
        EXPECT_EQ(app.selectedInvestigation(InvestigationsMenuOf(view)), 4);
        app.Back();
        app.Back();
    }
    EXPECT_EQ(app.menuViewTitle(MenuView::PatternsInvestigations),
              "Problem Solving With Number Machines");
    EXPECT_EQ(app.menuViewTitle(MenuView::StatsInvestigations), "Describing Us");
}

TEST_F(WorkshopApp, MenuCommandsDoWhatTheirPagesButtonsSay) {
    Start();
    const struct {
        MenuView page;
        int id;
        bool handled;
        MenuView shown;
        bool panel;
    } steps[] = {
        {MenuView::Main, kCmdExplore, false, MenuView::Main, false},
        {MenuView::Main, kCmdStatsUnitMenu, true, MenuView::StatsUnit, false},
        {MenuView::StatsUnit, kCmdViewIntro, false, MenuView::StatsUnit, false},
        {MenuView::StatsUnit, InvestigationCommand(2), true, MenuView::StatsInvestigations, false},
        {MenuView::StatsInvestigations, kCmdMenuBack, true, MenuView::StatsUnit, false},
        {MenuView::StatsUnit, kCmdMenuBack, true, MenuView::Main, false},
        {MenuView::Main, kCmdPatternsUnitMenu, true, MenuView::PatternsUnit, false},
        {MenuView::PatternsUnit, kCmdMakeChallenges, true, MenuView::PatternsUnit, true},
        // The panel's back closes only the panel; the page's back then leaves the page.
        {MenuView::PatternsUnit, kCmdMenuBack, true, MenuView::PatternsUnit, false},
        {MenuView::PatternsUnit, kCmdLastInvestigation, true, MenuView::PatternsInvestigations,
         false},
        {MenuView::PatternsInvestigations, kCmdMenuBack, true, MenuView::PatternsUnit, false},
        {MenuView::PatternsUnit, kCmdMenuBack, true, MenuView::Main, false},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(app.OnMenuCommand(s.page, s.id), s.handled) << s.id;
        EXPECT_EQ(app.currentMenuView(), s.shown) << s.id;
        EXPECT_EQ(app.environmentPanelShown(), s.panel) << s.id;
    }
    EXPECT_EQ(app.selectedInvestigation(kStatsInvestigations), 1);
    EXPECT_EQ(app.selectedInvestigation(kPatternsInvestigations), 4);
    EXPECT_EQ(app.currentUnitDocument(), nullptr);

    // An environment opens with the activity that opened the panel.
    EnterUnitMenu(kPatternsUnitMenu);
    app.OnMenuCommand(MenuView::PatternsUnit, kCmdMakeChallenges);
    EXPECT_TRUE(app.OnMenuCommand(MenuView::PatternsUnit, kCmdDesignsEnvironment));
    EXPECT_EQ(frame.unitKind, UnitKind::Designs);
    ASSERT_NE(app.currentUnitDocument(), nullptr);
    EXPECT_EQ(app.currentUnitDocument()->activityName(), "MyChallenge");
}

TEST_F(WorkshopApp, MenuCreationFailuresKeepTheCurrentPage) {
    Start();
    frame.refuse = {MenuView::StatsUnit, MenuView::PatternsInvestigations};
    EXPECT_FALSE(app.ShowUnitMenu(3));
    ASSERT_EQ(host.prompter.messages.size(), 1u);
    EXPECT_EQ(host.prompter.messages[0].text, "Unit Menu Creation FAILURE!");
    EXPECT_EQ(app.currentMenuView(), MenuView::Main);

    EnterUnitMenu(2);
    app.ShowInvestigation(2, 1);
    ASSERT_EQ(host.prompter.messages.size(), 1u);
    EXPECT_EQ(host.prompter.messages[0].text, "Investigation Menu Creation FAILURE!");
    EXPECT_EQ(app.currentMenuView(), MenuView::PatternsUnit);
}

TEST_F(WorkshopApp, UnitMenuOpensItsGuideWithTheDesktop) {
    dir.AddDoc("Tiles Guide.rtf");
    Start();
    ASSERT_TRUE(app.ShowUnitMenu(1));
    ASSERT_EQ(frame.opened.size(), 1u);
    EXPECT_EQ(frame.opened[0], dir.str() + "/docs/Tiles Guide.rtf");
    EXPECT_TRUE(host.prompter.messages.empty());
}

TEST_F(WorkshopApp, MissingGuideGivesTheFixedMessage) {
    Start();
    ASSERT_TRUE(app.ShowUnitMenu(2));
    EXPECT_TRUE(frame.opened.empty());
    ASSERT_EQ(host.prompter.messages.size(), 1u);
    EXPECT_EQ(host.prompter.messages[0].text,
              "Sorry, an error occured while trying to open\r\n\"" + dir.str() +
                  "/docs/Patterns Guide.rtf\".\r\nPlease contact your vendor.");
}

TEST_F(WorkshopApp, IntroThatCannotBeOpenedGivesTheFixedMessage) {
    dir.AddDoc("intro.pdf");
    Start();
    frame.desktopFails = true;
    app.ViewIntro();
    ASSERT_EQ(frame.opened.size(), 1u);
    EXPECT_EQ(frame.opened[0], dir.str() + "/docs/intro.pdf");
    ASSERT_EQ(host.prompter.messages.size(), 1u);
    EXPECT_NE(host.prompter.messages[0].text.find("\"" + dir.str() + "/docs/intro.pdf\""),
              std::string::npos);
}

struct TableRow {
    int menu;
    int investigation; // 1..5
    int button;
    UnitKind unit;
    const char* file;
    const char* name;
    const char* title;
};

TEST_F(WorkshopApp, ActivityTableOpensUnitNameAndClassFile) {
    const TableRow rows[] = {
        {kGeometryInvestigations, 1, 1430, UnitKind::Geometry, "11w.qvg", "Shapes",
         "Geometry Unit"},
        {kGeometryInvestigations, 2, 1430, UnitKind::Geometry, "21w.qvg", "Angles",
         "Geometry Unit"},
        {kGeometryInvestigations, 3, 1430, UnitKind::Geometry, "31w.qvg", "Cores", "Geometry Unit"},
        {kGeometryInvestigations, 5, 1430, UnitKind::Geometry, "51w.qvg", "Project",
         "Geometry Unit"},
        {kGeometryInvestigations, 3, 1442, UnitKind::Geometry, "31s3.qvg", "CoresC",
         "Geometry Unit"},
        {kGeometryInvestigations, 5, 1442, UnitKind::Geometry, "51s3.qvg", "ProjectC",
         "Geometry Unit"},
        {kGeometryInvestigations, 3, 1443, UnitKind::Geometry, "31s4.qvg", "CoresD",
         "Geometry Unit"},
        {kStatsInvestigations, 1, 1440, UnitKind::Statistics, "11s.qvs", "demo", "Statistics Unit"},
        {kStatsInvestigations, 2, 1440, UnitKind::Statistics, "21s.qvs", "demo", "Statistics Unit"},
        {kStatsInvestigations, 3, 1440, UnitKind::Statistics, "staps90A.qvs", "demo",
         "Statistics Unit"},
        {kStatsInvestigations, 4, 1440, UnitKind::Statistics, "staps90B.qvs", "demo",
         "Statistics Unit"},
        {kPatternsInvestigations, 5, 1431, UnitKind::Numbers, "51w.qvn", "Party",
         "Patterns Unit - Numbers"},
        {kPatternsInvestigations, 1, 1450, UnitKind::Codes, "11c1.qvc", "Codec1",
         "Patterns Unit - Codes"},
        {kPatternsInvestigations, 1, 1451, UnitKind::Codes, "11c2.qvc", "Codedec2",
         "Patterns Unit - Codes"},
        {kPatternsInvestigations, 1, 1452, UnitKind::Codes, "11c3.qvc", "Codedec3",
         "Patterns Unit - Codes"},
        {kPatternsInvestigations, 1, 1453, UnitKind::Codes, "11c4.qvc", "Codedec4",
         "Patterns Unit - Codes"},
        {kPatternsInvestigations, 2, 1450, UnitKind::Designs, "22c1.qvd", "MDesign1",
         "Patterns Unit - Designs"},
        {kPatternsInvestigations, 2, 1451, UnitKind::Designs, "22c2.qvd", "MDesign2",
         "Patterns Unit - Designs"},
        {kPatternsInvestigations, 2, 1452, UnitKind::Designs, "22c3.qvd", "MDesign3",
         "Patterns Unit - Designs"},
        {kPatternsInvestigations, 2, 1453, UnitKind::Designs, "22c4.qvd", "MDesign4",
         "Patterns Unit - Designs"},
        {kPatternsInvestigations, 2, 1454, UnitKind::Designs, "22c5.qvd", "MDesign5",
         "Patterns Unit - Designs"},
        {kPatternsInvestigations, 2, 1619, UnitKind::Designs, "22m.qvd", "MakeMyst",
         "Patterns Unit - Designs"},
    };
    for (const auto& r : rows)
        dir.AddActivity(r.unit, r.file);
    Start();
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.file));
        ASSERT_TRUE(app.GetInvestigationsMenu(r.menu));
        ASSERT_TRUE(app.SelectInvestigation(r.menu, r.investigation - 1));
        ASSERT_TRUE(app.LaunchActivity(r.menu, r.button));
        CUnitDocument* doc = app.currentUnitDocument();
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(frame.unitDocument, doc);
        EXPECT_EQ(frame.unitKind, r.unit);
        EXPECT_EQ(frame.unitTitle, r.title);
        EXPECT_EQ(doc->activityName(), r.name);
        EXPECT_EQ(doc->activityPath(), dir.classFile(r.file));
        EXPECT_FALSE(doc->problemSetMode());
        EXPECT_EQ(app.chosenActivity(r.menu)->button, r.button);
        ASSERT_TRUE(app.LeaveUnit());
        EXPECT_EQ(app.currentUnitDocument(), nullptr);
    }
    EXPECT_TRUE(host.prompter.messages.empty());
}

TEST_F(WorkshopApp, EveryButtonOfEveryInvestigationOpensItsUnit) {
    Start();
    for (int menu = 0; menu <= 2; ++menu) {
        ASSERT_TRUE(app.GetInvestigationsMenu(menu));
        for (int k = 0; k < kInvestigationsPerMenu; ++k) {
            ASSERT_TRUE(app.SelectInvestigation(menu, k));
            for (const auto& row : FindInvestigation(menu, k)->rows) {
                for (const auto& a : row.activities) {
                    SCOPED_TRACE(std::to_string(menu) + "/" + std::to_string(k) + "/" +
                                 std::to_string(a.button));
                    host.prompter.answers = {MessageResult::Ok, MessageResult::Ok};
                    ASSERT_TRUE(app.LaunchActivity(menu, a.button));
                    ASSERT_NE(app.currentUnitDocument(), nullptr);
                    EXPECT_EQ(frame.unitKind, a.unit);
                    EXPECT_EQ(app.instructionText(menu), a.instructions);
                    ASSERT_TRUE(app.LeaveUnit());
                }
            }
        }
    }
}

TEST_F(WorkshopApp, ButtonsAnInvestigationDoesNotShowOpenNothing) {
    Start();
    ASSERT_TRUE(app.GetInvestigationsMenu(kGeometryInvestigations));
    ASSERT_TRUE(app.SelectInvestigation(kGeometryInvestigations, 0)); // Discovering Tessellations
    EXPECT_FALSE(app.LaunchActivity(kGeometryInvestigations, 1460));
    EXPECT_FALSE(app.LaunchActivity(kGeometryInvestigations, 1443));
    EXPECT_EQ(app.currentUnitDocument(), nullptr);
}

TEST_F(WorkshopApp, ProblemSetShowsTheIntroductionAndStartsFiveProblems) {
    Start();
    ASSERT_TRUE(app.GetInvestigationsMenu(kGeometryInvestigations));
    ASSERT_TRUE(app.SelectInvestigation(kGeometryInvestigations, 3)); // Core Creations
    ASSERT_TRUE(app.LaunchActivity(kGeometryInvestigations, 1461));
    CUnitDocument* doc = app.currentUnitDocument();
    ASSERT_NE(doc, nullptr);
    ASSERT_FALSE(host.prompter.messages.empty());
    EXPECT_EQ(host.prompter.messages[0].text.rfind(
                  "In the following problems, you will see a tessellation and four cores that "
                  "could have made the tessellation.",
                  0),
              0u);
    EXPECT_EQ(doc->activityName(), "probset1");
    EXPECT_TRUE(doc->problemSetMode());
    EXPECT_EQ(doc->problemPosition(), (CProblemPosition{0, 3, 0}));
    EXPECT_EQ(doc->level(), 1);
}

TEST_F(WorkshopApp, StatisticsProblemSetsNameEachLevel) {
    Start();
    ASSERT_TRUE(app.GetInvestigationsMenu(kStatsInvestigations));
    ASSERT_TRUE(app.SelectInvestigation(kStatsInvestigations, 3)); // Asking More Questions
    const char* names[] = {"probset1", "probset2", "probset3"};
    for (int level = 0; level < 3; ++level) {
        host.prompter.messages.clear();
        ASSERT_TRUE(app.LaunchActivity(kStatsInvestigations, 1460 + level));
        EXPECT_EQ(app.currentUnitDocument()->activityName(), names[level]);
        ASSERT_FALSE(host.prompter.messages.empty());
        EXPECT_EQ(host.prompter.messages[0].text.rfind("In the following problems, there will be "
                                                       "collections of data.",
                                                       0),
                  0u);
        ASSERT_TRUE(app.LeaveUnit());
    }
}

TEST_F(WorkshopApp, FriendsDesignOpensAnEmptyDesignsDocumentAndTheFileDialog) {
    Start();
    ASSERT_TRUE(app.GetInvestigationsMenu(kPatternsInvestigations));
    ASSERT_TRUE(app.SelectInvestigation(kPatternsInvestigations, 1));
    ASSERT_TRUE(app.LaunchActivity(kPatternsInvestigations, 1624));
    EXPECT_EQ(frame.unitKind, UnitKind::Designs);
    ASSERT_EQ(host.chooser.requests.size(), 1u);
    EXPECT_FALSE(host.chooser.requests[0].save);
    EXPECT_EQ(host.chooser.requests[0].defaultExtension, "qvd");
    EXPECT_EQ(host.chooser.requests[0].initialFolder, app.Directories().bulletinBoard);
}

TEST_F(WorkshopApp, PatternsEnvironmentPanelOpensEachEnvironment) {
    Start();
    EnterUnitMenu(2);
    app.OnUnitMenuActivity(kPatternsUnitMenu, UnitMenuActivity::Explore);
    EXPECT_TRUE(app.environmentPanelShown());
    EXPECT_EQ(app.currentUnitDocument(), nullptr);
    app.OpenPatternsEnvironment(1);
    EXPECT_FALSE(app.environmentPanelShown());
    EXPECT_EQ(frame.unitKind, UnitKind::Numbers);
    ASSERT_TRUE(app.LeaveUnit());

    app.OnUnitMenuActivity(kPatternsUnitMenu, UnitMenuActivity::Explore);
    app.Back(); // the panel's back and the page's back both close it
    EXPECT_FALSE(app.environmentPanelShown());
    EXPECT_EQ(app.currentMenuView(), MenuView::Main);
}

TEST_F(WorkshopApp, LeavingAModifiedUnitAsksToSave) {
    Start();
    CUnitDocument* doc = app.OpenGeometryUnit();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(true);

    host.prompter.answers = {MessageResult::Cancel};
    EXPECT_FALSE(app.LeaveUnit());
    EXPECT_EQ(app.currentUnitDocument(), doc);
    EXPECT_EQ(host.prompter.LastText(),
              "The document has been modified. Do you wish to save your changes?");

    host.prompter.answers = {MessageResult::No};
    EXPECT_TRUE(app.LeaveUnit());
    EXPECT_EQ(app.currentUnitDocument(), nullptr);
    EXPECT_TRUE(frame.Called("close unit"));
    EXPECT_EQ(host.caption, "Quorvel Demonstration - Main Menu");
}

TEST_F(WorkshopApp, UnitPageThatCannotBeMadeOpensNothing) {
    Start();
    frame.refuseUnitPage = true;
    EXPECT_EQ(app.OpenStatisticsUnit(), nullptr);
    EXPECT_EQ(app.currentUnitDocument(), nullptr);
}

TEST_F(WorkshopApp, ExitQuestionYes) {
    Start();
    host.prompter.answers = {MessageResult::Yes};
    EXPECT_TRUE(app.QueryExit());
    ASSERT_EQ(host.prompter.messages.size(), 1u);
    EXPECT_EQ(host.prompter.messages[0].text, "Do you want to exit the Quorvel Demonstration?");
    EXPECT_EQ(host.prompter.messages[0].buttons, MessageButtons::YesNo);
}

TEST_F(WorkshopApp, ExitQuestionNo) {
    Start();
    host.prompter.answers = {MessageResult::No};
    EXPECT_FALSE(app.QueryExit());
    EXPECT_EQ(app.currentMenuView(), MenuView::Main);
}

TEST_F(WorkshopApp, ExitingWithUnsavedWorkOffersToSaveIt) {
    Start();
    CUnitDocument* doc = app.OpenGeometryUnit();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag();

    host.prompter.answers = {MessageResult::Yes, MessageResult::Cancel};
    EXPECT_FALSE(app.QueryExit()) << "Cancel in the save question keeps the program open";
    ASSERT_EQ(host.prompter.messages.size(), 2u);
    EXPECT_EQ(host.prompter.messages[1].text,
              "The document has been modified. Do you wish to save your changes?");

    host.prompter.answers = {MessageResult::Yes, MessageResult::No};
    EXPECT_TRUE(app.QueryExit());

    doc->SetModifiedFlag(false);
    host.prompter.messages.clear();
    host.prompter.answers = {MessageResult::Yes};
    EXPECT_TRUE(app.QueryExit());
    EXPECT_EQ(host.prompter.messages.size(), 1u) << "nothing to save, nothing asked";
}

TEST_F(WorkshopApp, DocumentsAskTheAppForFolders) {
    Start({"-p", "/home/Ann", "-c", "/c", "-b", "/b", "-t", "/t"});
    CUnitDocument* doc = app.OpenCodesUnit();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->host(), &app);
    EXPECT_FALSE(doc->FileOpen()); // the chooser answers Cancel
    ASSERT_EQ(host.chooser.requests.size(), 1u);
    EXPECT_EQ(host.chooser.requests[0].initialFolder, "/home/Ann");
    EXPECT_EQ(host.chooser.requests[0].teacherBulletinBoardFolder, "/t");
}

} // namespace
} // namespace quorvel
