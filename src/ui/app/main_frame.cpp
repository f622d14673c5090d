// The main window around the application: pages, menus, closing and the desktop launcher.
#include "ui/app/main_frame.h"

#include "app/directories.h"
#include "app/display_scale.h"
#include "ui/app/menu_views.h"
#include "ui/app/recovery_shell.h"
#include "ui/app/splash.h"
#include "ui/app/test_control.h"
#include "ui/app/tools_menus.h"
#include "ui/app/unit_page.h"
#include "ui/platform/qt_page_setup.h"
#include "ui/platform/qt_settings.h"
#include "ui/platform/qt_text.h"
#include "ui/platform/qt_timer_host.h"
#include "ui/workspace/unit_view.h"
#include "workspace/unit_document.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QScreen>
#include <QStackedWidget>
#include <QUrl>

namespace quorvel {

CMainFrame::CMainFrame(IDocumentHost* host, QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QString::fromLatin1(kAppTitle));
    setFixedSize(800, 600);
    m_qtHost = std::make_unique<CQtDocumentHost>(this);
    m_app = std::make_unique<CWorkshopApp>(host ? *host : *m_qtHost, *this);
    m_stack = new QStackedWidget(this);
    setCentralWidget(m_stack);
    // The desktop's launcher starts in the background and cannot say it found nothing: ask
    // first whether any application takes the file's type, so that the pupil hears of it.
    m_opener = [](const std::string& path) {
        const QString file = ToQString(path);
        if (!DesktopHasApplicationFor(QMimeDatabase().mimeTypeForFile(file).name()))
            return false;
        return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    };
    BuildMenus();
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // The unit page refers to the document the application owns: it goes first.
    delete m_unitPage;
    m_unitPage = nullptr;
}

void CMainFrame::SetRecentFilesStore(IRecentFilesStore* store) {
    m_app->recentFiles().Attach(store);
    UpdateMenus();
}

bool CMainFrame::Start(const std::vector<std::string>& args, const std::string& programDir,
                       const std::string& personalDir) {
    m_args = args;
    const bool ok = m_app->InitInstance(args, programDir, personalDir);
    m_qtHost->SetDirectories(m_app->Directories());
    return ok;
}

void CMainFrame::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    m_new = file->addAction(QStringLiteral("&New"), this, [this] {
        if (auto* d = m_app->currentUnitDocument())
            d->FileNew();
    });
    m_new->setShortcut(QKeySequence::New);
    // In a unit the document opens its own kind; on the menu pages any Quorvel document
    // opens in its unit's page.
    m_open = file->addAction(QStringLiteral("&Open..."), this, [this] {
        if (auto* d = m_app->currentUnitDocument())
            d->FileOpen();
        else
            m_app->ChooseDocumentFile();
        UpdateMenus();
    });
    m_open->setShortcut(QKeySequence::Open);
    m_save = file->addAction(QStringLiteral("&Save"), this, [this] {
        if (auto* d = m_app->currentUnitDocument())
            d->FileSave();
    });
    m_save->setShortcut(QKeySequence::Save);
    m_saveAs = file->addAction(QStringLiteral("Save &As..."), this, [this] {
        if (auto* d = m_app->currentUnitDocument())
            d->FileSaveAs();
    });
    m_saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    m_print = file->addAction(QStringLiteral("&Print..."), this, [this] {
        if (m_unitPage)
            m_unitPage->Print();
    });
    m_print->setShortcut(QKeySequence::Print);
    m_printPreview = file->addAction(QStringLiteral("Print Pre&view..."), this, [this] {
        if (m_unitPage)
            m_unitPage->view()->PrintPreview();
    });
    m_exportPdf = file->addAction(QStringLiteral("&Export as PDF..."), this, [this] {
        if (m_unitPage)
            m_unitPage->view()->ExportPdf();
    });
    m_printSetup = file->addAction(QStringLiteral("Print Set&up..."), this,
                                   [this] { RunPageSetupDialog(this); });
    m_scaleMenu = file->addMenu(QStringLiteral("Larger &Display"));
    auto* scales = new QActionGroup(m_scaleMenu);
    for (int percent : kDisplayScales) {
        QAction* a = m_scaleMenu->addAction(QStringLiteral("%1%").arg(percent), this,
                                            [this, percent] { ChooseDisplayScale(percent); });
        a->setCheckable(true);
        scales->addAction(a);
        m_scaleActions.emplace_back(percent, a);
    }
    m_recentSeparator = file->addSeparator();
    for (std::size_t i = 0; i < kMaxRecentFiles; ++i)
        m_recent.push_back(file->addAction(QString(), this, [this, i] {
            m_app->OpenRecentFile(i);
            UpdateMenus();
        }));
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::UpdateMenus);
    file->addSeparator();
    m_exit = file->addAction(QStringLiteral("E&xit"), this, [this] {
        // In a unit the page leaves it: a problem set has its say first.
        if (m_unitPage)
            m_unitPage->view()->Exit();
        else
            close();
    });
    m_exit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));

    m_editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    m_undo = m_editMenu->addAction(QStringLiteral("&Undo"), this, [this] {
        if (auto* d = m_app->currentUnitDocument())
            d->Undo();
        UpdateMenus();
    });
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = m_editMenu->addAction(QStringLiteral("&Redo"), this, [this] {
        if (auto* d = m_app->currentUnitDocument())
            d->Redo();
        UpdateMenus();
    });
    m_redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    connect(m_editMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateMenus);

    m_toolsMenus = new CToolsMenus(*this, *this, *m_app, menuBar(), nullptr);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About Quorvel..."), this, &CMainFrame::ShowAbout);
    UpdateMenus();
}

