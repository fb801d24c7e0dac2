// The OBJ reader: any text as an OBJ file (its .mtl files are looked for in
// a folder that has none).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "plugins/native/obj/obj_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kinemo_plugin::Model model;
    std::string problem;
    kinemo_plugin::ParseObj(std::string_view(reinterpret_cast<const char*>(data), size),
                            "/nonexistent", model, problem);
    return 0;
}
