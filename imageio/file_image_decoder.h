#pragma once

#include <string>

#include "imageio/qt_image_decoder.h"
#include "imageio/reader_process.h"

// The editor's image decoding: the common formats through Qt's readers in
// the editor's process, and the formats only DevIL reads whole (TGA of
// every kind, PCX, SGI, CUT, LBM, PCD, PIC) through the reader helper, in a process of its own
// within time and memory limits, so a damaged file cannot hang or crash
// the editor.
class rgFileImageDecoder : public rgImageDecoder {
public:
    // `helper`: the path of the reader helper program.
    explicit rgFileImageDecoder(std::string helper) : helper_(std::move(helper)) {}

    bool Decode(const std::string& path, rgDecodedImage& image, std::string& why) override;
    void SetTimeLimit(double seconds) override { limits.seconds = seconds; }

    // Whether a file name's extension is one only the helper reads.
    static bool NeedsHelper(const std::string& path);
    // Largest image accepted from the helper.
    static constexpr size_t kMaxPixels = size_t{16384} * 16384;

    rgReaderLimits limits;

private:
    std::string helper_;
    rgQtImageDecoder qt_;
};
