#pragma once

// The frame controls as the animation commands see them (the Keyframer's
// slider, fields, time line and Play/Stop button, and whatever drives
// playback). The application implements it; runs without a window keep the
// defaults.
class rgAnimationView {
public:
    virtual ~rgAnimationView() = default;
    // The current frame changed: the slider and the current-frame field show it.
    virtual void ShowFrame(int frame) { (void)frame; }
    // The total frames changed: the slider's maximum and the total-frames field.
    virtual void ShowTotalFrames(int total) { (void)total; }
    // Keys may have changed: the time line repaints; "Delete keyframe" is
    // enabled exactly when some joint has a key at the current frame.
    virtual void ShowKeys(bool keyAtCurrentFrame) { (void)keyAtCurrentFrame; }
    // Playback started or stopped. While it plays, the playback step is
    // called again and again (at the display's rate), Stop shows instead
    // of Play and the edit level cannot be changed.
    virtual void ShowPlaying(bool playing) { (void)playing; }
};
