// Wavefront OBJ import and export. The exporter is a frame-range exporter:
// each frame it is called for becomes one file of the mesh as posed then.
#include <lua.hpp>

#include "plugins/native/common/plugin_export.h"
#include "plugins/native/common/plugin_glue.h"
#include "plugins/native/obj/obj_format.h"

namespace {

int ImportObj(lua_State* L) {
    return kinemo_plugin::RunImport(L, kinemo_plugin::ReadObj);
}

int ExportObj(lua_State* L) {
    kinemo_plugin::ReadOptions options;
    options.deformed = true;
    return kinemo_plugin::RunExport(L, kinemo_plugin::WriteObj, options);
}

}  // namespace

KINEMO_PLUGIN_ENTRY void InitPlugin(lua_State* L) {
    kinemo_plugin::RegisterImporter(L, "Wavefront OBJ (*.obj)", "*.obj", "KinemoImportObj",
                                    ImportObj);
    kinemo_plugin::RegisterExporter(L, "Wavefront OBJ (*.obj)", "*.obj", "KinemoExportObj",
                                    ExportObj, true);
}