void CMainFrame::UpdateMenus() {
    CUnitDocument* doc = m_unitPage ? &m_unitPage->document() : nullptr;
    for (QAction* a : {m_new, m_open, m_save, m_saveAs, m_print, m_printPreview, m_exportPdf})
        a->setVisible(doc != nullptr);
    // Greyed while the problem set's Continue shows.
    m_exit->setEnabled(!m_unitPage || m_unitPage->view()->CanExit());
    m_editMenu->menuAction()->setVisible(doc != nullptr);
    m_scaleMenu->menuAction()->setVisible(doc == nullptr);
    for (const auto& [percent, action] : m_scaleActions)
        action->setChecked(percent == m_chosenScale);
    // The menu pages open any document too.
    m_open->setVisible(true);
    const auto& recent = m_app->recentFiles().files();
    for (std::size_t i = 0; i < m_recent.size(); ++i) {
        m_recent[i]->setVisible(i < recent.size());
        if (i < recent.size()) {
            m_recent[i]->setText(ToQString(CRecentFiles::MenuText(i, recent[i])));
            m_recent[i]->setToolTip(ToQString(recent[i]));
        }
    }
    m_recentSeparator->setVisible(!recent.empty());
    m_toolsMenus->SetUnit(m_unitPage ? std::optional(m_unitPage->unit()) : std::nullopt);
    m_undo->setEnabled(doc && doc->CanUndo());
    m_redo->setEnabled(doc && doc->CanRedo());
    // Saved, or back to a new document: the recovery copy goes.
    m_app->RefreshRecovery();
}

void CMainFrame::ShowAbout() {
    QMessageBox::about(this, QStringLiteral("About Quorvel"),
                       QStringLiteral("<b>Quorvel Demonstration</b><br>Version %1<br><br>"
                                      "A mathematics workshop: Tiles and Tessellations, "
                                      "Patterns and Statistics.")
                           .arg(QStringLiteral("0.1")));
}

CMenuView* CMainFrame::menuView(MenuView view) const {
    const auto it = m_views.find(view);
    return it == m_views.end() ? nullptr : it->second;
}

QWidget* CMainFrame::currentPage() const {
    return m_stack->currentWidget();
}

