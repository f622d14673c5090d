// One QTimer per id; restarting an id replaces its timer.
#include "ui/platform/qt_timer_host.h"

#include <QTimer>

namespace quorvel {

CQtTimerHost::~CQtTimerHost() {
    for (auto& [id, timer] : m_timers)
        delete timer;
}

bool CQtTimerHost::StartTimer(std::uint32_t id, int intervalMs, ITimerClient* client) {
    if (!client || intervalMs < 0)
        return false;
    KillTimer(id);
    auto* timer = new QTimer(this);
    timer->setInterval(intervalMs);
    connect(timer, &QTimer::timeout, this, [client, id] { client->OnTimer(id); });
    m_timers[id] = timer;
    timer->start();
    return true;
}

void CQtTimerHost::KillTimer(std::uint32_t id) {
    const auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    // The client may kill its timer from inside its own tick.
    it->second->stop();
    it->second->disconnect();
    it->second->deleteLater();
    m_timers.erase(it);
}

bool CQtTimerHost::IsRunning(std::uint32_t id) const {
    return m_timers.count(id) != 0;
}

} // namespace quorvel
