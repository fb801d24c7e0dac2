// glTF 2.0 import (.gltf with its buffers, or .glb) and export (either form).
#include <lua.hpp>

#include "plugins/native/common/helper_import.h"
#include "plugins/native/common/plugin_export.h"
#include "plugins/native/common/plugin_glue.h"
#include "plugins/native/gltf/gltf_format.h"

namespace {

bool WriteText(const std::string& path, const kinemo_plugin::Model& model, std::string& problem) {
    return kinemo_plugin::WriteGltf(path, model, false, problem);
}

bool WriteBinary(const std::string& path, const kinemo_plugin::Model& model, std::string& problem) {
    return kinemo_plugin::WriteGltf(path, model, true, problem);
}

// Draco meshes are for Assimp to decode, in the helper.
bool ReadGltfOrDraco(const std::string& path, kinemo_plugin::Model& model, std::string& problem) {
    const double rate = model.frameRate;
    if (kinemo_plugin::ReadGltf(path, model, problem)) return true;
    if (problem != kinemo_plugin::kDracoProblem) return false;
    model = kinemo_plugin::Model();
    model.frameRate = rate;
    std::string why;
    if (kinemo_plugin::ReadThroughHelper(path, model, why)) return true;
    problem += ", and the Assimp reader could not decode it either (" + why + ")";
    return false;
}

int ImportGltf(lua_State* L) {
    kinemo_plugin::TakeReaderLimits(L);
    return kinemo_plugin::RunImport(L, ReadGltfOrDraco);
}

int Export(lua_State* L, kinemo_plugin::Writer write) {
    kinemo_plugin::ReadOptions options;
    options.samples = true;  // spline rotations are written frame by frame
    return kinemo_plugin::RunExport(L, write, options);
}

int ExportGltf(lua_State* L) {
    return Export(L, WriteText);
}
int ExportGlb(lua_State* L) {
    return Export(L, WriteBinary);
}

}  // namespace

KINEMO_PLUGIN_ENTRY void InitPlugin(lua_State* L) {
    kinemo_plugin::RegisterImporter(L, "glTF 2.0 (*.gltf, *.glb)", "*.gltf;*.glb",
                                    "KinemoImportGltf", ImportGltf);
    kinemo_plugin::RegisterExporter(L, "glTF 2.0 (*.gltf)", "*.gltf", "KinemoExportGltf",
                                    ExportGltf, false);
    kinemo_plugin::RegisterExporter(L, "glTF 2.0 binary (*.glb)", "*.glb", "KinemoExportGlb",
                                    ExportGlb, false);
}
