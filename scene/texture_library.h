#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scene/object_watcher.h"
#include "scene/rg_texture.h"

class rgUserMessages;

// The graphics side of textures: present once a viewport exists.
class rgTextureGraphics {
public:
    virtual ~rgTextureGraphics() = default;
    // Creates the texture object; 0 on failure.
    virtual uint32_t Upload(const rgTexture& texture) = 0;
    virtual void Release(const rgTexture& texture) = 0;
};

// The ordered list of loaded textures with at most one selected entry (the
// material editor's current texture). Ids come from an application-wide
// counter starting at 1 that nothing resets.
class rgTextureLibrary {
public:
    rgTextureLibrary();
    ~rgTextureLibrary();

    // Loads and appends the image, selects and uploads it; null (and nothing
    // added, no id used) when the file cannot be decoded: LastError() says why.
    rgTexture* AddTexture(const std::string& fileName);
    const std::string& LastError() const { return lastError_; }
    // What decodes image files; null: no texture can load.
    void SetDecoder(rgImageDecoder* decoder) { decoder_ = decoder; }
    rgImageDecoder* decoder() const { return decoder_; }
    // Deletes the selected entry; the selection moves to the entry now at the
    // same index, or the last one, or none.
    void DeleteSelected();
    void Clear();
    // Moves every entry out (no graphics release) and back in; a failed
    // document load puts the previous textures back this way.
    void TakeAll(std::vector<std::unique_ptr<rgTexture>>& out);
    void GiveAll(std::vector<std::unique_ptr<rgTexture>>& in, int selected);
    // Releases and destroys textures taken out with TakeAll.
    void Discard(std::vector<std::unique_ptr<rgTexture>>& taken);
    int GetTextureCount() const { return static_cast<int>(textures_.size()); }
    // Null out of range.
    rgTexture* GetTexture(int i) const;
    // The first texture in list order with the id; null when none.
    rgTexture* FindById(int id) const;
    int SelectedIndex() const { return selected_; }
    void Select(int index) {
        selected_ = index >= 0 && index < GetTextureCount() ? index : -1;
        Changed();
    }
    rgTexture* Selected() const { return GetTexture(selected_); }

    // Viewports connect here; UploadAll runs when the first one appears.
    void SetGraphics(rgTextureGraphics* graphics) { graphics_ = graphics; }
    void UploadAll();
    void SetMessages(rgUserMessages* messages) { messages_ = messages; }
    // Told before a texture is destroyed.
    void SetObjectWatcher(rgObjectWatcher* watcher) { watcher_ = watcher; }
    // Told after the list or its selection changed, whoever changed it (the
    // material editor keeps its thumbnails in step). Null: nobody.
    void SetChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    void Upload(rgTexture& texture);
    void Release(rgTexture& texture);
    void Destroying(const rgTexture& texture) const;
    void Changed() const {
        if (listener_) listener_();
    }

    std::vector<std::unique_ptr<rgTexture>> textures_;
    int selected_ = -1;
    int nextId_ = 1;
    rgTextureGraphics* graphics_ = nullptr;
    rgUserMessages* messages_ = nullptr;
    rgObjectWatcher* watcher_ = nullptr;
    rgImageDecoder* decoder_ = nullptr;
    std::string lastError_;
    std::function<void()> listener_;
};
