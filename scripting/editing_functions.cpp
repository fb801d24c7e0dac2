#include "scripting/editing_functions.h"

#include <lua.hpp>

#include "editing/joint_commands.h"
#include "editing/rg_editor.h"
#include "editing/skin_commands.h"
#include "scripting/script_context.h"

void DetachJoints(lua_State* L) {
    DetachJoints(rgScriptContext::Of(L).editor);
}

void AutoOrientJoints(lua_State* L) {
    AutoOrientJoints(rgScriptContext::Of(L).editor);
}

void BindSkin(lua_State* L, bool rigid, int jointsPerVertex, float falloffRadius,
              float maxDistance) {
    // Checked before anything with a destructor exists: the error leaves by longjmp.
    if (jointsPerVertex < 2 || jointsPerVertex > 4)
        luaL_error(L, "BindSkin: jointsPerVertex must be 2, 3 or 4");
    if (!(falloffRadius >= rgBindSkinSettings::kMinFalloff &&
          falloffRadius <= rgBindSkinSettings::kMaxFalloff))
        luaL_error(L, "BindSkin: falloffRadius must be between 0.0001 and 1000");
    if (!(maxDistance >= rgBindSkinSettings::kMinDistance &&
          maxDistance <= rgBindSkinSettings::kMaxDistance))
        luaL_error(L, "BindSkin: maxDistance must be between 0.0001 and 10000");
    BindSkin(rgScriptContext::Of(L).editor,
             rgBindSkinSettings{rigid, jointsPerVertex, falloffRadius, maxDistance});
}

void DetachSkin(lua_State* L) {
    DetachSkin(rgScriptContext::Of(L).editor);
}
