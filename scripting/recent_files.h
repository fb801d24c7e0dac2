#pragma once

#include <string>
#include <vector>

// Where the recent-files list is kept between runs (the per-user settings
// store in the editor); the default keeps nothing.
class rgRecentFilesStore {
public:
    virtual ~rgRecentFilesStore() = default;
    virtual std::vector<std::string> Load() { return {}; }
    virtual void Save(const std::vector<std::string>& paths) { (void)paths; }
};

// File > Reopen: at most five scene paths, newest first. A path added again
// moves to the top. Every change is stored at once.
class rgRecentFiles {
public:
    static constexpr size_t kMaxItems = 5;

    explicit rgRecentFiles(rgRecentFilesStore* store = nullptr);
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& Items() const { return items_; }

private:
    void Store();

    rgRecentFilesStore defaultStore_;
    rgRecentFilesStore* store_;
    std::vector<std::string> items_;
};
