#pragma once

#include <string>

#include "plugins/native/common/model.h"

// glTF 2.0 (.gltf with its .bin, or .glb) through tinygltf.
//
// Export: every node keeps its place in the hierarchy; meshes carry normals,
// texture coordinates and, when bound, a skin whose inverse bind matrices
// come from the joints' relaxed matrices; the keys become one animation
// with a translation and a rotation channel per keyed joint:
// - constant keys: STEP, with an extra key halfway between two keys, where
//   the editor switches to the next pose;
// - linear keys: LINEAR (exact: slerp and lerp commute with the rest pose);
// - spline keys: translations as CUBICSPLINE with the tangents the TCB
//   parameters give (exact); rotations, which the editor interpolates with
//   squad, sampled at every frame as LINEAR.
// Each keyed joint also records its key frames and TCB parameters under
// extras.kinemo, so that an import into the editor gets the same keys back.
//
// Import samples every channel at the key frames (the recorded ones, or the
// key times rounded to frames) and keys the joints there.
namespace kinemo_plugin {

// model.frameRate must hold the scene's frame rate (key times in seconds
// become frames with it unless the file recorded its own).
bool ReadGltf(const std::string& path, Model& model, std::string& problem);

// Writes `path` + ".gltf" and ".bin", or `path` + ".glb" when `binary`.
bool WriteGltf(const std::string& path, const Model& model, bool binary, std::string& problem);

}  // namespace kinemo_plugin
