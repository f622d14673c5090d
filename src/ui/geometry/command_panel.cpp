// The command panel's controls, their tool tips from the string table, their keyboard
// shortcuts, and the selection's width and colour shown on the line and colour buttons.
#include "ui/geometry/command_panel.h"

#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "workspace/string_table.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quorvel {

namespace {

constexpr QSize kCommandButton(60, 25);
constexpr int kColorSide = 24;

// Keys a teacher can tell a class: Ctrl with the command's first letter where it is free.
QKeySequence ShortcutFor(int id) {
    switch (id) {
    case kCmdGroup:
        return QKeySequence(Qt::CTRL | Qt::Key_G);
    case kCmdUngroup:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G);
    case kCmdCopy:
        return QKeySequence(Qt::CTRL | Qt::Key_D);
    case kCmdStamp:
        return QKeySequence(Qt::CTRL | Qt::Key_T);
    case kCmdEnlarge:
        return QKeySequence(Qt::CTRL | Qt::Key_Equal);
    case kCmdReduce:
        return QKeySequence(Qt::CTRL | Qt::Key_Minus);
    case kCmdFlipHorizontal:
        return QKeySequence(Qt::CTRL | Qt::Key_H);
    case kCmdFlipVertical:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H);
    case kCmdRotateRight:
        return QKeySequence(Qt::CTRL | Qt::Key_R);
    case kCmdRotateLeft:
        return QKeySequence(Qt::CTRL | Qt::Key_L);
    default:
        return {};
    }
}

QString ToolTipOf(int id) {
    const auto tip = LoadString(id);
    return tip ? ToQString(*tip) : QString();
}

// A latching button that shows a line of its width.
class CLineWidthButton : public QAbstractButton {
public:
    CLineWidthButton(int width, QWidget* parent) : QAbstractButton(parent), m_width(width) {
        setCheckable(true);
        setFixedSize(30, kCommandButton.height());
        setCursor(Qt::ArrowCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(isChecked() ? QPen(Qt::black, 2) : QPen(Qt::gray));
        p.setBrush(isDown() ? QColor(200, 220, 240)
                            : (isEnabled() ? Qt::white : QColor(235, 235, 235)));
        p.drawRoundedRect(box, 4, 4);
        p.setPen(QPen(isEnabled() ? Qt::black : Qt::gray, m_width == 1 ? 1 : 3, Qt::SolidLine,
                      Qt::FlatCap));
        const qreal y = height() / 2.0;
        p.drawLine(QPointF(6, y), QPointF(width() - 6, y));
        if (hasFocus()) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(rect().adjusted(2, 2, -3, -3));
        }
    }

private:
    int m_width;
};

// A square of its colour; the selection's common colour is framed.
class CColorSwatch : public QAbstractButton {
public:
    CColorSwatch(Color color, QWidget* parent) : QAbstractButton(parent), m_color(color) {
        setCheckable(true);
        setFixedSize(kColorSide, kColorSide);
        setCursor(Qt::ArrowCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5);
        const QColor fill = QtColor(m_color);
        p.setPen(QPen(isEnabled() ? QColor(60, 60, 60) : Qt::gray, 1));
        p.setBrush(isEnabled() ? fill : QColor(225, 225, 225));
        p.drawRoundedRect(box, 3, 3);
        if (isChecked() || isDown()) {
            p.setPen(QPen(Qt::black, 2));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
        }
        if (hasFocus()) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }

private:
    Color m_color;
};

} // namespace

