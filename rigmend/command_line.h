#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "rigmend/fix_run.h"

namespace rigmend {

// Exit statuses of the command line, one per message so pipelines can tell
// the cases apart.
enum ExitStatus : int {
    kExitDone = 0,
    kExitFailed = 1,  // the run stopped (input layout, file system); inputs unchanged
    kExitUsage = 2,   // unknown option, missing or extra file argument
    kExitNotSkeletonFile = 3,
    kExitMeshMissing = 4,
    kExitNoClips = 5,
};

int ExitStatusFor(FixOutcome outcome);

// Runs `rigmend --clip NAME,FROM,TO [--clip ...] FILE.skeleton.xml` without a
// window: `args` are the arguments after the program name. The help goes to
// `out`; usage errors and the fix's message go to `err`.
int RunCommandLine(const std::vector<std::string>& args, const std::filesystem::path& workDir,
                   std::ostream& out, std::ostream& err);

}  // namespace rigmend
