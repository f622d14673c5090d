// The main window as a document's host.
#include "ui/platform/qt_document_host.h"

#include "ui/platform/qt_text.h"

#include <QApplication>
#include <QWidget>
#include <QtDebug>

namespace quorvel {

CQtDocumentHost::CQtDocumentHost(QWidget* window)
    : m_window(window), m_prompter(window), m_chooser(window) {}

std::string CQtDocumentHost::MainCaption() const {
    return ToStdString(m_window->windowTitle());
}

void CQtDocumentHost::SetMainCaption(const std::string& caption) {
    m_window->setWindowTitle(ToQString(caption));
}

void CQtDocumentHost::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CQtDocumentHost::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void CQtDocumentHost::LogError(const std::string& detail) {
    qWarning("quorvel: %s", detail.c_str());
}

} // namespace quorvel
