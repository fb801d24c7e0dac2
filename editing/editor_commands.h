#pragma once

class rgEditor;

// Adds the editing commands to the editor's registry: the "&Edit" and
// "S&keleton" menus and the tool buttons ("Tool." + the button's name).
void RegisterEditingCommands(rgEditor& editor);
