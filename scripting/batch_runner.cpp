#include "scripting/batch_runner.h"

#include <lua.hpp>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>

#include "editing/rg_editor.h"
#include "scripting/console_sink.h"
#include "scripting/script_environment.h"
#include "scripting/script_ui.h"
#include "viewport/viewport_host.h"

namespace fs = std::filesystem;

namespace {

class StandardStreams : public rgConsoleSink {
public:
    void Write(const std::string& line) override {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    void WriteError(const std::string& line) override {
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
    }
};

// Ctrl+C stops the running script and runs no further one; a second
// Ctrl+C ends the program at once. A signal handler reaches the server
// only through globals.
std::atomic<rgScriptServer*> interruptTarget{nullptr};
volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
    interrupted = 1;
    if (rgScriptServer* server = interruptTarget.load()) server->RequestStop();
    std::signal(SIGINT, SIG_DFL);
}

// Installs the handler for the lifetime of a batch run.
class InterruptScripts {
public:
    explicit InterruptScripts(rgScriptServer& server) {
        interruptTarget.store(&server);
        std::signal(SIGINT, OnInterrupt);
    }
    ~InterruptScripts() {
        std::signal(SIGINT, SIG_DFL);
        interruptTarget.store(nullptr);
    }
};

std::string ProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("./") : exe.parent_path().string() + "/";
}

}  // namespace

int RunBatch(int argc, char** argv, rgImageDecoder* images) {
    // argv: kinemo --batch FILE [ARGS...]
    if (argc < 3) {
        std::fprintf(stderr, "usage: kinemo --batch FILE.lua [ARGS...]\n");
        return 2;
    }
    const std::string file = fs::absolute(argv[2]).string();

    rgEditor editor;
    editor.context.textures.SetDecoder(images);
    rgStateOnlyViewports viewports(editor.state());
    StandardStreams console;
    rgScriptUi ui;
    rgScriptEnvironment scripting(editor, viewports, console, ui, ProgramFolder());
    InterruptScripts interrupt(scripting.server());
    scripting.server().AllowExit(true);
    scripting.RunStartupScripts(false);
    const rgScriptGuard& guard = scripting.server().guard();
    if (guard.ExitRequested()) return guard.ExitStatus();
    if (interrupted) {
        std::fprintf(stderr, "stopped by Ctrl+C before %s ran\n", file.c_str());
        return 1;
    }

    lua_State* L = scripting.server().GetState();
    lua_newtable(L);
    lua_pushstring(L, file.c_str());
    lua_rawseti(L, -2, 0);
    for (int i = 3; i < argc; ++i) {
        lua_pushstring(L, argv[i]);
        lua_rawseti(L, -2, i - 2);
    }
    lua_setglobal(L, "arg");

    // The status is the batch file's own: 1 when an error ended it, the
    // status it gave os.exit, else 0. Errors it handled itself (a command
    // answering false, a pcall) are its business; they still reach
    // standard error.
    const bool ran = scripting.server().RunFile(file);
    if (guard.ExitRequested()) return guard.ExitStatus();
    return ran ? 0 : 1;
}
