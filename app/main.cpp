#include <cstring>
#include <filesystem>
#include <string>

#include "app/editor_main.h"
#include "imageio/file_image_decoder.h"
#include "scripting/batch_runner.h"

namespace {

// The reader helper sits beside the program (also behind a link in bin).
std::string ReaderHelper() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::path(".") : exe.parent_path()).string() + "/kinemo-reader";
}

}  // namespace

int main(int argc, char** argv) {
    rgFileImageDecoder images(ReaderHelper());
    if (argc >= 2 && std::strcmp(argv[1], "--batch") == 0) return RunBatch(argc, argv, &images);
    return RunEditor(argc, argv, &images);
}
