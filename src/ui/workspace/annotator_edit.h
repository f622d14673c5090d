// The Writing tool's edit box (control 1149): one per workspace, lying over the annotator being
// written and feeding it every change. It drives the core's CWritingTool.
#pragma once

#include "ui/platform/qt_drawing_surface.h"
#include "workspace/writing_tool.h"

#include <QPlainTextEdit>

#include <functional>

namespace quorvel {

class CUnitDocument;

class CAnnotatorEdit : public QPlainTextEdit, public IAnnotatorEditBox {
    Q_OBJECT
public:
    // Maps a workspace point to the coordinates of the widget the box lies in.
    using WorkspaceToHost = std::function<QPoint(CPoint)>;

    // Lies in `host`; hidden until the Writing tool binds it to an annotator.
    CAnnotatorEdit(CUnitDocument& doc, QWidget* host, WorkspaceToHost toHost);
    ~CAnnotatorEdit() override;

    CWritingTool& tool() { return m_tool; }
    // A click with the Writing tool at a workspace point.
    void ClickAt(CPoint p);
    // Ends the writing in progress, as losing the focus does.
    void EndWriting();

    // IAnnotatorEditBox.
    void ShowEditBox(const CRect& area, const std::string& text) override;
    void PlaceEditBox(const CRect& area) override;
    void HideEditBox() override;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Place();

    CQtTextMetrics m_metrics;
    CWritingTool m_tool;
    WorkspaceToHost m_toHost;
    CRect m_area;
    bool m_loading = false;
};

} // namespace quorvel
