#pragma once

#include <QObject>

class QTimer;
class QWidget;
class rgAutosave;
struct rgState;

// Autosaves the modified document every few minutes (the state's
// autosaveMinutes, kept as the per-user setting "Autosave Minutes", 2 by
// default; 0 turns autosave off), not while the animation plays. Batch runs
// have none.
class TAutosaveTimer : public QObject {
    Q_OBJECT
public:
    TAutosaveTimer(rgAutosave& autosave, const rgState& state, QObject* parent = nullptr);

    static int StoredMinutes();
    static void StoreMinutes(int minutes);
    void SetMinutes(int minutes);

    // After an abnormal end: offers the newest copy a gone editor left
    // ("Kinemo did not close normally. Restore the autosaved scene from
    // TIME?"). Yes restores it, No discards it. True when restored.
    static bool OfferRestore(QWidget* parent, rgAutosave& autosave);

private:
    void Tick();

    rgAutosave& autosave_;
    const rgState& state_;
    QTimer* timer_;
};
