// The user's settings the program keeps: the recent files list.
#pragma once

#include "app/recent_files.h"

namespace quorvel {

// The list under "recentFiles" in the user's Quorvel settings.
class CQtRecentFilesStore : public IRecentFilesStore {
public:
    std::vector<std::string> Load() override;
    void Store(const std::vector<std::string>& files) override;
};

} // namespace quorvel
