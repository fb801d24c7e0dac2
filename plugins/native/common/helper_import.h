#pragma once

#include <string>

#include "plugins/native/common/model.h"

struct lua_State;

// Imports through the reader helper (Assimp in a process of its own per
// file, with the editor's time limit): a file that crashes or hangs it
// costs the user nothing but the message.
namespace kinemo_plugin {

// Takes the editor's reader time limit for the next reads.
void TakeReaderLimits(lua_State* L);
// Reads `path` through the helper, checks its stream and makes keys and
// clips of it (model.frameRate: the scene's).
bool ReadThroughHelper(const std::string& path, Model& model, std::string& problem);

}  // namespace kinemo_plugin
