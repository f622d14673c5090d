// Menu pages: graded backgrounds, bitmap buttons placed by the pages' rules, captions and the
// investigations' instruction box.
#include "ui/app/menu_views.h"

#include "app/frame_resources.h"
#include "ui/app/bitmap_button.h"
#include "ui/art/art.h"
#include "ui/platform/qt_drawing_surface.h"
#include "ui/platform/qt_text.h"

#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace quorvel {
namespace {

constexpr CBitmapButton::Bitmaps kBackBitmaps{168, 169, 204, 0};
// The page title stands right of the back button.
constexpr QPoint kTitleAt(48 + 10, 10);

QFont PageFont(AppFont which) {
    return QtFont(AppFonts()[which]);
}

QColor Navy() {
    return QColor(0, 45, 110);
}

} // namespace

QColor ActivityKindColor(const std::string& kind) {
    if (kind.rfind("Demonstration", 0) == 0)
        return QColor(236, 120, 20);
    if (kind == "Exploration")
        return QColor(40, 150, 60);
    if (kind == "Make Challenges")
        return QColor(140, 70, 200);
    if (kind == "Solve Challenges")
        return QColor(0, 130, 150);
    if (kind == "Problem Sets")
        return QColor(210, 50, 60);
    return QColor(30, 100, 210); // Challenges
}

// ---- CMenuView ----

CMenuView::CMenuView(CWorkshopApp& app, MenuView which, QWidget* parent)
    : QWidget(parent), m_app(app), m_which(which) {
    setAutoFillBackground(false);
    m_back = AddButton(new CBitmapButton(kCmdMenuBack, kBackBitmaps, QStringLiteral("Back"), this));
    m_back->setGeometry(0, 0, 48, 41);
    if (which != MenuView::Main)
        m_back->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(m_back, &QAbstractButton::clicked, this, [this] { Command(kCmdMenuBack); });
}

void CMenuView::Command(int id) {
    m_app.OnMenuCommand(m_which, id);
}

QString CMenuView::pageTitle() const {
    return ToQString(m_app.menuViewTitle(m_which));
}

CBitmapButton* CMenuView::AddButton(CBitmapButton* b) {
    m_buttons.push_back(b);
    return b;
}

CBitmapButton* CMenuView::button(int id) const {
    for (auto* b : m_buttons)
        if (b->id() == id)
            return b;
    return nullptr;
}

void CMenuView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintBackground(p);
    PaintTitle(p);
}

void CMenuView::PaintBackground(QPainter& p) {
    // 64 bands from white-blue at the top to a deeper blue at the bottom, a band per line range.
    const int h = height();
    int y = 0;
    while (y < h) {
        const int band = MenuBandForLine(y, h);
        int end = y + 1;
        while (end < h && MenuBandForLine(end, h) == band)
            ++end;
        p.fillRect(0, y, width(), end - y, QtColor(MenuBandColor(band)));
        y = end;
    }
}

void CMenuView::PaintTitle(QPainter& p) {
    p.setFont(PageFont(kFontCaption));
    p.setPen(Navy());
    p.drawText(QRect(kTitleAt, QSize(width() - kTitleAt.x() - 10, 40)),
               Qt::AlignLeft | Qt::AlignTop, pageTitle());
}

// ---- CMainMenuView ----

CMainMenuView::CMainMenuView(CWorkshopApp& app, QWidget* parent)
    : CMenuView(app, MenuView::Main, parent) {
    m_back->setAccessibleName(QStringLiteral("Exit the program"));
    m_back->setToolTip(m_back->accessibleName());
    const struct {
        int id;
        CBitmapButton::Bitmaps bitmaps;
        const char* name;
        Qt::Key key;
    } buttons[] = {
        {kCmdGeometryUnitMenu, {517, 519, 517, 0}, "Tiles and Tessellations", Qt::Key_T},
        {kCmdPatternsUnitMenu, {523, 525, 523, 0}, "Patterns", Qt::Key_P},
        {kCmdStatsUnitMenu, {520, 522, 520, 0}, "Statistics", Qt::Key_S},
        {kCmdViewIntro, {527, 548, 527, 0}, "View Intro", Qt::Key_I},
    };
    for (const auto& b : buttons) {
        auto* button =
            AddButton(new CBitmapButton(b.id, b.bitmaps, QString::fromLatin1(b.name), this));
        button->setShortcut(QKeySequence(Qt::ALT | b.key));
        const int id = b.id;
        connect(button, &QAbstractButton::clicked, this, [this, id] { Command(id); });
    }
    setTabOrder(button(kCmdGeometryUnitMenu), button(kCmdPatternsUnitMenu));
    setTabOrder(button(kCmdPatternsUnitMenu), button(kCmdStatsUnitMenu));
    setTabOrder(button(kCmdStatsUnitMenu), button(kCmdViewIntro));
    setTabOrder(button(kCmdViewIntro), m_back);
}

