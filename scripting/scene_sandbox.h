#pragma once

struct lua_State;

// Scene documents are Lua scripts from wherever a user got them: they run
// with the script API, safe base functions, math, string and table only.
// A name outside that set that the full environment has raises a clear
// error ("'io' is not available in scene files") instead of reaching it.

// Prepares the sandbox once per interpreter.
void InstallSceneSandbox(lua_State* L);
// Gives the function at `index` a fresh restricted environment.
void ApplySceneSandbox(lua_State* L, int index);
