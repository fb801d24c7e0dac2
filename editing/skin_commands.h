#pragma once

#include <string>

#include "skinning/bind_skin_job.h"

class rgEditor;

// "Bind Skin" once its dialog is confirmed: checks the settings first and,
// when they are out of range, changes nothing and says why in `error`.
// Otherwise records the undo step "Bind Skin", binds every mesh and redraws.
bool BindSkin(rgEditor& editor, const rgBindSkinSettings& settings, std::string* error = nullptr);

// "Detach Skin": records the undo step "Detach Skin", removes every
// influence of every vertex and redraws.
void DetachSkin(rgEditor& editor);
