// The splash window over the main window while the program starts.
#include "ui/app/splash.h"

#include "app/directories.h"
#include "ui/platform/qt_text.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace quorvel {

QPixmap CSplashWnd::LoadPicture(const std::string& classDir) {
    QPixmap pm(ToQString(JoinPath(classDir, "splash.bmp")));
    if (pm.isNull())
        pm.load(ToQString(JoinPath(classDir, "splash.png")));
    const QString svgPath = ToQString(JoinPath(classDir, "splash.svg"));
    if (pm.isNull() && QFile::exists(svgPath)) {
        QSvgRenderer svg(svgPath);
        if (svg.isValid()) {
            pm = QPixmap(svg.defaultSize());
            pm.fill(Qt::white);
            QPainter p(&pm);
            svg.render(&p);
        }
    }
    return pm;
}

CSplashWnd* CSplashWnd::Create(QWidget* owner, const std::string& classDir, ITimerHost& timers) {
    QPixmap picture = LoadPicture(classDir);
    if (picture.isNull())
        return nullptr;
    auto* splash = new CSplashWnd(owner, std::move(picture), timers);
    if (!timers.StartTimer(kSplashTimer, kSplashMs, splash)) {
        delete splash;
        return nullptr;
    }
    return splash;
}

CSplashWnd::CSplashWnd(QWidget* owner, QPixmap picture, ITimerHost& timers)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint), m_owner(owner),
      m_picture(std::move(picture)), m_timers(timers) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAccessibleName(QStringLiteral("Quorvel Demonstration"));
    setCursor(Qt::WaitCursor);
    resize(800, 600);
    if (owner)
        move(owner->geometry().center() - rect().center());
}

CSplashWnd::~CSplashWnd() {
    m_timers.KillTimer(kSplashTimer);
}

void CSplashWnd::OnTimer(std::uint32_t id) {
    if (id != kSplashTimer)
        return;
    m_timers.KillTimer(kSplashTimer);
    close();
    // A message box open when the picture goes stays in front: the window behind it takes
    // no input until it is answered.
    QWidget* front = QApplication::activeModalWidget();
    if (!front)
        front = m_owner;
    if (front) {
        front->raise();
        front->activateWindow();
    }
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    QPixmap pm = m_picture;
    if (pm.width() > width() || pm.height() > height())
        pm = pm.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.drawPixmap((width() - pm.width()) / 2, (height() - pm.height()) / 2, pm);
}

} // namespace quorvel
