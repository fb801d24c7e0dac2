#include "scene/rg_texture.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string Slashes(std::string s) {
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

std::string FolderOf(const std::string& documentPath) {
    const std::string p = Slashes(documentPath);
    const size_t cut = p.find_last_of('/');
    return cut == std::string::npos ? std::string() : p.substr(0, cut + 1);
}

}  // namespace

rgTexture::rgTexture(const std::string& fileName, rgImageDecoder* decoder) : fileName_(fileName) {
    rgDecodedImage image;
    if (!decoder) {
        loadError_ = "no image decoder";
        return;
    }
    if (!decoder->Decode(fileName, image, loadError_)) return;
    const size_t expected =
        static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3;
    if (image.width <= 0 || image.height <= 0 || image.rgb.size() != expected) {
        loadError_ = "the decoder gave no usable image";
        return;
    }
    width_ = image.width;
    height_ = image.height;
    bytesPerPixel_ = 3;
    pixels_ = std::move(image.rgb);
    loadFailed_ = false;
}

std::string RelativeToDocument(const std::string& path, const std::string& documentPath) {
    const std::string file = Slashes(path);
    const std::string folder = FolderOf(documentPath);
    // Only paths on the same root relate; anything else stays as it is.
    if (file.empty() || folder.empty() || file[0] != '/' || folder[0] != '/') return file;
    const fs::path relative = fs::path(file).lexically_relative(fs::path(folder));
    return relative.empty() ? file : relative.generic_string();
}

std::string ResolveAgainstDocument(const std::string& path, const std::string& documentPath) {
    if (!path.empty() && IsSeparator(path[0])) return Slashes(path);  // already absolute
    std::string base = FolderOf(documentPath);
    if (base.empty()) return Slashes(path);  // no folder to resolve against
    std::string rel = path;
    int up = 0;
    while (rel.rfind("..", 0) == 0) {
        ++up;
        rel.erase(0, 2);
        if (!rel.empty() && IsSeparator(rel[0])) rel.erase(0, 1);
    }
    while (!base.empty() && IsSeparator(base.back())) base.pop_back();
    for (int i = 0; i < up; ++i) {
        const size_t cut = base.find_last_of("/\\");
        base = cut == std::string::npos ? std::string() : base.substr(0, cut);
    }
    return Slashes(base + "/" + rel);
}

std::string rgTexture::GetFileName(const std::string& documentPath) const {
    return RelativeToDocument(fileName_, documentPath);
}

std::string rgTexture::GetAbsoluteFilename(const std::string& documentPath) const {
    return ResolveAgainstDocument(fileName_, documentPath);
}
