// The prompt window's children and painting.
#include "ui/problemsets/problem_prompt_wnd.h"

#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"
#include "workspace/unit_view_controller.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QToolButton>
#include <QValidator>

namespace quorvel {

namespace {

QRect ToQRect(const CRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// A choice that takes a click anywhere on its line, not only on its circle and words.
class CChoiceButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& p) const override { return rect().contains(p); }
};

// Typing in a number field keeps to what the prompt model accepts.
class CNumberFieldValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return NumberFieldAccepts(ToStdString(input)) ? Acceptable : Invalid;
    }
};

// The n-th question with a control of this kind, counted from 1, for the accessible names.
QString Ordinal(const CPromptControl& c) {
    return QString::number(c.question + 1);
}

} // namespace

CProblemPromptWnd::CProblemPromptWnd(CProblemPrompt& prompt, const CPromptFonts& fonts,
                                     QWidget* parent)
    : QWidget(parent), m_prompt(prompt), m_fonts(fonts) {
    setProperty("controlId", kPromptWindowId);
    setObjectName(QStringLiteral("problemPrompt"));
    setAccessibleName(QStringLiteral("Problem prompt"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(QtFont(m_fonts.prompt));
    BuildControls();
    m_prompt.SetListener(this);
}

CProblemPromptWnd::~CProblemPromptWnd() {
    m_prompt.SetListener(nullptr);
}

QWidget* CProblemPromptWnd::control(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void CProblemPromptWnd::BuildControls() {
    for (auto& [id, w] : m_controls)
        delete w;
    m_controls.clear();
    delete m_radios;
    m_radios = new QButtonGroup(this);

    for (const CPromptControl& c : m_prompt.controls()) {
        QWidget* w = nullptr;
        switch (c.kind) {
        case PromptControlKind::OperatorField: {
            auto* e = new QLineEdit(this);
            e->setReadOnly(true);
            e->setAlignment(Qt::AlignCenter);
            e->setFont(QtFont(m_fonts.symbol));
            e->setAccessibleName(QStringLiteral("Operator for question %1").arg(Ordinal(c)));
            e->setToolTip(QStringLiteral("Use the arrows (or the Up and Down keys) to change "
                                         "the operator."));
            e->installEventFilter(this);
            w = e;
            break;
        }
        case PromptControlKind::NumberField: {
            auto* e = new QLineEdit(this);
            e->setMaxLength(kNumberFieldMaxChars);
            e->setAlignment(Qt::AlignCenter);
            e->setValidator(new CNumberFieldValidator(e));
            e->setAccessibleName(QStringLiteral("Number for question %1").arg(Ordinal(c)));
            e->setToolTip(QStringLiteral("Type a number, or use the arrows (or the Up and Down "
                                         "keys) to change it."));
            e->installEventFilter(this);
            const int id = c.id;
            connect(e, &QLineEdit::textEdited, this, [this, id](const QString& text) {
                if (!m_syncing)
                    m_prompt.SetNumberText(id, ToStdString(text));
            });
            w = e;
            break;
        }
        case PromptControlKind::SpinUp:
        case PromptControlKind::SpinDown: {
            auto* b = new QToolButton(this);
            const bool up = c.kind == PromptControlKind::SpinUp;
            b->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
            b->setAutoRepeat(true);
            // The keyboard changes the field from the field itself.
            b->setFocusPolicy(Qt::NoFocus);
            const bool op = m_prompt.Control(c.field)->kind == PromptControlKind::OperatorField;
            b->setAccessibleName(
                QStringLiteral("%1 %2 for question %3")
                    .arg(up ? QStringLiteral("Up") : QStringLiteral("Down"),
                         op ? QStringLiteral("operator") : QStringLiteral("number"), Ordinal(c)));
            const int id = c.id;
            connect(b, &QToolButton::clicked, this, [this, id] { m_prompt.Spin(id); });
            w = b;
            break;
        }
        case PromptControlKind::Radio: {
            const std::string& text = m_prompt.questions()[static_cast<std::size_t>(c.question)]
                                          .choices[static_cast<std::size_t>(c.choice)];
            auto* r = new CChoiceButton(ToQString(text), this);
            r->setAccessibleName(ToQString(text));
            r->installEventFilter(this);
            // Greyed choices (after the last try, with the solution shown) stay readable on
            // the workspace colour.
            QPalette pal = r->palette();
            pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(70, 70, 70));
            pal.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(70, 70, 70));
            r->setPalette(pal);
            m_radios->addButton(r, c.id);
            w = r;
            break;
        }
        }
        // Help over an answer control explains the prompt window: the controls have no help
        // texts of their own.
        w->setProperty("promptControlId", c.id);
        w->show();
        m_controls[c.id] = w;
    }
    connect(m_radios, &QButtonGroup::idClicked, this, [this](int id) {
        if (!m_syncing)
            m_prompt.ChooseRadio(id);
    });
    // Tab goes through the answers in the order of the questions.
    QWidget* previous = nullptr;
    for (const CPromptControl& c : m_prompt.controls()) {
        QWidget* w = m_controls[c.id];
        if (w->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
    SyncControls();
    Relayout();
}

void CProblemPromptWnd::SyncControls() {
    m_syncing = true;
    for (const CPromptControl& c : m_prompt.controls()) {
        QWidget* w = m_controls[c.id];
        if (c.kind == PromptControlKind::OperatorField) {
            const int op = m_prompt.OperatorIndex(c.id);
            const std::string code =
                op < 0 ? std::string() : std::string(1, static_cast<char>(OperatorSymbolCode(op)));
            static_cast<QLineEdit*>(w)->setText(FaceText(m_fonts.symbol, code));
        } else if (c.kind == PromptControlKind::NumberField) {
            auto* e = static_cast<QLineEdit*>(w);
            const QString text = ToQString(m_prompt.FieldText(c.id));
            if (e->text() != text)
                e->setText(text);
        } else if (c.kind == PromptControlKind::Radio) {
            w->setEnabled(m_prompt.choicesEnabled());
        }
    }
    // No choice shows as no button checked, which an exclusive group would not allow.
    const int chosen = m_prompt.chosenChoice();
    m_radios->setExclusive(false);
    for (QAbstractButton* b : m_radios->buttons()) {
        const CPromptControl* c = m_prompt.Control(m_radios->id(b));
        const bool checked = c && c->choice == chosen;
        b->setChecked(checked);
        // The chosen line stands out, which matters most when it shows the solution.
        QFont f = font();
        f.setBold(checked);
        b->setFont(f);
    }
    m_radios->setExclusive(true);
    m_syncing = false;
}

void CProblemPromptWnd::Relayout() {
    CQtTextMetrics metrics;
    m_layout = LayoutPrompt(m_prompt, {width(), height()}, metrics, m_fonts);
    for (const CPromptPlace& place : m_layout.places)
        if (QWidget* w = control(place.id))
            w->setGeometry(ToQRect(place.rect));
    update();
}

void CProblemPromptWnd::PromptChanged() {
    // Another set of questions brings other controls.
    bool same = m_controls.size() == m_prompt.controls().size();
    for (const CPromptControl& c : m_prompt.controls())
        same = same && m_controls.count(c.id);
    if (!same) {
        BuildControls();
        return;
    }
    SyncControls();
    Relayout();
}

void CProblemPromptWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    CQtDrawingSurface surface(p);
    PaintPrompt(surface, m_prompt, m_layout, m_fonts);
}

void CProblemPromptWnd::resizeEvent(QResizeEvent*) {
    Relayout();
}

bool CProblemPromptWnd::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit checkRequested();
        return true;
    }
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return QWidget::eventFilter(watched, event);
    // The Up and Down keys in a field press its spins.
    for (const CPromptControl& c : m_prompt.controls()) {
        if (control(c.field) != watched)
            continue;
        if ((key == Qt::Key_Up && c.kind == PromptControlKind::SpinUp) ||
            (key == Qt::Key_Down && c.kind == PromptControlKind::SpinDown)) {
            m_prompt.Spin(c.id);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quorvel
