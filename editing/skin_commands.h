#pragma once

#include <functional>
#include <string>

#include "skinning/bind_skin_job.h"
#include "skinning/geodesic_bind_job.h"

class rgEditor;

// "Bind Skin" once its dialog is confirmed: checks the settings first and,
// when they are out of range, changes nothing and says why in `error`.
// Otherwise records the undo step "Bind Skin", binds every mesh and redraws.
bool BindSkin(rgEditor& editor, const rgBindSkinSettings& settings, std::string* error = nullptr);

// "Bind Skin" of the kind "geodesic": the same undo step. `progress` (may
// be empty) hears the share done and may cancel, which leaves the scene as
// it was (no step recorded; false, `error` empty). Answers in `fallback`
// how many vertices no joint reached through the body.
bool BindSkinGeodesic(rgEditor& editor, const rgGeodesicBindSettings& settings, std::string* error,
                      size_t* fallback = nullptr,
                      const std::function<bool(float)>& progress = {});

// "Detach Skin": records the undo step "Detach Skin", removes every
// influence of every vertex and redraws.
void DetachSkin(rgEditor& editor);
