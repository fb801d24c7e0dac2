#pragma once

#include <string>
#include <vector>

class rgEditor;
class rgScene;
class rgSceneNode;

// The selection of every node, and the joints' parent-selected marks, in
// walk order. Lets a selection pass find out whether it changed anything
// before it records its undo step: a pass that changes nothing leaves the
// scene and the undo stack exactly as they were.
class rgSelectionSnapshot {
public:
    static rgSelectionSnapshot Take(rgScene& scene);
    // Puts the recorded flags back on the same nodes.
    void Restore() const;

private:
    struct Entry {
        rgSceneNode* node;
        bool selected;
        bool parentSelected;
    };
    std::vector<Entry> entries_;
};

// Records the undo step `label` for a selection change that has already
// been made: the step holds the scene as it was in `before`.
void RecordSelectionStep(rgEditor& editor, const rgSelectionSnapshot& before,
                         const std::string& label);
