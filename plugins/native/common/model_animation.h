#pragma once

#include <string>

#include "plugins/native/common/model.h"

// From what a file says to what the editor keeps: rest placements, poses,
// keys and clips, the same for every reader.
namespace kinemo_plugin {

// The value of `track` at `t` seconds by the file's interpolation (rotations
// slerped and normalised). `out` takes 3 or 4 numbers.
void SampleTrack(const Track& track, ChannelPath path, double t, double* out);

// Readers leave every node's `matrix` as the file's local transform, a
// joint's bind placement in `bind` (world space, `hasBind`), skinned meshes
// at the top, and the animations as read. This then:
// - stands every joint on its bind pose at the Objects level, whatever the
//   nodes above the skeleton do: a joint whose parent is not a joint keeps
//   that parent only when it sits at the world's origin, else it moves to
//   the top (its rest placement is its bind placement either way);
// - poses every joint as the file does (offsets), nodes above included;
// - makes each animation a clip, laid one after another from frame 1
//   (frame f of a clip is t = (f - first) / rate), and keys every joint the
//   animations move at every frame of every clip, so that whatever the
//   editor's interpolation, each frame shows what the file says; joints
//   with recorded keys (Kinemo's files) are keyed at those frames only.
// False with the problem when a pose cannot be made (a matrix that cannot
// be inverted, a timeline beyond a million frames).
bool PlaceSkeletonAndBakeClips(Model& model, std::string& problem);

// The influences of one vertex as a file gives them (joint node, weight),
// into the vertex's four slots: the four strongest, normalised. Counts go
// to the report (a vertex with no positive weight counts as unbound).
struct WeightReport {
    size_t reduced = 0;    // vertices with more than four influences
    size_t rescaled = 0;   // vertices whose weights did not add up to 1
    size_t unbound = 0;    // vertices whose weights were all zero
    // One console line, or empty when nothing was changed.
    std::string Note(const std::string& mesh) const;
};
void SetInfluences(std::vector<std::pair<int, double>> influences, Vertex& vertex,
                   WeightReport& report);

}  // namespace kinemo_plugin
