// The notepad: one modeless window for the whole program, made on first use and then only
// hidden, whose text is the application's notepad text.
#pragma once

#include <QDialog>

class QTextEdit;

namespace quorvel {

class CNotepadText;

// The notepad's edit control.
inline constexpr int kNotepadEditId = 1560;

class CNotepadWindow : public QDialog {
    Q_OBJECT
public:
    // Shows and edits `text`, which outlives the window's use of it.
    CNotepadWindow(CNotepadText& text, QWidget* parent);
    ~CNotepadWindow() override;

    QTextEdit* editor() const { return m_edit; }
    // Shows the window again with its text, in front, with the caret in the text.
    void ShowNotepad();

private:
    void TakeText(const std::string& text);
    void ApplyMargins();

    CNotepadText& m_text;
    QTextEdit* m_edit = nullptr;
    bool m_updating = false;
};

} // namespace quorvel
