#pragma once

#include <QObject>
#include <QPointer>
#include <chrono>
#include <functional>
#include <vector>

class QWidget;

// Keeps the windows alive while a script runs. Scripts run on the user
// interface thread, so without this nothing repaints until they return.
// Pump() lets the window system deliver what it has: windows repaint, move
// and resize, and the allowed controls (the console's Stop) take clicks.
// Everything that could start an editor command meanwhile is held back:
// user input to any other control, shortcuts, close requests and QTimer
// ticks (playback) are dropped, and the viewports keep their last picture
// (the scene may be half-changed).
class TScriptPump : public QObject {
    Q_OBJECT
public:
    explicit TScriptPump(QObject* parent = nullptr);

    // Delivers pending window-system events as described above. Calls
    // inside a pump do nothing.
    void Pump();
    // Pump(), unless the last one was less than `interval` ago.
    void PumpAtMost(std::chrono::milliseconds interval);
    // Input to this control (and what is inside it) gets through.
    void Allow(QWidget* control);
    // Called at the start of every pump (the console shows its new lines).
    std::function<void()> onPump;
    bool Pumping() const { return pumping_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Allowed(QObject* receiver) const;

    std::vector<QPointer<QWidget>> allowed_;
    bool pumping_ = false;
    std::chrono::steady_clock::time_point last_{};
};
