#include "plugins/native/common/helper_import.h"

#include <unistd.h>

#include <lua.hpp>

#include "imageio/reader_process.h"
#include "plugins/native/common/model_animation.h"
#include "plugins/native/common/model_stream.h"

namespace kinemo_plugin {

namespace {

// The helper sits beside the program that loaded the plug-in.
std::string HelperPath() {
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "kinemo-reader";
    std::string path(self, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + "kinemo-reader";
}

rgReaderLimits readerLimits;

}  // namespace

void TakeReaderLimits(lua_State* L) {
    readerLimits = rgReaderLimits();
    lua_getglobal(L, "GetReaderTimeLimit");
    if (lua_isfunction(L, -1)) {
        lua_call(L, 0, 1);
        if (lua_tonumber(L, -1) > 0) readerLimits.seconds = lua_tonumber(L, -1);
    }
    lua_pop(L, 1);
}

bool ReadThroughHelper(const std::string& path, Model& model, std::string& problem) {
    const rgReaderResult run = RunReader(HelperPath(), {"model", path}, readerLimits);
    if (!run.ok) {
        problem = ReaderProblem(run);
        return false;
    }
    const double frameRate = model.frameRate;
    if (!ParseModelStream(run.output, model, problem)) return false;
    model.frameRate = frameRate;  // the scene's, as the helper did not know it
    return PlaceSkeletonAndBakeClips(model, problem);
}

}  // namespace kinemo_plugin
