// Import of every other format Assimp reads.
#include <lua.hpp>

#include "plugins/native/assimp/assimp_format.h"
#include "plugins/native/common/plugin_export.h"
#include "plugins/native/common/plugin_glue.h"

namespace {

int ImportAssimp(lua_State* L) {
    return kinemo_plugin::RunImport(L, kinemo_plugin::ReadWithAssimp);
}

}  // namespace

KINEMO_PLUGIN_ENTRY void InitPlugin(lua_State* L) {
    kinemo_plugin::RegisterImporter(
        L, "Assimp: FBX, Collada, 3DS, PLY, STL, ... (*.fbx;*.dae;*.3ds;*.ply;*.stl;...)",
        "*.fbx;*.dae;*.3ds;*.ply;*.stl;*.x;*.blend;*.lwo;*.lws;*.ms3d;*.ase;*.off;*.md2;*.md3;*."
        "md5mesh;*.smd;*.ac;*.irrmesh;*.b3d;*.q3o;*.cob;*.xgl;*.zgl;*.3mf",
        "KinemoImportAssimp", ImportAssimp);
}
