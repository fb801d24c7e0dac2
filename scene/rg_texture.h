#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/image_decoder.h"

// A material: an image loaded from a file, addressed by nodes through its id.
// Pixels are kept as RGB bytes, rows bottom-up (as OpenGL expects).
class rgTexture {
public:
    // Loads the image through `decoder` (none: the load fails); LoadFailed()
    // tells whether it worked and LoadError() why not.
    rgTexture(const std::string& fileName, rgImageDecoder* decoder);

    bool LoadFailed() const { return loadFailed_; }
    const std::string& LoadError() const { return loadError_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    int GetBpp() const { return bytesPerPixel_; }
    int GetId() const { return id_; }
    void SetId(int id) { id_ = id; }
    const std::string& StoredFileName() const { return fileName_; }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }

    // The path relative to the document's folder, "/" separators.
    std::string GetFileName(const std::string& documentPath) const;
    // The path resolved against the document's folder, "/" separators.
    std::string GetAbsoluteFilename(const std::string& documentPath) const;

    // Holds the last path text handed to a script.
    std::string resultText;

    // Graphics-library texture name; 0 until uploaded.
    uint32_t graphicsName = 0;

private:
    friend class rgTextureLibrary;
    std::string fileName_;
    int id_ = 0;
    int width_ = 0;
    int height_ = 0;
    int bytesPerPixel_ = 0;
    bool loadFailed_ = true;
    std::string loadError_;
    std::vector<uint8_t> pixels_;
};

// Path helpers with "/" and "\" both taken as separators.
std::string RelativeToDocument(const std::string& path, const std::string& documentPath);
std::string ResolveAgainstDocument(const std::string& path, const std::string& documentPath);
