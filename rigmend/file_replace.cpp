#include "rigmend/file_replace.h"

namespace rigmend {

namespace fs = std::filesystem;

namespace {

fs::path StagedPath(const fs::path& target) {
    // Built by appending: GCC 12 misreports "literal" + string here at -O3.
    std::string name = ".";
    name += target.filename().string();
    name += ".rigmend-new";
    return target.parent_path() / name;
}

void RemoveAll(const std::vector<fs::path>& paths) {
    std::error_code ignored;
    for (const fs::path& p : paths) fs::remove(p, ignored);
}

bool Fail(std::string* error, const std::string& what, const fs::path& path,
          const std::error_code& ec) {
    if (error) *error = "Cannot " + what + " '" + path.string() + "': " + ec.message() + ".";
    return false;
}

}  // namespace

bool ReplaceFiles(const std::vector<Replacement>& replacements, std::string* error) {
    std::vector<fs::path> staged;
    std::error_code ec;
    for (const Replacement& r : replacements) {
        const fs::path copy = StagedPath(r.target);
        staged.push_back(copy);
        if (!fs::copy_file(r.source, copy, fs::copy_options::overwrite_existing, ec)) {
            RemoveAll(staged);
            Fail(error, "write", copy, ec);
            if (error) *error += " No file was replaced.";
            return false;
        }
        // The replacement keeps the access rights the input had.
        const fs::perms perms = fs::status(r.target, ec).permissions();
        if (!ec) fs::permissions(copy, perms, ec);
    }
    for (size_t i = 0; i < replacements.size(); ++i) {
        fs::rename(staged[i], replacements[i].target, ec);
        if (ec) {
            RemoveAll({staged.begin() + static_cast<std::ptrdiff_t>(i), staged.end()});
            Fail(error, "replace", replacements[i].target, ec);
            if (error) {
                if (i == 0) *error += " No file was replaced.";
                for (size_t done = 0; done < i; ++done)
                    *error += " '" + replacements[done].target.string() + "' was replaced.";
            }
            return false;
        }
    }
    return true;
}

}  // namespace rigmend
