#pragma once

#include <cstddef>
#include <string>

#include "scene/image_decoder.h"

// The image stream the reader helper writes: "KRI1", the width and height
// as unsigned 32-bit little-endian numbers, then width x height RGB bytes,
// rows bottom-up. The editor reads it as untrusted input.
std::string ImageStream(const rgDecodedImage& image);

// Reads a stream; false with the reason when it is malformed, when its
// sizes disagree with its length, or when it holds more than `maxPixels`.
bool ParseImageStream(const std::string& bytes, size_t maxPixels, rgDecodedImage& image,
                      std::string& why);
