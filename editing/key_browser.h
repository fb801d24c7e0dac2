#pragma once

#include <string>
#include <vector>

#include "core/vector3.h"

class rgBone;
class rgEditor;
struct rgKeyframe;

// What the Key Info window shows of the current key.
struct rgKeyInfo {
    bool hasKey = false;     // the key fields and buttons are enabled
    std::string keyLabel;    // "3/23" (the third of 23 keys); "n/a" without a key
    std::string frameLabel;  // "12/48" (frame 12 of 48 total); "n/a" without a key
    vector3 translation;     // the key matrix's translation row
    vector3 rotation;        // its Euler angles, in degrees
    vector3 transTcb;        // tension, continuity, bias
    vector3 rotTcb;
};

// The Key Info window's logic: one joint's keys, stepped through one at a
// time, each key's translation and spline parameters edited in place. Edits
// record no undo step and do not re-evaluate the pose; they take effect at
// the next evaluation. At the Animation level each key shown also moves the
// current frame to it.
class rgKeyBrowser {
public:
    explicit rgKeyBrowser(rgEditor& editor) : editor_(editor) {}

    // Lists every joint of the scene in walk order; `joint` (when it is one
    // of them) or else the first becomes current, at its first key.
    void Open(rgBone* joint);
    const std::vector<rgBone*>& Joints() const { return joints_; }
    // Index of the current joint in Joints(); -1 for none.
    int JointIndex() const;
    rgBone* CurrentJoint() const { return joint_; }
    // Another joint of the list becomes current (an index outside it: none).
    void ChooseJoint(int index);

    int KeyIndex() const { return index_; }
    // One key on or back, never past the first or last key.
    void NextKey();
    void PreviousKey();

    // The current key; null without a joint or keys.
    rgKeyframe* CurrentKey() const;
    rgKeyInfo Shown() const;

    // Edits of the current key (nothing without one). The translation
    // replaces the matrix's translation row and keeps its rotation.
    void SetTranslation(const vector3& t);
    void SetTranslationTcb(const vector3& tcb);
    void SetRotationTcb(const vector3& tcb);

private:
    // The current key is shown: at the Animation level the frame follows it.
    void KeyShown();

    rgEditor& editor_;
    std::vector<rgBone*> joints_;
    rgBone* joint_ = nullptr;
    int index_ = 0;
};
