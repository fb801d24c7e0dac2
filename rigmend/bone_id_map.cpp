#include "rigmend/bone_id_map.h"

#include <cctype>

namespace rigmend {

namespace {

std::string Folded(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

}  // namespace

void BoneIdMap::Set(std::string_view oldId, std::string newId) {
    ids_[Folded(oldId)] = std::move(newId);
}

std::string BoneIdMap::Find(std::string_view oldId) const {
    const auto it = ids_.find(Folded(oldId));
    return it == ids_.end() ? std::string() : it->second;
}

}  // namespace rigmend
