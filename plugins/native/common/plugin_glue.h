#pragma once

#include <string>

#include "plugins/native/common/model.h"

struct lua_State;

// The boundary between a native plug-in and the interpreter. Readers and
// writers are plain C++ (they may throw; everything is caught here) and
// never touch Lua; the scene is reached through SceneData (plugins/
// scene_data.lua) and so through the script API.
//
// Lua errors jump over C++ frames, so the functions that call into Lua keep
// nothing with a destructor on their own frames: the model and the message
// live in a userdata the collector frees, and every C++ step runs in a
// function of its own that has returned before an error is raised.
namespace kinemo_plugin {

// Reads `path` into `model`; false with the problem (without the file
// name) in `error`.
using Reader = bool (*)(const std::string& path, Model& model, std::string& error);
// Writes `model` to `path` (the path without its extension, as the editor
// passes it); false with the problem in `error`.
using Writer = bool (*)(const std::string& path, const Model& model, std::string& error);

// What an exporter needs besides the scene's nodes.
struct ReadOptions {
    bool samples = false;   // joints' offsets at every frame of their keys' range
    bool deformed = false;  // meshes' skinned vertices at the current pose
};

// The body of an importer's Lua function: reads the file named by
// argument 1 and builds it into the scene. A failure raises "Could not
// import PATH: PROBLEM." after nothing was added.
int RunImport(lua_State* L, Reader read);
// The body of an exporter's Lua function. A failure raises "Could not
// export PATH: PROBLEM.".
int RunExport(lua_State* L, Writer write, const ReadOptions& options);

// Defines the global `function` as `entry` and calls RegisterImporter or
// RegisterExporter with it. Raises Lua errors (plug-in entry points run in
// protected mode).
void RegisterImporter(lua_State* L, const char* description, const char* pattern,
                      const char* function, int (*entry)(lua_State*));
void RegisterExporter(lua_State* L, const char* description, const char* pattern,
                      const char* function, int (*entry)(lua_State*), bool frameRange);

}  // namespace kinemo_plugin
