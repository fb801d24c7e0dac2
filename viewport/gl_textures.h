#pragma once

#include <cstdint>

class rgTexture;

// Creates a 2D texture object from the texture's RGB bytes (rows bottom-up)
// in the current context; 0 when the texture has no pixels or GL refuses.
uint32_t GLUploadTexture(const rgTexture& texture);
void GLDeleteTexture(uint32_t name);
