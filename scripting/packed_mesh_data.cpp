#include "scripting/packed_mesh_data.h"

#include <array>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "scene files store little-endian words; a big-endian host must swap them");

namespace packed_mesh {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr uint8_t kInvalid = 0xFF;

constexpr std::array<uint8_t, 256> MakeValues() {
    std::array<uint8_t, 256> values{};
    for (auto& v : values) v = kInvalid;
    for (uint8_t i = 0; i < 64; ++i) values[static_cast<uint8_t>(kAlphabet[i])] = i;
    return values;
}
constexpr std::array<uint8_t, 256> kValues = MakeValues();

void PutWord(uint8_t*& out, uint32_t word) {
    std::memcpy(out, &word, 4);
    out += 4;
}
void PutFloat(uint8_t*& out, float value) { PutWord(out, std::bit_cast<uint32_t>(value)); }
uint32_t TakeWord(const uint8_t*& in) {
    uint32_t word;
    std::memcpy(&word, in, 4);
    in += 4;
    return word;
}
float TakeFloat(const uint8_t*& in) { return std::bit_cast<float>(TakeWord(in)); }

}  // namespace

void PackVertex(const rgVertex& v, uint8_t* out) {
    PutWord(out, v.selected ? 1u : 0u);
    for (float f : {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z,
                    v.texcoords.x, v.texcoords.y})
        PutFloat(out, f);
    for (int32_t b : v.bone) PutWord(out, static_cast<uint32_t>(b));
    for (float w : v.weight) PutFloat(out, w);
}

rgVertex UnpackVertex(const uint8_t* in) {
    rgVertex v;
    v.selected = TakeWord(in) != 0;
    float f[8];
    for (float& value : f) value = TakeFloat(in);
    v.position.set(f[0], f[1], f[2]);
    v.normal.set(f[3], f[4], f[5]);
    v.texcoords.set(f[6], f[7]);
    for (int32_t& b : v.bone) b = static_cast<int32_t>(TakeWord(in));
    for (float& w : v.weight) w = TakeFloat(in);
    return v;
}

void PackFace(const rgFace& f, uint8_t* out) {
    for (int32_t i : {f.a, f.b, f.c}) PutWord(out, static_cast<uint32_t>(i));
}

rgFace UnpackFace(const uint8_t* in) {
    rgFace f;
    f.a = static_cast<int32_t>(TakeWord(in));
    f.b = static_cast<int32_t>(TakeWord(in));
    f.c = static_cast<int32_t>(TakeWord(in));
    return f;
}

void Encode(const uint8_t* data, size_t n, char* out) {
    size_t i = 0;
    for (; i + 3 <= n; i += 3) {
        const uint32_t group = uint32_t{data[i]} << 16 | uint32_t{data[i + 1]} << 8 | data[i + 2];
        *out++ = kAlphabet[group >> 18];
        *out++ = kAlphabet[(group >> 12) & 63];
        *out++ = kAlphabet[(group >> 6) & 63];
        *out++ = kAlphabet[group & 63];
    }
    if (i < n) {
        const uint32_t group = uint32_t{data[i]} << 16 | (i + 1 < n ? uint32_t{data[i + 1]} << 8 : 0);
        *out++ = kAlphabet[group >> 18];
        *out++ = kAlphabet[(group >> 12) & 63];
        *out++ = i + 1 < n ? kAlphabet[(group >> 6) & 63] : '=';
        *out++ = '=';
    }
}

ptrdiff_t DecodedLength(const char* text, size_t n) {
    if (n % 4 != 0) return -1;
    size_t padding = 0;
    if (n >= 4 && text[n - 1] == '=') padding = text[n - 2] == '=' ? 2 : 1;
    for (size_t i = 0; i < n - padding; ++i)
        if (kValues[static_cast<uint8_t>(text[i])] == kInvalid) return -1;
    return static_cast<ptrdiff_t>(n / 4 * 3 - padding);
}

void Decode(const char* text, size_t n, uint8_t* out) {
    const size_t padding = n >= 4 && text[n - 1] == '=' ? (text[n - 2] == '=' ? 2 : 1) : 0;
    const size_t whole = padding ? n - 4 : n;
    auto value = [&](size_t i) { return uint32_t{kValues[static_cast<uint8_t>(text[i])]}; };
    for (size_t i = 0; i < whole; i += 4) {
        const uint32_t group = value(i) << 18 | value(i + 1) << 12 | value(i + 2) << 6 | value(i + 3);
        *out++ = static_cast<uint8_t>(group >> 16);
        *out++ = static_cast<uint8_t>(group >> 8);
        *out++ = static_cast<uint8_t>(group);
    }
    if (padding) {
        const uint32_t group = value(whole) << 18 | value(whole + 1) << 12 |
                               (padding == 1 ? value(whole + 2) << 6 : 0);
        *out++ = static_cast<uint8_t>(group >> 16);
        if (padding == 1) *out++ = static_cast<uint8_t>(group >> 8);
    }
}

}  // namespace packed_mesh
