// What a unit document needs from the main window: dialogs, the caption and the wait cursor.
#pragma once

#include "ui/platform/qt_file_chooser.h"
#include "ui/platform/qt_prompter.h"
#include "workspace/document_host.h"

class QWidget;

namespace quorvel {

class CQtDocumentHost : public IDocumentHost {
public:
    explicit CQtDocumentHost(QWidget* window);

    IPrompter& Prompter() override { return m_override ? *m_override : m_prompter; }
    // Answers in place of the window's dialogs (the program's test switch); null restores them.
    void SetPrompter(IPrompter* prompter) { m_override = prompter; }
    IFileChooser& FileChooser() override { return m_chooser; }
    const CDirectories& Directories() const override { return m_directories; }
    void SetDirectories(const CDirectories& d) { m_directories = d; }
    std::string MainCaption() const override;
    void SetMainCaption(const std::string& caption) override;
    void SetStatusText(const std::string& text) override { m_status = text; }
    const std::string& statusText() const { return m_status; }
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void LogError(const std::string& detail) override;

private:
    QWidget* m_window;
    CQtPrompter m_prompter;
    IPrompter* m_override = nullptr;
    CQtFileChooser m_chooser;
    CDirectories m_directories;
    std::string m_status;
};

} // namespace quorvel
