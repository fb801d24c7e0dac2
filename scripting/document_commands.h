#pragma once

#include <string>
#include <vector>

struct rgScriptContext;

// The document life cycle as the engine runs it: a scene document is a Lua
// script run in the restricted scene environment; saving runs the start-up
// script's `save`. Each returns false when its script failed; the user has
// then seen the error on the console and the scene is as it was before.

// Replaces the scene by the document at `path` and makes it the current,
// clean document. The working directory becomes the document's folder.
bool LoadSceneFile(rgScriptContext& context, const std::string& path);
// Adds the document's content to the scene (joint ids shifted apart).
bool MergeSceneFile(rgScriptContext& context, const std::string& path);
// Writes the scene to `path` through `save(path)`.
bool SaveSceneFile(rgScriptContext& context, const std::string& path);

// Every viewport frames the whole scene, as its Zoom All does: what the user
// just opened or imported is in view, whatever its size or place. With
// `only`, just the viewports whose ids it lists.
void FrameEveryViewport(rgScriptContext& context, const std::vector<int>* only = nullptr);

// A Lua string literal that reads back as `text`, whatever it contains.
std::string LuaQuoted(const std::string& text);
// The message when a document names no file version of 5 or more.
inline constexpr const char* kObsoleteFileMessage = "Obsolete File Format. Please Resave.";
