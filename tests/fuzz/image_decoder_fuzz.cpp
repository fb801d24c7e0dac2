// The image-decoder entry: any bytes as an image file, under every name the
// editor decodes in its own process.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "imageio/qt_image_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = "/tmp/kinemo_image_fuzz_" + std::to_string(::getpid());
    static const bool made = [] {
        std::filesystem::create_directories(folder);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return true;
    }();
    (void)made;
    // The first byte picks the file name's extension; Qt also looks at the content.
    static const char* const kNames[] = {"a.png", "a.jpg", "a.bmp", "a.gif",
                                         "a.ppm", "a.tga", "a.tif", "a.xyz"};
    const std::string path = folder + "/" + kNames[size ? data[0] % 8 : 0];
    {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    rgQtImageDecoder decoder;
    rgDecodedImage image;
    std::string why;
    decoder.Decode(path, image, why);
    return 0;
}
