#include "scripting/recent_files.h"

#include <algorithm>

rgRecentFiles::rgRecentFiles(rgRecentFilesStore* store) : store_(store ? store : &defaultStore_) {
    for (const std::string& path : store_->Load())
        if (!path.empty() && std::find(items_.begin(), items_.end(), path) == items_.end() &&
            items_.size() < kMaxItems)
            items_.push_back(path);
}

void rgRecentFiles::Add(const std::string& path) {
    items_.erase(std::remove(items_.begin(), items_.end(), path), items_.end());
    items_.insert(items_.begin(), path);
    if (items_.size() > kMaxItems) items_.resize(kMaxItems);
    Store();
}

void rgRecentFiles::Remove(const std::string& path) {
    items_.erase(std::remove(items_.begin(), items_.end(), path), items_.end());
    Store();
}

void rgRecentFiles::Store() {
    store_->Save(items_);
}
