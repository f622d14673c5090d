// The page of an open unit document: the workspace with its manipulatives and the exit button.
#pragma once

#include "app/activities.h"
#include "workspace/document_host.h"

#include <QWidget>

namespace quorvel {

class CBitmapButton;
class CUnitDocument;

class CUnitPage : public QWidget, public IWorkspaceView {
    Q_OBJECT
public:
    CUnitPage(CUnitDocument& doc, UnitKind unit, const QString& title, QWidget* parent);
    ~CUnitPage() override;

    CUnitDocument& document() const { return m_doc; }
    UnitKind unit() const { return m_unit; }
    QString title() const { return m_title; }
    CBitmapButton* exitButton() const { return m_exit; }

    // IWorkspaceView.
    void InvalidateRect(const CRect& r) override;
    void InvalidateAll() override { update(); }
    void ResetView() override { update(); }
    void SetProblemCounterText(const std::string& text) override;
    void Print() override;
    void DocumentStateChanged() override { emit stateChanged(); }

signals:
    void exitRequested();
    // The document's modified flag or its undo history changed.
    void stateChanged();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    CUnitDocument& m_doc;
    UnitKind m_unit;
    QString m_title;
    QString m_counter;
    CBitmapButton* m_exit = nullptr;
};

} // namespace quorvel
