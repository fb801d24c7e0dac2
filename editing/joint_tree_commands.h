#pragma once

#include <vector>

class rgBone;
class rgEditor;

// What the Keyframer's joint tree does to the scene.

// The user changed the tree's selection: every joint of the scene is
// selected exactly when it is in `selected`. A hidden joint that becomes
// selected shows again, with all its ancestors, so the user sees what the
// tree picked.
void SelectJointsFromTree(rgEditor& editor, const std::vector<rgBone*>& selected);

// A mouse-up on a tree row (`rowJoint` null: the "Scene" row, or no row)
// goes to the active tool: joint creation takes the row's joint as its
// current joint, the object-properties tool shows the selected node, the
// vertex tool takes its current joint from the selection.
void TreeMouseUp(rgEditor& editor, rgBone* rowJoint);
