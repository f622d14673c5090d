// The application: start-up, the four working folders, navigation among the menu pages, the
// unit documents the activities open, the launching of guides and the exit question.
#pragma once

#include "app/activities.h"
#include "app/command_line.h"
#include "app/menu_commands.h"
#include "app/recent_files.h"
#include "app/workshop_frame.h"
#include "workspace/document_host.h"
#include "workspace/notepad_text.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class CAutosave;
class CUnitDocument;
struct CRecoveryCopy;

inline constexpr const char* kAppTitle = "Quorvel Demonstration";
inline constexpr const char* kMainMenuTitle = "Main Menu";
inline constexpr const char* kExitQuestion = "Do you want to exit the Quorvel Demonstration?";
inline constexpr const char* kMainDocumentFailure =
    "Failed to load the main document; application terminating!";
inline constexpr const char* kUnitMenuFailure = "Unit Menu Creation FAILURE!";
inline constexpr const char* kInvestigationMenuFailure = "Investigation Menu Creation FAILURE!";
inline constexpr const char* kOpenFailure =
    "Sorry, an error occured while trying to open\r\n\"%s\".\r\nPlease contact your vendor.";
inline constexpr const char* kIntroFile = "intro.pdf";
inline constexpr const char* kAnyDocumentFilter =
    "Quorvel (*.qvg;*.qvd;*.qvc;*.qvn;*.qvs)|*.qvg;*.qvd;*.qvc;*.qvn;*.qvs||All Files (*.*)|*.*||";

// The application is the host of every unit document: it forwards dialogs and the caption
// to the platform and answers with its own folders.
class CWorkshopApp : public IDocumentHost {
public:
    CWorkshopApp(IDocumentHost& platform, IWorkshopFrame& frame);
    ~CWorkshopApp() override;
    CWorkshopApp(const CWorkshopApp&) = delete;
    CWorkshopApp& operator=(const CWorkshopApp&) = delete;

    // Start-up: seed, folders, command line, main menu, the unit the command line names.
    // False when the program cannot start.
    bool InitInstance(const std::vector<std::string>& args, const std::string& programDir,
                      const std::string& personalDir);

    // Navigation.
    bool LoadMainDocument();
    bool ShowMainMenu();
    bool ShowUnitMenu(int n);
    bool GetInvestigationsMenu(int i);
    bool SwitchMenuView(MenuView view);
    bool SelectInvestigation(int menu, int k);
    // Investigation button n (1..5) of unit menu `unitMenu` (1..3).
    void ShowInvestigation(int unitMenu, int n);
    // The back button of the page shown.
    void Back();
    // A button of menu page `page` by its command id (MenuCommand, or an investigations
    // menu's activity button); false when the page has no such command.
    bool OnMenuCommand(MenuView page, int id);

    // Unit menus.
    void OnUnitMenuActivity(int unitMenu, UnitMenuActivity what);
    void OpenPatternsEnvironment(int k);
    void CloseEnvironmentPanel();
    bool environmentPanelShown() const { return m_panelShown; }
    void ShowUnitGuide(int unitMenu);
    void ViewIntro();

    // Investigations menus: the button `button` of the investigation shown in `menu`.
    bool LaunchActivity(int menu, int button);

    // Units.
    CUnitDocument* OpenGeometryUnit() { return OpenUnit(UnitKind::Geometry); }
    CUnitDocument* OpenDesignsUnit() { return OpenUnit(UnitKind::Designs); }
    CUnitDocument* OpenNumbersUnit() { return OpenUnit(UnitKind::Numbers); }
    CUnitDocument* OpenCodesUnit() { return OpenUnit(UnitKind::Codes); }
    CUnitDocument* OpenStatisticsUnit() { return OpenUnit(UnitKind::Statistics); }
    CUnitDocument* OpenUnit(UnitKind unit);
    // Leaves the unit shown (exit button, "E&xit"): asks to save first; false on Cancel.
    bool LeaveUnit();

    // The File menu of the menu pages. A document of any unit opens in that unit's page, told
    // by its signature; a file of no known kind gives "Failed to open document.".
    bool OpenDocumentFile(const std::string& path);
    // "&Open...": the file question over every kind of Quorvel document, then the above.
    bool ChooseDocumentFile();
    // A recent file; a missing one leaves the list with a message.
    bool OpenRecentFile(std::size_t index);
    CRecentFiles& recentFiles() { return m_recent; }

    // Recovery copies: this program's (null: none are kept). OfferRecovery asks about each
    // copy left behind by a program no longer running, newest first: Yes opens it in its
    // unit, modified, with its own path for Save; No removes it.
    void SetAutosave(CAutosave* autosave) { m_autosave = autosave; }
    void OfferRecovery();
    // Copies the unit's document when it changed (the interval, focus lost, session end).
    void AutosaveNow();
    // Removes the copy once the document is saved or gone.
    void RefreshRecovery();

    // Closing the main window: the exit question; true when the pupil answers Yes.
    bool QueryExit();

    // Opens a file of the docs folder (or any path) with the desktop's application for it,
    // with the fixed message when it is missing or cannot be opened.
    bool LaunchDocument(const std::string& path);

    // State.
    bool authoring() const { return m_authoring; }
    const std::string& programDirectory() const { return m_programDir; }
    std::string docsDirectory() const;
    StartUnit startUnit() const { return m_startUnit; }
    MenuView currentMenuView() const { return m_current; }
    MenuView previousMenuView() const { return m_previous; }
    bool menuViewCreated(MenuView view) const;
    int selectedInvestigation(int menu) const;
    // The activity whose instructions the menu's box shows; nullptr for the overview.
    const CActivity* chosenActivity(int menu) const;
    std::string instructionText(int menu) const;
    std::string menuViewTitle(MenuView view) const;
    CUnitDocument* currentUnitDocument() const { return m_unit.get(); }
    UnitKind currentUnit() const { return m_unitKind; }

    // IDocumentHost.
    IPrompter& Prompter() override;
    IFileChooser& FileChooser() override;
    const CDirectories& Directories() const override { return m_directories; }
    void SetDirectories(const CDirectories& d) { m_directories = d; }
    std::string MainCaption() const override;
    void SetMainCaption(const std::string& caption) override;
    void SetStatusText(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void LogError(const std::string& detail) override;
    CNotepadText* Notepad() override { return &m_notepad; }
    bool AuthoringMode() const override { return m_authoring; }
    void DocumentFileUsed(const std::string& path) override;
    CNotepadText& notepad() { return m_notepad; }

private:
    void ChooseActivity(int menu, const CActivity* activity);
    void RunUnitMenuActivity(CUnitDocument& doc, UnitMenuActivity what);
    void RecoverCopy(const CRecoveryCopy& copy);
    void DiscardRecoveryCopy();

    IDocumentHost& m_platform;
    IWorkshopFrame& m_frame;
    CDirectories m_directories;
    std::string m_programDir;
    bool m_authoring = false;
    StartUnit m_startUnit = StartUnit::None;

    MenuView m_current = MenuView::None;
    MenuView m_previous = MenuView::None;
    std::vector<MenuView> m_created;
    std::array<int, 3> m_investigation{0, 0, 0};
    std::array<const CActivity*, 3> m_chosen{nullptr, nullptr, nullptr};
    bool m_panelShown = false;
    UnitMenuActivity m_panelActivity = UnitMenuActivity::Explore;

    std::unique_ptr<CUnitDocument> m_unit;
    UnitKind m_unitKind = UnitKind::Geometry;
    CNotepadText m_notepad;
    CRecentFiles m_recent;
    CAutosave* m_autosave = nullptr;
};

} // namespace quorvel
