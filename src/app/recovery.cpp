// Recovery copies: their names, writing and removing them, and which are offered at start-up.
#include "app/recovery.h"

#include "workspace/file_store.h"
#include "workspace/unit_document.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <filesystem>

namespace quorvel {

namespace fs = std::filesystem;

namespace {

// Each unit's file extension, asked of its document once.
const std::string& UnitExtension(UnitKind unit) {
    static const std::array<std::string, 5> extensions = [] {
        std::array<std::string, 5> e;
        for (UnitKind k : AllUnitKinds())
            e[static_cast<std::size_t>(k)] = CreateUnitDocument(k)->identity().defaultExtension;
        return e;
    }();
    return extensions[static_cast<std::size_t>(unit)];
}

std::optional<UnitKind> UnitForExtension(const std::string& ext) {
    for (UnitKind k : AllUnitKinds())
        if (UnitExtension(k) == ext)
            return k;
    return std::nullopt;
}

bool IsInstanceId(const std::string& s) {
    return !s.empty() && s.size() <= 64 && std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
               c == '-';
    });
}

std::string FileName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::time_t LastWriteTime(const std::string& path) {
    std::error_code ec;
    const auto t = fs::last_write_time(path, ec);
    if (ec)
        return 0;
    return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(t));
}

// The info file: the document's path, then the time. Missing or odd lines give nothing.
void ReadInfo(const std::string& path, CRecoveryCopy& copy) {
    std::vector<std::uint8_t> bytes;
    if (!SystemFileOps().ReadFile(path, bytes, 64 * 1024))
        return;
    const std::string text(bytes.begin(), bytes.end());
    const auto eol = text.find('\n');
    if (eol == std::string::npos)
        return;
    copy.originalPath = text.substr(0, eol);
    const std::string rest = text.substr(eol + 1);
    long long t = 0;
    const auto [end, err] = std::from_chars(rest.data(), rest.data() + rest.size(), t);
    if (err == std::errc() && end != rest.data() && t > 0)
        copy.savedAt = static_cast<std::time_t>(t);
}

} // namespace

std::string RecoveryFolder(const char* xdgStateHome, const char* home) {
    std::string base;
    if (xdgStateHome && *xdgStateHome == '/')
        base = xdgStateHome;
    else if (home && *home)
        base = std::string(home) + "/.local/state";
    else
        return {};
    return base + "/quorvel/recovery";
}

std::string MakeInstanceId(long pid, std::time_t started) {
    return std::to_string(pid) + "-" + std::to_string(static_cast<long long>(started));
}

CRecoveryFolder::CRecoveryFolder(std::string folder, std::string ownId)
    : m_folder(std::move(folder)), m_ownId(std::move(ownId)) {
    // The extensions are learnt here, on the GUI thread, before the worker needs them.
    UnitExtension(UnitKind::Geometry);
}

std::string CRecoveryFolder::CopyPath(const std::string& id, UnitKind unit) const {
    return m_folder + "/" + id + "." + UnitExtension(unit);
}

std::string CRecoveryFolder::InfoPath(const std::string& id) const {
    return m_folder + "/" + id + ".info";
}

bool CRecoveryFolder::Write(const CRecoveryWrite& w) const {
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    for (UnitKind k : AllUnitKinds())
        if (k != w.unit)
            SystemFileOps().Remove(CopyPath(m_ownId, k));
    // The copy first: an info file without its copy is never read, a copy without its info
    // is offered with the file's own time.
    if (!SaveFileAtomically(CopyPath(m_ownId, w.unit), w.bytes))
        return false;
    const std::string info =
        w.originalPath + "\n" + std::to_string(static_cast<long long>(w.savedAt)) + "\n";
    return SaveFileAtomically(
        InfoPath(m_ownId),
        std::span(reinterpret_cast<const std::uint8_t*>(info.data()), info.size()));
}

void CRecoveryFolder::RemoveOwn() const {
    for (UnitKind k : AllUnitKinds())
        SystemFileOps().Remove(CopyPath(m_ownId, k));
    SystemFileOps().Remove(InfoPath(m_ownId));
}

