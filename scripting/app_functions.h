#pragma once

// The global functions of the script API. Each takes the interpreter first
// (the binding passes it; scripts do not) and reaches the application
// through the context bound to it.

struct lua_State;
class rgScene;
class rgSceneNode;
class rgMesh;
class rgBone;
class rgTexture;
class rgViewport;

// The scene file version this program writes and reads.
constexpr int kSceneFileVersion = 5;

void CheckFileVersion(lua_State* L, int version);
int GetFileVersion(lua_State* L);
rgScene* GetScene(lua_State* L);
const char* GetAppPath(lua_State* L);
void RedrawViewports(lua_State* L);
void RegisterImporter(lua_State* L, const char* description, const char* pattern, const char* function);
void RegisterExporter(lua_State* L, const char* description, const char* pattern, const char* function,
                      bool frameRange = false);
void RegisterPlugin(lua_State* L, const char* menu, const char* caption, const char* chunk);
rgMesh* tomesh(lua_State* L, rgSceneNode* node);
rgBone* tobone(lua_State* L, rgSceneNode* node);
float GetFrameRate(lua_State* L);
void SetFrameRate(lua_State* L, float rate);
// Seconds a third-party reader (images DevIL reads, Assimp imports) may take
// over one file, 1 to 3600.
double GetReaderTimeLimit(lua_State* L);
void SetReaderTimeLimit(lua_State* L, double seconds);
int GetTotalFrames(lua_State* L);
void SetTotalFrames(lua_State* L, int frames);
int GetFrame(lua_State* L);
void SetFrame(lua_State* L, int frame);
rgTexture* AddTexture(lua_State* L, const char* path);
int GetTextureCount(lua_State* L);
rgTexture* GetTexture(lua_State* L, int index);
void ProgressWindowShow(lua_State* L);
void ProgressWindowHide(lua_State* L);
void ProgressWindowMinMax(lua_State* L, int min, int max);
void ProgressWindowSet(lua_State* L, int position);
void PushUndo(lua_State* L, const char* name);
void Undo(lua_State* L);
void CloseAllViewports(lua_State* L);
int GetViewportCount(lua_State* L);
rgViewport* GetViewport(lua_State* L, int index);
rgViewport* CreateViewport(lua_State* L);

// True while a document is being merged into the scene (scene files keep
// the user's viewports then).
bool IsMerging(lua_State* L);

// Extensions for pipelines: open and merge scene documents from a script.
// Relative paths are taken from the working directory. Each answers whether
// the document was read (a failed one leaves the scene as it was).
bool LoadScene(lua_State* L, const char* path);
bool MergeScene(lua_State* L, const char* path);
