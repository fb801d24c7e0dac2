#pragma once

#include <vector>

#include "scene/texture_library.h"

class TGLPanel;

// What all viewport contexts share: the bitmap-font display lists (base
// 1000) and the texture objects of the texture library. The first panel to
// get a context builds the lists and uploads every texture; later panels
// share them. When the last panel goes, the lists and textures go with it,
// and the next panel is the first again. While any panel lives, textures the
// library adds or deletes are uploaded or released here.
class TGLSharedLists : public rgTextureGraphics {
public:
    static constexpr unsigned kFontBase = 1000;

    explicit TGLSharedLists(rgTextureLibrary& textures);
    ~TGLSharedLists() override;
    TGLSharedLists(const TGLSharedLists&) = delete;
    TGLSharedLists& operator=(const TGLSharedLists&) = delete;

    // The panel's context is current and ready.
    void PanelReady(TGLPanel* panel);
    // The panel leaves; `current` tells whether its context is current.
    void PanelGone(TGLPanel* panel, bool current);

    bool Built() const { return built_; }
    int BuildCount() const { return buildCount_; }
    int PanelCount() const { return static_cast<int>(panels_.size()); }

    // rgTextureGraphics
    uint32_t Upload(const rgTexture& texture) override;
    void Release(const rgTexture& texture) override;

private:
    void MakeSomeContextCurrent();

    rgTextureLibrary& textures_;
    std::vector<TGLPanel*> panels_;
    bool built_ = false;
    int buildCount_ = 0;
};
