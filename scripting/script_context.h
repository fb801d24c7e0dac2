#pragma once

#include <string>
#include <vector>

class rgEditor;
class rgViewportHost;
class rgScriptUi;
class rgScriptServer;
struct lua_State;

// An import format a plug-in registered: the Lua function is called with
// each chosen path.
struct rgImporter {
    std::string description;
    std::string pattern;
    std::string function;
};

// An export format; a frame-range exporter is called once per frame.
struct rgExporter {
    std::string description;
    std::string pattern;
    std::string function;
    bool frameRange = false;
};

// A menu command a plug-in registered: the chunk runs when it is chosen.
struct rgPluginCommand {
    std::string menu;
    std::string caption;
    std::string chunk;
};

// Everything the script API reaches beyond the classes: the editor, the
// viewports, the windows scripts drive, and what plug-ins registered.
struct rgScriptContext {
    rgScriptContext(rgEditor& e, rgViewportHost& v, rgScriptUi& u, rgScriptServer& s)
        : editor(e), viewports(v), ui(u), server(s) {}

    rgEditor& editor;
    rgViewportHost& viewports;
    rgScriptUi& ui;
    rgScriptServer& server;

    // Set by CheckFileVersion; cleared before a scene file runs.
    bool fileVersionSeen = false;
    std::vector<rgImporter> importers;
    std::vector<rgExporter> exporters;
    std::vector<rgPluginCommand> plugins;

    // The context behind an interpreter (registered by BindScriptContext).
    static rgScriptContext& Of(lua_State* L);
};

// Makes `context` what the application functions of this interpreter reach.
void BindScriptContext(lua_State* L, rgScriptContext& context);
