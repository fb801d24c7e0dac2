// The one translation unit that compiles tinygltf's implementation.
#define TINYGLTF_IMPLEMENTATION
#include "plugins/native/gltf/tinygltf_config.h"
