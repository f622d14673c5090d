// The Patterns – Designs workspace page: the pane with the design machine and the pupil's
// writing, the box the pupil types times or angle in and the "&Design" menu, over a
// CDesignsViewController that holds the logic.
#pragma once

#include "patterns/designs_controller.h"
#include "ui/workspace/unit_view.h"

#include <QWidget>

class QLineEdit;
class QMenu;

namespace quorvel {

class CDesignEditBox;

inline constexpr int kDesignsScreensAcross = 2;
inline constexpr int kDesignsScreensDown = 2;

class CDesignPatternsView : public CUnitView, public IDesignsViewWindow {
    Q_OBJECT
public:
    CDesignPatternsView(CDesignPatternsDocument& doc, QWidget* parent);
    ~CDesignPatternsView() override;

    CDesignsViewController& designs() const;
    QLineEdit* editBox() const;
    QMenu* unitMenu() const { return m_menu; }

    CPoint ToWorkspace(QPoint onPane) const;
    QRect ToPane(const CRect& workspace) const;

    // IUnitViewWindow.
    void InvalidateRect(const CRect& r) override;
    void CommandStateChanged() override;

    // IDesignsViewWindow.
    void BeginEdit(const CDesignEdit& edit) override;
    void EndEdit() override;
    CPoint ScreenToWorkspace(CPoint screen) const override;
    std::optional<CPoint> PageToWorkspace(CPoint page) const override;
    void SetBusy(bool busy) override;
    bool WriteDesignPicture(const std::string& path) override;

protected:
    void DrawWorkspace(IDrawingSurface& dc, const CRect& area, bool printing) override;
    void LayoutControls() override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    class CScroller;

    void BuildMenu();
    void ApplyOptions();
    void ScrollTo(double x, double y);
    void EditFinished();

    std::unique_ptr<CScroller> m_scroller;
    CDesignEditBox* m_edit = nullptr;
    QMenu* m_menu = nullptr;
    bool m_loadingEdit = false;
    bool m_busy = false;
};

} // namespace quorvel
