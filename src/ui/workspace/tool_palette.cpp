// The tool palette's buttons follow its latching model.
#include "ui/workspace/tool_palette.h"

#include "ui/platform/qt_text.h"
#include "ui/workspace/art_button.h"
#include "workspace/string_table.h"

namespace quorvel {

CToolPalette::CToolPalette(QWidget* parent, int rows) : QFrame(parent), m_model(rows) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setProperty("controlId", kToolPaletteId);
    setAccessibleName(QStringLiteral("Tool palette"));
    setCursor(Qt::ArrowCursor);
    setAutoFillBackground(true);
    const CSize size = m_model.size();
    setFixedSize(size.cx, size.cy);
    for (const CToolPaletteModel::Button& b : m_model.buttons()) {
        const CToolInfo& tool = ToolTable()[static_cast<std::size_t>(ToolCodeOf(b.command))];
        auto* button = new CArtButton(b.command, tool.up, tool.down, tool.disabled, this);
        button->setCheckable(true);
        // The model places buttons inside the border.
        button->setGeometry(b.rect.left + lineWidth(), b.rect.top + lineWidth(), b.rect.Width(),
                            b.rect.Height());
        button->setAccessibleName(QString::fromLatin1(tool.name));
        if (const auto tip = LoadString(b.command))
            button->setToolTip(ToQString(*tip));
        // The palette latches; a click on the latched button keeps it down.
        connect(button, &QAbstractButton::clicked, this, [this, c = b.command] { Click(c); });
        m_buttons[b.command] = button;
    }
    Sync();
}

CArtButton* CToolPalette::button(int command) const {
    const auto it = m_buttons.find(command);
    return it == m_buttons.end() ? nullptr : it->second;
}

void CToolPalette::ShowTool(int code, bool shown) {
    m_model.ShowTool(code, shown);
    Sync();
}

void CToolPalette::EnableTool(int code, bool enabled) {
    m_model.EnableTool(code, enabled);
    Sync();
}

void CToolPalette::SetPressed(int command) {
    m_model.SetPressed(command);
    Sync();
}

void CToolPalette::Click(int command) {
    const bool latched = m_model.Press(command);
    Sync();
    if (latched)
        emit toolChosen(command);
}

void CToolPalette::Sync() {
    for (const CToolPaletteModel::Button& b : m_model.buttons()) {
        CArtButton* button = m_buttons.at(b.command);
        button->setVisible(b.shown);
        button->setEnabled(b.enabled);
        button->setChecked(b.command == m_model.pressed());
    }
}

} // namespace quorvel