void CMainMenuView::resizeEvent(QResizeEvent* e) {
    const CSize page{e->size().width(), e->size().height()};
    for (int id : {kCmdGeometryUnitMenu, kCmdPatternsUnitMenu, kCmdStatsUnitMenu}) {
        QWidget* b = button(id);
        const CPoint c = MainMenuButtonCentre(id, page);
        b->move(c.x - b->width() / 2, c.y - b->height() / 2);
    }
    QWidget* intro = button(kCmdViewIntro);
    intro->move((page.cx - intro->width()) / 2, page.cy - intro->height());
}

void CMainMenuView::PaintBackground(QPainter& p) {
    const QPixmap tile = ArtPixmap(441);
    if (tile.isNull()) {
        CMenuView::PaintBackground(p);
        return;
    }
    p.drawTiledPixmap(rect(), tile);
}

void CMainMenuView::PaintTitle(QPainter& p) {
    const QFont caption = PageFont(kFontCaption);
    const QFont line = PageFont(kFontLarge);
    const int captionHeight = QFontMetrics(caption).height();
    const int lineHeight = QFontMetrics(line).height();
    const QString title = QStringLiteral("QUORVEL Demonstration");
    const QString prompt = QStringLiteral("Please select a unit.");
    // A white plate keeps the words legible over the tiled background.
    const int plateWidth = std::max(QFontMetrics(caption).horizontalAdvance(title),
                                    QFontMetrics(line).horizontalAdvance(prompt)) +
                           40;
    const QRect plate((width() - plateWidth) / 2, 4, plateWidth, captionHeight + lineHeight + 12);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 215));
    p.drawRoundedRect(plate, 12, 12);
    p.setPen(Navy());
    p.setFont(caption);
    p.drawText(QRect(0, 8, width(), captionHeight), Qt::AlignHCenter | Qt::AlignTop, title);
    p.setFont(line);
    p.drawText(QRect(0, 8 + captionHeight + 2, width(), lineHeight),
               Qt::AlignHCenter | Qt::AlignTop, prompt);
}

// ---- CUnitMenuView ----

CUnitMenuView::CUnitMenuView(CWorkshopApp& app, int unitMenu, const InvestigationBitmaps& bitmaps,
                             QWidget* parent)
    : CMenuView(app, UnitMenuView(unitMenu), parent), m_unitMenu(unitMenu) {
    const struct {
        int id;
        const char* art;
        const char* name;
        Qt::Key key;
    } top[] = {
        {kCmdExplore, "explore", "Explore", Qt::Key_E},
        {kCmdMakeChallenges, "make_challenges", "Make Challenges", Qt::Key_M},
        {kCmdSolveChallenges, "solve_challenges", "Solve Challenges", Qt::Key_S},
    };
    for (const auto& t : top) {
        auto* b = AddButton(
            new CBitmapButton(t.id, QString::fromLatin1(t.art), QString::fromLatin1(t.name), this));
        b->setShortcut(QKeySequence(Qt::ALT | t.key));
        const int id = t.id;
        connect(b, &QAbstractButton::clicked, this, [this, id] { Command(id); });
    }
    const int menu = InvestigationsMenuOfUnit(unitMenu);
    for (int n = 1; n <= 5; ++n) {
        const auto& bm = bitmaps[static_cast<std::size_t>(n - 1)];
        const CInvestigation* inv = FindInvestigation(menu, n - 1);
        const QString name =
            QStringLiteral("Investigation %1: %2").arg(n).arg(ToQString(inv->title));
        const int id = InvestigationCommand(n);
        auto* b = AddButton(new CBitmapButton(id, {bm[0], bm[1], bm[2], bm[3]}, name, this));
        b->setShortcut(QKeySequence(Qt::ALT | (Qt::Key_0 + n)));
        connect(b, &QAbstractButton::clicked, this, [this, id] { Command(id); });
    }
    auto* guide =
        AddButton(new CBitmapButton(kCmdUnitGuide, {546, 547, 546, 0},
                                    QStringLiteral("View Demonstration Instructions"), this));
    guide->setGeometry(10, 40, 180, 50);
    guide->setShortcut(QKeySequence(Qt::ALT | Qt::Key_V));
    connect(guide, &QAbstractButton::clicked, this, [this] { Command(kCmdUnitGuide); });

    QWidget* previous = guide;
    for (int id : UnitMenuButtonIds()) {
        setTabOrder(previous, button(id));
        previous = button(id);
    }
    setTabOrder(previous, m_back);
}

