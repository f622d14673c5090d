// Start-up, navigation among the menu pages, activities and the exit question.
#include "app/workshop_app.h"

#include "app/directories.h"
#include "app/recovery.h"
#include "workspace/file_chooser.h"
#include "workspace/file_store.h"
#include "workspace/prompter.h"
#include "workspace/random.h"
#include "workspace/unit_document.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

namespace quorvel {

MenuView UnitMenuView(int unitMenu) {
    switch (unitMenu) {
    case kGeometryUnitMenu:
        return MenuView::GeometryUnit;
    case kPatternsUnitMenu:
        return MenuView::PatternsUnit;
    case kStatsUnitMenu:
        return MenuView::StatsUnit;
    default:
        return MenuView::None;
    }
}

MenuView InvestigationsMenuView(int menu) {
    switch (menu) {
    case kStatsInvestigations:
        return MenuView::StatsInvestigations;
    case kPatternsInvestigations:
        return MenuView::PatternsInvestigations;
    case kGeometryInvestigations:
        return MenuView::GeometryInvestigations;
    default:
        return MenuView::None;
    }
}

int UnitMenuOf(MenuView view) {
    for (int n = 1; n <= 3; ++n)
        if (UnitMenuView(n) == view)
            return n;
    return -1;
}

int InvestigationsMenuOf(MenuView view) {
    for (int i = 0; i <= 2; ++i)
        if (InvestigationsMenuView(i) == view)
            return i;
    return -1;
}

CWorkshopApp::CWorkshopApp(IDocumentHost& platform, IWorkshopFrame& frame)
    : m_platform(platform), m_frame(frame) {}

CWorkshopApp::~CWorkshopApp() = default;

bool CWorkshopApp::InitInstance(const std::vector<std::string>& args, const std::string& programDir,
                                const std::string& personalDir) {
    SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    m_programDir = programDir;
    m_directories = DefaultDirectories(programDir, personalDir);
    const CCommandLine parsed = ParseArguments(args, m_directories);
    m_authoring = parsed.authoring;
    m_startUnit = parsed.unit;
    m_directories = parsed.directories;
    if (!LoadMainDocument()) {
        Prompter().MessageBox(kMainDocumentFailure, MessageIcon::Stop);
        return false;
    }
    switch (m_startUnit) {
    case StartUnit::None:
        break;
    case StartUnit::Geometry:
        if (ShowUnitMenu(kGeometryUnitMenu))
            OnUnitMenuActivity(kGeometryUnitMenu, UnitMenuActivity::Explore);
        break;
    case StartUnit::Statistics:
        if (ShowUnitMenu(kStatsUnitMenu))
            OnUnitMenuActivity(kStatsUnitMenu, UnitMenuActivity::Explore);
        break;
    case StartUnit::Codes:
    case StartUnit::Numbers:
    case StartUnit::Designs:
        if (ShowUnitMenu(kPatternsUnitMenu))
            OpenPatternsEnvironment(m_startUnit == StartUnit::Codes     ? 0
                                    : m_startUnit == StartUnit::Numbers ? 1
                                                                        : 2);
        break;
    }
    // A document named on the command line opens last, in the unit its signature names; one
    // that cannot be opened has said why and leaves the pupil at the main menu.
    if (!parsed.documentFile.empty() && !OpenDocumentFile(parsed.documentFile)) {
        CloseEnvironmentPanel();
        if (LeaveUnit())
            ShowMainMenu();
    }
    return true;
}

bool CWorkshopApp::menuViewCreated(MenuView view) const {
    return std::find(m_created.begin(), m_created.end(), view) != m_created.end();
}

bool CWorkshopApp::LoadMainDocument() {
    if (!menuViewCreated(MenuView::Main)) {
        if (!m_frame.CreateMenuView(MenuView::Main))
            return false;
        m_created.push_back(MenuView::Main);
    }
    return SwitchMenuView(MenuView::Main);
}

bool CWorkshopApp::ShowMainMenu() {
    return SwitchMenuView(MenuView::Main);
}

bool CWorkshopApp::ShowUnitMenu(int n) {
    const MenuView view = UnitMenuView(n);
    if (view == MenuView::None)
        return false;
    if (!menuViewCreated(view)) {
        if (!m_frame.CreateMenuView(view)) {
            Prompter().MessageBox(kUnitMenuFailure, MessageIcon::Stop);
            return false;
        }
        m_created.push_back(view);
    }
    if (!SwitchMenuView(view))
        return false;
    ShowUnitGuide(n);
    return true;
}

bool CWorkshopApp::GetInvestigationsMenu(int i) {
    const MenuView view = InvestigationsMenuView(i);
    if (view == MenuView::None)
        return false;
    if (!menuViewCreated(view)) {
        if (!m_frame.CreateMenuView(view)) {
            Prompter().MessageBox(kInvestigationMenuFailure, MessageIcon::Stop);
            return false;
        }
        m_created.push_back(view);
    }
    return true;
}

bool CWorkshopApp::SwitchMenuView(MenuView view) {
    if (view == MenuView::None || !menuViewCreated(view))
        return false;
    if (view != m_current) {
        const MenuView old = m_current;
        m_frame.ShowMenuView(view, old);
        m_previous = old;
        m_current = view;
    }
    if (!m_unit)
        SetMainCaption(std::string(kAppTitle) + " - " + menuViewTitle(view));
    return true;
}

bool CWorkshopApp::SelectInvestigation(int menu, int k) {
    if (!FindInvestigation(menu, k) || !menuViewCreated(InvestigationsMenuView(menu)))
        return false;
    m_investigation[static_cast<std::size_t>(menu)] = k;
    m_chosen[static_cast<std::size_t>(menu)] = nullptr;
    m_frame.InvestigationChanged(menu);
    m_frame.InstructionsChanged(menu);
    return true;
}

void CWorkshopApp::ShowInvestigation(int unitMenu, int n) {
    const int menu = InvestigationsMenuOfUnit(unitMenu);
    if (menu < 0 || n < 1 || n > kInvestigationsPerMenu || !GetInvestigationsMenu(menu))
        return;
    SelectInvestigation(menu, n - 1);
    SwitchMenuView(InvestigationsMenuView(menu));
}

void CWorkshopApp::Back() {
    if (m_current == MenuView::Main) {
        m_frame.CloseMainWindow();
    } else if (UnitMenuOf(m_current) > 0) {
        if (m_current == MenuView::PatternsUnit)
            CloseEnvironmentPanel();
        ShowMainMenu();
    } else if (InvestigationsMenuOf(m_current) >= 0) {
        if (!SwitchMenuView(m_previous))
            ShowMainMenu();
    }
}

bool CWorkshopApp::OnMenuCommand(MenuView page, int id) {
    if (id == kCmdMenuBack) {
        // The Patterns panel's own back only closes the panel.
        if (page == MenuView::PatternsUnit && m_panelShown)
            CloseEnvironmentPanel();
        else
            Back();
        return true;
    }
    if (page == MenuView::Main) {
        if (id == kCmdViewIntro) {
            ViewIntro();
            return true;
        }
        const int unitMenu = UnitMenuOfCommand(id);
        if (unitMenu > 0)
            ShowUnitMenu(unitMenu);
        return unitMenu > 0;
    }
    if (const int k = EnvironmentOfCommand(id); k >= 0 && page == MenuView::PatternsUnit) {
        OpenPatternsEnvironment(k);
        return true;
    }
    if (const int unitMenu = UnitMenuOf(page); unitMenu > 0) {
        if (const auto what = UnitMenuActivityOfCommand(id)) {
            OnUnitMenuActivity(unitMenu, *what);
            return true;
        }
        if (const int n = InvestigationOfCommand(id)) {
            ShowInvestigation(unitMenu, n);
            return true;
        }
        if (id == kCmdUnitGuide) {
            ShowUnitGuide(unitMenu);
            return true;
        }
        return false;
    }
    if (const int menu = InvestigationsMenuOf(page); menu >= 0)
        return LaunchActivity(menu, id);
    return false;
}

void CWorkshopApp::OnUnitMenuActivity(int unitMenu, UnitMenuActivity what) {
    switch (unitMenu) {
    case kGeometryUnitMenu:
    case kStatsUnitMenu:
        if (CUnitDocument* doc =
                OpenUnit(unitMenu == kGeometryUnitMenu ? UnitKind::Geometry : UnitKind::Statistics))
            RunUnitMenuActivity(*doc, what);
        break;
    case kPatternsUnitMenu:
        // The pupil first picks the environment: Codes, Numbers or Designs.
        m_panelActivity = what;
        if (!m_panelShown) {
            m_panelShown = true;
            m_frame.EnvironmentPanelChanged(true);
        }
        break;
    default:
        break;
    }
}

void CWorkshopApp::RunUnitMenuActivity(CUnitDocument& doc, UnitMenuActivity what) {
    switch (what) {
    case UnitMenuActivity::Explore:
        break;
    case UnitMenuActivity::MakeChallenges:
        // Challenges are shared through the pupils' bulletin board.
        doc.SetActivityName("MyChallenge");
        doc.SetDirectoryChoice(DirectoryChoice::BulletinBoard);
        break;
    case UnitMenuActivity::SolveChallenges:
        doc.SetDirectoryChoice(DirectoryChoice::BulletinBoard);
        doc.FileOpen();
        break;
    }
}

void CWorkshopApp::CloseEnvironmentPanel() {
    if (!m_panelShown)
        return;
    m_panelShown = false;
    m_frame.EnvironmentPanelChanged(false);
}

void CWorkshopApp::OpenPatternsEnvironment(int k) {
    CloseEnvironmentPanel();
    static constexpr UnitKind kEnvironments[3] = {UnitKind::Codes, UnitKind::Numbers,
                                                  UnitKind::Designs};
    if (k < 0 || k > 2)
        return;
    const UnitMenuActivity what = m_panelActivity;
    m_panelActivity = UnitMenuActivity::Explore;
    if (CUnitDocument* doc = OpenUnit(kEnvironments[k]))
        RunUnitMenuActivity(*doc, what);
}

std::string CWorkshopApp::docsDirectory() const {
    return JoinPath(m_programDir, "docs");
}

void CWorkshopApp::ShowUnitGuide(int unitMenu) {
    if (UnitMenuView(unitMenu) != MenuView::None)
        LaunchDocument(JoinPath(docsDirectory(), UnitGuideFile(unitMenu)));
}

void CWorkshopApp::ViewIntro() {
    LaunchDocument(JoinPath(docsDirectory(), kIntroFile));
}

bool CWorkshopApp::LaunchDocument(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec) && m_frame.OpenWithDesktop(path))
        return true;
    std::string text = kOpenFailure;
    text.replace(text.find("%s"), 2, path);
    Prompter().MessageBox(text, MessageIcon::Exclamation);
    return false;
}

