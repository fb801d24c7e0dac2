// Scene files: any bytes opened as a document through the script server and
// the scene sandbox, with the real start-up script's helpers. Runaway
// documents meet short budgets here.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "editing/rg_editor.h"
#include "scripting/console_sink.h"
#include "scripting/document_commands.h"
#include "scripting/script_environment.h"
#include "scripting/script_ui.h"
#include "scene/user_messages.h"
#include "viewport/viewport_host.h"

namespace {

class Silent : public rgConsoleSink {
public:
    void Write(const std::string&) override {}
};

class SilentMessages : public rgUserMessages {
public:
    void ShowMessage(const std::string&) override {}
};

struct World {
    rgEditor editor;
    rgStateOnlyViewports viewports{editor.state()};
    Silent console;
    SilentMessages messages;
    rgScriptUi ui;
    std::unique_ptr<rgScriptEnvironment> scripting;
    World() {
        editor.context.SetMessages(&messages);
        scripting = std::make_unique<rgScriptEnvironment>(editor, viewports, console, ui,
                                                          KINEMO_SOURCE_DIR "/");
        scripting->RunStartupScripts(false);
        rgScriptLimits limits;
        limits.sceneFileSeconds = 2;
        limits.sceneFileInstructions = 20'000'000;
        limits.memoryBytes = size_t{256} << 20;
        scripting->server().guard().SetLimits(limits);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World world;
    static const std::string path = "/tmp/kinemo_scene_fuzz_" + std::to_string(::getpid()) + ".rig";
    static const bool cleaned = (std::atexit([] { std::remove(path.c_str()); }), true);
    (void)cleaned;
    {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // Opening a document makes its folder current; the fuzzer's own paths are relative.
    static const std::filesystem::path start = std::filesystem::current_path();
    LoadSceneFile(world.scripting->context(), path);
    MergeSceneFile(world.scripting->context(), path);
    world.editor.ClearUndo();
    std::filesystem::current_path(start);
    return 0;
}
