// The Designs page's logic without a screen: the design machine's chooser, boxes, spin buttons,
// check boxes, Go and Clear under the Arrow, the Mystery tool on the times and angle boxes, the
// run's timers and the "&Design" menu. The page maps its events here in workspace coordinates
// and lays an editor over a box only while asked to.
#pragma once

#include "patterns/design_machine.h"
#include "patterns/patterns_documents.h"
#include "workspace/timer_host.h"
#include "workspace/unit_view_controller.h"

#include <memory>
#include <optional>

namespace quorvel {

// The "&Design" menu.
inline constexpr int kCmdHideMachine = 32796;   // "&Hide Machine"
inline constexpr int kCmdShowMachine = 32797;   // "&Show Machine"
inline constexpr int kCmdDesignOptions = 32798; // "&Design Options..."
inline constexpr int kCmdExportDesign = 32799;  // "Export Design as PNG/SVG..."
inline constexpr const char* kFailedToExportDesign = "The design could not be exported.";

// A box of the machine while the page's editor lies over it.
struct CDesignEdit {
    DesignPart box = DesignPart::TimesBox;
    CRect rect; // workspace coordinates
    std::string text;
};

class IDesignsViewWindow {
public:
    virtual ~IDesignsViewWindow() = default;
    virtual void BeginEdit(const CDesignEdit& edit) = 0;
    virtual void EndEdit() = 0;
    virtual CPoint ScreenToWorkspace(CPoint screen) const { return screen; }
    virtual std::optional<CPoint> PageToWorkspace(CPoint) const { return std::nullopt; }
    // The wait cursor while a design is drawn, the arrow again afterwards.
    virtual void SetBusy(bool) {}
    // Writes the design window's picture to `path`, as PNG or, for a ".svg" path, SVG.
    virtual bool WriteDesignPicture(const std::string&) { return false; }
};

class CDesignsViewController : public CUnitViewController, public ITimerClient {
public:
    CDesignsViewController(CDesignPatternsDocument& doc, IUnitViewWindow& window,
                           std::unique_ptr<ITimerHost> timers);
    ~CDesignsViewController() override;

    void SetDesignsWindow(IDesignsViewWindow* window) { m_designsWindow = window; }
    CDesignPatternsDocument& designsDocument() const { return m_doc; }
    CDesignFunctionMachine& machine() const { return m_doc.machine(); }

    bool OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;
    void SelectTool(int command) override;
    void MysteryAt(CPoint screen) override;
    void HelpAt(CPoint p) override;
    void ResetView() override;
    void StartOver() override;
    // "&Design Options..." chose other options: one undo step, applied to the page.
    void SetOptions(const CDesignOptions& options);

    void MouseDown(CPoint p);
    void EditChanged(const std::string& text);
    void EndEdit();
    bool editing() const { return m_edit.has_value(); }
    const std::optional<CDesignEdit>& edit() const { return m_edit; }
    // Enter presses Go; the arrows are the navigator's (false).
    bool KeyPress(int key);

    // The machine's controls (also reached by clicks).
    void PressGo();
    void PressClear();
    void PressPart(DesignPart part);
    // "Export Design as PNG/SVG...": the file question, then the page writes the picture.
    void ExportDesign();

    void OnTimer(std::uint32_t id) override;
    void StopAll();
    bool running() const { return machine().animating(); }

private:
    void Message(const std::string& text);
    void Changed();
    // The page follows the document's options.
    void OptionsChanged();

    CDesignPatternsDocument& m_doc;
    std::unique_ptr<ITimerHost> m_timers;
    IDesignsViewWindow* m_designsWindow = nullptr;
    std::optional<CDesignEdit> m_edit;
};

} // namespace quorvel
