#include "scene/texture_library.h"

#include "scene/user_messages.h"

rgTextureLibrary::rgTextureLibrary() = default;

rgTextureLibrary::~rgTextureLibrary() {
    Clear();
}

rgTexture* rgTextureLibrary::AddTexture(const std::string& fileName) {
    auto texture = std::make_unique<rgTexture>(fileName, decoder_);
    if (texture->LoadFailed()) {
        lastError_ = "Could not load " + fileName + ": " + texture->LoadError();
        return nullptr;  // a failed load uses no id
    }
    lastError_.clear();
    texture->id_ = nextId_++;
    textures_.push_back(std::move(texture));
    selected_ = GetTextureCount() - 1;
    Upload(*textures_.back());
    Changed();
    return textures_.back().get();
}

void rgTextureLibrary::Upload(rgTexture& texture) {
    if (!graphics_) return;  // the first viewport uploads everything later
    texture.graphicsName = graphics_->Upload(texture);
    if (texture.graphicsName == 0 && messages_)
        messages_->ShowMessage("Error uploading the texture.");
}

void rgTextureLibrary::Release(rgTexture& texture) {
    if (graphics_ && texture.graphicsName != 0) graphics_->Release(texture);
    texture.graphicsName = 0;
}

void rgTextureLibrary::Destroying(const rgTexture& texture) const {
    if (watcher_) watcher_->ObjectDestroyed(&texture);
}

void rgTextureLibrary::UploadAll() {
    for (auto& texture : textures_) Upload(*texture);
}

void rgTextureLibrary::DeleteSelected() {
    if (selected_ < 0 || selected_ >= GetTextureCount()) return;
    Release(*textures_[static_cast<size_t>(selected_)]);
    Destroying(*textures_[static_cast<size_t>(selected_)]);
    textures_.erase(textures_.begin() + selected_);
    if (textures_.empty())
        selected_ = -1;
    else if (selected_ >= GetTextureCount())
        selected_ = GetTextureCount() - 1;
    Changed();
}

void rgTextureLibrary::Clear() {
    for (auto& texture : textures_) {
        Release(*texture);
        Destroying(*texture);
    }
    textures_.clear();
    selected_ = -1;
    Changed();
}

void rgTextureLibrary::TakeAll(std::vector<std::unique_ptr<rgTexture>>& out) {
    out = std::move(textures_);
    textures_.clear();
    selected_ = -1;
    Changed();
}

void rgTextureLibrary::GiveAll(std::vector<std::unique_ptr<rgTexture>>& in, int selected) {
    textures_ = std::move(in);
    in.clear();
    Select(selected);  // tells the listener
}

void rgTextureLibrary::Discard(std::vector<std::unique_ptr<rgTexture>>& taken) {
    for (auto& texture : taken) {
        Release(*texture);
        Destroying(*texture);
    }
    taken.clear();
}

rgTexture* rgTextureLibrary::GetTexture(int i) const {
    return i >= 0 && i < GetTextureCount() ? textures_[static_cast<size_t>(i)].get() : nullptr;
}

rgTexture* rgTextureLibrary::FindById(int id) const {
    for (const auto& texture : textures_)
        if (texture->GetId() == id) return texture.get();
    return nullptr;
}
