#include "animation/key_block.h"

#include <algorithm>
#include <climits>

#include "scene/rg_bone.h"

namespace {

// Frame arithmetic that cannot overflow: results stay within int.
int Add(int frame, int shift) {
    const long long sum = static_cast<long long>(frame) + shift;
    return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

}  // namespace

void MoveKeyBlock(const rgKeyBlock& block, int shift) {
    if (shift == 0 || !block.HasFrames()) return;
    const int first = block.first, last = block.last;
    const int destFirst = Add(first, shift), destLast = Add(last, shift);
    for (rgBone* joint : block.joints) {
        // Only the destination frames the block does not cover lose keys:
        // keys inside the block move on as they are.
        if (shift > 0)
            joint->DeleteKeysInRange(std::max(destFirst, Add(last, 1)), destLast);
        else
            joint->DeleteKeysInRange(destFirst, std::min(destLast, Add(first, -1)));
        bool moved = false;
        for (int i = 0; i < joint->GetKeyCount(); ++i) {
            rgKeyframe* key = joint->GetKey(i);
            if (key->frame < first || key->frame > last) continue;
            key->frame = Add(key->frame, shift);
            moved = true;
        }
        if (moved) joint->SortKeys();
    }
}

void CopyKeyBlock(const rgKeyBlock& block, int shift) {
    if (shift == 0 || !block.HasFrames()) return;
    std::vector<rgKeyframe> copies;
    for (rgBone* joint : block.joints) {
        copies.clear();
        for (int i = 0; i < joint->GetKeyCount(); ++i) {
            const rgKeyframe* key = joint->GetKey(i);
            if (key->frame < block.first || key->frame > block.last) continue;
            rgKeyframe copy;
            copy.frame = Add(key->frame, shift);
            copy.matrix = key->matrix;
            copies.push_back(copy);
        }
        joint->DeleteKeysInRange(Add(block.first, shift), Add(block.last, shift));
        joint->SetKeys(copies);
    }
}

void DeleteKeyBlock(const rgKeyBlock& block) {
    if (!block.HasFrames()) return;
    for (rgBone* joint : block.joints) joint->DeleteKeysInRange(block.first, block.last);
}
