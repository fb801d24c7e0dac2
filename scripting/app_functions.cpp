#include "scripting/app_functions.h"

#include <algorithm>
#include <filesystem>

#include "editing/animation_control.h"
#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scripting/document_commands.h"
#include "scripting/script_context.h"
#include "scripting/script_server.h"
#include "scripting/script_ui.h"
#include "viewport/viewport_host.h"

namespace {
rgScriptContext& Ctx(lua_State* L) { return rgScriptContext::Of(L); }
rgState& State(lua_State* L) { return Ctx(L).editor.state(); }
}  // namespace

void CheckFileVersion(lua_State* L, int version) {
    rgScriptContext& c = Ctx(L);
    if (version < kSceneFileVersion) c.editor.context.messages().ShowMessage(kObsoleteFileMessage);
    c.fileVersionSeen = true;
}

int GetFileVersion(lua_State*) { return kSceneFileVersion; }

rgScene* GetScene(lua_State* L) { return &Ctx(L).editor.scene(); }

const char* GetAppPath(lua_State* L) { return Ctx(L).server.ProgramFolder().c_str(); }

void RedrawViewports(lua_State* L) {
    rgScriptContext& c = Ctx(L);
    c.editor.scene().InvalidateSkins();
    c.editor.scene().NoteVertexEdits();
    c.viewports.RedrawAll();
    c.ui.RepaintKeys();
}

void RegisterImporter(lua_State* L, const char* description, const char* pattern, const char* function) {
    rgScriptContext& c = Ctx(L);
    c.importers.push_back({description, pattern, function});
    c.ui.PluginsChanged();
}

void RegisterExporter(lua_State* L, const char* description, const char* pattern, const char* function,
                      bool frameRange) {
    rgScriptContext& c = Ctx(L);
    c.exporters.push_back({description, pattern, function, frameRange});
    c.ui.PluginsChanged();
}

void RegisterPlugin(lua_State* L, const char* menu, const char* caption, const char* chunk) {
    rgScriptContext& c = Ctx(L);
    c.plugins.push_back({menu, caption, chunk});
    c.ui.PluginsChanged();
}

// Typed views of a node. A node of another class answers nil: calling mesh
// or joint functions on it would corrupt memory.
rgMesh* tomesh(lua_State*, rgSceneNode* node) { return ToMesh(node); }
rgBone* tobone(lua_State*, rgSceneNode* node) { return ToBone(node); }

bool IsMerging(lua_State* L) { return State(L).mergeMode; }

float GetFrameRate(lua_State* L) { return State(L).framesPerSecond; }

void SetFrameRate(lua_State* L, float rate) {
    rgScriptContext& c = Ctx(L);
    rgState& state = c.editor.state();
    if (state.mergeMode && rate != state.framesPerSecond)
        c.editor.context.messages().ShowMessage("Warning! The scenes have different frame rates!");
    c.editor.animation().SetFrameRate(rate);
}

double GetReaderTimeLimit(lua_State* L) { return State(L).readerSeconds; }

void SetReaderTimeLimit(lua_State* L, double seconds) {
    Ctx(L).editor.context.SetReaderTimeLimit(seconds);
}

int GetTotalFrames(lua_State* L) { return State(L).totalFrames; }

void SetTotalFrames(lua_State* L, int frames) {
    rgScriptContext& c = Ctx(L);
    rgState& state = c.editor.state();
    if (state.mergeMode) frames = std::max(frames, state.totalFrames);
    frames = std::max(frames, 2);  // as the total-frames field allows
    state.totalFrames = frames;
    state.segmentStart = 1;
    state.segmentEnd = frames;
    if (state.currentFrame > frames) state.currentFrame = frames;
    c.ui.FramesChanged();
}

int GetFrame(lua_State* L) { return State(L).currentFrame; }

void SetFrame(lua_State* L, int frame) {
    rgScriptContext& c = Ctx(L);
    const int before = c.editor.state().currentFrame;
    c.editor.animation().GoToFrame(frame);
    if (c.editor.state().currentFrame != before) c.ui.FramesChanged();
}

rgTexture* AddTexture(lua_State* L, const char* path) {
    rgScriptContext& c = Ctx(L);
    rgTexture* texture = c.editor.context.textures.AddTexture(path);
    if (texture)
        c.viewports.RedrawAll();
    else
        c.server.ConsoleWriteError(c.editor.context.textures.LastError());
    return texture;
}

int GetTextureCount(lua_State* L) { return Ctx(L).editor.context.textures.GetTextureCount(); }

rgTexture* GetTexture(lua_State* L, int index) { return Ctx(L).editor.context.textures.GetTexture(index); }

void ProgressWindowShow(lua_State* L) { Ctx(L).ui.ShowProgress(); }
void ProgressWindowHide(lua_State* L) { Ctx(L).ui.HideProgress(); }
void ProgressWindowMinMax(lua_State* L, int min, int max) { Ctx(L).ui.SetProgressRange(min, max); }
void ProgressWindowSet(lua_State* L, int position) { Ctx(L).ui.SetProgressPosition(position); }

void PushUndo(lua_State* L, const char* name) { Ctx(L).editor.PushUndo(name); }

void Undo(lua_State* L) {
    rgScriptContext& c = Ctx(L);
    c.editor.Undo();
    c.ui.RepaintKeys();
}

void CloseAllViewports(lua_State* L) { Ctx(L).viewports.CloseAll(); }

int GetViewportCount(lua_State* L) { return Ctx(L).viewports.Count(); }

namespace {
std::string FromWorkingDirectory(const char* path) {
    const std::filesystem::path p(path);
    return p.is_absolute() ? p.string() : (std::filesystem::current_path() / p).string();
}
}  // namespace

bool LoadScene(lua_State* L, const char* path) { return LoadSceneFile(Ctx(L), FromWorkingDirectory(path)); }

bool MergeScene(lua_State* L, const char* path) { return MergeSceneFile(Ctx(L), FromWorkingDirectory(path)); }
