#pragma once

class rgEditor;

// The "&Edit" menu's commands on whole nodes. Duplicate, Mirror and Delete
// record their undo step first (also with nothing selected); Hide, Show and
// Select record none and leave the document's modified flag alone. Every
// command redraws the viewports.

// Every selected node in walk order gets a copy beside it (a selected node
// inside a selected subtree is copied twice: with the subtree and alone).
void DuplicateObjects(rgEditor& editor);
// Every selected node mirrors over the ticked axes.
void MirrorObjects(rgEditor& editor, bool x, bool y, bool z);
// Deletes every selected node with its subtree, the last in walk order
// first; tools forget what they held of them.
void DeleteObjects(rgEditor& editor);

// Hide: with the vertex-assignment tool on, mesh vertices instead of nodes.
void HideSelected(rgEditor& editor);
void HideUnselected(rgEditor& editor);
void HideMeshes(rgEditor& editor);
void HideJoints(rgEditor& editor);
void ShowAll(rgEditor& editor);
void ShowMeshes(rgEditor& editor);
void ShowJoints(rgEditor& editor);

// Select: All and Invert touch visible nodes only; None deselects every node.
void SelectAll(rgEditor& editor);
void SelectNone(rgEditor& editor);
void InvertSelection(rgEditor& editor);
