#include "scripting/editing_functions.h"

#include "editing/joint_commands.h"
#include "editing/rg_editor.h"
#include "scripting/script_context.h"

void DetachJoints(lua_State* L) { DetachJoints(rgScriptContext::Of(L).editor); }

void AutoOrientJoints(lua_State* L) { AutoOrientJoints(rgScriptContext::Of(L).editor); }
