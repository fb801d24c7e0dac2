#pragma once

#include <map>
#include <string>
#include <string_view>

namespace rigmend {

// Group "Bone ID's" of a run's working store: old bone id text -> new id text.
// Ids are compared without regard to (ASCII) case; a later bone with the same
// id replaces the earlier entry.
class BoneIdMap {
public:
    void Set(std::string_view oldId, std::string newId);
    // The new id, or the empty text when `oldId` was never set.
    std::string Find(std::string_view oldId) const;
    size_t Size() const { return ids_.size(); }

private:
    std::map<std::string, std::string> ids_;  // keyed by the lower-case old id
};

}  // namespace rigmend
