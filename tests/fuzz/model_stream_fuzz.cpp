// The plug-in's side of the reader helper's model stream: a helper that
// lies must not hurt the editor.
#include <cstddef>
#include <cstdint>
#include <string>

#include "plugins/native/common/model_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kinemo_plugin::Model model;
    std::string why;
    kinemo_plugin::ParseModelStream(std::string(reinterpret_cast<const char*>(data), size), model,
                                    why);
    return 0;
}
