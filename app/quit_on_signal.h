#pragma once

// SIGINT/SIGTERM/SIGHUP close the editor through its normal exit path (so
// settings are written) instead of killing it. Install before the
// application object exists; Arm() once it does.
class QuitOnSignal {
public:
    static void Install();
    // Connects the pending-signal pipe to QCoreApplication::quit().
    static void Arm();
    // Whether a signal came: one that came while start-up showed a message
    // box ended only that box's loop, so the main loop must not start.
    static bool Requested();
};
