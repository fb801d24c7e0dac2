#include "viewport/gl_check.h"

#include <GL/gl.h>

void CheckGLErrors(rgGLErrorReport* report, const char* source, int line) {
    std::feclearexcept(FE_ALL_EXCEPT);
    // Several flags may be set; each read clears one. A lost context keeps
    // answering, so stop after a handful.
    for (int i = 0; i < 8; ++i) {
        const GLenum code = glGetError();
        if (code == GL_NO_ERROR) break;
        if (report) report->Collect(code, source, line);
    }
}
