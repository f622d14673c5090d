// Window timers with fixed ids: all animation and delayed behaviour runs on them, on the
// user-interface thread. The shell uses QTimer; tests fire ticks by hand.
#pragma once

#include <cstdint>

namespace quorvel {

class ITimerClient {
public:
    virtual ~ITimerClient() = default;
    virtual void OnTimer(std::uint32_t id) = 0;
};

class ITimerHost {
public:
    virtual ~ITimerHost() = default;
    // Starts (or restarts) timer `id` firing every `intervalMs` at `client`; false when it
    // cannot be set.
    virtual bool StartTimer(std::uint32_t id, int intervalMs, ITimerClient* client) = 0;
    virtual void KillTimer(std::uint32_t id) = 0;
    virtual bool IsRunning(std::uint32_t id) const = 0;
};

} // namespace quorvel
