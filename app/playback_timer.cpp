#include "app/playback_timer.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "editing/animation_control.h"

namespace {
// Milliseconds between two frames of the primary screen (60 Hz when unknown).
int FrameInterval() {
    double hz = 60.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        if (screen->refreshRate() >= 1.0) hz = screen->refreshRate();
    return std::max(1, static_cast<int>(std::lround(1000.0 / hz)));
}
}  // namespace

TPlaybackTimer::TPlaybackTimer(rgAnimationControl& animation, QObject* parent)
    : QObject(parent), animation_(animation) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { animation_.Step(); });
}

void TPlaybackTimer::ShowPlaying(bool playing) {
    if (playing) {
        timer_.start(FrameInterval());
    } else {
        timer_.stop();
    }
    if (onPlayingChanged) onPlayingChanged(playing);
}
