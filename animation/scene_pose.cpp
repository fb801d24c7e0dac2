#include "animation/scene_pose.h"

#include "animation/key_evaluation.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

void GoToFrame(rgScene& scene, int frame) {
    scene.UpdateScene();
    const rgAnimationSettings settings = rgAnimationSettings::From(scene.context().state);
    scene.ForEach([&](rgSceneNode* node) {
        if (rgBone* joint = ToBone(node)) EvaluateAtFrame(*joint, frame, settings);
    });
}

void PoseSceneAtTime(rgScene& scene, float seconds) {
    const rgAnimationSettings settings = rgAnimationSettings::From(scene.context().state);
    scene.ForEach([&](rgSceneNode* node) {
        if (rgBone* joint = ToBone(node)) EvaluateAtTime(*joint, seconds, settings);
    });
}
