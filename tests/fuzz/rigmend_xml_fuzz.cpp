// The XML fixer's readers: any text as a skeleton file and as a mesh file.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "rigmend/mesh_rewrite.h"
#include "rigmend/skeleton_rewrite.h"
#include "rigmend/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = rigmend::SplitLines(text);
    const std::vector<rigmend::Clip> clips = rigmend::ParseClips({"Walk,1,10", "Turn,8,3", "Idle,,"});
    rigmend::BoneIdMap bones;
    std::ostringstream skeleton, mesh;
    rigmend::LineWriter skeletonOut(skeleton), meshOut(mesh);
    std::string error;
    rigmend::RewriteSkeleton(lines, clips, bones, skeletonOut, &error);
    rigmend::RewriteMesh(lines, bones, meshOut, &error);
    return 0;
}