bool CMainFrame::CreateMenuView(MenuView view) {
    if (menuView(view))
        return true;
    CMenuView* page = nullptr;
    switch (view) {
    case MenuView::None:
        return false;
    case MenuView::Main:
        page = new CMainMenuView(*m_app, m_stack);
        break;
    case MenuView::GeometryUnit:
        page = new CGeometryUnitMenuView(*m_app, m_stack);
        break;
    case MenuView::PatternsUnit:
        page = new CPatternsUnitMenuView(*m_app, m_stack);
        break;
    case MenuView::StatsUnit:
        page = new CStatsUnitMenuView(*m_app, m_stack);
        break;
    case MenuView::StatsInvestigations:
        page = new CStatsInvestigationsMenuView(*m_app, m_stack);
        break;
    case MenuView::PatternsInvestigations:
        page = new CPatternsInvestigationsMenuView(*m_app, m_stack);
        break;
    case MenuView::GeometryInvestigations:
        page = new CGeometryInvestigationsMenuView(*m_app, m_stack);
        break;
    }
    m_stack->addWidget(page);
    m_views[view] = page;
    return true;
}

void CMainFrame::ShowMenuView(MenuView view, MenuView) {
    CMenuView* page = menuView(view);
    if (!page)
        return;
    page->Refresh();
    if (!m_unitPage) {
        m_stack->setCurrentWidget(page);
        page->setFocus();
    }
}

void CMainFrame::InvestigationChanged(int menu) {
    if (auto* page = qobject_cast<CInvestigationsMenuView*>(menuView(InvestigationsMenuView(menu))))
        page->SelectInvestigation();
}

void CMainFrame::InstructionsChanged(int menu) {
    if (auto* page = qobject_cast<CInvestigationsMenuView*>(menuView(InvestigationsMenuView(menu))))
        page->ShowInstructions();
}

void CMainFrame::EnvironmentPanelChanged(bool) {
    if (CMenuView* page = menuView(MenuView::PatternsUnit))
        page->Refresh();
}

bool CMainFrame::OpenUnitPage(UnitKind unit, CUnitDocument& doc, const std::string& title, bool) {
    if (m_unitPage)
        CloseUnitPage();
    m_unitPage = new CUnitPage(doc, unit, ToQString(title), m_stack);
    // Leaving deletes the page, so it waits until the click or menu command that asked for it
    // has finished with the page's buttons and menus.
    connect(
        m_unitPage, &CUnitPage::exitRequested, this, [this] { m_app->LeaveUnit(); },
        Qt::QueuedConnection);
    connect(m_unitPage, &CUnitPage::stateChanged, this, &CMainFrame::UpdateMenus);
    // The unit's own menus sit before Tools; they go with the page.
    for (QMenu* menu : m_unitPage->unitMenus())
        menuBar()->insertMenu(m_toolsMenus->toolsMenu()->menuAction(), menu);
    m_stack->addWidget(m_unitPage);
    m_stack->setCurrentWidget(m_unitPage);
    m_unitPage->setFocus();
    UpdateMenus();
    return true;
}

void CMainFrame::CloseUnitPage() {
    if (!m_unitPage)
        return;
    m_stack->removeWidget(m_unitPage);
    // Deleted now: the document it shows goes right after.
    delete m_unitPage;
    m_unitPage = nullptr;
    if (CMenuView* page = menuView(m_app->currentMenuView())) {
        page->Refresh();
        m_stack->setCurrentWidget(page);
        page->setFocus();
    }
    UpdateMenus();
}

bool CMainFrame::OpenWithDesktop(const std::string& path) {
    return m_opener && m_opener(path);
}

void CMainFrame::SetDisplayScale(int running, int chosen, DisplayScaleHooks hooks) {
    m_runningScale = ValidDisplayScale(running);
    m_chosenScale = ValidDisplayScale(chosen);
    m_scaleHooks = std::move(hooks);
    UpdateMenus();
}

