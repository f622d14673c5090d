// The script panel of the Tiles and Tessellations page and the script windows: widgets over
// the script controller's state, which they show and to which they hand every click.
#pragma once

#include <QWidget>

#include <cstddef>
#include <functional>
#include <map>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace quorvel {

class CScriptController;

class CScriptPanel : public QWidget {
    Q_OBJECT
public:
    CScriptPanel(CScriptController& scripts, QWidget* parent);

    QAbstractButton* button(int id) const;
    QComboBox* combo() const { return m_combo; }
    QLineEdit* repeatNumber() const { return m_number; }
    QRadioButton* timesOption() const { return m_times; }
    QRadioButton* toEndOption() const { return m_toEnd; }

    // The combo box's names and selection again.
    void RefreshScripts();
    // Enabling by `enabled`, and the repeat controls shown only while recording.
    void UpdateControls(const std::function<bool(int)>& enabled);
    void FocusRepeatNumber();

signals:
    void command(int id);

private:
    CScriptController& m_scripts;
    std::map<int, QAbstractButton*> m_buttons;
    QComboBox* m_combo = nullptr;
    QRadioButton* m_times = nullptr;
    QRadioButton* m_toEnd = nullptr;
    QLineEdit* m_number = nullptr;
};

// One script's window: its name box, the banner while it records, its steps and buttons.
class CScriptWindow : public QWidget {
    Q_OBJECT
public:
    CScriptWindow(CScriptController& scripts, std::size_t script, QWidget* parent);

    std::size_t script() const { return m_script; }
    QLineEdit* nameBox() const { return m_name; }
    QListWidget* steps() const { return m_steps; }
    QPushButton* button(int id) const;
    // Rows, selection, name, banner and buttons from the controller.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Rename();

    CScriptController& m_scripts;
    std::size_t m_script;
    QLineEdit* m_name = nullptr;
    QListWidget* m_steps = nullptr;
    std::map<int, QPushButton*> m_buttons;
    bool m_refreshing = false;
};

// The arrow of a slide row's direction icon (1 to 24).
QIcon SlideDirectionIcon(int index);

} // namespace quorvel
