#include "scripting/script_server.h"

#include <cstdio>
#include <lua.hpp>

#include "scripting/console_sink.h"
#include "scripting/lua4_compat.h"
#include "scripting/scene_sandbox.h"
#include "scripting/script_ui.h"

namespace {

rgScriptServer* ServerOf(lua_State* L) {
    return static_cast<rgScriptServer*>(lua_touserdata(L, lua_upvalueindex(1)));
}

// print: every argument through the global tostring, one console line each.
int LuaPrint(lua_State* L) {
    rgScriptServer* server = ServerOf(L);
    const int n = lua_gettop(L);
    for (int i = 1; i <= n; ++i) {
        lua_getglobal(L, "tostring");
        lua_pushvalue(L, i);
        lua_call(L, 1, 1);
        const char* text = lua_tostring(L, -1);
        if (!text || lua_type(L, -1) != LUA_TSTRING)
            return luaL_error(L, "`tostring' must return a string to `print'");
        server->ConsoleWrite(text);
        lua_pop(L, 1);
    }
    return 0;
}

// _ALERT: the interpreter's error messages, one console line per text line.
int LuaAlert(lua_State* L) {
    rgScriptServer* server = ServerOf(L);
    size_t length = 0;
    const char* text = luaL_checklstring(L, 1, &length);
    const std::string message(text, length);
    size_t start = 0;
    while (start < message.size()) {
        const size_t end = message.find('\n', start);
        if (end == std::string::npos) {
            server->ConsoleWriteError(message.substr(start));  // a last line without its newline
            break;
        }
        server->ConsoleWriteError(message.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}

// Message handler of every run: an error object that is not a string still
// gives a clear message, and a stopped script says why it stopped.
int ErrorMessage(lua_State* L) {
    if (lua_type(L, 1) == LUA_TSTRING || lua_type(L, 1) == LUA_TNUMBER) return 1;
    rgScriptGuard& guard = rgScriptGuard::Of(L);
    if (const char* reason = guard.StopReason()) {
        lua_pushstring(L, reason);
        return 1;
    }
    if (luaL_getmetafield(L, 1, "__tostring")) {
        lua_pushvalue(L, 1);
        if (lua_pcall(L, 1, 1, 0) == 0 && lua_type(L, -1) == LUA_TSTRING) return 1;
        if (const char* reason = guard.StopReason()) {
            lua_pushstring(L, reason);
            return 1;
        }
        lua_pushfstring(L, "(error object is a %s value whose __tostring failed)",
                        luaL_typename(L, 1));
        return 1;
    }
    lua_pushfstring(L, "(error object is a %s value)", luaL_typename(L, 1));
    return 1;
}

// A compiled chunk begins with the escape character, after an optional
// first line starting with '#' (as the interpreter's loader reads it).
bool IsCompiledChunk(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    int c = std::fgetc(file);
    if (c == '#') {
        while (c != EOF && c != '\n') c = std::fgetc(file);
        if (c == '\n') c = std::fgetc(file);
    }
    std::fclose(file);
    return c == LUA_SIGNATURE[0];
}

// os.exit([status]): never the C library's exit, which would skip the
// editor's save question and every destructor. A batch run unwinds its
// scripts and ends with the status; the editor refuses.
int LuaExit(lua_State* L) {
    rgScriptServer* server = ServerOf(L);
    if (!server->ExitAllowed())
        return luaL_error(L, "os.exit is not available in the editor: use File > Exit to quit");
    const lua_Number status = luaL_optnumber(L, 1, 0);
    if (!(status >= 0 && status <= 255) || status != static_cast<int>(status))
        return luaL_argerror(L, 1, "the exit status must be a whole number from 0 to 255");
    rgScriptGuard::Of(L).RequestExit(static_cast<int>(status));
    lua_pushstring(L, rgScriptGuard::Of(L).StopReason());
    return lua_error(L);
}

int Panic(lua_State* L) {
    std::fprintf(stderr, "PANIC: unprotected error in call to Lua API (%s)\n", lua_tostring(L, -1));
    return 0;
}

void OpenLibrary(lua_State* L, lua_CFunction open, const char* name) {
    lua_pushcfunction(L, open);
    lua_pushstring(L, name);
    lua_call(L, 1, 0);
}

}  // namespace

rgScriptServer::rgScriptServer(rgConsoleSink& console, rgScriptUi& ui, std::string programFolder)
    : L_(lua_newstate(rgScriptGuard::Allocate, &guard_)),
      console_(console),
      ui_(ui),
      programFolder_(std::move(programFolder)) {
    lua_atpanic(L_, Panic);
    if (!programFolder_.empty() && programFolder_.back() != '/') programFolder_ += '/';
    OpenLibrary(L_, luaopen_base, "");
    OpenLibrary(L_, luaopen_io, LUA_IOLIBNAME);
    OpenLibrary(L_, luaopen_math, LUA_MATHLIBNAME);
    OpenLibrary(L_, luaopen_string, LUA_STRLIBNAME);
    // The generation of Lua in use keeps in these what older scripts had in base and io.
    OpenLibrary(L_, luaopen_table, LUA_TABLIBNAME);
    OpenLibrary(L_, luaopen_os, LUA_OSLIBNAME);

    lua_pushlightuserdata(L_, this);
    lua_pushcclosure(L_, LuaAlert, 1);
    lua_setglobal(L_, "_ALERT");
    lua_pushlightuserdata(L_, this);
    lua_pushcclosure(L_, LuaPrint, 1);
    lua_setglobal(L_, "print");

    lua_getglobal(L_, LUA_OSLIBNAME);
    lua_pushlightuserdata(L_, this);
    lua_pushcclosure(L_, LuaExit, 1);
    lua_setfield(L_, -2, "exit");
    lua_pop(L_, 1);

    guard_.Install(L_);
    OpenLua4Compatibility(L_);
    InstallSceneSandbox(L_);
}

rgScriptServer::~rgScriptServer() {
    Close();
}

void rgScriptServer::Close() {
    if (L_) lua_close(L_);
    L_ = nullptr;
}

void rgScriptServer::ConsoleWrite(const std::string& line) { console_.Write(line); }

void rgScriptServer::ConsoleWriteError(const std::string& line) { console_.WriteError(line); }

std::string rgScriptServer::ResolvePath(const std::string& path) const {
    if (path.size() < 2 || path[1] == ':' || path[0] == '/') return path;
    return programFolder_ + path;
}

bool rgScriptServer::RunFile(const std::string& path) {
    const std::string resolved = ResolvePath(path);
    if (resolved.size() > kMaxPath) {
        ++errorCount_;
        Alert("cannot open " + path + ": the path is longer than 511 characters\n");
        ui_.ShowConsole();
        ui_.HideProgress();
        return false;
    }
    return Run(luaL_loadfile(L_, resolved.c_str()), false);
}

bool rgScriptServer::RunSceneFile(const std::string& path) {
    const std::string resolved = ResolvePath(path);
    if (resolved.size() > kMaxPath) return RunFile(path);
    // Compiled chunks are not checked by the interpreter: a crafted one can
    // corrupt memory. Scene files are text.
    if (IsCompiledChunk(resolved)) {
        ++errorCount_;
        Alert(path + ": scene files are text; this one is compiled Lua\n");
        ui_.ShowConsole();
        ui_.HideProgress();
        return false;
    }
    return Run(luaL_loadfile(L_, resolved.c_str()), true);
}

bool rgScriptServer::RunString(const std::string& chunk) {
    return Run(luaL_loadbuffer(L_, chunk.data(), chunk.size(), chunk.c_str()), false);
}

bool rgScriptServer::Run(int loadStatus, bool sceneFile) {
    // Scripts may run scripts (a pipeline opening a document): leave the
    // caller's part of the stack as it was.
    const int top = lua_gettop(L_) - 1;
    const rgScriptGuard::RunState outer = guard_.BeginRun(sceneFile);
    int status = loadStatus;
    if (status == 0) {
        if (sceneFile) ApplySceneSandbox(L_, -1);
        lua_pushcfunction(L_, ErrorMessage);
        lua_insert(L_, -2);
        guard_.EnforceMemory(true);
        status = lua_pcall(L_, 0, 0, -2);
        guard_.EnforceMemory(false);
        if (sceneFile) LeaveSceneSandbox(L_);
    }
    const bool stopped = status != 0 && (status == LUA_ERRMEM || guard_.StopReason());
    // os.exit is how a batch script ends, not an error.
    if (status != 0 && guard_.ExitRequested()) {
        guard_.EndRun(outer);
        lua_settop(L_, top);
        ui_.HideProgress();
        return false;
    }
    if (status != 0) {
        std::string message = ErrorText(status);
        lastError_ = message;
        while (!lastError_.empty() && lastError_.back() == '\n') lastError_.pop_back();
        if (message.empty() || message.back() != '\n') message += '\n';
        ++errorCount_;
        Alert(message);
        ui_.ShowConsole();
    }
    guard_.EndRun(outer);
    lua_settop(L_, top);
    // What a runaway script piled up goes now, not some time later.
    if (stopped) lua_gc(L_, LUA_GCCOLLECT, 0);
    ui_.HideProgress();
    return status == 0;
}

std::string rgScriptServer::ErrorText(int status) {
    if (guard_.MemoryExceeded()) return guard_.MemoryMessage();
    const char* text = lua_tostring(L_, -1);
    if (text) return text;
    return status == LUA_ERRMEM ? "not enough memory" : "(error object is not a string)";
}

void rgScriptServer::Alert(const std::string& message) {
    lua_getglobal(L_, "_ALERT");
    if (lua_isfunction(L_, -1)) {
        lua_pushlstring(L_, message.data(), message.size());
        if (lua_pcall(L_, 1, 0, 0) == 0) return;
        // A broken _ALERT must not hide the original error.
        lua_pop(L_, 1);
    } else {
        lua_pop(L_, 1);
    }
    size_t start = 0;
    while (start < message.size()) {
        size_t end = message.find('\n', start);
        if (end == std::string::npos) end = message.size();
        ConsoleWriteError(message.substr(start, end - start));
        start = end + 1;
    }
}
