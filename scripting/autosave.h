#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct rgScriptContext;

// Copies of a modified document kept in the per-user data folder, so an
// abnormal end costs at most a few minutes of work. Each running editor
// writes its own file ("autosave-<process id>.rig"), atomically, never over
// the user's file and without touching the document's name or flags; the
// next start offers the files of editors that are gone.
class rgAutosave {
public:
    rgAutosave(rgScriptContext& context, std::filesystem::path folder, int processId);

    // Writes the scene when the document has unsaved changes; false when
    // nothing was written (nothing to save, or the save failed).
    bool Save();
    // The editor's own copy.
    std::filesystem::path OwnPath() const;
    // Removes the editor's own copy (a clean exit).
    void RemoveOwn();

    struct Leftover {
        std::filesystem::path path;
        std::filesystem::file_time_type written;
    };
    // Copies that editors no longer running left behind, newest first.
    std::vector<Leftover> Leftovers() const;
    // Opens a copy as an unnamed, modified document; the copy is removed.
    bool Restore(const std::filesystem::path& path);
    void Discard(const std::filesystem::path& path);

private:
    rgScriptContext& context_;
    std::filesystem::path folder_;
    int processId_;
};
