#include "scripting/script_guard.h"

#include <cstdio>
#include <cstdlib>
#include <lua.hpp>

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kMegabyte = 1024 * 1024;

// pcall as the base library has it, except that a stopped script stays
// stopped: the error goes on to the run's end.
int StopAwarePcall(lua_State* L) {
    luaL_checkany(L, 1);
    const int status = lua_pcall(L, lua_gettop(L) - 1, LUA_MULTRET, 0);
    if (status != 0 && rgScriptGuard::Of(L).StopReason()) return lua_error(L);
    lua_pushboolean(L, status == 0);
    lua_insert(L, 1);
    return lua_gettop(L);
}

int StopAwareXpcall(lua_State* L) {
    luaL_checkany(L, 2);
    lua_settop(L, 2);
    lua_insert(L, 1);  // the handler below the function
    const int status = lua_pcall(L, 0, LUA_MULTRET, 1);
    if (status != 0 && rgScriptGuard::Of(L).StopReason()) return lua_error(L);
    lua_pushboolean(L, status == 0);
    lua_replace(L, 1);
    return lua_gettop(L);
}

// coroutine.resume (upvalue 1) likewise.
int StopAwareResume(lua_State* L) {
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    if (!lua_toboolean(L, 1) && rgScriptGuard::Of(L).StopReason()) {
        lua_settop(L, 2);
        return lua_error(L);
    }
    return lua_gettop(L);
}

// SetScriptLimits(seconds, instructions, megabytes): the budget of each
// scene file and the interpreter's memory limit.
int SetScriptLimits(lua_State* L) {
    const double seconds = luaL_checknumber(L, 1);
    const double instructions = luaL_checknumber(L, 2);
    const double megabytes = luaL_checknumber(L, 3);
    if (!(seconds > 0 && seconds <= 86400)) luaL_argerror(L, 1, "seconds must be in (0, 86400]");
    if (!(instructions >= 1e6 && instructions <= 1e15))
        luaL_argerror(L, 2, "instructions must be in [1e6, 1e15]");
    if (!(megabytes >= 16 && megabytes <= 1024 * 1024))
        luaL_argerror(L, 3, "megabytes must be in [16, 1048576]");
    rgScriptLimits limits;
    limits.sceneFileSeconds = seconds;
    limits.sceneFileInstructions = static_cast<uint64_t>(instructions);
    limits.memoryBytes = static_cast<size_t>(megabytes) * kMegabyte;
    rgScriptGuard::Of(L).SetLimits(limits);
    return 0;
}

int GetScriptLimits(lua_State* L) {
    const rgScriptLimits& limits = rgScriptGuard::Of(L).limits();
    lua_pushnumber(L, limits.sceneFileSeconds);
    lua_pushnumber(L, static_cast<lua_Number>(limits.sceneFileInstructions));
    lua_pushnumber(L, static_cast<lua_Number>(limits.memoryBytes / kMegabyte));
    return 3;
}

}  // namespace

void* rgScriptGuard::Allocate(void* ud, void* block, size_t oldSize, size_t newSize) {
    auto* guard = static_cast<rgScriptGuard*>(ud);
    if (newSize == 0) {
        std::free(block);
        guard->used_ -= oldSize;
        return nullptr;
    }
    // Shrinking always succeeds: the interpreter relies on it.
    if (newSize > oldSize && guard->enforcingMemory_ &&
        guard->used_ - oldSize + newSize > guard->limits_.memoryBytes) {
        guard->memoryExceeded_ = true;
        return nullptr;
    }
    void* grown = std::realloc(block, newSize);
    if (grown) guard->used_ = guard->used_ - oldSize + newSize;
    return grown;
}

rgScriptGuard& rgScriptGuard::Of(lua_State* L) {
    void* guard = nullptr;
    lua_getallocf(L, &guard);
    return *static_cast<rgScriptGuard*>(guard);
}

