// Recovery copies in the shell: locks, signals, the timer and the focus hook.
#include "ui/app/recovery_shell.h"

#include "app/workshop_app.h"
#include "ui/platform/qt_text.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLockFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sys/socket.h>
#include <unistd.h>

namespace quorvel {

namespace {

int g_signalPipe[2] = {-1, -1};

extern "C" void OnSessionSignal(int sig) {
    const int saved = errno;
    const char byte = static_cast<char>(sig);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

int AutosaveIntervalMs() {
    if (const char* env = std::getenv("QUORVEL_AUTOSAVE_MS")) {
        const long ms = std::strtol(env, nullptr, 10);
        if (ms > 0 && ms <= 3600 * 1000)
            return static_cast<int>(ms);
    }
    return 60 * 1000;
}

CQtInstanceLocks::CQtInstanceLocks(std::string folder) : m_folder(std::move(folder)) {}

CQtInstanceLocks::~CQtInstanceLocks() = default;

bool CQtInstanceLocks::TryTake(const std::string& id) {
    if (m_locks.count(id))
        return true;
    auto lock = std::make_unique<QLockFile>(ToQString(m_folder + "/" + id + ".lock"));
    // Only a dead owner makes a lock stale, never its age: a pupil's lesson is long.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    m_locks[id] = std::move(lock);
    return true;
}

void CQtInstanceLocks::Release(const std::string& id) {
    m_locks.erase(id); // unlocks and removes the lock file
}

CSessionEndWatcher::CSessionEndWatcher(QObject* parent) : QObject(parent) {
    if (g_signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    m_notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &byte, 1);
        emit sessionEnding();
    });
    struct sigaction sa = {};
    sa.sa_handler = OnSessionSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}

CSessionEndWatcher::~CSessionEndWatcher() {
    if (!m_notifier)
        return;
    struct sigaction sa = {};
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}

CRecoveryShell::CRecoveryShell(CWorkshopApp& app, int intervalMs, QObject* parent)
    : QObject(parent), m_app(app) {
    const std::string folder = RecoveryFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
    if (folder.empty())
        return;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string id = MakeInstanceId(static_cast<long>(::getpid()), std::time(nullptr));
    m_locks = std::make_unique<CQtInstanceLocks>(folder);
    // Without its own lock another start could take this program's copies: keep none.
    if (!m_locks->TryTake(id))
        return;
    m_autosave = std::make_unique<CAutosave>(CRecoveryFolder(folder, id), *m_locks);
    m_app.SetAutosave(m_autosave.get());

    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] { m_app.AutosaveNow(); });
    timer->start(intervalMs);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    m_app.AutosaveNow();
            });
    auto* watcher = new CSessionEndWatcher(this);
    connect(watcher, &CSessionEndWatcher::sessionEnding, this, &CRecoveryShell::EndSession);
}

CRecoveryShell::~CRecoveryShell() {
    if (m_autosave)
        m_app.SetAutosave(nullptr);
}

void CRecoveryShell::EndSession() {
    // The session is ending under the pupil: the copy stays for the next start.
    m_app.AutosaveNow();
    m_autosave->Wait();
    QCoreApplication::exit(0);
}

} // namespace quorvel