void CUnitMenuView::resizeEvent(QResizeEvent* e) {
    for (int id : UnitMenuButtonIds()) {
        const CRect r = UnitMenuButtonRect(id, e->size().width());
        button(id)->setGeometry(r.left, r.top, r.Width(), r.Height());
    }
}

void CUnitMenuView::ShowButtons(bool shown) {
    for (int id : UnitMenuButtonIds())
        button(id)->setVisible(shown);
    button(kCmdUnitGuide)->setVisible(shown);
}

void CUnitMenuView::Refresh() {
    ShowButtons(true);
    update();
}

namespace {
const CUnitMenuView::InvestigationBitmaps kGeometryBitmaps{{
    {471, 472, 471, 532},
    {475, 477, 475, 476},
    {478, 480, 478, 530},
    {483, 481, 483, 531},
    {484, 486, 484, 529},
}};
const CUnitMenuView::InvestigationBitmaps kPatternsBitmaps{{
    {514, 516, 514, 536},
    {511, 513, 511, 534},
    {508, 510, 508, 535},
    {505, 507, 505, 506},
    {502, 504, 502, 533},
}};
const CUnitMenuView::InvestigationBitmaps kStatsBitmaps{{
    {499, 501, 499, 537},
    {496, 498, 496, 497},
    {493, 495, 493, 538},
    {490, 492, 490, 539},
    {487, 489, 487, 540},
}};
} // namespace

CGeometryUnitMenuView::CGeometryUnitMenuView(CWorkshopApp& app, QWidget* parent)
    : CUnitMenuView(app, kGeometryUnitMenu, kGeometryBitmaps, parent) {}

CStatsUnitMenuView::CStatsUnitMenuView(CWorkshopApp& app, QWidget* parent)
    : CUnitMenuView(app, kStatsUnitMenu, kStatsBitmaps, parent) {}

CPatternsUnitMenuView::CPatternsUnitMenuView(CWorkshopApp& app, QWidget* parent)
    : CUnitMenuView(app, kPatternsUnitMenu, kPatternsBitmaps, parent) {
    m_panel = new CPatternsEnvironmentMenuWnd(app, this);
    m_panel->hide();
}

void CPatternsUnitMenuView::resizeEvent(QResizeEvent* e) {
    CUnitMenuView::resizeEvent(e);
    m_panel->move((e->size().width() - m_panel->width()) / 2, 130);
}

void CPatternsUnitMenuView::Refresh() {
    const bool panel = m_app.environmentPanelShown();
    ShowButtons(!panel);
    m_panel->setVisible(panel);
    m_back->setVisible(!panel);
    if (panel)
        m_panel->environmentButton(0)->setFocus();
    update();
}

// ---- CPatternsEnvironmentMenuWnd ----