void CMainFrame::ChooseDisplayScale(int percent) {
    m_chosenScale = ValidDisplayScale(percent);
    if (m_scaleHooks.store)
        m_scaleHooks.store(m_chosenScale);
    UpdateMenus();
    if (m_chosenScale == m_runningScale)
        return;
    const std::string text = "Quorvel will be shown at " + std::to_string(m_chosenScale) +
                             "% when it starts again.\nRestart Quorvel now?";
    if (m_app->Prompter().MessageBox(text, MessageIcon::Question, MessageButtons::YesNo) !=
        MessageResult::Yes)
        return;
    // Only the menu pages offer the choice, so no unit's work is open to lose.
    if (m_scaleHooks.restart && m_scaleHooks.restart(RestartArguments(m_args))) {
        m_restarting = true;
        close();
    }
}

void CMainFrame::closeEvent(QCloseEvent* e) {
    if (m_restarting || m_app->QueryExit())
        e->accept();
    else
        e->ignore();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* e) {
    // Enter presses the focused button of the window, as Space does, so that every page works
    // from the keyboard (dialogs keep their own default buttons).
    if (e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && button &&
            button->hasFocus() && button->isEnabled() && button->window() == this) {
            button->animateClick();
            return true;
        }
    }
    // Ctrl+Tab never switches pages or moves the focus.
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            (key->modifiers() & Qt::ControlModifier))
            return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

int RunWorkshop(int argc, char* argv[]) {
    // The larger display is the platform's scale factor, read when the application starts.
    const int scale = ValidDisplayScale(LoadDisplayScale());
    // A restart gets the environment the program was given, not the factor set here.
    const bool hadFactor = qEnvironmentVariableIsSet("QT_SCALE_FACTOR");
    const QByteArray givenFactor = qgetenv("QT_SCALE_FACTOR");
    if (scale != 100)
        qputenv("QT_SCALE_FACTOR", QByteArray::fromStdString(DisplayScaleFactor(scale)));
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    // The installed menu entry and icon: the desktop groups the windows under them.
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvel"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quorvel")));
    // No display name: the platform would add it to every window title, and the main window's
    // caption already begins with the program's name.
    std::vector<std::string> args(argv + 1, argv + argc);

    const bool testControl = TestControlRequested();
    CTestPrompter testPrompter;
    // Before the window: the splash, its child, stops its timers when the program ends
    // while it still shows.
    CQtTimerHost timers;
    CMainFrame frame;
    if (testControl)
        frame.SetPrompter(&testPrompter);
    CQtRecentFilesStore recentFiles;
    if (!testControl)
        frame.SetRecentFilesStore(&recentFiles);
    frame.SetDisplayScale(scale, scale,
                          {StoreDisplayScale, [&](const std::vector<std::string>& restartArgs) {
                               QStringList list;
                               for (const std::string& a : restartArgs)
                                   list << ToQString(a);
                               QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                               env.remove(QStringLiteral("QT_SCALE_FACTOR"));
                               if (hadFactor)
                                   env.insert(QStringLiteral("QT_SCALE_FACTOR"),
                                              QString::fromLocal8Bit(givenFactor));
                               QProcess process;
                               process.setProgram(QCoreApplication::applicationFilePath());
                               process.setArguments(list);
                               process.setProcessEnvironment(env);
                               return process.startDetached();
                           }});
    if (!frame.Start(args, ProgramDirectory(), DefaultPersonalDirectory()))
        return 1;
    CRecoveryShell recovery(frame.app(), AutosaveIntervalMs());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        frame.move(screen->availableGeometry().center() - frame.rect().center());
    frame.show();
    frame.app().OfferRecovery();
    // After the question about copies left behind, which waits for the pupil: the splash's
    // time starts when it shows, and its timer cannot end it while the question is open.
    CSplashWnd* splash = CSplashWnd::Create(&frame, frame.app().Directories().classDir, timers);
    std::unique_ptr<CTestControl> control;
    if (testControl) {
        control = std::make_unique<CTestControl>(frame.app());
        CTestControl::Report("ready");
    }
    if (splash) {
        splash->show();
        splash->raise();
    }
    if (QWidget* page = frame.currentPage())
        page->setFocus();
    return qapp.exec();
}

} // namespace quorvel
