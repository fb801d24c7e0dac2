#pragma once

#include <deque>
#include <memory>
#include <string>

class rgScene;

// Whole-scene snapshots, oldest first. A record owns its copy of the scene
// until the copy becomes current again through Restore.
class rgUndo {
public:
    static constexpr size_t kMaxLabel = 127;

    rgUndo();
    ~rgUndo();
    rgUndo(const rgUndo&) = delete;
    rgUndo& operator=(const rgUndo&) = delete;

    // Records a copy of `scene` under `label`, then drops the oldest records
    // beyond `maxLevels` (0 keeps none, not even this one).
    void Push(const std::string& label, rgScene& scene, int maxLevels);
    // Removes the newest record and hands back its scene; null when empty.
    std::unique_ptr<rgScene> Restore();
    // Removes the newest record without using its scene (the step turned
    // out to change nothing); a record the last push let fall off the
    // bottom comes back.
    void DropNewest();
    void Clear();
    bool HasSteps() const { return !records_.empty(); }
    int Count() const { return static_cast<int>(records_.size()); }
    // Label of the newest record; empty when there is none.
    std::string TopLabel() const;

private:
    struct Record {
        std::string label;
        std::unique_ptr<rgScene> scene;
    };
    std::deque<Record> records_;
    // The record the last push pushed out, until anything else happens.
    std::unique_ptr<Record> fallen_;
};
