#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "editing/animation_view.h"

class rgAnimationControl;

// Drives playback from the event loop: while the animation plays, a timer
// at the display's refresh rate runs the playback step, which follows the
// wall clock, so each shown frame gets one step and the editor never spins
// waiting for the next.
class TPlaybackTimer : public QObject, public rgAnimationView {
    Q_OBJECT
public:
    TPlaybackTimer(rgAnimationControl& animation, QObject* parent);

    void ShowPlaying(bool playing) override;
    bool IsRunning() const { return timer_.isActive(); }
    int IntervalMs() const { return timer_.interval(); }

    // Runs when playback starts or stops (the main window locks its level box).
    std::function<void(bool playing)> onPlayingChanged;

private:
    rgAnimationControl& animation_;
    QTimer timer_;
};
