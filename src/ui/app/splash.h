// The start-up splash: the class folder's splash picture on white for three and a half seconds.
#pragma once

#include "workspace/timer_host.h"

#include <QPixmap>
#include <QWidget>

#include <string>

namespace quorvel {

inline constexpr std::uint32_t kSplashTimer = 999;
inline constexpr int kSplashMs = 3500;

class CSplashWnd : public QWidget, public ITimerClient {
    Q_OBJECT
public:
    // The splash of `classDir`, or nullptr when it cannot be shown (no picture, no timer):
    // the splash then ends at once.
    static CSplashWnd* Create(QWidget* owner, const std::string& classDir, ITimerHost& timers);
    ~CSplashWnd() override;

    void OnTimer(std::uint32_t id) override;
    // splash.bmp, else a splash.png or splash.svg of our own, from `classDir`.
    static QPixmap LoadPicture(const std::string& classDir);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    CSplashWnd(QWidget* owner, QPixmap picture, ITimerHost& timers);

    QWidget* m_owner;
    QPixmap m_picture;
    ITimerHost& m_timers;
};

} // namespace quorvel
