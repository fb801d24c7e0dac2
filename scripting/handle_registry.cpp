#include "scripting/handle_registry.h"

void rgHandleRegistry::Attach(rgHandle* handle, const void* anchor) {
    Detach(handle);
    if (!anchor) return;
    rgHandle*& head = heads_[anchor];
    handle->anchor = anchor;
    handle->previous = nullptr;
    handle->next = head;
    if (head) head->previous = handle;
    head = handle;
}

void rgHandleRegistry::Detach(rgHandle* handle) {
    if (!handle->anchor) return;
    if (handle->next) handle->next->previous = handle->previous;
    if (handle->previous) {
        handle->previous->next = handle->next;
    } else {
        const auto it = heads_.find(handle->anchor);
        if (handle->next)
            it->second = handle->next;
        else
            heads_.erase(it);
    }
    handle->anchor = nullptr;
    handle->previous = handle->next = nullptr;
}

void rgHandleRegistry::ObjectDestroyed(const void* object) {
    if (heads_.empty()) return;  // the common case: undo copies, scenes nobody scripts
    const auto it = heads_.find(object);
    if (it == heads_.end()) return;
    for (rgHandle* h = it->second; h;) {
        rgHandle* next = h->next;
        h->object = nullptr;
        h->anchor = nullptr;
        h->previous = h->next = nullptr;
        h = next;
    }
    heads_.erase(it);
}
