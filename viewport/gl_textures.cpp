#include "viewport/gl_textures.h"

#include <GL/gl.h>

#include "scene/rg_texture.h"

uint32_t GLUploadTexture(const rgTexture& texture) {
    const int w = texture.GetWidth(), h = texture.GetHeight();
    if (texture.LoadFailed() || w <= 0 || h <= 0 ||
        texture.Pixels().size() < static_cast<size_t>(w) * static_cast<size_t>(h) * 3)
        return 0;
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) return 0;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 texture.Pixels().data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return 0;
    }
    return name;
}

void GLDeleteTexture(uint32_t name) {
    if (name == 0) return;
    const GLuint n = name;
    glDeleteTextures(1, &n);
}
