#pragma once

struct lua_State;

// The clip list from scripts. The commands (one undo step each, as their
// Keyframer buttons):
//   AddClip(name, first, last [, loop]) -> index (0-based)
//   GetClipCount() -> n
//   GetClip(i) -> name, first, last, loop
//   SetClip(i, name, first, last [, loop])
//   DeleteClip(i)
//   SelectClip(i)   the playback range becomes the clip's frames
// Bad arguments raise an error naming the argument and change nothing; a
// last frame beyond the total frames raises the total.
// Without undo, for scene files and import plug-ins (a repeated name gets a
// number; a range that cannot be a clip answers nil and the reason):
//   rgScene:AppendClip(name, first, last, loop) -> index
void OpenClipFunctions(lua_State* L);
