// The shell's side of recovery copies: the lock each running program holds, the session's end
// (SIGTERM, SIGHUP) turned into an ordinary event, and the autosave timer and focus hooks.
#pragma once

#include "app/recovery.h"

#include <QObject>

#include <map>
#include <memory>
#include <string>

class QLockFile;
class QSocketNotifier;

namespace quorvel {

class CWorkshopApp;

// One lock file per instance id in the recovery folder. A lock whose program died is stale
// and taken; a live program's lock is refused however old it is.
class CQtInstanceLocks : public IInstanceLocks {
public:
    explicit CQtInstanceLocks(std::string folder);
    ~CQtInstanceLocks() override;
    bool TryTake(const std::string& id) override;
    void Release(const std::string& id) override;

private:
    std::string m_folder;
    std::map<std::string, std::unique_ptr<QLockFile>> m_locks;
};

// SIGTERM and SIGHUP arrive through a pipe the handler writes one byte to; the event loop
// then emits sessionEnding. Nothing but that byte is done inside the handler.
class CSessionEndWatcher : public QObject {
    Q_OBJECT
public:
    explicit CSessionEndWatcher(QObject* parent = nullptr);
    ~CSessionEndWatcher() override;

signals:
    void sessionEnding();

private:
    QSocketNotifier* m_notifier = nullptr;
};

// Recovery for the program: the lock of this instance, the copies left behind offered, the
// copy written on the interval, when the program loses focus and when the session ends.
class CRecoveryShell : public QObject {
    Q_OBJECT
public:
    // `intervalMs` is how often a modified document is copied.
    CRecoveryShell(CWorkshopApp& app, int intervalMs, QObject* parent = nullptr);
    ~CRecoveryShell() override;
    bool active() const { return m_autosave != nullptr; }

private:
    void EndSession();

    CWorkshopApp& m_app;
    std::unique_ptr<CQtInstanceLocks> m_locks;
    std::unique_ptr<CAutosave> m_autosave;
};

// How often copies are written: QUORVEL_AUTOSAVE_MS when set (tests), else a minute.
int AutosaveIntervalMs();

} // namespace quorvel
