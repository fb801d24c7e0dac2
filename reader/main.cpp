// kinemo-reader: the third-party file readers the editor does not trust to
// run in its own process. Started once per file, within time and memory
// limits; writes what it read to standard output as a stream the editor
// checks, or a reason to standard error and exit status 1.
//
//   kinemo-reader [--limits CPU_SECONDS MEMORY_BYTES] image FILE    an image through DevIL
//   kinemo-reader [--limits CPU_SECONDS MEMORY_BYTES] model FILE    a model through Assimp
//
// The limits are its own first act: the editor starts it without a copy of
// itself, so they cannot be set from outside before it runs.
#include <IL/il.h>
#include <sys/resource.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

bool Number(const char* text, unsigned long long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtoull(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && text[0] != '-';
}

// CPU time and address space as the editor asks, and no core files.
bool SetLimits(const char* cpuSeconds, const char* memoryBytes) {
    unsigned long long seconds = 0, bytes = 0;
    if (!Number(cpuSeconds, seconds) || !Number(memoryBytes, bytes) || seconds == 0 || bytes == 0)
        return false;
    const rlimit memory{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    const rlimit cpu{static_cast<rlim_t>(seconds), static_cast<rlim_t>(seconds + 1)};
    const rlimit core{0, 0};
    return ::setrlimit(RLIMIT_AS, &memory) == 0 && ::setrlimit(RLIMIT_CPU, &cpu) == 0 &&
           ::setrlimit(RLIMIT_CORE, &core) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--limits") == 0) {
        if (!SetLimits(argv[2], argv[3])) return Fail("cannot set its limits");
        argc -= 3;
        argv += 3;
    }
    if (argc == 3 && std::strcmp(argv[1], "image") == 0) return ReadImage(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "model") == 0) return ReadModel(argv[2]);
    return Fail("usage: kinemo-reader image FILE | kinemo-reader model FILE");
}
