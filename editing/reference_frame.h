#pragma once

#include <vector>

#include "core/matrix44.h"

class rgSceneNode;

// The frame a transform tool moves or turns a node in, expressed in the
// node's parent space: "Local" (kCoordLocal) is the node's own matrix, so
// X, Y and Z are its own axes; "Global" (kCoordGlobal) is the inverse of
// the parent's global matrix (identity without a parent), so X, Y and Z are
// the world axes. Global matrices must be up to date.
matrix44 ReferenceFrame(rgSceneNode& node, int coordSystem);

// The frames of all nodes, indexed by walk order, that a drag or numeric
// operation saves at its start.
class rgFrameList {
public:
    void Clear() { frames_.clear(); }
    void Add(const matrix44& frame) { frames_.push_back(frame); }
    // The frame of walk position i; identity past the end (the hierarchy
    // grew since the frames were saved).
    matrix44 At(int i) const;

private:
    std::vector<matrix44> frames_;
};
