#pragma once

#include <string>

#include "scene/rg_clip.h"

class rgEditor;
class rgScene;

// The clip list's commands: each change is one undo step ("Add Clip",
// "Change Clip", "Delete Clip"); selecting a clip is not an edit.

// Why `clip` cannot stand at list index `index` (-1: a new clip), naming
// the argument at fault; empty when it can. A clip reaching beyond the
// total frames is fine: the total grows to it.
std::string ClipProblem(const rgScene& scene, const rgClip& clip, int index);

// Appends a clip the caller has checked; answers its index.
int AddClip(rgEditor& editor, const rgClip& clip);
// Replaces clip `index` (in range, checked by the caller).
void SetClip(rgEditor& editor, int index, const rgClip& clip);
// Removes clip `index`; an index outside the list changes nothing (false).
bool DeleteClip(rgEditor& editor, int index);
// The playback range becomes the clip's frames and the current frame its
// first; false for an index outside the list.
bool SelectClip(rgEditor& editor, int index);
// The Keyframer's clip buttons. A new clip over the playback range, named
// "Clip" (numbered when taken); answers its index.
int AddClipFromPlaybackRange(rgEditor& editor);
// Clip `index` takes the playback range's frames; false when out of range.
bool SetClipToPlaybackRange(rgEditor& editor, int index);
// Renames clip `index`; the problem when the name cannot be used (nothing
// changes then), empty when it was renamed.
std::string RenameClip(rgEditor& editor, int index, const std::string& name);
// The clip whose frames hold `frame` (the first in list order), or -1.
int ClipAtFrame(const rgScene& scene, int frame);

// A name no clip of the scene has: `base`, else `base` followed by 2, 3, ...
std::string UnusedClipName(const rgScene& scene, const std::string& base);
