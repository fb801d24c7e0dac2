#pragma once

#include <string>

// Where the images a model names are found, and where the images it carries
// inside itself are kept so that the editor can load them as files.
namespace kinemo_plugin {

// The per-user folder for images taken out of models: the editor's data
// folder ($XDG_DATA_HOME or ~/.local/share, then Tamrik/Kinemo) + "textures".
std::string TextureStoreFolder();

// Writes an image a model carries (a .glb's buffer, a data URI, an
// archive's entry) into the store under a name made of the model's and the
// image's and a hash of the bytes (so the same image is written once);
// answers the file's path, or empty when it cannot be written. `name` gives
// the extension when the bytes do not say (PNG, JPEG, others).
std::string StoreImage(const std::string& modelPath, const std::string& name,
                       const unsigned char* data, size_t size);

// The file a model's image reference means: the reference beside the model
// when it is there, else the same file name beside the model or in its
// "textures" folder (a path from another machine, C:\work\skin.jpg, often
// means that); the first form when none is there, for the message.
std::string FindTexture(const std::string& modelFolder, const std::string& reference);

}  // namespace kinemo_plugin
