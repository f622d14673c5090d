// The program's test switch: commands on standard input, reports on standard output.
#include "ui/app/test_control.h"

#include "app/workshop_app.h"
#include "workspace/file_store.h"
#include "workspace/unit_document.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace quorvel {

bool TestControlRequested() {
    const char* env = std::getenv("QUORVEL_TEST_CONTROL");
    return env && std::string(env) == "1";
}

CTestPrompter::CTestPrompter() {
    std::string list =
        std::getenv("QUORVEL_TEST_ANSWERS") ? std::getenv("QUORVEL_TEST_ANSWERS") : "";
    for (std::size_t start = 0; start < list.size();) {
        const auto comma = list.find(',', start);
        const auto end = comma == std::string::npos ? list.size() : comma;
        m_answers.push_back(list.substr(start, end - start));
        start = end + 1;
    }
}

MessageResult CTestPrompter::MessageBox(const std::string& text, MessageIcon,
                                        MessageButtons buttons, const std::string&) {
    std::string line = text;
    for (std::size_t at; (at = line.find("\r\n")) != std::string::npos;)
        line.replace(at, 2, " | ");
    CTestControl::Report("message: " + line);
    // "wait N": the answer comes N milliseconds later, as a pupil's would.
    while (!m_answers.empty() && m_answers.front().rfind("wait ", 0) == 0) {
        QEventLoop later;
        QTimer::singleShot(std::atoi(m_answers.front().c_str() + 5), &later, &QEventLoop::quit);
        m_answers.pop_front();
        later.exec();
    }
    std::string answer;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageResult::Ok;
    case MessageButtons::OkCancel:
        return answer == "ok" ? MessageResult::Ok : MessageResult::Cancel;
    case MessageButtons::YesNo:
        return answer == "yes" ? MessageResult::Yes : MessageResult::No;
    case MessageButtons::YesNoCancel:
        return answer == "yes"  ? MessageResult::Yes
               : answer == "no" ? MessageResult::No
                                : MessageResult::Cancel;
    }
    return MessageResult::Cancel;
}

int CTestPrompter::Choose(const std::string& text, const std::vector<std::string>&,
                          const std::string&) {
    CTestControl::Report("message: " + text);
    return -1;
}

std::optional<std::string> CTestPrompter::AskText(const std::string& prompt, const std::string&,
                                                  const std::string&, std::size_t) {
    CTestControl::Report("message: " + prompt);
    return std::nullopt;
}

CTestControl::CTestControl(CWorkshopApp& app, QObject* parent) : QObject(parent), m_app(app) {
    m_notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CTestControl::ReadInput);
}

void CTestControl::Report(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void CTestControl::ReadInput() {
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        m_notifier->setEnabled(false);
        return;
    }
    m_pending.append(buffer, static_cast<std::size_t>(n));
    for (std::size_t eol; (eol = m_pending.find('\n')) != std::string::npos;) {
        const std::string line = m_pending.substr(0, eol);
        m_pending.erase(0, eol + 1);
        Run(line);
    }
}

void CTestControl::Run(const std::string& line) {
    const auto space = line.find(' ');
    const std::string command = line.substr(0, space);
    const std::string arg = space == std::string::npos ? std::string() : line.substr(space + 1);
    CUnitDocument* doc = m_app.currentUnitDocument();
    if (command == "open") {
        Report(m_app.OpenDocumentFile(arg) ? "opened" : "open failed");
    } else if (command == "edit" && doc && !doc->manipulatives().empty()) {
        // As a drag of the bottom manipulative would.
        doc->MarkUndoStep();
        doc->DeselectAll();
        doc->Select(doc->manipulatives().front().get());
        doc->MoveSelection(12, 7);
        Report("edited");
    } else if (command == "dump" && doc) {
        const std::vector<std::uint8_t> bytes = doc->SaveToBytes();
        Report(SaveFileAtomically(arg, bytes) ? "dumped" : "dump failed");
    } else if (command == "state") {
        Report(doc ? "state modified=" + std::to_string(doc->IsModified()) +
                         " path=" + doc->filePath()
                   : std::string("state none"));
    } else {
        Report("unknown: " + line);
    }
}

} // namespace quorvel
