#pragma once

// tinygltf as the plug-in uses it: images are referenced by their paths,
// never decoded or written (the editor loads textures itself).
#define TINYGLTF_NO_STB_IMAGE
#define TINYGLTF_NO_STB_IMAGE_WRITE
#define TINYGLTF_NO_EXTERNAL_IMAGE
#include <tiny_gltf.h>
