#pragma once

#include <string>

#include "plugins/native/common/model.h"

// glTF 2.0 (.gltf with its .bin, or .glb) through tinygltf.
//
// Export: every node keeps its place in the hierarchy (repeated names get
// a number); meshes carry normals, texture coordinates and, when bound, a
// skin whose inverse bind matrices come from the joints' relaxed matrices;
// each clip becomes an animation (a scene without clips: one, "Animation",
// from frame 1), times from 0 at the clip's first frame, with channels for
// every keyed joint in the form of the editor's interpolation:
// - constant keys: STEP, switching halfway between keys as the editor does;
// - linear keys: LINEAR (exact: slerp and lerp commute with the rest pose);
// - spline keys: translations as CUBICSPLINE with the tangents the TCB
//   parameters give (exact), cut at the clip's ends; rotations, which the
//   editor interpolates with squad, sampled at every frame as LINEAR.
// Each keyed joint also records its key frames and TCB parameters, and each
// animation its clip's frames and loop flag, under extras.kinemo, so that
// an import into the editor gets the same keys and clips back.
//
// Import: every animation becomes a clip and keys as PlaceSkeletonAndBakeClips
// (model_animation.h) makes them.
namespace kinemo_plugin {

// The problem ReadGltf gives for Draco-compressed meshes, which it does not
// decode (the plug-in then tries the Assimp helper).
inline constexpr const char* kDracoProblem =
    "its meshes are compressed with Draco (KHR_draco_mesh_compression)";

// model.frameRate must hold the scene's frame rate (key times in seconds
// become frames with it unless the file recorded its own).
bool ReadGltf(const std::string& path, Model& model, std::string& problem);

// Writes `path` + ".gltf" and ".bin", or `path` + ".glb" when `binary`.
bool WriteGltf(const std::string& path, const Model& model, bool binary, std::string& problem);

}  // namespace kinemo_plugin