void rgScriptGuard::Install(lua_State* L) {
    lua_sethook(L, Hook, LUA_MASKCOUNT, kHookInterval);
    lua_register(L, "pcall", StopAwarePcall);
    lua_register(L, "xpcall", StopAwareXpcall);
    lua_getglobal(L, "coroutine");
    if (lua_istable(L, -1)) {
        lua_getfield(L, -1, "resume");
        lua_pushcclosure(L, StopAwareResume, 1);
        lua_setfield(L, -2, "resume");
    }
    lua_pop(L, 1);
    lua_register(L, "SetScriptLimits", SetScriptLimits);
    lua_register(L, "GetScriptLimits", GetScriptLimits);
}

void rgScriptGuard::SetBusyCallback(std::function<void()> callback,
                                    std::chrono::milliseconds interval) {
    busy_ = std::move(callback);
    busyInterval_ = interval;
    nextBusy_ = Clock::now() + busyInterval_;
}

void rgScriptGuard::Hook(lua_State* L, lua_Debug*) {
    rgScriptGuard& guard = Of(L);
    guard.instructions_ += kHookInterval;
    if (guard.busy_) {
        const Clock::time_point now = Clock::now();
        if (now >= guard.nextBusy_) {
            guard.nextBusy_ = now + guard.busyInterval_;
            // Nothing may unwind through the interpreter's C frames.
            try {
                guard.busy_();
            } catch (...) {
            }
        }
    }
    if (const char* reason = guard.StopReason()) {
        luaL_where(L, 0);  // where the script was: the function the hook interrupts
        lua_pushstring(L, reason);
        lua_concat(L, 2);
        lua_error(L);
    }
}

rgScriptGuard::RunState rgScriptGuard::BeginRun(bool sceneFile) {
    const RunState outer{sceneFile_, deadline_, instructions_, memoryExceeded_, enforcingMemory_};
    // A stop asked for while nothing ran has nothing to stop.
    if (depth_++ == 0) {
        stopRequested_.store(false);
        nextBusy_ = Clock::now() + busyInterval_;
    }
    if (sceneFile) {
        sceneFile_ = true;
        deadline_ = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double>(limits_.sceneFileSeconds));
        instructions_ = 0;
    }
    memoryExceeded_ = false;
    enforcingMemory_ = false;
    return outer;
}

void rgScriptGuard::EndRun(const RunState& outer) {
    sceneFile_ = outer.sceneFile;
    deadline_ = outer.deadline;
    instructions_ = outer.instructions;
    memoryExceeded_ = outer.memoryExceeded;
    enforcingMemory_ = outer.enforcingMemory;
    // A stop ends the run it was asked for, not the next one.
    if (--depth_ == 0) stopRequested_.store(false);
}

const char* rgScriptGuard::StopReason() {
    char text[160];
    if (exitRequested_) {
        std::snprintf(text, sizeof(text), "the script ended with os.exit(%d)", exitStatus_);
        reason_ = text;
    } else if (stopRequested_.load()) {
        reason_ = "the script was stopped";
    } else if (memoryExceeded_) {
        reason_ = MemoryMessage();
    } else if (sceneFile_ && instructions_ > limits_.sceneFileInstructions) {
        std::snprintf(text, sizeof(text),
                      "the scene file was stopped: it ran more than %llu instructions",
                      static_cast<unsigned long long>(limits_.sceneFileInstructions));
        reason_ = text;
    } else if (sceneFile_ && Clock::now() > deadline_) {
        std::snprintf(text, sizeof(text),
                      "the scene file was stopped: it ran longer than %g seconds",
                      limits_.sceneFileSeconds);
        reason_ = text;
    } else {
        return nullptr;
    }
    return reason_.c_str();
}

std::string rgScriptGuard::MemoryMessage() const {
    char text[160];
    std::snprintf(
        text, sizeof(text),
        "the script was stopped: it needed more memory than the interpreter's limit of %zu MB",
        limits_.memoryBytes / kMegabyte);
    return text;
}
