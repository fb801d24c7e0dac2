#pragma once

struct lua_State;

// Scene documents are Lua scripts from wherever a user got them: they run
// with the script API, safe base functions, math, string and table only.
// A name outside that set that the full environment has raises a clear
// error ("'io' is not available in scene files") instead of reaching it.
// Nothing a document can reach is shared with later scripts: it gets its
// own copies of math, string (without dump) and table, read-only views of
// the API classes and SceneFile, and getmetatable answers only for tables.

// Prepares the sandbox once per interpreter.
void InstallSceneSandbox(lua_State* L);
// Gives the function at `index` a fresh restricted environment. Until
// LeaveSceneSandbox, string methods ("x"):upper() use its string table.
void ApplySceneSandbox(lua_State* L, int index);
void LeaveSceneSandbox(lua_State* L);
