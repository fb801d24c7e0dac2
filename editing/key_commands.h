#pragma once

#include "animation/key_block.h"

class rgEditor;

// The Keyframer's key commands. Each records its undo step, changes the keys
// and has the time line repaint. Joints of a block that are no longer in the
// scene are left out, so a block kept from before a deletion is harmless.

// "Set Keyframe": every joint (or every selected one) gets a key at the
// current frame holding its present offset.
void SetKeyframe(rgEditor& editor, bool selectedOnly);

// "Delete Keyframe": the key at the current frame goes from every joint (or
// every selected one); the pose is evaluated again at that frame.
void DeleteKeyframe(rgEditor& editor, bool selectedOnly);

// "Delete Keyframes": every key of the block. A block without frames or
// joints only repaints. True when a step was recorded.
bool DeleteKeyframes(rgEditor& editor, const rgKeyBlock& block);

// "Move Keyframes" / "Copy Keyframes": the block's keys move (or are
// copied) by `shift` frames (see MoveKeyBlock and CopyKeyBlock). A shift of
// 0, or a block without frames or joints, changes nothing and records
// nothing. True when a step was recorded.
bool MoveKeyframes(rgEditor& editor, const rgKeyBlock& block, int shift, bool copy);
