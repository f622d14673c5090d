// A test switch for the real program: with QUORVEL_TEST_CONTROL=1 in its environment the
// program takes commands on its standard input and reports on its standard output, and its
// message boxes answer themselves (QUORVEL_TEST_ANSWERS: yes, no, ok, cancel, comma
// separated, each "wait N" before one delaying it by N ms; then the safest answer). Tests
// start the program as a child process with it.
//
// Commands, one a line:  open PATH | edit | dump PATH | state
// Reports: "message: TEXT" for every box, "ready" once started, and a line per command.
#pragma once

#include "workspace/prompter.h"

#include <QObject>

#include <deque>
#include <string>

class QSocketNotifier;

namespace quorvel {

class CWorkshopApp;

bool TestControlRequested();

class CTestPrompter : public IPrompter {
public:
    CTestPrompter();
    MessageResult MessageBox(const std::string& text, MessageIcon icon, MessageButtons buttons,
                             const std::string& caption) override;
    int Choose(const std::string& text, const std::vector<std::string>& buttons,
               const std::string& caption) override;
    std::optional<std::string> AskText(const std::string& prompt, const std::string& initial,
                                       const std::string& caption, std::size_t maxChars) override;

private:
    std::deque<std::string> m_answers;
};

class CTestControl : public QObject {
    Q_OBJECT
public:
    explicit CTestControl(CWorkshopApp& app, QObject* parent = nullptr);
    static void Report(const std::string& line);

private:
    void ReadInput();
    void Run(const std::string& line);

    CWorkshopApp& m_app;
    QSocketNotifier* m_notifier = nullptr;
    std::string m_pending;
};

} // namespace quorvel
