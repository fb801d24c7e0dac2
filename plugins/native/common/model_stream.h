#pragma once

#include <string>

#include "plugins/native/common/model.h"

// A model as the reader helper hands it back: "KRM2", the model's settings,
// then each node with its keys, vertices and faces, all little-endian, in
// the layout model_stream.cpp writes. The plug-in reads it as untrusted
// input: every count is checked against the bytes left before anything is
// allocated, every index against what it points into, every number for
// being finite.
namespace kinemo_plugin {

std::string ModelStream(const Model& model);

// False with the reason when the stream is malformed; `model` is then left
// in an unspecified but valid state.
bool ParseModelStream(const std::string& bytes, Model& model, std::string& why);

}  // namespace kinemo_plugin
