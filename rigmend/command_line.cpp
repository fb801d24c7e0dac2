#include "rigmend/command_line.h"

#include <string_view>

namespace rigmend {

namespace {

constexpr std::string_view kUsage =
    "usage: rigmend --clip NAME,FROM,TO [--clip NAME,FROM,TO ...] FILE.skeleton.xml\n";

constexpr std::string_view kHelp =
    "Rewrites a skeleton file exported from Kinemo and the mesh file beside it:\n"
    "bones are renumbered from 0, the exported animation is cut into one animation\n"
    "per clip with key times in seconds, and the mesh's skeleton link is reduced to\n"
    "the bare file name. Without arguments, rigmend opens its window instead.\n"
    "\n"
    "  --clip NAME,FROM,TO  an animation named NAME from frame FROM to frame TO\n"
    "                       (repeat for every clip; the order is kept)\n"
    "  -h, --help           show this text\n"
    "\n"
    "FILE.skeleton.xml and FILE.mesh.xml are replaced in place. The work folder\n"
    "\"Rigmend Temp\" is created in the current directory during the run.\n"
    "\n"
    "Exit status: 0 fixed, 1 the run stopped (files unchanged), 2 usage error,\n"
    "3 not a .skeleton.xml file, 4 no .mesh.xml beside it, 5 no --clip given.\n";

int UsageError(std::ostream& err, const std::string& why) {
    err << "rigmend: " << why << "\n" << kUsage;
    return kExitUsage;
}

}  // namespace

int ExitStatusFor(FixOutcome outcome) {
    switch (outcome) {
        case FixOutcome::kDone:
            return kExitDone;
        case FixOutcome::kNotSkeletonFile:
            return kExitNotSkeletonFile;
        case FixOutcome::kMeshMissing:
            return kExitMeshMissing;
        case FixOutcome::kNoClips:
            return kExitNoClips;
        case FixOutcome::kFailed:
            break;
    }
    return kExitFailed;
}

int RunCommandLine(const std::vector<std::string>& args, const std::filesystem::path& workDir,
                   std::ostream& out, std::ostream& err) {
    FixRequest request;
    request.workDir = workDir;
    bool haveFile = false;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                optionsEnded = true;
            } else if (arg == "-h" || arg == "--help") {
                out << kUsage << "\n" << kHelp;
                return kExitDone;
            } else if (arg == "--clip") {
                if (i + 1 == args.size()) return UsageError(err, "--clip needs a value");
                request.clipEntries.push_back(args[++i]);
            } else if (arg.starts_with("--clip=")) {
                request.clipEntries.push_back(arg.substr(7));
            } else {
                return UsageError(err, "unknown option '" + arg + "'");
            }
            continue;
        }
        if (haveFile) return UsageError(err, "only one skeleton file can be fixed at a time");
        request.skeleton = arg;
        haveFile = true;
    }
    if (!haveFile) return UsageError(err, "no skeleton file given");

    const FixResult result = RunFix(request);
    const Message message = MessageFor(result);
    err << "rigmend: " << message.title << " " << message.text << "\n";
    return ExitStatusFor(result.outcome);
}

}  // namespace rigmend
