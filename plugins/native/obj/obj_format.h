#pragma once

#include <string>
#include <string_view>

#include "plugins/native/common/model.h"

// Wavefront OBJ. Each object, group or change of material starts a mesh;
// polygons are triangulated; corners with the same position, texture
// coordinate and normal indices become one vertex.
namespace kinemo_plugin {

// Reads an OBJ file (and the diffuse maps of its material library).
bool ReadObj(const std::string& path, Model& model, std::string& problem);
// The same from text; `folder` is where material libraries are looked for.
bool ParseObj(std::string_view text, const std::string& folder, Model& model, std::string& problem);

// Writes PATH.obj (and PATH.mtl when meshes have textures): every mesh as
// the current pose shows it, in world space.
bool WriteObj(const std::string& path, const Model& model, std::string& problem);

}  // namespace kinemo_plugin
