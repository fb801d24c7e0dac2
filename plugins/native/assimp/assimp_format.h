#pragma once

#include <string>

#include "plugins/native/common/model.h"

namespace kinemo_plugin {

// Any file Assimp reads (FBX, Collada, 3DS, PLY, STL, ...): its meshes,
// triangulated, and where the file has them its skeletons (nodes' own
// transforms, bones' bind placements), weights (the four strongest,
// normalised) and animations (in seconds), as PlaceSkeletonAndBakeClips
// takes them; the editor's side runs that once the stream is checked.
bool ReadWithAssimp(const std::string& path, Model& model, std::string& problem);

}  // namespace kinemo_plugin
