#pragma once

#include <cstdio>
#include <lua.hpp>
#include <tolua++.h>

#include "scripting/script_handles.h"

// Errors of hand-written bindings, worded as the generated code words them.
// Messages are built on the stack: raising a Lua error skips C++ destructors.

namespace kinemo_binding {

// Raises "#ferror in function '<name>'." with the run-time's details.
inline int FunctionError(lua_State* L, const char* name, tolua_Error* err) {
    char message[96];
    std::snprintf(message, sizeof(message), "#ferror in function '%s'.", name);
    tolua_error(L, message, err);
    return 0;
}

// The object a method was called on; raises "invalid 'self'" when there is none.
inline void* Self(lua_State* L, const char* function) {
    void* self = kinemo_to_usertype(L, 1, nullptr);
    if (!self) {
        char message[96];
        std::snprintf(message, sizeof(message), "invalid 'self' in function '%s'", function);
        tolua_error(L, message, nullptr);
    }
    return self;
}

}  // namespace kinemo_binding
