#pragma once

#include "scripting/recent_files.h"

// The recent-files list in the per-user settings store
// (QSettings("Tamrik", "Kinemo"), value "MRU Items").
class TRecentFilesStore : public rgRecentFilesStore {
public:
    std::vector<std::string> Load() override;
    void Save(const std::vector<std::string>& paths) override;
};
