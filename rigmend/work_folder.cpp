#include "rigmend/work_folder.h"

namespace rigmend {

namespace fs = std::filesystem;

WorkFolder::WorkFolder(const fs::path& parent) : path_(parent / kName) {}

WorkFolder::~WorkFolder() {
    std::error_code ec;
    if (!fs::is_directory(path_, ec)) return;  // a file of that name is not ours to remove
    fs::remove(SkeletonTemp(), ec);
    fs::remove(MeshTemp(), ec);
    fs::remove(path_, ec);  // only succeeds when the folder is empty
}

bool WorkFolder::Create(std::string* error) {
    std::error_code ec;
    fs::create_directory(path_, ec);
    if (!ec && fs::is_directory(path_, ec)) return true;
    if (error) {
        *error = "Cannot create the folder '" + path_.string() + "'";
        if (ec) *error += ": " + ec.message();
        *error += ".";
    }
    return false;
}

}  // namespace rigmend
