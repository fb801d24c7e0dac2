#include "viewport/gl_shared_lists.h"

#include <QFontDatabase>
#include <QOpenGLContext>
#include <algorithm>

#include "viewport/bitmap_font.h"
#include "viewport/gl_driver_pin.h"
#include "viewport/gl_panel.h"
#include "viewport/gl_textures.h"

TGLSharedLists::TGLSharedLists(rgTextureLibrary& textures) : textures_(textures) {}

TGLSharedLists::~TGLSharedLists() {
    textures_.SetGraphics(nullptr);
}

void TGLSharedLists::PanelReady(TGLPanel* panel) {
    panels_.push_back(panel);
    if (built_) return;
    built_ = true;
    ++buildCount_;
    KeepGLDriverLoaded();
    BuildBitmapFont(kFontBase, QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    textures_.SetGraphics(this);
    textures_.UploadAll();
}

void TGLSharedLists::PanelGone(TGLPanel* panel, bool current) {
    panels_.erase(std::remove(panels_.begin(), panels_.end(), panel), panels_.end());
    if (!panels_.empty() || !built_) return;
    // The last context: take the shared objects with it.
    if (current) {
        DeleteBitmapFont(kFontBase);
        for (int i = 0; i < textures_.GetTextureCount(); ++i) {
            rgTexture* texture = textures_.GetTexture(i);
            GLDeleteTexture(texture->graphicsName);
            texture->graphicsName = 0;
        }
    } else {
        for (int i = 0; i < textures_.GetTextureCount(); ++i)
            textures_.GetTexture(i)->graphicsName = 0;
    }
    textures_.SetGraphics(nullptr);
    built_ = false;
}

void TGLSharedLists::MakeSomeContextCurrent() {
    // Every context shares with the others, so whichever is current will do.
    if (QOpenGLContext::currentContext() || panels_.empty()) return;
    panels_.front()->makeCurrent();
}

uint32_t TGLSharedLists::Upload(const rgTexture& texture) {
    if (panels_.empty()) return 0;
    MakeSomeContextCurrent();
    // A texture uploaded again (the library's upload-all) replaces its old object.
    GLDeleteTexture(texture.graphicsName);
    return GLUploadTexture(texture);
}

void TGLSharedLists::Release(const rgTexture& texture) {
    if (panels_.empty()) return;
    MakeSomeContextCurrent();
    GLDeleteTexture(texture.graphicsName);
    for (TGLPanel* panel : panels_) panel->update();
}
