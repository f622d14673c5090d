// Message boxes, choices and text questions as Qt dialogs.
#pragma once

#include "workspace/prompter.h"

class QWidget;

namespace quorvel {

class CQtPrompter : public IPrompter {
public:
    explicit CQtPrompter(QWidget* parent) : m_parent(parent) {}

    MessageResult MessageBox(const std::string& text, MessageIcon icon, MessageButtons buttons,
                             const std::string& caption) override;
    int Choose(const std::string& text, const std::vector<std::string>& buttons,
               const std::string& caption) override;
    std::optional<std::string> AskText(const std::string& prompt, const std::string& initial,
                                       const std::string& caption, std::size_t maxChars) override;

private:
    QWidget* m_parent;
};

} // namespace quorvel