CCommandPanel::CCommandPanel(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Shape commands"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);

    auto* commands = new QGridLayout;
    commands->setSpacing(3);
    int i = 0;
    for (const CCommandButton& info : ShapeCommandButtons()) {
        auto* b = new QPushButton(QString::fromLatin1(info.caption), this);
        b->setFixedSize(kCommandButton);
        b->setToolTip(ToolTipOf(info.id));
        b->setAccessibleName(QString::fromLatin1(info.caption));
        b->setShortcut(ShortcutFor(info.id));
        b->setAccessibleDescription(ShortcutFor(info.id).toString(QKeySequence::NativeText));
        b->setProperty("controlId", info.id);
        b->setCursor(Qt::ArrowCursor);
        b->setFocusPolicy(Qt::TabFocus);
        const int id = info.id;
        connect(b, &QPushButton::clicked, this, [this, id] { emit command(id); });
        m_buttons[id] = b;
        commands->addWidget(b, i / 5, i % 5);
        ++i;
    }
    row->addLayout(commands);

    // The angle box with its spin buttons above thin and thick line.
    auto* angleColumn = new QVBoxLayout;
    angleColumn->setSpacing(3);
    auto* angleRow = new QHBoxLayout;
    angleRow->setSpacing(1);
    m_angle = new QLineEdit(QStringLiteral("90"), this);
    m_angle->setFixedSize(42, kCommandButton.height());
    m_angle->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_angle->setMaxLength(8);
    m_angle->setAccessibleName(QStringLiteral("Angle of rotation"));
    m_angle->setToolTip(ToolTipOf(kCmdAngleSpin));
    m_angle->setProperty("controlId", kCmdAngleSpin);
    angleRow->addWidget(m_angle);
    auto* spins = new QVBoxLayout;
    spins->setSpacing(1);
    auto* up = new QToolButton(this);
    m_spinDown = new QToolButton(this);
    for (auto [b, type, name, delta] : {std::tuple{up, Qt::UpArrow, "Angle up", 1},
                                        std::tuple{m_spinDown, Qt::DownArrow, "Angle down", -1}}) {
        b->setArrowType(type);
        b->setFixedSize(18, 12);
        b->setAutoRepeat(true);
        b->setToolTip(ToolTipOf(kCmdAngleSpin));
        b->setAccessibleName(QString::fromLatin1(name));
        b->setProperty("controlId", kCmdAngleSpin);
        b->setCursor(Qt::ArrowCursor);
        const int d = delta;
        connect(b, &QToolButton::clicked, this, [this, d] { emit spin(d); });
        spins->addWidget(b);
    }
    m_buttons[kCmdAngleSpin] = up;
    angleRow->addLayout(spins);
    angleColumn->addLayout(angleRow);

    auto* widths = new QHBoxLayout;
    widths->setSpacing(3);
    for (auto [id, width, name] :
         {std::tuple{kCmdThinLine, 1, "Thin line"}, std::tuple{kCmdThickLine, 2, "Thick line"}}) {
        auto* b = new CLineWidthButton(width, this);
        b->setToolTip(ToolTipOf(id));
        b->setAccessibleName(QString::fromLatin1(name));
        b->setProperty("controlId", id);
        b->setFocusPolicy(Qt::TabFocus);
        const int c = id;
        // The button latches only when the selection's width says so.
        connect(b, &QAbstractButton::clicked, this, [this, b, c] {
            b->setChecked(!b->isChecked());
            emit command(c);
        });
        m_buttons[id] = b;
        widths->addWidget(b);
    }
    angleColumn->addLayout(widths);
    row->addLayout(angleColumn, 0);

    auto* colors = new QGridLayout;
    colors->setSpacing(2);
    i = 0;
    for (const CColorButton& info : ColorButtons()) {
        auto* b = new CColorSwatch(info.color, this);
        b->setToolTip(ToolTipOf(info.id));
        b->setAccessibleName(QString::fromLatin1(info.name));
        b->setProperty("controlId", info.id);
        b->setFocusPolicy(Qt::TabFocus);
        const int id = info.id;
        connect(b, &QAbstractButton::clicked, this, [this, b, id] {
            b->setChecked(!b->isChecked());
            emit command(id);
        });
        m_buttons[id] = b;
        colors->addWidget(b, i / 4, i % 4);
        ++i;
    }
    row->addLayout(colors);
    // Spare width goes after the colours, keeping each group together.
    row->addStretch(1);
    setFixedHeight(2 * kCommandButton.height() + 3);
    ShowLineWidth(0);
    ShowColor(kNoColor);
}

QAbstractButton* CCommandPanel::button(int id) const {
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

void CCommandPanel::UpdateEnabling(const std::function<bool(int)>& enabled) {
    for (auto [id, b] : m_buttons)
        b->setEnabled(enabled(id));
    m_spinDown->setEnabled(enabled(kCmdAngleSpin));
    m_angle->setEnabled(enabled(kCmdAngleSpin));
}

std::string CCommandPanel::AngleText() const {
    return ToStdString(m_angle->text());
}

void CCommandPanel::SetAngleText(const std::string& text) {
    m_angle->setText(ToQString(text));
}

void CCommandPanel::ShowLineWidth(int width) {
    button(kCmdThinLine)->setChecked(width == 1);
    button(kCmdThickLine)->setChecked(width == 2);
}

void CCommandPanel::ShowColor(Color color) {
    for (const CColorButton& info : ColorButtons())
        button(info.id)->setChecked(color != kNoColor && info.color == color);
}

} // namespace quorvel
