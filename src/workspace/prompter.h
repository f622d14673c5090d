// What the core asks of the user: message boxes with fixed texts, icons and button sets,
// choices among custom buttons and a line of text. The shell shows dialogs; tests queue answers.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvel {

enum class MessageIcon { None, Exclamation, Stop, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

class IPrompter {
public:
    virtual ~IPrompter() = default;
    virtual MessageResult MessageBox(const std::string& text, MessageIcon icon = MessageIcon::None,
                                     MessageButtons buttons = MessageButtons::Ok,
                                     const std::string& caption = {}) = 0;
    // The index of the button chosen among `buttons`, or -1 when the box was closed.
    virtual int Choose(const std::string& text, const std::vector<std::string>& buttons,
                       const std::string& caption = {}) = 0;
    // A line of text, or nothing on Cancel. A `maxChars` above zero stops the typing there.
    virtual std::optional<std::string> AskText(const std::string& prompt,
                                               const std::string& initial = {},
                                               const std::string& caption = {},
                                               std::size_t maxChars = 0) = 0;
};

} // namespace quorvel
