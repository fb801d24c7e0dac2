#include "editing/key_commands.h"

#include <unordered_set>

#include "animation/scene_pose.h"
#include "editing/animation_control.h"
#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

namespace {

// The block's joints that the scene still holds, each once, in walk order.
rgKeyBlock LiveBlock(rgEditor& editor, const rgKeyBlock& block) {
    rgKeyBlock live;
    live.first = block.first;
    live.last = block.last;
    const std::unordered_set<const rgSceneNode*> wanted(block.joints.begin(), block.joints.end());
    editor.scene().ForEach([&](rgSceneNode* node) {
        if (rgBone* joint = ToBone(node); joint && wanted.count(joint)) {
            live.joints.push_back(joint);
        }
    });
    return live;
}

}  // namespace

void SetKeyframe(rgEditor& editor, bool selectedOnly) {
    editor.PushUndo("Set Keyframe");
    if (selectedOnly)
        editor.animation().KeySelectedJoints();
    else
        editor.animation().KeyAllJoints();
}

void DeleteKeyframe(rgEditor& editor, bool selectedOnly) {
    editor.PushUndo("Delete Keyframe");
    rgScene& scene = editor.scene();
    const int frame = editor.state().currentFrame;
    scene.ForEach([&](rgSceneNode* node) {
        rgBone* joint = ToBone(node);
        if (joint && (!selectedOnly || joint->GetSelected())) joint->DeleteKey(frame);
    });
    GoToFrame(scene, frame);
    editor.view().RedrawViewports();
    editor.animation().KeysChanged();
}

bool DeleteKeyframes(rgEditor& editor, const rgKeyBlock& block) {
    const rgKeyBlock live = LiveBlock(editor, block);
    const bool recorded = live.HasFrames();
    if (recorded) {
        editor.PushUndo("Delete Keyframes");
        DeleteKeyBlock(live);
    }
    editor.animation().KeysChanged();
    return recorded;
}

bool MoveKeyframes(rgEditor& editor, const rgKeyBlock& block, int shift, bool copy) {
    const rgKeyBlock live = LiveBlock(editor, block);
    if (shift == 0 || !live.HasFrames()) return false;
    editor.PushUndo(copy ? "Copy Keyframes" : "Move Keyframes");
    if (copy)
        CopyKeyBlock(live, shift);
    else
        MoveKeyBlock(live, shift);
    editor.animation().KeysChanged();
    return true;
}
