// The menu pages of the main-menu frame: the main menu, the three unit menus with the Patterns
// environment panel, and the three investigations menus. Each is made once and only hidden.
#pragma once

#include "app/workshop_app.h"

#include <QWidget>

#include <array>
#include <vector>

class QLabel;
class QPushButton;

namespace quorvel {

class CBitmapButton;

// The base of every menu page: the graded background, the page title and the back button.
class CMenuView : public QWidget {
    Q_OBJECT
public:
    CMenuView(CWorkshopApp& app, MenuView which, QWidget* parent);
    MenuView which() const { return m_which; }
    QString pageTitle() const;
    CBitmapButton* backButton() const { return m_back; }
    // Every button of the page by its command id, or nullptr.
    CBitmapButton* button(int id) const;
    // The page shows again (after SwitchMenuView or when a unit page closes).
    virtual void Refresh() { update(); }

protected:
    void paintEvent(QPaintEvent*) override;
    virtual void PaintBackground(QPainter& p);
    virtual void PaintTitle(QPainter& p);
    CBitmapButton* AddButton(CBitmapButton* b);
    // A click on the page's button `id`: the application says what it does.
    void Command(int id);

    CWorkshopApp& m_app;
    MenuView m_which;
    CBitmapButton* m_back = nullptr;
    std::vector<CBitmapButton*> m_buttons;
};

class CMainMenuView : public CMenuView {
    Q_OBJECT
public:
    CMainMenuView(CWorkshopApp& app, QWidget* parent);

protected:
    void resizeEvent(QResizeEvent*) override;
    void PaintBackground(QPainter& p) override;
    void PaintTitle(QPainter& p) override;
};

class CPatternsEnvironmentMenuWnd;

class CUnitMenuView : public CMenuView {
    Q_OBJECT
public:
    // The bitmaps (up, down, focus, disabled) of investigation buttons 1 to 5.
    using InvestigationBitmaps = std::array<std::array<int, 4>, 5>;
    CUnitMenuView(CWorkshopApp& app, int unitMenu, const InvestigationBitmaps& bitmaps,
                  QWidget* parent);
    int unitMenu() const { return m_unitMenu; }
    void Refresh() override;

protected:
    void resizeEvent(QResizeEvent*) override;
    // Shows or hides the page's own buttons (the environment panel covers them).
    void ShowButtons(bool shown);

    int m_unitMenu;
};

class CGeometryUnitMenuView : public CUnitMenuView {
    Q_OBJECT
public:
    CGeometryUnitMenuView(CWorkshopApp& app, QWidget* parent);
};

class CPatternsUnitMenuView : public CUnitMenuView {
    Q_OBJECT
public:
    CPatternsUnitMenuView(CWorkshopApp& app, QWidget* parent);
    void Refresh() override;
    CPatternsEnvironmentMenuWnd* environmentPanel() const { return m_panel; }

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    CPatternsEnvironmentMenuWnd* m_panel = nullptr;
};

class CStatsUnitMenuView : public CUnitMenuView {
    Q_OBJECT
public:
    CStatsUnitMenuView(CWorkshopApp& app, QWidget* parent);
};

// The panel where the pupil picks a Patterns environment: Codes, Numbers or Designs.
class CPatternsEnvironmentMenuWnd : public QWidget {
    Q_OBJECT
public:
    CPatternsEnvironmentMenuWnd(CWorkshopApp& app, QWidget* parent);
    QPushButton* environmentButton(int k) const {
        return m_envButtons[static_cast<std::size_t>(k)];
    }
    CBitmapButton* backButton() const { return m_back; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::array<QPushButton*, 3> m_envButtons{};
    CBitmapButton* m_back = nullptr;
};

class CInvestigationsMenuView : public CMenuView {
    Q_OBJECT
public:
    CInvestigationsMenuView(CWorkshopApp& app, int menu, QWidget* parent);
    int menu() const { return m_menu; }
    // Lays out the buttons of the investigation the application has selected.
    void SelectInvestigation();
    // Shows the instruction text of the application's chosen activity (or the overview).
    void ShowInstructions();
    void Refresh() override;
    QString instructionText() const;
    QRect instructionBoxRect() const;

    // Where a row's captions stand, for painting and tests.
    struct RowCaption {
        QString title;
        QString kind;
        int top; // the buttons' top
    };
    const std::vector<RowCaption>& rowCaptions() const { return m_rows; }

    static constexpr int kButtonWidth = kActivityButtonSize.cx;
    static constexpr int kButtonHeight = kActivityButtonSize.cy;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void Preview(int id);

    int m_menu;
    std::vector<RowCaption> m_rows;
    QWidget* m_box = nullptr;
    QLabel* m_boxHeading = nullptr;
    QLabel* m_boxText = nullptr;
};

class CGeometryInvestigationsMenuView : public CInvestigationsMenuView {
    Q_OBJECT
public:
    CGeometryInvestigationsMenuView(CWorkshopApp& app, QWidget* parent)
        : CInvestigationsMenuView(app, kGeometryInvestigations, parent) {}
};

class CPatternsInvestigationsMenuView : public CInvestigationsMenuView {
    Q_OBJECT
public:
    CPatternsInvestigationsMenuView(CWorkshopApp& app, QWidget* parent)
        : CInvestigationsMenuView(app, kPatternsInvestigations, parent) {}
};

class CStatsInvestigationsMenuView : public CInvestigationsMenuView {
    Q_OBJECT
public:
    CStatsInvestigationsMenuView(CWorkshopApp& app, QWidget* parent)
        : CInvestigationsMenuView(app, kStatsInvestigations, parent) {}
};

// The page's colour for a kind of activity ("Exploration", "Problem Sets" ...).
QColor ActivityKindColor(const std::string& kind);

} // namespace quorvel
