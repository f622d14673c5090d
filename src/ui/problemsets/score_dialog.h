// The score window at the end of a problem set: the text centred on white, a "Close" button
// with the exit art (1) and, when more problems may follow, a second "Close" with the Continue
// art (2), side by side at the bottom left.
#pragma once

#include <QDialog>

class QLabel;

namespace quorvel {

class CBitmapButton;

class CScoreDialog : public QDialog {
    Q_OBJECT
public:
    CScoreDialog(const QString& text, bool more, QWidget* parent);

    CBitmapButton* closeButton() const { return m_close; }
    // Null when no more problems are offered.
    CBitmapButton* moreButton() const { return m_more; }
    QLabel* label() const { return m_label; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    QLabel* m_label = nullptr;
    CBitmapButton* m_close = nullptr;
    CBitmapButton* m_more = nullptr;
};

} // namespace quorvel
