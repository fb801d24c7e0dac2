// Import of every other format Assimp reads. Assimp runs in the reader
// helper, a process of its own per file: a file that crashes or hangs it
// costs the user nothing but the message.
#include <unistd.h>

#include <lua.hpp>
#include <string>

#include "imageio/reader_process.h"
#include "plugins/native/common/model_stream.h"
#include "plugins/native/common/plugin_export.h"
#include "plugins/native/common/plugin_glue.h"

namespace {

// The helper sits beside the program that loaded this plug-in.
std::string HelperPath() {
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "kinemo-reader";
    std::string path(self, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + "kinemo-reader";
}

rgReaderLimits readerLimits;

bool ReadThroughHelper(const std::string& path, kinemo_plugin::Model& model,
                       std::string& problem) {
    const rgReaderResult run = RunReader(HelperPath(), {"model", path}, readerLimits);
    if (!run.ok) {
        problem = ReaderProblem(run);
        return false;
    }
    const double frameRate = model.frameRate;
    if (!kinemo_plugin::ParseModelStream(run.output, model, problem)) return false;
    model.frameRate = frameRate;  // the scene's, as the helper did not know it
    return true;
}

int ImportAssimp(lua_State* L) {
    // The time limit is the editor's setting for every reader.
    readerLimits = rgReaderLimits();
    lua_getglobal(L, "GetReaderTimeLimit");
    if (lua_isfunction(L, -1)) {
        lua_call(L, 0, 1);
        if (lua_tonumber(L, -1) > 0) readerLimits.seconds = lua_tonumber(L, -1);
    }
    lua_pop(L, 1);
    return kinemo_plugin::RunImport(L, ReadThroughHelper);
}

}  // namespace

KINEMO_PLUGIN_ENTRY void InitPlugin(lua_State* L) {
    kinemo_plugin::RegisterImporter(
        L, "Assimp: FBX, Collada, 3DS, PLY, STL, ... (*.fbx;*.dae;*.3ds;*.ply;*.stl;...)",
        "*.fbx;*.dae;*.3ds;*.ply;*.stl;*.x;*.blend;*.lwo;*.lws;*.ms3d;*.ase;*.off;*.md2;*.md3;*."
        "md5mesh;*.smd;*.ac;*.irrmesh;*.b3d;*.q3o;*.cob;*.xgl;*.zgl;*.3mf",
        "KinemoImportAssimp", ImportAssimp);
}
