#include "scripting/script_environment.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "editing/rg_editor.h"
#include "scripting/object_lifetime.h"
#include "scripting/script_bindings.h"
#include "scripting/script_handles.h"

namespace fs = std::filesystem;

rgScriptEnvironment::rgScriptEnvironment(rgEditor& editor, rgViewportHost& viewports,
                                         rgConsoleSink& console, rgScriptUi& ui,
                                         const std::string& programFolder)
    : server_(console, ui, programFolder), context_(editor, viewports, ui, server_) {
    lua_State* L = server_.GetState();
    BindScriptContext(L, context_);
    BindHandleRegistry(L, handles_);
    OpenScriptBindings(L);
    InstallObjectLifetime(L);
    editor.context.SetObjectWatcher(&handles_);
}

rgScriptEnvironment::~rgScriptEnvironment() {
    server_.Close();  // frees what scripts owned while their handles are still watched
    context_.editor.context.SetObjectWatcher(nullptr);
}

void rgScriptEnvironment::RunStartupScripts(bool announce) {
    server_.RunFile("system/startup.lua");
    const std::string folder = server_.ProgramFolder() + "plugins";
    if (announce) server_.ConsoleWrite("Loading Plugins:");
    std::string why;
    const std::vector<std::string> natives = rgPluginLoader::NativePlugins(folder, &why);
    if (!why.empty() && fs::exists(folder))
        server_.ConsoleWriteError("The plugins folder " + folder + " cannot be read: " + why);
    for (const std::string& name : natives) {
        if (plugins_.Load(folder + "/" + name, server_.GetState(), &why)) {
            if (announce) server_.ConsoleWrite("   " + name);
        } else {
            server_.ConsoleWriteError("   " + name + " was not loaded: " + why);
        }
    }
    std::vector<std::string> scripts;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec) && entry.path().extension() == ".lua")
            scripts.push_back(entry.path().filename().string());
    std::sort(scripts.begin(), scripts.end());
    for (const std::string& name : scripts) {
        if (announce) server_.ConsoleWrite("   " + name);
        server_.RunFile("plugins/" + name);
    }
    if (announce) server_.ConsoleWrite("");
}
