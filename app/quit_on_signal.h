#pragma once

// SIGINT/SIGTERM/SIGHUP close the editor through its normal exit path (so
// settings are written) instead of killing it. Install before the
// application object exists; Arm() once it does.
class QuitOnSignal {
public:
    static void Install();
    // Connects the pending-signal pipe to QCoreApplication::quit().
    static void Arm();
};
