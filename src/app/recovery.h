// Recovery copies: while a unit document is modified, the program keeps a copy of it in the
// user's state folder, so that work survives a crash, a frozen machine or a power cut. Each
// running program has an instance id and a lock; its copies are named by that id, so two
// programs never take each other's copies and a running program's copies are never offered.
//
// Files in the folder, for instance id I:
//   I.<ext>   the document's bytes, as Save writes them (<ext> tells the unit)
//   I.info    the document's own path (first line, empty when untitled) and the time the copy
//             was written (second line, seconds since 1970)
//   I.lock    held by the running program (the shell's lock)
// A copy that fails to open is renamed I.<ext>.damaged and left for the teacher.
#pragma once

#include "app/document_factory.h"

#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quorvel {

class CUnitDocument;

inline constexpr const char* kRecoverQuestion =
    "Quorvel closed before your work was saved. Recover it?";
inline constexpr const char* kRecoveryKeptAside =
    "The work left behind could not be opened. It has been kept as\r\n\"%s\".";
inline constexpr const char* kUntitled = "Untitled";
inline constexpr const char* kDamagedSuffix = ".damaged";

// The state folder's recovery folder: $XDG_STATE_HOME/quorvel/recovery, else
// $HOME/.local/state/quorvel/recovery; empty when neither is set.
std::string RecoveryFolder(const char* xdgStateHome, const char* home);
// A running program's id: its process id and start time, letters and digits only.
std::string MakeInstanceId(long pid, std::time_t started);

// The shell's locks on instance ids (one lock file per running program).
class IInstanceLocks {
public:
    virtual ~IInstanceLocks() = default;
    // True when no running program holds `id`; the caller then holds it until Release.
    virtual bool TryTake(const std::string& id) = 0;
    virtual void Release(const std::string& id) = 0;
};

// A copy left behind by a program that is no longer running.
struct CRecoveryCopy {
    std::string id;
    std::string copyPath;
    UnitKind unit = UnitKind::Geometry;
    std::string originalPath; // empty for an untitled document
    std::time_t savedAt = 0;
};

// What the worker writes: prepared on the GUI thread.
struct CRecoveryWrite {
    std::vector<std::uint8_t> bytes;
    UnitKind unit = UnitKind::Geometry;
    std::string originalPath;
    std::time_t savedAt = 0;
};

class CRecoveryFolder {
public:
    CRecoveryFolder(std::string folder, std::string ownId);

    const std::string& folder() const { return m_folder; }
    const std::string& ownId() const { return m_ownId; }
    std::string CopyPath(const std::string& id, UnitKind unit) const;

    // Writes this program's copy (and removes its copy of another unit), atomically: a copy
    // half written is never left where the next start would find it.
    bool Write(const CRecoveryWrite& w) const;
    // Removes this program's copies.
    void RemoveOwn() const;

    // The copies of programs that are no longer running, newest first. Their ids are taken
    // through `locks` and stay held until the caller releases them. What such programs left
    // besides (a save's temporary file, an info file or a lock without its copy) is removed.
    std::vector<CRecoveryCopy> FindLeftBehind(IInstanceLocks& locks) const;
    bool Remove(const CRecoveryCopy& copy) const;
    // Renames a copy that would not open out of the way; the new path, or empty on failure.
    std::string KeepAside(const CRecoveryCopy& copy) const;

    // The question asked for `copy`: the fixed text, then its unit, name and time.
    static std::string OfferText(const CRecoveryCopy& copy);

private:
    std::string InfoPath(const std::string& id) const;
    void RemoveLeftovers(IInstanceLocks& locks, const std::vector<CRecoveryCopy>& found,
                         std::vector<std::string>& refused) const;

    std::string m_folder;
    std::string m_ownId;
};

// Writes copies on a thread of its own, in the order given, so that the pupil never waits for
// the disk.
class CRecoveryWriter {
public:
    CRecoveryWriter();
    ~CRecoveryWriter(); // finishes what was posted
    CRecoveryWriter(const CRecoveryWriter&) = delete;
    CRecoveryWriter& operator=(const CRecoveryWriter&) = delete;

    void Post(std::function<void()> job);
    // Returns when everything posted so far is done.
    void Wait();

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_jobs;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;
};

// When this program writes and removes its copy.
class CAutosave {
public:
    CAutosave(CRecoveryFolder folder, IInstanceLocks& locks);

    CRecoveryFolder& folder() { return m_folder; }
    IInstanceLocks& locks() { return m_locks; }
    // Copies `doc` when it is modified and changed since its last copy (the interval's tick,
    // the window losing focus, the session ending). Serialises here, writes on the worker.
    void SaveNow(CUnitDocument* doc, UnitKind unit, std::time_t now);
    // Removes the copy once `doc` is gone or no longer modified (saved, New, reopened).
    void Refresh(const CUnitDocument* doc);
    // Removes the copy now: the pupil chose not to save, or the program ends cleanly.
    void Discard();
    // Waits for the worker (before the program ends).
    void Wait() { m_writer.Wait(); }
    bool hasCopy() const { return m_hasCopy; }

private:
    CRecoveryFolder m_folder;
    IInstanceLocks& m_locks;
    CRecoveryWriter m_writer;
    bool m_hasCopy = false;
    std::vector<std::uint8_t> m_lastBytes;
};

} // namespace quorvel
