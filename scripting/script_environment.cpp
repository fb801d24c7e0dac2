#include "scripting/script_environment.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "scripting/script_bindings.h"

namespace fs = std::filesystem;

rgScriptEnvironment::rgScriptEnvironment(rgEditor& editor, rgViewportHost& viewports,
                                         rgConsoleSink& console, rgScriptUi& ui,
                                         const std::string& programFolder)
    : server_(console, ui, programFolder), context_(editor, viewports, ui, server_) {
    BindScriptContext(server_.GetState(), context_);
    OpenScriptBindings(server_.GetState());
}

rgScriptEnvironment::~rgScriptEnvironment() = default;

void rgScriptEnvironment::RunStartupScripts(bool announce) {
    server_.RunFile("system/startup.lua");
    std::vector<std::string> scripts;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(server_.ProgramFolder() + "plugins", ec))
        if (entry.is_regular_file(ec) && entry.path().extension() == ".lua")
            scripts.push_back(entry.path().filename().string());
    std::sort(scripts.begin(), scripts.end());
    if (announce) server_.ConsoleWrite("Loading Plugins:");
    for (const std::string& name : scripts) {
        if (announce) server_.ConsoleWrite("   " + name);
        server_.RunFile("plugins/" + name);
    }
    if (announce) server_.ConsoleWrite("");
}
