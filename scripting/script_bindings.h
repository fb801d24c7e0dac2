#pragma once

struct lua_State;

// Registers every class and global function of the script API, in the
// order base classes need: application functions, the scene and its node
// classes, the math types, textures and viewports.
void OpenScriptBindings(lua_State* L);