void CWorkshopApp::ChooseActivity(int menu, const CActivity* activity) {
    m_chosen[static_cast<std::size_t>(menu)] = activity;
    m_frame.InstructionsChanged(menu);
}

bool CWorkshopApp::LaunchActivity(int menu, int button) {
    const int k = selectedInvestigation(menu);
    const CActivity* a = FindActivity(menu, k, button);
    if (!a || !menuViewCreated(InvestigationsMenuView(menu)))
        return false;
    ChooseActivity(menu, a);
    CUnitDocument* doc = OpenUnit(a->unit);
    if (!doc)
        return false;
    switch (a->kind) {
    case ActivityKind::Document:
        doc->SetActivityName(a->name);
        if (!a->file.empty())
            doc->OpenActivityFile(JoinPath(m_directories.classDir, a->file));
        break;
    case ActivityKind::ProblemSet: {
        std::string path = m_directories.classDir;
        doc->AppendProblemFileName(path, a->level);
        Prompter().MessageBox(ProblemSetIntroduction(a->unit), MessageIcon::None,
                              MessageButtons::Ok, ProblemSetTitle(a->unit));
        doc->SetActivityName(a->name);
        doc->OpenActivityFile(path);
        // A problem file carries the level it was written at; the run keeps the chosen one.
        doc->SetLevel(a->level);
        doc->SetProblemSequence(CProblemPosition{0, 3, 0}, 5);
        break;
    }
    case ActivityKind::ChooseSaved:
        if (!a->name.empty())
            doc->SetActivityName(a->name);
        doc->SetDirectoryChoice(DirectoryChoice::BulletinBoard);
        doc->FileOpen();
        break;
    }
    return true;
}

