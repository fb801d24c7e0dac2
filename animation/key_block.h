#pragma once

#include <vector>

class rgBone;

// A block of keys as the keyframer selects it: the keys of some joints
// within frames first..last. A block with first > last holds no frames.
struct rgKeyBlock {
    std::vector<rgBone*> joints;
    int first = 1;
    int last = 0;

    bool HasFrames() const { return first <= last && !joints.empty(); }
};

// Moves the block's keys by `shift` frames. A moved key keeps all its values
// (matrix and spline parameters) and stays the same key; keys at the
// destination frames that are not part of the block are deleted.
void MoveKeyBlock(const rgKeyBlock& block, int shift);

// Copies the block's keys `shift` frames on. Everything at the destination
// frames is replaced by the copies, which hold their source key's matrix and
// zero spline parameters; the source keys outside the destination stay.
void CopyKeyBlock(const rgKeyBlock& block, int shift);

// Deletes every key of the block.
void DeleteKeyBlock(const rgKeyBlock& block);
