#include "rigmend/fix_run.h"

#include <fstream>

#include "rigmend/bone_id_map.h"
#include "rigmend/clip.h"
#include "rigmend/file_replace.h"
#include "rigmend/line_writer.h"
#include "rigmend/mesh_rewrite.h"
#include "rigmend/skeleton_rewrite.h"
#include "rigmend/text_lines.h"
#include "rigmend/work_folder.h"

namespace rigmend {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSkeletonEnding = ".skeleton.xml";
constexpr std::string_view kUnchanged = " Both files were left unchanged.";

FixResult Failed(std::string detail) {
    return {FixOutcome::kFailed, std::move(detail)};
}

using Rewrite = std::function<bool(const std::vector<std::string>&, LineWriter&, std::string*)>;

// Reads `input`, rewrites it into `temp` and checks that the copy was written completely.
bool RewriteInto(const fs::path& input, const fs::path& temp, const Rewrite& rewrite,
                 std::string* error) {
    std::vector<std::string> lines;
    if (!ReadLines(input, &lines, error)) return false;
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
        *error = "Cannot create '" + temp.string() + "'.";
        return false;
    }
    LineWriter writer(out);
    if (!rewrite(lines, writer, error)) return false;
    out.close();
    if (!out) {
        *error = "Cannot write '" + temp.string() + "'.";
        return false;
    }
    return true;
}

}  // namespace

fs::path MeshPathFor(const fs::path& skeleton) {
    constexpr std::string_view kEnding = "skeleton.xml";
    std::string name = skeleton.filename().string();
    if (!name.ends_with(kEnding)) return {};
    name.replace(name.size() - kEnding.size(), std::string::npos, "mesh.xml");
    return skeleton.parent_path() / name;
}

FixResult RunFix(const FixRequest& request, const std::function<void()>& onStart) {
    // Case-sensitive on purpose: the exporter always writes this ending.
    if (!request.skeleton.filename().string().ends_with(kSkeletonEnding))
        return {FixOutcome::kNotSkeletonFile, {}};
    const fs::path mesh = MeshPathFor(request.skeleton);
    std::error_code ec;
    if (!fs::is_regular_file(mesh, ec)) return {FixOutcome::kMeshMissing, {}};
    if (request.clipEntries.empty()) return {FixOutcome::kNoClips, {}};
    if (onStart) onStart();

    const std::vector<Clip> clips = ParseClips(request.clipEntries);
    WorkFolder folder(request.workDir);
    std::string error;
    if (!folder.Create(&error)) return Failed(error + std::string(kUnchanged));

    // The mesh needs the bone map, so the skeleton goes first; neither input is
    // replaced until both rewritten copies are complete.
    BoneIdMap bones;
    const Rewrite skeletonRewrite = [&](const auto& lines, LineWriter& out, std::string* e) {
        return RewriteSkeleton(lines, clips, bones, out, e);
    };
    const Rewrite meshRewrite = [&](const auto& lines, LineWriter& out, std::string* e) {
        return RewriteMesh(lines, bones, out, e);
    };
    if (!RewriteInto(request.skeleton, folder.SkeletonTemp(), skeletonRewrite, &error) ||
        !RewriteInto(mesh, folder.MeshTemp(), meshRewrite, &error))
        return Failed(error + std::string(kUnchanged));

    if (!ReplaceFiles({{folder.SkeletonTemp(), request.skeleton}, {folder.MeshTemp(), mesh}},
                      &error))
        return Failed(error);
    return {FixOutcome::kDone, {}};
}

Message MessageFor(const FixResult& result) {
    switch (result.outcome) {
        case FixOutcome::kDone:
            return {"Done!", "Your files have been fixed!"};
        case FixOutcome::kNotSkeletonFile:
            return {"Error!",
                    "Only drag and drop '*.skeleton.xml' files that were exported from Kinemo."};
        case FixOutcome::kMeshMissing:
            return {"Error!",
                    "The '*.mesh.xml' need to be in the same directory as the '*.skeleton.xml' in "
                    "order to fix them."};
        case FixOutcome::kNoClips:
            return {"Error!",
                    "Before dropping a skeleton file, you need to add animation names and frames."};
        case FixOutcome::kFailed:
            break;
    }
    return {"Error!", result.detail};
}

}  // namespace rigmend
