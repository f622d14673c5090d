// The notepad's text: one for the whole program, kept while it runs, whichever unit is open.
// The notepad window shows it; documents that save the notepad with them read and set it.
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace quorvel {

class CNotepadText {
public:
    const std::string& text() const { return m_text; }
    // Tells the listener (the window showing the text) unless the text is unchanged.
    void SetText(std::string text) {
        if (text == m_text)
            return;
        m_text = std::move(text);
        if (m_listener)
            m_listener(m_text);
    }
    void SetListener(std::function<void(const std::string&)> listener) {
        m_listener = std::move(listener);
    }

private:
    std::string m_text;
    std::function<void(const std::string&)> m_listener;
};

} // namespace quorvel
