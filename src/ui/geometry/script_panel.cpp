// The script panel's controls and the script windows, both refreshed from the controller.
#include "ui/geometry/script_panel.h"

#include "geometry/script_controller.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "workspace/string_table.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace quorvel {

namespace {

constexpr int kControlHeight = 24;
constexpr int kBannerHeight = 22;

// "Select&&Group" keeps its ampersand on screen, as the name says.
QString Caption(const char* caption) {
    return QString::fromLatin1(caption);
}

QString PlainCaption(const char* caption) {
    QString text = Caption(caption).trimmed();
    text.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return text;
}

} // namespace

QIcon SlideDirectionIcon(int index) {
    static std::map<int, QIcon> cache;
    if (const auto it = cache.find(index); it != cache.end())
        return it->second;
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(16, 16);
    // Icon k points (k - 1) * 15 degrees anticlockwise from the right; y grows downwards.
    p.rotate(-(index - 1) * 15.0);
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-11, 0), QPointF(8, 0));
    QPainterPath head;
    head.moveTo(13, 0);
    head.lineTo(4, -6);
    head.lineTo(4, 6);
    head.closeSubpath();
    p.fillPath(head, Qt::black);
    p.end();
    return cache[index] = QIcon(pixmap);
}

// --- the panel -------------------------------------------------------------------------------

CScriptPanel::CScriptPanel(CScriptController& scripts, QWidget* parent)
    : QWidget(parent), m_scripts(scripts) {
    setAccessibleName(QStringLiteral("Scripts"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(3);
    const auto control = [this](int id) -> const CScriptControl& {
        for (const CScriptControl& c : ScriptPanelControls())
            if (c.id == id)
                return c;
        return ScriptPanelControls().front();
    };

    m_combo = new QComboBox(this);
    m_combo->setFixedSize(80, kControlHeight);
    m_combo->setToolTip(ToQString(control(kCtlScriptCombo).toolTip));
    m_combo->setAccessibleName(QStringLiteral("Script name"));
    m_combo->setProperty("controlId", kCtlScriptCombo);
    connect(m_combo, &QComboBox::activated, this, [this](int index) {
        m_scripts.SelectScript(
            index < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(index)));
    });
    row->addWidget(m_combo);

    const auto addButton = [&](int id) {
        const CScriptControl& c = control(id);
        auto* b = new QPushButton(Caption(c.caption), this);
        b->setFixedHeight(kControlHeight);
        // Narrow margins and a slightly smaller type, so that the whole row, repeat controls
        // and all, fits beside the palette with every caption whole.
        QFont small = b->font();
        small.setPixelSize(11);
        b->setFont(small);
        b->setStyleSheet(QStringLiteral("QPushButton { padding: 1px 5px; }"));
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text().remove(QLatin1Char('&'))) +
                           12);
        b->setAccessibleName(PlainCaption(c.caption));
        if (c.toolTip)
            b->setToolTip(ToQString(c.toolTip));
        b->setProperty("controlId", id);
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, [this, id] { emit command(id); });
        m_buttons[id] = b;
        row->addWidget(b);
        return b;
    };
    for (int id : {kCmdRecord, kCmdViewScript, kCmdPlay, kCmdStopPlay, kCmdSelectAndGroup})
        addButton(id);
    row->addSpacing(8);
    addButton(kCmdRepeat);
    m_times = new QRadioButton(ToQString(kRepeatTimesCaption), this);
    m_times->setChecked(true);
    m_number = new QLineEdit(ToQString(scripts.repeatNumberText()), this);
    m_number->setFixedSize(32, kControlHeight);
    m_number->setMaxLength(static_cast<int>(kRepeatNumberLength));
    m_number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_number->setAccessibleName(QStringLiteral("Repeat times"));
    if (const auto tip = LoadString(kCtlRepeatNumber))
        m_number->setToolTip(ToQString(*tip));
    m_number->setProperty("controlId", kCtlRepeatNumber);
    m_toEnd = new QRadioButton(ToQString(kRepeatToEndCaption), this);
    connect(m_times, &QRadioButton::toggled, this, [this](bool on) {
        m_scripts.SetRepeatKind(on ? RepeatKind::Times : RepeatKind::ToEnd);
    });
    connect(m_number, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_scripts.SetRepeatNumberText(ToStdString(text)); });
    row->addWidget(m_times);
    row->addWidget(m_number);
    row->addWidget(m_toEnd);
    addButton(kCmdStopRepeat);
    row->addStretch();
    setFixedHeight(kControlHeight);
    RefreshScripts();
}

