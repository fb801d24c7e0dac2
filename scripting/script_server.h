#pragma once

#include <string>

#include "scripting/script_guard.h"

struct lua_State;
class rgConsoleSink;
class rgScriptUi;

// The embedded Lua 5.1 interpreter. Every script (start-up, plug-ins, scene
// files, console commands) runs here, synchronously. Errors never escape:
// they are printed through the Lua global _ALERT, the console is brought
// forward, and the caller carries on. The progress window is hidden after
// every run, so a failing script never leaves it up. The guard keeps every
// run within its limits and stops it on request.
class rgScriptServer {
public:
    rgScriptServer(rgConsoleSink& console, rgScriptUi& ui, std::string programFolder);
    ~rgScriptServer();
    rgScriptServer(const rgScriptServer&) = delete;
    rgScriptServer& operator=(const rgScriptServer&) = delete;

    // Runs a file. A path with a drive letter (second character ':') or a
    // leading '/' is used as given; any other path is taken relative to the
    // program folder, whatever the working directory. Returns false on error.
    bool RunFile(const std::string& path);
    // Runs a file in the restricted environment of scene documents: the
    // script API, safe base functions, math, string and table, but nothing
    // that reaches files or the system.
    bool RunSceneFile(const std::string& path);
    // Runs a chunk of text. Returns false on error.
    bool RunString(const std::string& chunk);

    // Stops the running script at its next instructions, with the message
    // "the script was stopped". Safe from a signal handler or another thread.
    void RequestStop() { guard_.RequestStop(); }
    rgScriptGuard& guard() { return guard_; }

    // Writes one line to the console.
    void ConsoleWrite(const std::string& line);
    void ConsoleWriteError(const std::string& line);
    // Runs that ended in an error since the server started.
    int ErrorCount() const { return errorCount_; }
    // The message of the last run that ended in an error (no newline).
    const std::string& LastError() const { return lastError_; }
    // The path RunFile would open.
    std::string ResolvePath(const std::string& path) const;

    // Whether os.exit may end the program: only a batch run may, after its
    // scripts are unwound (the batch runner reads guard().ExitStatus()).
    // In the editor os.exit raises an error instead, so a script cannot
    // end it without the save question.
    void AllowExit(bool allowed) { exitAllowed_ = allowed; }
    bool ExitAllowed() const { return exitAllowed_; }

    lua_State* GetState() const { return L_; }
    // Closes the interpreter (the destructor does it too); objects scripts
    // owned are freed now.
    void Close();
    const std::string& ProgramFolder() const { return programFolder_; }
    rgScriptUi& ui() const { return ui_; }

    static constexpr size_t kMaxPath = 511;

private:
    bool Run(int loadStatus, bool sceneFile);
    std::string ErrorText(int status);
    std::string lastError_;
    void Alert(const std::string& message);

    rgScriptGuard guard_;  // before the interpreter: it allocates through the guard
    lua_State* L_;
    rgConsoleSink& console_;
    rgScriptUi& ui_;
    std::string programFolder_;  // ends with '/'
    int errorCount_ = 0;
    bool exitAllowed_ = false;
};
