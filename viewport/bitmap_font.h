#pragma once

class QFont;

// Compiles one glBitmap display list per character code 0..254 at
// base + code from `font`, in the current context: the text nodes draw
// with glListBase(base) and glCallLists. Codes without a glyph get empty
// lists. Returns false when GL could not allocate the lists.
bool BuildBitmapFont(unsigned base, const QFont& font);
void DeleteBitmapFont(unsigned base);

constexpr int kBitmapFontCodes = 255;
