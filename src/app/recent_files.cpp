// The recent files list: newest first, no repeats, at most four.
#include "app/recent_files.h"

#include <algorithm>
#include <filesystem>

namespace quorvel {
namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += '&';
        out += c;
    }
    return out;
}

} // namespace

void CRecentFiles::Attach(IRecentFilesStore* store) {
    m_store = store;
    m_files.clear();
    if (!m_store)
        return;
    for (const std::string& path : m_store->Load())
        if (!path.empty() && m_files.size() < kMaxRecentFiles &&
            std::find(m_files.begin(), m_files.end(), path) == m_files.end())
            m_files.push_back(path);
}

void CRecentFiles::Add(const std::string& path) {
    if (path.empty())
        return;
    std::erase(m_files, path);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > kMaxRecentFiles)
        m_files.resize(kMaxRecentFiles);
    Save();
}

void CRecentFiles::Remove(const std::string& path) {
    if (std::erase(m_files, path) > 0)
        Save();
}

std::string CRecentFiles::MenuText(std::size_t index, const std::string& path) {
    const std::filesystem::path p(path);
    std::string text = "&" + std::to_string(index + 1) + " " + Escaped(p.filename().string());
    const std::string folder = p.parent_path().filename().string();
    if (!folder.empty())
        text += "  (" + Escaped(folder) + ")";
    return text;
}

void CRecentFiles::Save() {
    if (m_store)
        m_store->Store(m_files);
}

} // namespace quorvel
