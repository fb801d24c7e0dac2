// kinemo-reader: the third-party file readers the editor does not trust to
// run in its own process. Started once per file, within time and memory
// limits; writes what it read to standard output as a stream the editor
// checks, or a reason to standard error and exit status 1.
//
//   kinemo-reader image FILE    an image through DevIL
//   kinemo-reader model FILE    a model through Assimp
#include <IL/il.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "imageio/image_stream.h"
#include "plugins/native/assimp/assimp_format.h"
#include "plugins/native/common/model_stream.h"

namespace {

int Fail(const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
}

int Write(const std::string& stream, const char* what) {
    if (std::fwrite(stream.data(), 1, stream.size(), stdout) != stream.size())
        return Fail(std::string("cannot write the ") + what);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int ReadImage(const char* path) {
    ilInit();
    // Rows bottom-up, as textures hold them.
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_ORIGIN_SET);
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    if (!ilLoadImage(path)) return Fail("not an image this editor reads");
    if (!ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) return Fail("the image cannot be converted");
    rgDecodedImage image;
    image.width = ilGetInteger(IL_IMAGE_WIDTH);
    image.height = ilGetInteger(IL_IMAGE_HEIGHT);
    const ILubyte* data = ilGetData();
    const size_t size = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3;
    if (!data || image.width <= 0 || image.height <= 0) return Fail("the image is empty");
    image.rgb.assign(data, data + size);
    return Write(ImageStream(image), "image");
}

int ReadModel(const char* path) {
    kinemo_plugin::Model model;
    std::string problem;
    try {
        if (!kinemo_plugin::ReadWithAssimp(path, model, problem)) return Fail(problem);
        return Write(kinemo_plugin::ModelStream(model), "model");
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "image") == 0) return ReadImage(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "model") == 0) return ReadModel(argv[2]);
    return Fail("usage: kinemo-reader image FILE | kinemo-reader model FILE");
}
