#pragma once

#include "animation/playback_clock.h"
#include "animation/stopwatch.h"
#include "editing/animation_view.h"

class rgEditor;

// The animation commands of the editor: the frame controls (go to frame,
// frame buttons, previous/next key, the frame fields), playback, the
// settings of the "&Animation" menu, and the keys auto keyframing sets.
// The Keyframer window, the menu and the script functions all call these.
class rgAnimationControl {
public:
    explicit rgAnimationControl(rgEditor& editor);
    rgAnimationControl(const rgAnimationControl&) = delete;
    rgAnimationControl& operator=(const rgAnimationControl&) = delete;

    void SetView(rgAnimationView* view) { view_ = view ? view : &noView_; }
    // The time source of playback; null gives back the wall clock.
    void SetStopwatch(rgStopwatch* stopwatch);

    // The frame slider, the single way to a frame: keeps f within 1..total
    // frames and acts only when the frame changes. While playing it only
    // moves the current frame; otherwise every joint is posed at f.
    void GoToFrame(int frame);
    // The current-frame field: a frame above the total goes to the last one.
    void EnterCurrentFrame(int frame);
    // The total-frames field: at least 2; the range becomes 1..total and a
    // current frame above it comes down to it.
    void EnterTotalFrames(int frames);
    void FirstFrame();
    void LastFrame();
    void PreviousFrame();
    void NextFrame();
    // The nearest key frame of any joint before / after the current frame
    // (the first / last frame when there is none).
    void PreviousKey();
    void NextKey();
    bool HasKeyAtCurrentFrame() const;
    // Keys changed: the time line repaints and "Delete keyframe" follows.
    void KeysChanged();

    // Play: time runs from the current frame (or the first of the range),
    // every tool goes off. Stop: the pose stays as the last step left it.
    void Play();
    void Stop();
    // One playback step: advance the time, move the current frame, pose
    // every joint at the time, redraw. Does nothing while stopped.
    void Step();
    bool IsPlaying() const;
    // Seconds of playback time.
    float PlaybackTime() const { return clock_.Time(); }

    // The "&Animation" menu. Speeds other than 0.25, 0.5, 1, 2 and 4 and
    // modes other than 0, 1, 2 are refused (false, nothing changes). A
    // frame rate that is not a positive number becomes 1. Rate and speed
    // changes while playing keep the frame playback is at.
    static bool IsPlaySpeed(float speed);
    bool SetPlaySpeed(float speed);
    void SetFrameRate(float rate);
    bool SetInterpolation(int mode);
    void SetAutoKeyframing(bool on);

    // Keys holding the present pose at the current frame: on every selected
    // joint after a pose tool's change, on every joint after an IK drag.
    void KeySelectedJoints();
    void KeyAllJoints();

private:
    // Only the current frame and its display (what the slider does while playing).
    bool MoveSlider(int frame);
    void ChangeRate(float oldRate);
    template <typename Filter>
    void KeyJoints(Filter&& filter);

    rgEditor& editor_;
    rgSteadyStopwatch wallClock_;
    rgPlaybackClock clock_{wallClock_};
    rgAnimationView noView_;
    rgAnimationView* view_ = &noView_;
};
