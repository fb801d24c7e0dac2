#include "viewport/gl_driver_pin.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

namespace {

int PinDriver(struct dl_phdr_info* info, size_t, void*) {
    const char* name = info->dlpi_name;
    if (name && (std::strstr(name, "_dri.so") || std::strstr(name, "libgallium"))) {
        // RTLD_NOLOAD: only modules already there; RTLD_NODELETE: never unloaded.
        dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
    return 0;
}

}  // namespace

void KeepGLDriverLoaded() {
    dl_iterate_phdr(PinDriver, nullptr);
}
