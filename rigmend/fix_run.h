#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "rigmend/message.h"

namespace rigmend {

enum class FixOutcome {
    kDone,
    kNotSkeletonFile,  // the file name does not end with ".skeleton.xml"
    kMeshMissing,      // no matching ".mesh.xml" beside the skeleton file
    kNoClips,          // the clip list is empty
    kFailed,           // the run stopped; both input files are unchanged
};

struct FixResult {
    FixOutcome outcome = FixOutcome::kDone;
    std::string detail;  // what went wrong, for kFailed
};

struct FixRequest {
    std::filesystem::path skeleton;        // the dropped "*.skeleton.xml" file
    std::vector<std::string> clipEntries;  // "Name,From,To" texts in list order
    std::filesystem::path workDir;         // where "Rigmend Temp" is created
};

// The mesh file that belongs to a skeleton file: "X.skeleton.xml" -> "X.mesh.xml"
// in the same folder; an empty path for a name without that ending.
std::filesystem::path MeshPathFor(const std::filesystem::path& skeleton);

// Checks the drop, then rewrites the skeleton file and its mesh file. Both
// rewritten copies are completed in "Rigmend Temp" before either input is
// replaced; any failure leaves both inputs unchanged and removes the folder.
// `onStart` runs once the checks have passed, before anything is written.
FixResult RunFix(const FixRequest& request, const std::function<void()>& onStart = {});

// The message that reports a result to the user.
Message MessageFor(const FixResult& result);

}  // namespace rigmend
