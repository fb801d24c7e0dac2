#pragma once

#include <string>

#include "plugins/native/common/model.h"

namespace kinemo_plugin {

// Any file Assimp reads (FBX, Collada, 3DS, PLY, STL, ...): its meshes,
// triangulated, and where the file has them its skeletons and weights (at
// most four a vertex: Assimp keeps the four strongest). Animations are not
// brought in.
bool ReadWithAssimp(const std::string& path, Model& model, std::string& problem);

}  // namespace kinemo_plugin
