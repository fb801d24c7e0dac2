// The glTF reader (tinygltf and our checks): any bytes as a .glb when they
// start as one, else as a .gltf; buffers it names are looked for beside it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "plugins/native/gltf/gltf_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = [] {
        const std::string f = "/tmp/kinemo_gltf_fuzz_" + std::to_string(::getpid());
        std::filesystem::create_directories(f);
        return f;
    }();
    // Registered once the name is built, so it runs before the name is destroyed.
    static const bool cleaned = (std::atexit([] {
                                     std::error_code ignored;
                                     std::filesystem::remove_all(folder, ignored);
                                 }),
                                 true);
    (void)cleaned;
    const bool binary = size >= 4 && std::memcmp(data, "glTF", 4) == 0;
    const std::string path = folder + (binary ? "/a.glb" : "/a.gltf");
    {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    kinemo_plugin::Model model;
    std::string problem;
    kinemo_plugin::ReadGltf(path, model, problem);
    return 0;
}
