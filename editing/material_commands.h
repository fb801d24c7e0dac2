#pragma once

#include <string>

class rgEditor;
class rgTexture;

// The material editor's commands on the texture library and the selected
// nodes. Textures are not part of undo steps: adding and deleting record
// none (undo restores node materials, not textures).

// Loads the file as a texture, appends it and makes it current; marks the
// document modified. Null, with nothing changed, when the file cannot be
// loaded.
rgTexture* AddMaterial(rgEditor& editor, const std::string& fileName);
// Deletes the current texture; the one that takes its place (or the last)
// becomes current. Without a current texture nothing happens. Nodes that
// used it keep its id until they are drawn.
void DeleteMaterial(rgEditor& editor);
// Records "Assign Material" and gives every selected node (meshes and joints)
// the current texture's id; without a current texture nothing happens.
void AssignMaterial(rgEditor& editor);
// Records "Unassign Material" and takes the material from every selected
// node, also without a current texture.
void UnassignMaterial(rgEditor& editor);