CUnitDocument* CWorkshopApp::OpenUnit(UnitKind unit) {
    if (m_unit && !LeaveUnit())
        return nullptr;
    std::unique_ptr<CUnitDocument> doc = CreateUnitDocument(unit);
    if (!doc)
        return nullptr;
    doc->SetHost(this);
    const std::string title = UnitDocumentTitle(unit);
    if (!m_frame.OpenUnitPage(unit, *doc, title, m_authoring && unit == UnitKind::Statistics))
        return nullptr;
    m_unit = std::move(doc);
    m_unitKind = unit;
    SetMainCaption(std::string(kAppTitle) + " - " + title);
    return m_unit.get();
}

bool CWorkshopApp::LeaveUnit() {
    if (!m_unit)
        return true;
    if (!m_unit->AskToSave())
        return false;
    // Saved, or the pupil chose to drop the changes: the copy has done its work.
    DiscardRecoveryCopy();
    m_frame.CloseUnitPage();
    m_unit->SetView(nullptr);
    m_unit.reset();
    SetMainCaption(std::string(kAppTitle) + " - " + menuViewTitle(m_current));
    return true;
}

bool CWorkshopApp::OpenDocumentFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::optional<UnitKind> kind;
    if (ReadDocumentFile(path, bytes) == ReadResult::Ok && bytes.size() >= 4)
        kind = UnitKindForSignature(static_cast<std::uint32_t>(bytes[0]) |
                                    static_cast<std::uint32_t>(bytes[1]) << 8 |
                                    static_cast<std::uint32_t>(bytes[2]) << 16 |
                                    static_cast<std::uint32_t>(bytes[3]) << 24);
    if (!kind) {
        Prompter().MessageBox(kFailedToOpen, MessageIcon::Exclamation);
        return false;
    }
    CUnitDocument* doc = OpenUnit(*kind);
    if (!doc)
        return false;
    doc->SetLoading(true);
    const bool opened = doc->OpenActivityFile(path);
    doc->SetLoading(false);
    if (!opened) {
        // The document said why; the pupil is back where the menu was, with nothing to save.
        doc->SetModifiedFlag(false);
        LeaveUnit();
        return false;
    }
    doc->SetFilePath(path);
    doc->UpdateCaption(path);
    m_recent.Add(path);
    return true;
}

