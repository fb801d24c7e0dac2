#pragma once

#include <string>
#include <vector>

#include "rigmend/bone_id_map.h"
#include "rigmend/line_writer.h"

namespace rigmend {

// Rewrites the lines of a mesh file as the exporter wrote it: the bone index of
// every vertex-bone assignment becomes the bone's new id from `bones` (empty
// when the skeleton had no such bone), and the skeleton link names the bare
// file name instead of the full path. Other lines are copied unchanged; lines
// after the mesh's closing line are dropped.
//
// Returns false with a message in `error` when the text lacks the bone
// assignment lines or ends before the layout is complete. What was written
// to `out` by then is incomplete and must be discarded.
bool RewriteMesh(const std::vector<std::string>& lines, const BoneIdMap& bones, LineWriter& out,
                 std::string* error);

// One assignment line split at single spaces into exactly 15 fields (missing
// ones empty, later ones dropped), the bone index replaced, the fields
// joined by single spaces again.
std::string RewriteAssignment(const std::string& line, const BoneIdMap& bones);

// " <skeletonlink name='FILE' />" for the link line naming .../FILE; a line
// without a skeleton link is returned unchanged.
std::string RewriteSkeletonLink(const std::string& line);

}  // namespace rigmend
