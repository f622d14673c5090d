// The user's settings the program keeps: the recent files list and the display scale.
#pragma once

#include "app/recent_files.h"

namespace quorvel {

// The list under "recentFiles" in the user's Quorvel settings.
class CQtRecentFilesStore : public IRecentFilesStore {
public:
    std::vector<std::string> Load() override;
    void Store(const std::vector<std::string>& files) override;
};

// The display scale in percent under "displayScale", 100 when none is kept.
int LoadDisplayScale();
void StoreDisplayScale(int percent);

} // namespace quorvel