CPatternsEnvironmentMenuWnd::CPatternsEnvironmentMenuWnd(CWorkshopApp& app, QWidget* parent)
    : QWidget(parent) {
    resize(480, 235);
    setAccessibleName(QStringLiteral("Choose a Patterns environment"));
    const struct {
        const char* text;
        int id;
        int left;
    } envs[] = {{"&Codes", kCmdCodesEnvironment, 10},
                {"&Numbers", kCmdNumbersEnvironment, 165},
                {"&Designs", kCmdDesignsEnvironment, 320}};
    for (std::size_t k = 0; k < 3; ++k) {
        auto* b = new QPushButton(QString::fromLatin1(envs[k].text), this);
        b->setGeometry(envs[k].left, 10, 150, 50);
        b->setAccessibleName(QString::fromLatin1(envs[k].text).remove(QLatin1Char('&')));
        QFont f = PageFont(kFontLarge);
        f.setBold(true);
        b->setFont(f);
        b->setStyleSheet(QStringLiteral(
            "QPushButton { background: #61bfff; color: #002d6e; border: 2px solid #005f9f;"
            " border-radius: 10px; } QPushButton:hover { background: #8fd3ff; }"
            " QPushButton:focus { border: 3px solid #ffc800; }"
            " QPushButton:pressed { background: #3a9fe0; }"));
        m_envButtons[k] = b;
        const int id = envs[k].id;
        connect(b, &QPushButton::clicked, this,
                [&app, id] { app.OnMenuCommand(MenuView::PatternsUnit, id); });
    }
    m_back = new CBitmapButton(kCmdMenuBack, kBackBitmaps, QStringLiteral("Back"), this);
    m_back->setGeometry(10, 184, 48, 41);
    m_back->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(m_back, &QAbstractButton::clicked, this,
            [&app] { app.OnMenuCommand(MenuView::PatternsUnit, kCmdMenuBack); });
}

void CPatternsEnvironmentMenuWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 95, 159), 2));
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 14, 14);
    p.setPen(QColor(0, 45, 110));
    p.setFont(PageFont(kFontLarge));
    const QString text = QStringLiteral("Codes: code machines turn messages into secret codes.\n"
                                        "Numbers: number machines work on number cards.\n"
                                        "Designs: the design machine turns and stamps shapes.");
    p.drawText(QRect(20, 70, width() - 40, 108), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.setFont(PageFont(kFontLarge));
    p.drawText(QRect(70, 184, width() - 80, 41), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Which environment would you like?"));
}

// ---- CInvestigationsMenuView ----

CInvestigationsMenuView::CInvestigationsMenuView(CWorkshopApp& app, int menu, QWidget* parent)
    : CMenuView(app, InvestigationsMenuView(menu), parent), m_menu(menu) {
    for (int id : InvestigationButtonIds()) {
        auto* b = AddButton(
            new CBitmapButton(id, ActivityKindColor("Challenges"), QString(), QString(), this));
        b->resize(kButtonWidth, kButtonHeight);
        b->hide();
        connect(b, &QAbstractButton::clicked, this, [this, id] { Command(id); });
        connect(b, &CBitmapButton::highlighted, this, &CInvestigationsMenuView::Preview);
    }
    m_box = new QFrame(this);
    m_box->setObjectName(QStringLiteral("instructionBox"));
    m_box->setStyleSheet(QStringLiteral("#instructionBox { background: #fffff0; border: 2px solid "
                                        "#005f9f; border-radius: 12px; }"));
    auto* layout = new QVBoxLayout(m_box);
    layout->setContentsMargins(16, 12, 16, 12);
    m_boxHeading = new QLabel(QStringLiteral("What to do"), m_box);
    QFont heading = PageFont(kFontHeading);
    heading.setBold(true);
    m_boxHeading->setFont(heading);
    m_boxHeading->setStyleSheet(QStringLiteral("color: #002d6e;"));
    m_boxText = new QLabel(m_box);
    m_boxText->setWordWrap(true);
    m_boxText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont body = PageFont(kFontLarge);
    body.setPixelSize(17);
    m_boxText->setFont(body);
    m_boxText->setStyleSheet(QStringLiteral("color: #1a1a1a;"));
    m_boxText->setAccessibleName(QStringLiteral("Instructions"));
    auto* hint = new QLabel(
        QStringLiteral("Point at a button to read what it is about. Click it to begin."), m_box);
    hint->setWordWrap(true);
    QFont hintFont = PageFont(kFontMedium);
    hintFont.setItalic(true);
    hint->setFont(hintFont);
    hint->setStyleSheet(QStringLiteral("color: #555555;"));
    layout->addWidget(m_boxHeading);
    layout->addWidget(m_boxText, 1);
    layout->addWidget(hint);
    m_box->setGeometry(instructionBoxRect());
    SelectInvestigation();
}

QRect CInvestigationsMenuView::instructionBoxRect() const {
    return QRect(470, 100, 315, 300);
}

QString CInvestigationsMenuView::instructionText() const {
    return m_boxText->text();
}

void CInvestigationsMenuView::SelectInvestigation() {
    for (auto* b : m_buttons)
        if (b != m_back)
            b->hide();
    m_rows.clear();
    const CInvestigation* inv = FindInvestigation(m_menu, m_app.selectedInvestigation(m_menu));
    if (!inv)
        return;
    const std::vector<CActivityRowPlaces> places = LayoutActivityRows(*inv);
    int key = 1;
    QWidget* previous = nullptr;
    for (std::size_t r = 0; r < inv->rows.size(); ++r) {
        const CActivityRow& row = inv->rows[r];
        for (std::size_t i = 0; i < row.activities.size(); ++i) {
            const CActivity& a = row.activities[i];
            const CRect& place = places[r].buttons[i];
            CBitmapButton* b = button(a.button);
            b->setFace(ActivityKindColor(row.kind), ToQString(a.label));
            b->setGeometry(place.left, place.top, place.Width(), place.Height());
            QString name = ToQString(row.title.empty() ? row.kind : row.title + " " + row.kind);
            name += QLatin1Char(' ') + ToQString(a.label).trimmed();
            b->setAccessibleName(name);
            b->setAccessibleDescription(ToQString(a.instructions));
            b->setToolTip(QStringLiteral("%1 (key %2)").arg(name).arg(key));
            b->setShortcut(key <= 9 ? QKeySequence(Qt::Key_0 + key) : QKeySequence());
            ++key;
            b->show();
            if (previous)
                setTabOrder(previous, b);
            previous = b;
        }
        m_rows.push_back({ToQString(row.title), ToQString(row.kind), places[r].top});
    }
    if (previous)
        setTabOrder(previous, m_back);
    ShowInstructions();
    update();
}

void CInvestigationsMenuView::ShowInstructions() {
    m_boxText->setText(ToQString(m_app.instructionText(m_menu)));
}

void CInvestigationsMenuView::Preview(int id) {
    if (const CActivity* a = FindActivity(m_menu, m_app.selectedInvestigation(m_menu), id))
        m_boxText->setText(ToQString(a->instructions));
}

void CInvestigationsMenuView::Refresh() {
    ShowInstructions();
    update();
}

void CInvestigationsMenuView::paintEvent(QPaintEvent* e) {
    CMenuView::paintEvent(e);
    QPainter p(this);
    const QFont kindFont = PageFont(kFontLarge);
    QFont titleFont = PageFont(kFontLarge);
    titleFont.setBold(true);
    titleFont.setPixelSize(18);
    const int kindHeight = QFontMetrics(kindFont).height();
    const int titleHeight = QFontMetrics(titleFont).height();
    for (const auto& row : m_rows) {
        const int kindTop = row.top - kindHeight - 3;
        p.setFont(kindFont);
        p.setPen(QColor(60, 60, 60));
        p.drawText(QRect(kFirstActivityRow.x, kindTop, 400, kindHeight),
                   Qt::AlignLeft | Qt::AlignBottom, row.kind);
        if (!row.title.isEmpty()) {
            p.setFont(titleFont);
            p.setPen(QColor(0, 45, 110));
            p.drawText(QRect(kFirstActivityRow.x, kindTop - titleHeight, 400, titleHeight),
                       Qt::AlignLeft | Qt::AlignBottom, row.title);
        }
    }
}

} // namespace quorvel
