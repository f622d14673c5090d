// The page of an open unit document: the unit's workspace page under the unit's title.
#pragma once

#include "app/activities.h"

#include <QList>
#include <QWidget>

class QMenu;

namespace quorvel {

class CBitmapButton;
class CUnitDocument;
class CUnitView;

class CUnitPage : public QWidget {
    Q_OBJECT
public:
    CUnitPage(CUnitDocument& doc, UnitKind unit, const QString& title, QWidget* parent);
    ~CUnitPage() override;

    CUnitDocument& document() const { return m_doc; }
    UnitKind unit() const { return m_unit; }
    QString title() const { return m_title; }
    CUnitView* view() const { return m_view; }
    CBitmapButton* exitButton() const;
    // The unit's own menu for the menu bar ("Te&ssellations", "&Numbers"), or null.
    QMenu* unitMenu() const { return m_unitMenu; }
    // Every menu the unit puts on the menu bar, in order.
    QList<QMenu*> unitMenus() const;
    void Print();

signals:
    // The pupil has left the unit (exit button or "E&xit", after the save question).
    void exitRequested();
    // The document's modified flag or undo history changed, or "E&xit" its enabling.
    void stateChanged();

private:
    CUnitDocument& m_doc;
    UnitKind m_unit;
    QString m_title;
    CUnitView* m_view = nullptr;
    QMenu* m_unitMenu = nullptr;
    QMenu* m_secondMenu = nullptr;
};

} // namespace quorvel
