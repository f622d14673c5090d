// Window timers with fixed ids on QTimer.
#pragma once

#include "workspace/timer_host.h"

#include <QObject>

#include <map>

class QTimer;

namespace quorvel {

class CQtTimerHost : public QObject, public ITimerHost {
    Q_OBJECT
public:
    explicit CQtTimerHost(QObject* parent = nullptr) : QObject(parent) {}
    ~CQtTimerHost() override;

    bool StartTimer(std::uint32_t id, int intervalMs, ITimerClient* client) override;
    void KillTimer(std::uint32_t id) override;
    bool IsRunning(std::uint32_t id) const override;

private:
    std::map<std::uint32_t, QTimer*> m_timers;
};

} // namespace quorvel
