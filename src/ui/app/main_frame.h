// The main window: 800 by 600, its menu bar, the menu pages in a stack and the page of the
// open unit document.
#pragma once

#include "app/workshop_app.h"
#include "ui/platform/qt_document_host.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QMenu;
class QStackedWidget;

namespace quorvel {

class CMenuView;
class CToolsMenus;
class CUnitPage;

class CMainFrame : public QMainWindow, public IWorkshopFrame {
    Q_OBJECT
public:
    // `host` stands in for the window's own dialogs (tests answer them); null uses Qt's.
    explicit CMainFrame(IDocumentHost* host = nullptr, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CWorkshopApp& app() { return *m_app; }
    // Start-up of the application inside this window.
    bool Start(const std::vector<std::string>& args, const std::string& programDir,
               const std::string& personalDir);

    CMenuView* menuView(MenuView view) const;
    CUnitPage* unitPage() const { return m_unitPage; }
    // The Tools and Documents menus of the unit pages, with the notepad.
    CToolsMenus* toolsMenus() const { return m_toolsMenus; }
    QWidget* currentPage() const;
    // How files are handed to the desktop; tests record instead.
    void SetDesktopOpener(std::function<bool(const std::string&)> opener) {
        m_opener = std::move(opener);
    }
    void ShowAbout();
    // Where the recent files list is kept (the user's settings in the program); none by default.
    void SetRecentFilesStore(IRecentFilesStore* store);
    // Message boxes answered by `prompter` instead of dialogs (the program's test switch).
    void SetPrompter(IPrompter* prompter) { m_qtHost->SetPrompter(prompter); }

    // The larger display: the scale (percent) the program runs at, the one last chosen, where a
    // choice is kept and how the program starts again with the given arguments. Without them
    // (tests) a choice is only remembered in the window.
    struct DisplayScaleHooks {
        std::function<void(int)> store;
        std::function<bool(const std::vector<std::string>&)> restart;
    };
    void SetDisplayScale(int running, int chosen, DisplayScaleHooks hooks);
    // "Larger &Display" of the menu pages' File menu: keeps the choice and, when it differs
    // from the running scale, says that it takes a restart and offers one.
    void ChooseDisplayScale(int percent);
    int chosenDisplayScale() const { return m_chosenScale; }

    // IWorkshopFrame.
    bool CreateMenuView(MenuView view) override;
    void ShowMenuView(MenuView view, MenuView hidden) override;
    void InvestigationChanged(int menu) override;
    void InstructionsChanged(int menu) override;
    void EnvironmentPanelChanged(bool shown) override;
    bool OpenUnitPage(UnitKind unit, CUnitDocument& doc, const std::string& title,
                      bool authoring) override;
    void CloseUnitPage() override;
    bool OpenWithDesktop(const std::string& path) override;
    void CloseMainWindow() override { close(); }

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildMenus();
    void UpdateMenus();

    std::unique_ptr<CQtDocumentHost> m_qtHost;
    std::unique_ptr<CWorkshopApp> m_app;
    QStackedWidget* m_stack = nullptr;
    std::map<MenuView, CMenuView*> m_views;
    CUnitPage* m_unitPage = nullptr;
    std::function<bool(const std::string&)> m_opener;

    QAction* m_new = nullptr;
    QAction* m_open = nullptr;
    QAction* m_save = nullptr;
    QAction* m_saveAs = nullptr;
    QAction* m_print = nullptr;
    QAction* m_printPreview = nullptr;
    QAction* m_exportPdf = nullptr;
    QAction* m_printSetup = nullptr;
    QAction* m_recentSeparator = nullptr;
    std::vector<QAction*> m_recent;
    QAction* m_exit = nullptr;
    QMenu* m_scaleMenu = nullptr;
    std::vector<std::pair<int, QAction*>> m_scaleActions;
    int m_runningScale = 100;
    int m_chosenScale = 100;
    DisplayScaleHooks m_scaleHooks;
    std::vector<std::string> m_args;
    bool m_restarting = false;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QMenu* m_editMenu = nullptr;
    CToolsMenus* m_toolsMenus = nullptr;
};

// The program: start-up, splash and the event loop.
int RunWorkshop(int argc, char* argv[]);

} // namespace quorvel
