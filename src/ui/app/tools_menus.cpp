// The Tools and Documents menus: the notepad window, starting a calculator, and opening the
// companion documents with the desktop's application for PDF files.
#include "ui/app/tools_menus.h"

#include "app/workshop_app.h"
#include "ui/app/notepad_window.h"
#include "ui/platform/qt_text.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>

namespace quorvel {

bool DesktopHasPdfReader() {
    return DesktopHasApplicationFor(QStringLiteral("application/pdf"));
}

bool DesktopHasApplicationFor(const QString& mimeType) {
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return true;
    QProcess p;
    p.start(query, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(1000);
        return true;
    }
    return p.exitCode() != 0 || !p.readAllStandardOutput().trimmed().isEmpty();
}

CToolsMenus::CToolsMenus(QMainWindow& window, IWorkshopFrame& frame, CWorkshopApp& app,
                         QMenuBar* bar, QAction* before)
    : QObject(&window), m_window(window), m_frame(frame), m_app(app) {
    m_start = [](const CCalculatorLaunch& l) {
        QStringList args;
        for (const std::string& a : l.arguments)
            args << ToQString(a);
        return QProcess::startDetached(ToQString(l.program), args);
    };
    m_hasPdfReader = &DesktopHasPdfReader;

    m_tools = new QMenu(QString::fromLatin1(kToolsMenuText), bar);
    m_tools->addAction(QString::fromLatin1(kNotepadMenuText), this, &CToolsMenus::ShowNotepad)
        ->setData(kNotepadCommand);
    m_tools
        ->addAction(QString::fromLatin1(kCalculatorMenuText), this, &CToolsMenus::StartCalculator)
        ->setData(kCalculatorCommand);
    m_documents = new QMenu(QString::fromLatin1(kDocumentsMenuText), bar);
    bar->insertMenu(before, m_tools);
    bar->insertMenu(before, m_documents);
    SetUnit(std::nullopt);
}

CToolsMenus::~CToolsMenus() = default;

void CToolsMenus::SetUnit(std::optional<UnitKind> unit) {
    m_tools->menuAction()->setVisible(unit.has_value());
    const auto documents =
        unit ? CompanionDocumentsOf(*unit) : std::vector<const CCompanionDocument*>{};
    m_documents->menuAction()->setVisible(!documents.empty());
    if (unit == m_unit && !m_documents->isEmpty())
        return;
    m_unit = unit;
    m_documents->clear();
    for (const CCompanionDocument* d : documents) {
        const int command = d->command;
        QAction* a = m_documents->addAction(QString::fromLatin1(d->menuText), this,
                                            [this, command] { OpenDocument(command); });
        a->setData(command);
        a->setStatusTip(QString::fromLatin1(d->title));
    }
}

void CToolsMenus::ShowNotepad() {
    if (!m_notepad)
        m_notepad = new CNotepadWindow(m_app.notepad(), &m_window);
    m_notepad->ShowNotepad();
}

void CToolsMenus::StartCalculator() {
    const QPoint corner = m_window.frameGeometry().topLeft();
    quorvel::StartCalculator(qgetenv("PATH").toStdString(), &IsExecutableFile, m_start,
                             CPoint{corner.x(), corner.y()}, m_app.Prompter());
}

void CToolsMenus::OpenDocument(int command) {
    const CCompanionDocument* doc = FindCompanionDocument(command);
    if (!doc)
        return;
    OpenCompanionDocument(
        *doc, m_app.docsDirectory(),
        [this](const std::string& path) {
            return m_hasPdfReader() && m_frame.OpenWithDesktop(path);
        },
        m_app.Prompter());
}

} // namespace quorvel
