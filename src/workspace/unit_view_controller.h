// The logic of a unit's workspace page, without a screen: tools and the Help and Mystery
// clicks, help texts, the broom, leaving the unit, the problem-set buttons and the page's
// commands. The page widget forwards clicks and commands here; the controller answers through
// IUnitViewWindow. Each unit derives its own controller and overrides the operations it uses.
#pragma once

#include "workspace/document_host.h"
#include "workspace/tool_palette.h"
#include "workspace/workspace_navigator.h"

#include <optional>
#include <string>

namespace quorvel {

class COptionsSheet;
class CUnitDocument;
class IPrompter;

// Buttons and commands of every workspace page.
inline constexpr int kExitCommand = 1003;
inline constexpr int kBroomCommand = 1004;
inline constexpr int kContinueCommand = 1470;
inline constexpr int kPromptWindowId = 1471;
inline constexpr int kCheckCommand = 1489;
inline constexpr int kViewSolutionCommand = 1495;
inline constexpr int kMenuExitCommand = 32784; // "E&xit"
// Accepted by every page and ignored.
inline constexpr int kFirstInertCommand = 32771;
inline constexpr int kLastInertCommand = 32774;

inline constexpr int kDefaultProblemCount = 5;

inline constexpr const char* kAskClearWorkspace = "Are you sure you want to clear your workspace?";

// What the controller asks of the window that shows the page.
class IUnitViewWindow {
public:
    virtual ~IUnitViewWindow() = default;
    // A disabled view takes no clicks itself: the next click over it goes to HelpAt (Help)
    // or MysteryAt (Mystery), with the tool's cursor meanwhile.
    virtual void EnableView(bool enabled) = 0;
    // Exit, broom, Check, Continue and View Solution, by command id.
    virtual void ShowButton(int id, bool shown) = 0;
    virtual CRect ButtonRect(int id) const = 0;
    // The id of the visible control under `p` (view coordinates): the control inside a child
    // window where there is one (a palette button), else the child's own id; 0 over the
    // view itself.
    virtual int ControlIdAt(CPoint p) const = 0;
    // Latches the palette button of a tool command without sending the command again.
    virtual void PressToolButton(int command) = 0;
    // The current tool changed (its cursor shows over the workspace).
    virtual void ToolChanged(int /*code*/) {}
    // The document is closed and the menu page under the unit shows again.
    virtual void CloseUnit() = 0;
    // A command's enabling may have changed ("E&xit" while Continue shows, undo, save).
    virtual void CommandStateChanged() {}
    virtual void InvalidateRect(const CRect&) {}
    virtual void InvalidateAll() {}
    virtual void Print() {}
    // The problem-set prompt window, while there is one.
    virtual bool HasPrompt() const { return false; }
    virtual bool PromptStarted() const { return false; }
    virtual void DestroyPrompt() {}
    virtual void SetPromptCounter(const std::string&) {}
    // Runs a unit's options sheet over its copies of the options; true on OK.
    virtual bool RunOptionsSheet(COptionsSheet&) { return false; }
};

// How a workspace rectangle is laid on a printed page: one factor for both directions, as
// large as fits, the rectangle's top-left corner at the page's, drawing clipped to it.
struct CPrintMapping {
    double scale = 1.0;
    CRect workspace; // the clip, in workspace coordinates
    // Page pixels of a workspace point.
    double PageX(double x) const { return (x - workspace.left) * scale; }
    double PageY(double y) const { return (y - workspace.top) * scale; }
};
// Nothing when the workspace or the page is empty.
std::optional<CPrintMapping> PrintMapping(const CRect& workspace, CSize page);

class CUnitViewController : public IWorkspaceView, public INavigatorListener {
public:
    // Becomes the document's view for as long as it lives.
    CUnitViewController(CUnitDocument& doc, IUnitViewWindow& window);
    ~CUnitViewController() override;
    CUnitViewController(const CUnitViewController&) = delete;
    CUnitViewController& operator=(const CUnitViewController&) = delete;

    // A button or menu command; false when the page does not handle it.
    virtual bool OnCommand(int id);
    virtual bool IsCommandEnabled(int id) const;

    // The page's operations in slot order. Slots 2 to 6 are the window's own.
    virtual CUnitDocument& GetDocument() const { return m_doc; } // 1
    virtual CRect GetPromptRect() const;                         // 7
    virtual void AfterProblemSet() {}                            // 8
    virtual void StartOver();                                    // 9
    // False when the pupil cancelled the save question and stays.
    virtual bool LeaveUnit();                           // 10
    virtual void SelectTool(int command);               // 11
    virtual void ShowHelp(int id);                      // 12
    virtual void ShowProblemControls(bool /*shown*/) {} // 13
    // 2 when the pupil wants more problems.
    virtual int AskEndProblemSet(bool /*more*/) { return 0; } // 14
    // The area left of the prompt window (a drawer), in view coordinates.
    virtual std::optional<CRect> GetSideArea() const { return std::nullopt; } // 15
    void ResetView() override {}                                              // 16
    void ScrollWorkspaceTo(double /*x*/, double /*y*/) override {}            // 17
    virtual void UnitHookA(int /*a*/) {}                                      // 18
    virtual void RefreshOptions(int /*a*/) {}                                 // 19
    virtual void HelpAt(CPoint p);                                            // 20
    virtual void MysteryAt(CPoint screen);                                    // 21
    virtual void UnitHookB(int /*a*/) {}                                      // 22
    virtual void OnCheck() {}                                                 // 23
    virtual void OnContinue() {}                                              // 24
    virtual void OnViewSolution() {}                                          // 25
    virtual void ShowContinue();                                              // 26
    virtual void HideContinue();                                              // 27

    // A click over the view that a modal tool disabled (`p` in view, `screen` in screen
    // coordinates): the Mystery tool's, or else the Help tool's.
    void ClickOverDisabledView(CPoint p, CPoint screen);

    // The problem-set framework.
    void EndProblemSet();
    void SetProblemCounter(const std::string& text);

    // The Arrow chosen from code: its palette button latches and the tool is selected.
    void SelectArrow() { SelectTool(ToolCommand(kToolArrow)); }

    int currentTool() const;
    bool continueShown() const { return m_continueShown; }
    int problemCount() const { return m_problemCount; }
    const std::string& caption() const { return m_caption; }
    void SetCaption(const std::string& caption) { m_caption = caption; }
    // The extent of the workspace in logical units; empty until the unit sets it.
    const CRect& workspaceRect() const { return m_workspaceRect; }
    void SetWorkspaceRect(const CRect& r) { m_workspaceRect = r; }

    // IWorkspaceView.
    void InvalidateRect(const CRect& r) override { m_window.InvalidateRect(r); }
    void InvalidateAll() override { m_window.InvalidateAll(); }
    void SetProblemCount(int count) override { m_problemCount = count; }
    void SetProblemCounterText(const std::string& text) override { SetProblemCounter(text); }
    void Print() override { m_window.Print(); }
    void DocumentStateChanged() override { m_window.CommandStateChanged(); }

protected:
    IUnitViewWindow& window() const { return m_window; }
    // The document host's message boxes; null without a host.
    IPrompter* prompter() const;

private:
    CUnitDocument& m_doc;
    IUnitViewWindow& m_window;
    bool m_continueShown = false;
    int m_problemCount = kDefaultProblemCount;
    std::string m_caption;
    CRect m_workspaceRect;
};

} // namespace quorvel