bool CWorkshopApp::ChooseDocumentFile() {
    CFileDialogRequest request;
    request.filter = kAnyDocumentFilter;
    request.personalFolder = m_directories.personal;
    request.bulletinBoardFolder = m_directories.bulletinBoard;
    request.teacherBulletinBoardFolder = m_directories.teacherBulletinBoard;
    request.initialFolder = m_directories.personal;
    const auto chosen = FileChooser().Choose(request);
    return chosen && OpenDocumentFile(chosen->path);
}

bool CWorkshopApp::OpenRecentFile(std::size_t index) {
    if (index >= m_recent.files().size())
        return false;
    const std::string path = m_recent.files()[index];
    if (!std::filesystem::exists(path)) {
        m_recent.Remove(path);
        std::string text = kRecentFileMissing;
        text.replace(text.find("%s"), 2, path);
        Prompter().MessageBox(text, MessageIcon::Exclamation);
        return false;
    }
    return OpenDocumentFile(path);
}

bool CWorkshopApp::QueryExit() {
    if (Prompter().MessageBox(kExitQuestion, MessageIcon::Question, MessageButtons::YesNo) !=
        MessageResult::Yes)
        return false;
    // A unit's unsaved work is offered for saving before the program goes; Cancel stays.
    if (m_unit && !m_unit->AskToSave())
        return false;
    DiscardRecoveryCopy();
    return true;
}

void CWorkshopApp::DocumentFileUsed(const std::string& path) {
    m_recent.Add(path);
    RefreshRecovery();
}

void CWorkshopApp::DiscardRecoveryCopy() {
    if (m_autosave)
        m_autosave->Discard();
}

void CWorkshopApp::AutosaveNow() {
    if (m_autosave && m_unit)
        m_autosave->SaveNow(m_unit.get(), m_unitKind, std::time(nullptr));
}

void CWorkshopApp::RefreshRecovery() {
    if (m_autosave)
        m_autosave->Refresh(m_unit.get());
}

