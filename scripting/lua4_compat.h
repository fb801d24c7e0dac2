#pragma once

struct lua_State;

// Global names that Lua 4.0-era scripts and plug-ins use (tinsert, getn,
// strsub, format, write/writeto, ...), mapped onto the current libraries.
void OpenLua4Compatibility(lua_State* L);
