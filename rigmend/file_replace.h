#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace rigmend {

struct Replacement {
    std::filesystem::path source;  // a complete rewritten copy
    std::filesystem::path target;  // the input file it replaces
};

// Replaces every target by the content of its source, all or nothing as far
// as the file system allows: each source is first copied beside its target
// (same folder, so the final step is a rename) and only when all copies exist
// are they renamed over the targets. A target never holds a partial file.
// Returns false with a message in `error` when a copy or rename fails; the
// message says which targets, if any, were already replaced.
bool ReplaceFiles(const std::vector<Replacement>& replacements, std::string* error);

}  // namespace rigmend
