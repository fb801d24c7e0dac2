#pragma once

#include "scene/image_decoder.h"

// PNG, JPEG, BMP (every header version), GIF, PNM, TGA and TIFF through Qt's
// image readers, which refuse damaged files instead of hanging on them.
// Images larger than the allocation limit are refused before any pixel is
// read, whatever size their header claims.
class rgQtImageDecoder : public rgImageDecoder {
public:
    static constexpr int kAllocationLimitMB = 256;
    bool Decode(const std::string& path, rgDecodedImage& image, std::string& why) override;
};