void CWorkshopApp::OfferRecovery() {
    if (!m_autosave)
        return;
    const std::vector<CRecoveryCopy> copies =
        m_autosave->folder().FindLeftBehind(m_autosave->locks());
    for (const CRecoveryCopy& copy : copies) {
        const MessageResult answer = Prompter().MessageBox(
            CRecoveryFolder::OfferText(copy), MessageIcon::Question, MessageButtons::YesNo);
        // Neither (the session ended while the question was asked): the copy waits for the
        // next start.
        if (answer == MessageResult::Yes)
            RecoverCopy(copy);
        else if (answer == MessageResult::No)
            m_autosave->folder().Remove(copy);
    }
    std::vector<std::string> released;
    for (const CRecoveryCopy& copy : copies)
        if (std::find(released.begin(), released.end(), copy.id) == released.end()) {
            m_autosave->locks().Release(copy.id);
            released.push_back(copy.id);
        }
}

void CWorkshopApp::RecoverCopy(const CRecoveryCopy& copy) {
    // Tried on a document of its own first, so that a copy that will not open leaves the
    // page shown as it was.
    std::vector<std::uint8_t> bytes;
    std::string error = "cannot read";
    const bool readable =
        ReadDocumentFile(copy.copyPath, bytes) == ReadResult::Ok &&
        CreateUnitDocument(copy.unit)->LoadFromBytes(bytes, &error) == OpenResult::Opened;
    if (!readable) {
        LogError(copy.copyPath + ": " + error);
        std::string aside = m_autosave->folder().KeepAside(copy);
        std::string text = kRecoveryKeptAside;
        text.replace(text.find("%s"), 2, aside.empty() ? copy.copyPath : aside);
        Prompter().MessageBox(text, MessageIcon::Exclamation);
        return;
    }
    CUnitDocument* doc = OpenUnit(copy.unit);
    if (!doc)
        return; // the pupil kept the unit shown: the copy waits for the next start
    doc->SetLoading(true);
    const bool opened = doc->OnOpenDocument(copy.copyPath) == OpenResult::Opened;
    doc->SetLoading(false);
    if (!opened)
        return;
    doc->SetFilePath(copy.originalPath);
    doc->UpdateCaption(copy.originalPath);
    doc->SetModifiedFlag(true);
    m_autosave->folder().Remove(copy);
    // The work is this program's now: its own copy keeps it safe from here on.
    AutosaveNow();
}

int CWorkshopApp::selectedInvestigation(int menu) const {
    if (menu < 0 || menu > 2)
        return -1;
    return m_investigation[static_cast<std::size_t>(menu)];
}

const CActivity* CWorkshopApp::chosenActivity(int menu) const {
    if (menu < 0 || menu > 2)
        return nullptr;
    return m_chosen[static_cast<std::size_t>(menu)];
}

std::string CWorkshopApp::instructionText(int menu) const {
    if (const CActivity* a = chosenActivity(menu))
        return a->instructions;
    const CInvestigation* inv = FindInvestigation(menu, selectedInvestigation(menu));
    return inv ? inv->overview : std::string();
}

std::string CWorkshopApp::menuViewTitle(MenuView view) const {
    if (view == MenuView::Main)
        return kMainMenuTitle;
    if (const int n = UnitMenuOf(view); n > 0)
        return UnitMenuTitle(n);
    if (const int i = InvestigationsMenuOf(view); i >= 0) {
        const CInvestigation* inv = FindInvestigation(i, selectedInvestigation(i));
        return inv ? inv->title : std::string();
    }
    return {};
}

IPrompter& CWorkshopApp::Prompter() {
    return m_platform.Prompter();
}
IFileChooser& CWorkshopApp::FileChooser() {
    return m_platform.FileChooser();
}
std::string CWorkshopApp::MainCaption() const {
    return m_platform.MainCaption();
}
void CWorkshopApp::SetMainCaption(const std::string& caption) {
    m_platform.SetMainCaption(caption);
}
void CWorkshopApp::SetStatusText(const std::string& text) {
    m_platform.SetStatusText(text);
}
void CWorkshopApp::BeginWaitCursor() {
    m_platform.BeginWaitCursor();
}
void CWorkshopApp::EndWaitCursor() {
    m_platform.EndWaitCursor();
}
void CWorkshopApp::LogError(const std::string& detail) {
    m_platform.LogError(detail);
}

} // namespace quorvel