QAbstractButton* CScriptPanel::button(int id) const {
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

void CScriptPanel::RefreshScripts() {
    const CScriptList& list = m_scripts.scripts();
    m_combo->clear();
    for (const ScriptStructList& s : list.scripts())
        m_combo->addItem(ToQString(s.name));
    m_combo->setCurrentIndex(list.selected() ? static_cast<int>(*list.selected()) : -1);
}

void CScriptPanel::UpdateControls(const std::function<bool(int)>& enabled) {
    for (auto [id, b] : m_buttons) {
        b->setVisible(m_scripts.IsControlShown(id));
        b->setEnabled(enabled(id));
    }
    const bool repeatShown = m_scripts.IsControlShown(kCtlRepeatNumber);
    const bool repeatEnabled = enabled(kCtlRepeatNumber);
    for (QWidget* w : std::initializer_list<QWidget*>{m_times, m_number, m_toEnd}) {
        w->setVisible(repeatShown);
        w->setEnabled(repeatEnabled);
    }
    m_combo->setEnabled(enabled(kCtlScriptCombo) && !m_scripts.IsBusy());
}

void CScriptPanel::FocusRepeatNumber() {
    m_number->selectAll();
    m_number->setFocus();
}

// --- a script window -------------------------------------------------------------------------

CScriptWindow::CScriptWindow(CScriptController& scripts, std::size_t script, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_scripts(scripts), m_script(script) {
    setWindowTitle(ToQString(kScriptWindowTitle));
    setFixedSize(kScriptWindowWidth, kScriptWindowHeight);
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QtColor(kScriptWindowBackground));
    setPalette(grey);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 6, 8, 8);
    column->setSpacing(5);
    m_name = new QLineEdit(this);
    m_name->setMaxLength(static_cast<int>(kMaxScriptNameLength));
    m_name->setAccessibleName(QStringLiteral("Script name"));
    m_name->setProperty("controlId", kCtlScriptName);
    connect(m_name, &QLineEdit::returnPressed, this, &CScriptWindow::Rename);
    column->addWidget(m_name);
    column->addSpacing(kBannerHeight);
    m_steps = new QListWidget(this);
    m_steps->setIconSize(QSize(16, 16));
    m_steps->setAccessibleName(QStringLiteral("Script steps"));
    m_steps->setUniformItemSizes(true);
    connect(m_steps, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_refreshing)
            m_scripts.SelectRow(m_script, row);
    });
    column->addWidget(m_steps, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(3);
    for (const CScriptControl& c : ScriptWindowButtons()) {
        auto* b = new QPushButton(Caption(c.caption), this);
        b->setFixedHeight(kControlHeight);
        b->setAccessibleName(PlainCaption(c.caption));
        b->setProperty("controlId", c.id);
        const int id = c.id;
        connect(b, &QPushButton::clicked, this, [this, id] {
            const QPoint at = pos();
            switch (id) {
            case kCmdEndRecord:
                m_scripts.OnEndRecord();
                break;
            case kCmdDeleteStep:
                m_scripts.OnDeleteStep(m_script);
                break;
            case kCmdClearScript:
                m_scripts.OnClearScript(m_script);
                break;
            case kCmdCloseScript:
                m_scripts.OnCloseWindow(m_script, {at.x(), at.y()});
                break;
            default:
                break;
            }
        });
        m_buttons[id] = b;
        buttons->addWidget(b);
    }
    column->addLayout(buttons);
    Refresh();
}

QPushButton* CScriptWindow::button(int id) const {
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

void CScriptWindow::Refresh() {
    if (m_script >= m_scripts.scripts().size())
        return;
    m_refreshing = true;
    const ScriptStructList& script = m_scripts.scripts().at(m_script);
    if (!m_name->hasFocus() || m_name->text().isEmpty())
        m_name->setText(ToQString(script.name));
    const std::vector<CScriptRow> rows = m_scripts.Rows(m_script);
    // Rows are replaced in place so that a long list keeps its scroll position.
    while (m_steps->count() > static_cast<int>(rows.size()))
        delete m_steps->takeItem(m_steps->count() - 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QListWidgetItem* item = m_steps->item(static_cast<int>(i));
        if (!item)
            item = new QListWidgetItem(m_steps);
        item->setText(ToQString(rows[i].text));
        item->setIcon(rows[i].icon > 0 ? SlideDirectionIcon(rows[i].icon) : QIcon());
    }
    const int selected = m_scripts.windowState(m_script).selectedRow;
    m_steps->setCurrentRow(selected);
    if (selected >= 0)
        m_steps->scrollToItem(m_steps->item(selected));
    const bool recording = m_scripts.IsWindowRecording(m_script);
    button(kCmdEndRecord)->setVisible(recording);
    for (int id : {kCmdDeleteStep, kCmdClearScript, kCmdCloseScript})
        button(id)->setVisible(!recording);
    m_name->setReadOnly(recording);
    m_refreshing = false;
    update();
}

void CScriptWindow::Rename() {
    const auto result = m_scripts.RenameScript(m_script, ToStdString(m_name->text()));
    if (result == CScriptController::RenameResult::Refused) {
        m_name->setText(ToQString(m_scripts.scripts().at(m_script).name));
        m_name->selectAll();
    }
}

void CScriptWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int top = m_name->geometry().bottom() + 4;
    const QRect banner(8, top, width() - 16, kBannerHeight);
    const bool recording = m_scripts.IsWindowRecording(m_script);
    p.fillRect(banner, QtColor(recording ? kRecordingBannerColor : kScriptWindowBackground));
    if (recording) {
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(Qt::white);
        p.drawText(banner, Qt::AlignCenter, ToQString(kRecordingBanner));
    }
}

void CScriptWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    if (isVisible())
        m_scripts.WindowMoved(m_script, {pos().x(), pos().y()});
}

void CScriptWindow::closeEvent(QCloseEvent* e) {
    // The window's own close box is Close; while recording it stays open.
    e->ignore();
    m_scripts.OnCloseWindow(m_script, {pos().x(), pos().y()});
}

} // namespace quorvel
