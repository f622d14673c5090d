// The four documents used most recently, newest first, kept in the user's settings.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quorvel {

inline constexpr std::size_t kMaxRecentFiles = 4;
inline constexpr const char* kRecentFileMissing =
    "The file \"%s\" could not be found. It has been removed from the list of recent files.";

// Where the list lives between runs (the user's settings in the shell; nothing in tests).
class IRecentFilesStore {
public:
    virtual ~IRecentFilesStore() = default;
    virtual std::vector<std::string> Load() = 0;
    virtual void Store(const std::vector<std::string>& files) = 0;
};

class CRecentFiles {
public:
    // Reads the stored list (null: none), dropping empty and repeated entries.
    void Attach(IRecentFilesStore* store);
    const std::vector<std::string>& files() const { return m_files; }
    // Puts `path` first; an older entry of the same path goes, and the fifth falls off.
    void Add(const std::string& path);
    void Remove(const std::string& path);

    // "&1 tiles.qvg  (Desktop)": the number to press, the file name and its folder's name, with
    // ampersands doubled so that a name shows as it is.
    static std::string MenuText(std::size_t index, const std::string& path);

private:
    void Save();

    IRecentFilesStore* m_store = nullptr;
    std::vector<std::string> m_files;
};

} // namespace quorvel
