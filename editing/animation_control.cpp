#include "editing/animation_control.h"

#include <algorithm>
#include <cmath>

#include "animation/scene_pose.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

rgAnimationControl::rgAnimationControl(rgEditor& editor) : editor_(editor) {}

void rgAnimationControl::SetStopwatch(rgStopwatch* stopwatch) {
    clock_.SetStopwatch(stopwatch ? *stopwatch : wallClock_);
}

bool rgAnimationControl::MoveSlider(int frame) {
    rgState& state = editor_.state();
    frame = std::clamp(frame, 1, std::max(1, state.totalFrames));
    if (frame == state.currentFrame) return false;
    state.currentFrame = frame;
    view_->ShowFrame(frame);
    return true;
}

void rgAnimationControl::GoToFrame(int frame) {
    if (!MoveSlider(frame) || IsPlaying()) return;
    ::GoToFrame(editor_.scene(), editor_.state().currentFrame);
    editor_.view().RedrawViewports();
    view_->ShowKeys(HasKeyAtCurrentFrame());
}

void rgAnimationControl::EnterCurrentFrame(int frame) {
    GoToFrame(std::min(frame, editor_.state().totalFrames));
}

void rgAnimationControl::EnterTotalFrames(int frames) {
    rgState& state = editor_.state();
    frames = std::max(frames, 2);
    state.totalFrames = frames;
    view_->ShowTotalFrames(frames);
    if (state.currentFrame > frames) GoToFrame(frames);
    state.segmentStart = 1;
    state.segmentEnd = frames;
    editor_.MarkModified();
    view_->ShowKeys(HasKeyAtCurrentFrame());
}

void rgAnimationControl::FirstFrame() {
    GoToFrame(1);
}
void rgAnimationControl::LastFrame() {
    GoToFrame(editor_.state().totalFrames);
}
void rgAnimationControl::PreviousFrame() {
    GoToFrame(editor_.state().currentFrame - 1);
}
void rgAnimationControl::NextFrame() {
    GoToFrame(editor_.state().currentFrame + 1);
}

void rgAnimationControl::PreviousKey() {
    const int current = editor_.state().currentFrame;
    int frame = 0;
    editor_.scene().ForEach([&](rgSceneNode* node) {
        if (rgBone* joint = ToBone(node)) frame = std::max(frame, joint->PrevKeyFrame(current));
    });
    GoToFrame(frame);
}

void rgAnimationControl::NextKey() {
    const int current = editor_.state().currentFrame;
    int frame = rgBone::kNoNextKey;
    editor_.scene().ForEach([&](rgSceneNode* node) {
        if (rgBone* joint = ToBone(node)) frame = std::min(frame, joint->NextKeyFrame(current));
    });
    GoToFrame(frame);
}

bool rgAnimationControl::HasKeyAtCurrentFrame() const {
    const int frame = editor_.state().currentFrame;
    bool found = false;
    editor_.scene().ForEach([&](rgSceneNode* node) {
        if (const rgBone* joint = ToBone(node); joint && joint->HasKey(frame)) found = true;
    });
    return found;
}

void rgAnimationControl::KeysChanged() {
    view_->ShowKeys(HasKeyAtCurrentFrame());
}

bool rgAnimationControl::IsPlaying() const {
    return editor_.state().playing;
}

void rgAnimationControl::Play() {
    rgState& state = editor_.state();
    if (state.playing) return;
    clock_.Start(state);
    state.playing = true;
    editor_.tools().DeactivateOtherTools(rgToolButton::None);
    view_->ShowPlaying(true);
}

void rgAnimationControl::Stop() {
    rgState& state = editor_.state();
    if (!state.playing) return;
    state.playing = false;
    view_->ShowKeys(HasKeyAtCurrentFrame());
    view_->ShowPlaying(false);
}

void rgAnimationControl::Step() {
    if (!IsPlaying()) return;
    MoveSlider(clock_.Advance(editor_.state()));
    PoseSceneAtTime(editor_.scene(), clock_.Time());
    editor_.view().RedrawViewports();
}

bool rgAnimationControl::IsPlaySpeed(float speed) {
    return speed == 0.25f || speed == 0.5f || speed == 1.0f || speed == 2.0f || speed == 4.0f;
}

void rgAnimationControl::ChangeRate(float oldRate) {
    if (IsPlaying()) clock_.KeepFrame(oldRate, rgPlaybackClock::Rate(editor_.state()));
}

bool rgAnimationControl::SetPlaySpeed(float speed) {
    if (!IsPlaySpeed(speed)) return false;
    rgState& state = editor_.state();
    const float oldRate = rgPlaybackClock::Rate(state);
    state.playSpeed = speed;
    ChangeRate(oldRate);
    return true;
}

void rgAnimationControl::SetFrameRate(float rate) {
    rgState& state = editor_.state();
    const float oldRate = rgPlaybackClock::Rate(state);
    // Key times divide by the rate: anything but a positive number would
    // leave every pose undefined.
    state.framesPerSecond = rate > 0.0f && std::isfinite(rate) ? rate : 1.0f;
    ChangeRate(oldRate);
}

bool rgAnimationControl::SetInterpolation(int mode) {
    if (mode < kInterpConstant || mode > kInterpSpline) return false;
    editor_.state().interpolation = mode;
    editor_.view().RedrawViewports();
    return true;
}

void rgAnimationControl::SetAutoKeyframing(bool on) {
    editor_.state().autoKeyframing = on;
}

template <typename Filter>
void rgAnimationControl::KeyJoints(Filter&& filter) {
    rgScene& scene = editor_.scene();
    scene.UpdateScene();
    const int frame = editor_.state().currentFrame;
    scene.ForEach([&](rgSceneNode* node) {
        if (rgBone* joint = ToBone(node); joint && filter(*joint)) joint->SetKeyFromOffset(frame);
    });
    view_->ShowKeys(HasKeyAtCurrentFrame());
}

void rgAnimationControl::KeySelectedJoints() {
    KeyJoints([](rgBone& joint) { return joint.GetSelected(); });
}

void rgAnimationControl::KeyAllJoints() {
    KeyJoints([](rgBone&) { return true; });
}
