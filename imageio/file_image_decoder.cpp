#include "imageio/file_image_decoder.h"

#include <algorithm>
#include <cctype>

#include "imageio/image_stream.h"

bool rgFileImageDecoder::NeedsHelper(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // TGA too: Qt's reader takes only files with the 2.0 footer, and most
    // tools (ImageMagick among them) write none.
    static const char* const kHelperFormats[] = {"pcx", "sgi", "rgb", "rgba", "bw",  "cut", "lbm",
                                                 "ilbm", "iff", "pcd", "pic", "tga", "vda", "icb",
                                                 "vst"};
    return std::any_of(std::begin(kHelperFormats), std::end(kHelperFormats),
                       [&](const char* e) { return ext == e; });
}

bool rgFileImageDecoder::Decode(const std::string& path, rgDecodedImage& image, std::string& why) {
    if (!NeedsHelper(path)) return qt_.Decode(path, image, why);
    const rgReaderResult run = RunReader(helper_, {"image", path}, limits);
    if (!run.ok) {
        why = ReaderProblem(run);
        return false;
    }
    return ParseImageStream(run.output, kMaxPixels, image, why);
}
