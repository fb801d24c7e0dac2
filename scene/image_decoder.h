#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An image as textures hold it: RGB bytes, rows bottom-up (as OpenGL reads them).
struct rgDecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // width x height x 3
};

// Turns an image file into RGB pixels. Files come from anywhere: a decoder
// refuses what it cannot read (damaged, truncated, too large) with a reason,
// and never hangs or crashes on it. The application provides one; runs
// without one cannot load textures.
class rgImageDecoder {
public:
    virtual ~rgImageDecoder() = default;
    // False, with the reason in `why`, when the file cannot be decoded.
    virtual bool Decode(const std::string& path, rgDecodedImage& image, std::string& why) = 0;
    // Decoders that hand files to a helper process stop it after this long.
    virtual void SetTimeLimit(double seconds) { (void)seconds; }
};
