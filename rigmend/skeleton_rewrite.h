#pragma once

#include <string>
#include <vector>

#include "rigmend/bone_id_map.h"
#include "rigmend/clip.h"
#include "rigmend/line_writer.h"

namespace rigmend {

// Rewrites the lines of a skeleton file as the exporter wrote it: bones
// renumbered 0, 1, 2, ... in file order (recorded in `bones`), and the one
// exported animation, keyed by frame number, replaced by one animation per
// clip keyed in seconds from 0. Every other line up to the animations is
// copied unchanged; lines after the skeleton's closing line are dropped.
//
// Returns false with a message in `error` when the text lacks the line
// "  <animations>", ends before the layout is complete, or `clips` is empty.
// What was written to `out` by then is incomplete and must be discarded.
bool RewriteSkeleton(const std::vector<std::string>& lines, const std::vector<Clip>& clips,
                     BoneIdMap& bones, LineWriter& out, std::string* error);

}  // namespace rigmend
