// The "&Tools" menu of every unit page (the notepad and a calculator) and the "Doc&uments"
// menu of the units with printed companion material, on the main window's menu bar.
#pragma once

#include "app/document_factory.h"
#include "app/tools_menu.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

namespace quorvel {

class CNotepadWindow;
class CWorkshopApp;
class IWorkshopFrame;

class CToolsMenus : public QObject {
    Q_OBJECT
public:
    // Adds both menus to `bar` in front of `before` (at the end when null); they stay hidden
    // until a unit page shows.
    CToolsMenus(QMainWindow& window, IWorkshopFrame& frame, CWorkshopApp& app, QMenuBar* bar,
                QAction* before);
    ~CToolsMenus() override;

    // The unit whose page shows, or nothing on the menu pages.
    void SetUnit(std::optional<UnitKind> unit);

    QMenu* toolsMenu() const { return m_tools; }
    QMenu* documentsMenu() const { return m_documents; }
    // Null until the notepad is first shown.
    CNotepadWindow* notepad() const { return m_notepad; }

    void ShowNotepad();
    void StartCalculator();
    void OpenDocument(int command);

    // How a calculator is started and whether the desktop can show PDF files; tests replace
    // them.
    void SetProcessStarter(std::function<bool(const CCalculatorLaunch&)> start) {
        m_start = std::move(start);
    }
    void SetPdfReaderCheck(std::function<bool()> check) { m_hasPdfReader = std::move(check); }

private:
    QMainWindow& m_window;
    IWorkshopFrame& m_frame;
    CWorkshopApp& m_app;
    QMenu* m_tools = nullptr;
    QMenu* m_documents = nullptr;
    CNotepadWindow* m_notepad = nullptr;
    std::optional<UnitKind> m_unit;
    std::function<bool(const CCalculatorLaunch&)> m_start;
    std::function<bool()> m_hasPdfReader;
};

// Whether the desktop has an application for PDF files, or for files of `mimeType`; true when
// it cannot tell.
bool DesktopHasPdfReader();
bool DesktopHasApplicationFor(const QString& mimeType);

} // namespace quorvel