std::vector<CRecoveryCopy> CRecoveryFolder::FindLeftBehind(IInstanceLocks& locks) const {
    std::vector<CRecoveryCopy> found;
    std::vector<std::string> refused;
    std::error_code ec;
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const fs::path& p = it->path();
        const std::string id = p.stem().string();
        const std::string ext = p.extension().string();
        const auto unit = ext.size() > 1 ? UnitForExtension(ext.substr(1)) : std::nullopt;
        if (!unit || !IsInstanceId(id) || id == m_ownId ||
            std::find(refused.begin(), refused.end(), id) != refused.end())
            continue;
        // A program still running keeps its lock, and its copies.
        const bool taken = std::any_of(found.begin(), found.end(),
                                       [&](const CRecoveryCopy& c) { return c.id == id; });
        if (!taken && !locks.TryTake(id)) {
            refused.push_back(id);
            continue;
        }
        CRecoveryCopy copy;
        copy.id = id;
        copy.copyPath = p.string();
        copy.unit = *unit;
        ReadInfo(InfoPath(id), copy);
        if (copy.savedAt == 0)
            copy.savedAt = LastWriteTime(copy.copyPath);
        found.push_back(std::move(copy));
    }
    RemoveLeftovers(locks, found, refused);
    std::sort(found.begin(), found.end(), [](const CRecoveryCopy& a, const CRecoveryCopy& b) {
        return a.savedAt != b.savedAt ? a.savedAt > b.savedAt : a.copyPath < b.copyPath;
    });
    return found;
}

void CRecoveryFolder::RemoveLeftovers(IInstanceLocks& locks,
                                      const std::vector<CRecoveryCopy>& found,
                                      std::vector<std::string>& refused) const {
    const auto hasCopy = [&](const std::string& id) {
        return std::any_of(found.begin(), found.end(),
                           [&](const CRecoveryCopy& c) { return c.id == id; });
    };
    std::vector<fs::path> leftovers;
    std::vector<std::string> taken;
    std::error_code ec;
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::string id = name.substr(0, name.find('.'));
        const std::string ext = it->path().extension().string();
        const bool halfWritten = ext == ".tmp";
        const bool alone = (ext == ".info" || ext == ".lock") && name == id + ext && !hasCopy(id);
        if ((!halfWritten && !alone) || !IsInstanceId(id) || id == m_ownId ||
            std::find(refused.begin(), refused.end(), id) != refused.end())
            continue;
        if (!hasCopy(id) && std::find(taken.begin(), taken.end(), id) == taken.end()) {
            if (!locks.TryTake(id)) {
                refused.push_back(id);
                continue;
            }
            taken.push_back(id);
        }
        if (ext != ".lock") // the lock goes when it is released
            leftovers.push_back(it->path());
    }
    for (const fs::path& p : leftovers)
        SystemFileOps().Remove(p.string());
    for (const std::string& id : taken)
        locks.Release(id);
}

bool CRecoveryFolder::Remove(const CRecoveryCopy& copy) const {
    const bool ok = SystemFileOps().Remove(copy.copyPath);
    SystemFileOps().Remove(InfoPath(copy.id));
    return ok;
}

std::string CRecoveryFolder::KeepAside(const CRecoveryCopy& copy) const {
    const std::string aside = copy.copyPath + kDamagedSuffix;
    std::error_code ec;
    fs::rename(copy.copyPath, aside, ec);
    if (ec)
        return {};
    SystemFileOps().Remove(InfoPath(copy.id));
    return aside;
}

std::string CRecoveryFolder::OfferText(const CRecoveryCopy& copy) {
    std::string text = kRecoverQuestion;
    text += "\r\n\r\nUnit: " + UnitKindName(copy.unit);
    text += "\r\nDocument: " +
            (copy.originalPath.empty() ? std::string(kUntitled) : FileName(copy.originalPath));
    char when[32] = "";
    const std::time_t t = copy.savedAt;
    if (const std::tm* local = std::localtime(&t))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", local);
    text += std::string("\r\nTime: ") + when;
    return text;
}

CRecoveryWriter::CRecoveryWriter() : m_thread([this] { Run(); }) {}

CRecoveryWriter::~CRecoveryWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void CRecoveryWriter::Post(std::function<void()> job) {
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void CRecoveryWriter::Wait() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

void CRecoveryWriter::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            m_idle.notify_all();
            return;
        }
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        job();
        lock.lock();
        m_busy = false;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

CAutosave::CAutosave(CRecoveryFolder folder, IInstanceLocks& locks)
    : m_folder(std::move(folder)), m_locks(locks) {}

void CAutosave::SaveNow(CUnitDocument* doc, UnitKind unit, std::time_t now) {
    if (!doc || !doc->IsModified())
        return;
    CRecoveryWrite w;
    w.bytes = doc->SaveToBytes();
    if (m_hasCopy && w.bytes == m_lastBytes)
        return;
    m_lastBytes = w.bytes;
    w.unit = unit;
    w.originalPath = doc->filePath();
    w.savedAt = now;
    m_hasCopy = true;
    m_writer.Post([folder = m_folder, w = std::move(w)] { folder.Write(w); });
}

void CAutosave::Refresh(const CUnitDocument* doc) {
    if (m_hasCopy && (!doc || !doc->IsModified()))
        Discard();
}

void CAutosave::Discard() {
    m_hasCopy = false;
    m_lastBytes.clear();
    m_writer.Post([folder = m_folder] { folder.RemoveOwn(); });
}

} // namespace quorvel
