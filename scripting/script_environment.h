#pragma once

#include <memory>
#include <string>

#include "scripting/handle_registry.h"
#include "scripting/plugin_loader.h"
#include "scripting/script_context.h"
#include "scripting/script_server.h"

class rgEditor;
class rgViewportHost;
class rgConsoleSink;
class rgScriptUi;

// The interpreter with the whole script API bound to one editor: what the
// application and the batch runner create once, and tests create freshly.
class rgScriptEnvironment {
public:
    rgScriptEnvironment(rgEditor& editor, rgViewportHost& viewports, rgConsoleSink& console,
                        rgScriptUi& ui, const std::string& programFolder);
    ~rgScriptEnvironment();

    rgScriptServer& server() { return server_; }
    rgScriptContext& context() { return context_; }

    // Runs "system/startup.lua", loads every native plug-in ("plugins/*.so")
    // and runs every "plugins/*.lua", each kind in name order. Plug-ins that
    // load are listed on the console when `announce` is set; those that fail
    // are reported there with the reason, and start-up carries on.
    void RunStartupScripts(bool announce);
    rgPluginLoader& plugins() { return plugins_; }

private:
    rgHandleRegistry handles_;  // outlives the interpreter: collecting handles detaches them
    rgScriptServer server_;
    rgScriptContext context_;
    rgPluginLoader plugins_;
};
