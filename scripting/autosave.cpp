#include "scripting/autosave.h"

#include <signal.h>

#include <algorithm>
#include <cerrno>

#include "editing/rg_editor.h"
#include "scripting/document_commands.h"
#include "scripting/script_context.h"
#include "scripting/script_server.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrefix = "autosave-";
constexpr const char* kSuffix = ".rig";

// The process id in an autosave's name; 0 when the name is not one.
int ProcessOf(const fs::path& file) {
    const std::string name = file.filename().string();
    const std::string prefix = kPrefix, suffix = kSuffix;
    if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return 0;
    const std::string digits =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return std::stoi(digits);
}

bool Running(int pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

rgAutosave::rgAutosave(rgScriptContext& context, fs::path folder, int processId)
    : context_(context), folder_(std::move(folder)), processId_(processId) {}

fs::path rgAutosave::OwnPath() const {
    return folder_ / (kPrefix + std::to_string(processId_) + kSuffix);
}

bool rgAutosave::Save() {
    if (!context_.editor.state().modified) return false;
    std::error_code ec;
    fs::create_directories(folder_, ec);
    // The start-up script's save writes beside the target and renames.
    return context_.server.RunString("save(" + LuaQuoted(OwnPath().generic_string()) + ")");
}

void rgAutosave::RemoveOwn() {
    std::error_code ec;
    fs::remove(OwnPath(), ec);
}

std::vector<rgAutosave::Leftover> rgAutosave::Leftovers() const {
    std::vector<Leftover> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const int pid = ProcessOf(entry.path());
        if (pid <= 0 || pid == processId_ || Running(pid) || !entry.is_regular_file(ec)) continue;
        found.push_back({entry.path(), entry.last_write_time(ec)});
    }
    std::sort(found.begin(), found.end(),
              [](const Leftover& a, const Leftover& b) { return a.written > b.written; });
    return found;
}

bool rgAutosave::Restore(const fs::path& path) {
    const bool ok = LoadSceneFile(context_, path.string());
    if (ok) {
        // Unnamed and modified: saving asks where, the copy never becomes the document.
        rgState& state = context_.editor.state();
        state.SetFileName("unnamed.rig");
        state.named = false;
        context_.editor.MarkModified();
        Discard(path);
    }
    return ok;
}

void rgAutosave::Discard(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
}
