#pragma once

// Editor commands for scripts: each does exactly what its menu item does,
// with the same undo step.

struct lua_State;

// "Detach Joints" on the current selection.
void DetachJoints(lua_State* L);
// "Auto Orient Joints" on the current selection.
void AutoOrientJoints(lua_State* L);
