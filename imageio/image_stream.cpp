#include "imageio/image_stream.h"

#include <cstdint>

namespace {

constexpr char kMagic[4] = {'K', 'R', 'I', '1'};
constexpr size_t kHeader = 12;

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

uint32_t GetU32(const std::string& in, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(in[at + static_cast<size_t>(i)]);
    return v;
}

}  // namespace

std::string ImageStream(const rgDecodedImage& image) {
    std::string out(kMagic, sizeof kMagic);
    PutU32(out, static_cast<uint32_t>(image.width));
    PutU32(out, static_cast<uint32_t>(image.height));
    out.append(reinterpret_cast<const char*>(image.rgb.data()), image.rgb.size());
    return out;
}

bool ParseImageStream(const std::string& bytes, size_t maxPixels, rgDecodedImage& image,
                      std::string& why) {
    if (bytes.size() < kHeader || bytes.compare(0, 4, kMagic, 4) != 0) {
        why = "the reader gave no image";
        return false;
    }
    const uint64_t width = GetU32(bytes, 4), height = GetU32(bytes, 8);
    if (width == 0 || height == 0 || width * height > maxPixels) {
        why = "the image is " + std::to_string(width) + " x " + std::to_string(height) +
              " pixels, more than a texture may have";
        return false;
    }
    if (bytes.size() - kHeader != width * height * 3) {
        why = "the reader gave a damaged image";
        return false;
    }
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.rgb.assign(bytes.begin() + kHeader, bytes.end());
    return true;
}
