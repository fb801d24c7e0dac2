#pragma once

#include <cstddef>
#include <cstdint>

#include "scene/rg_vertex.h"

// How scene files keep large meshes as text: each vertex or face as
// little-endian 32-bit words, the bytes as base64 (standard alphabet, '='
// padding) inside a Lua string. Every float comes back with the same bits,
// and one string decodes far faster than a table of decimal numbers.
namespace packed_mesh {

// Bytes a vertex takes: selected (0 or 1), position, normal, texture
// coordinates, four joint ids, four weights, as 17 words.
constexpr size_t kVertexBytes = 17 * 4;
// Bytes a face takes: its three vertex indices.
constexpr size_t kFaceBytes = 3 * 4;

void PackVertex(const rgVertex& v, uint8_t* out);
// The vertex the bytes describe (its `visible` flag is left as it comes).
rgVertex UnpackVertex(const uint8_t* in);
void PackFace(const rgFace& f, uint8_t* out);
rgFace UnpackFace(const uint8_t* in);

// Characters that encode `bytes` bytes.
constexpr size_t EncodedLength(size_t bytes) { return (bytes + 2) / 3 * 4; }
// Writes EncodedLength(n) characters.
void Encode(const uint8_t* data, size_t n, char* out);
// The number of bytes `text` decodes to, or -1 when it is no base64 text
// (length, a character outside the alphabet, padding anywhere but the end).
// Decode then writes exactly that many bytes.
ptrdiff_t DecodedLength(const char* text, size_t n);
void Decode(const char* text, size_t n, uint8_t* out);

}  // namespace packed_mesh
