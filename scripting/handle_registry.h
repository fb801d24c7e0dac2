#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "scene/object_watcher.h"

// What a script's handle to an engine object holds. tolua++ reads the
// object pointer at the start of every userdata, so `object` comes first;
// the rest is ours. A handle whose object has gone keeps a null pointer,
// which the binding reports as "the rgMesh this handle referred to no
// longer exists" instead of touching freed memory.
struct rgHandle {
    static constexpr uint32_t kMagic = 0x4b484e44;  // tells our userdata from tolua++'s

    void* object;
    // The engine object whose end ends this handle: the object itself, or
    // the node, key or vertex list it is part of. Null once stale.
    const void* anchor;
    rgHandle* previous;  // handles of the same anchor
    rgHandle* next;
    uint32_t magic;
};

// Handles by anchor, so that the engine's "object destroyed" notice clears
// every handle that points into the object. It never calls into Lua: the
// notice arrives from destructors, where a Lua error could not be raised.
class rgHandleRegistry : public rgObjectWatcher {
public:
    rgHandleRegistry() = default;
    rgHandleRegistry(const rgHandleRegistry&) = delete;
    rgHandleRegistry& operator=(const rgHandleRegistry&) = delete;

    // Files `handle` under `anchor` (leaving any anchor it had).
    void Attach(rgHandle* handle, const void* anchor);
    // Takes the handle out (its userdata is being collected).
    void Detach(rgHandle* handle);
    // Clears the object pointer of every handle filed under `object`.
    void ObjectDestroyed(const void* object) override;

    size_t AnchorCount() const { return heads_.size(); }

    // Memory of C++ objects the collector will free but cannot see; the
    // collector is paced by it (see TakeOwnership).
    size_t unseenBytes = 0;

private:
    std::unordered_map<const void*, rgHandle*> heads_;
};
