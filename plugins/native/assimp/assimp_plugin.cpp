// Import of every other format Assimp reads, through the reader helper.
#include <lua.hpp>

#include "plugins/native/common/helper_import.h"
#include "plugins/native/common/plugin_export.h"
#include "plugins/native/common/plugin_glue.h"

namespace {

int ImportAssimp(lua_State* L) {
    kinemo_plugin::TakeReaderLimits(L);
    return kinemo_plugin::RunImport(L, kinemo_plugin::ReadThroughHelper);
}

}  // namespace

KINEMO_PLUGIN_ENTRY void InitPlugin(lua_State* L) {
    kinemo_plugin::RegisterImporter(
        L, "Assimp: FBX, Collada, 3DS, PLY, STL, ... (*.fbx;*.dae;*.zae;*.3ds;*.ply;*.stl;...)",
        "*.fbx;*.dae;*.zae;*.3ds;*.ply;*.stl;*.x;*.blend;*.lwo;*.lws;*.ms3d;*.ase;*.off;*.md2;*."
        "md3;*.md5mesh;*.smd;*.ac;*.irrmesh;*.b3d;*.q3o;*.cob;*.xgl;*.zgl;*.3mf;*.mesh.xml",
        "KinemoImportAssimp", ImportAssimp);
}
