#pragma once

#include <filesystem>
#include <string>

namespace rigmend {

// The folder "Rigmend Temp" in which a run writes its rewritten files before
// they replace the input files.
class WorkFolder {
public:
    static constexpr const char* kName = "Rigmend Temp";

    explicit WorkFolder(const std::filesystem::path& parent);
    // Removes the run's files and then the folder, unless something else is
    // in it (a folder of that name that was not ours keeps its contents).
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // Creates the folder (an existing one is reused). Returns false with a
    // message in `error` when it cannot be created.
    bool Create(std::string* error);

    std::filesystem::path SkeletonTemp() const { return path_ / "skeleton.temp"; }
    std::filesystem::path MeshTemp() const { return path_ / "mesh.temp"; }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace rigmend
