#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct lua_State;

// How far scripts may go. Scene documents come from other people's
// machines, so each one runs within a time and an instruction budget; the
// interpreter as a whole has a memory limit. All are generous: hitting one
// means a runaway script, not a large scene.
struct rgScriptLimits {
    double sceneFileSeconds = 60;
    uint64_t sceneFileInstructions = 4'000'000'000;
    size_t memoryBytes = size_t{1} << 30;
};

// Watches the running script: counts its instructions, reads the clock,
// keeps the interpreter's memory in its limit, and stops the script when
// it goes beyond them or the user asks. A stop ends the whole run it hits:
// pcall, xpcall and coroutine.resume pass it on instead of catching it.
class rgScriptGuard {
public:
    rgScriptGuard() = default;
    rgScriptGuard(const rgScriptGuard&) = delete;
    rgScriptGuard& operator=(const rgScriptGuard&) = delete;

    // The allocator of the interpreter (its user data is the guard).
    static void* Allocate(void* guard, void* block, size_t oldSize, size_t newSize);
    // The guard of an interpreter made with Allocate.
    static rgScriptGuard& Of(lua_State* L);
    // Sets the instruction hook, the stop-aware pcall, xpcall and
    // coroutine.resume, and the global functions SetScriptLimits and
    // GetScriptLimits.
    void Install(lua_State* L);

    // What a run changes and gives back when it ends (runs nest: a script
    // may open a scene file).
    struct RunState {
        bool sceneFile;
        std::chrono::steady_clock::time_point deadline;
        uint64_t instructions;
        bool memoryExceeded;
        bool enforcingMemory;
    };
    RunState BeginRun(bool sceneFile);
    void EndRun(const RunState& outer);
    // The memory limit holds while script code runs, not while the host
    // reports on it (a refused allocation there would have nobody to catch it).
    void EnforceMemory(bool on) { enforcingMemory_ = on; }

    // Stops the running script at its next instructions. Safe to call from
    // a signal handler or another thread.
    void RequestStop() { stopRequested_.store(true); }
    // os.exit(status) in a batch run: the running script and every run
    // after it stop at once, and the batch run ends with `status`.
    void RequestExit(int status) {
        exitStatus_ = status;
        exitRequested_ = true;
    }
    bool ExitRequested() const { return exitRequested_; }
    int ExitStatus() const { return exitStatus_; }
    // Why the running script must stop; null while it may go on.
    const char* StopReason();
    bool MemoryExceeded() const { return memoryExceeded_; }
    std::string MemoryMessage() const;
    bool InSceneFile() const { return sceneFile_; }
    // A script is running (runs nest; this is true from the outermost start
    // to its end).
    bool Running() const { return depth_ > 0; }

    // Called now and then while a script runs, at most once per `interval`
    // and never during the first one, so the application can repaint and
    // take a Stop while a long script works. The callback must not run
    // scripts. Null: nothing is called.
    void SetBusyCallback(std::function<void()> callback, std::chrono::milliseconds interval);

    const rgScriptLimits& limits() const { return limits_; }
    void SetLimits(const rgScriptLimits& limits) { limits_ = limits; }
    size_t MemoryInUse() const { return used_; }

    // Instructions between two looks at the limits.
    static constexpr int kHookInterval = 1000;

private:
    static void Hook(lua_State* L, struct lua_Debug* ar);

    rgScriptLimits limits_;
    std::atomic<bool> stopRequested_{false};
    bool exitRequested_ = false;
    int exitStatus_ = 0;
    int depth_ = 0;
    bool sceneFile_ = false;
    std::chrono::steady_clock::time_point deadline_{};
    uint64_t instructions_ = 0;
    size_t used_ = 0;
    bool enforcingMemory_ = false;
    bool memoryExceeded_ = false;
    std::string reason_;
    std::function<void()> busy_;
    std::chrono::steady_clock::duration busyInterval_{};
    std::chrono::steady_clock::time_point nextBusy_{};
};
