#pragma once

// Told when an engine object that scripts can hold a handle to goes away:
// a node, a mesh's vertex list (also when it is rebuilt), a joint's key or a
// texture. The scripting layer disables those handles, so a script that
// kept one gets an error instead of freed memory.
class rgObjectWatcher {
public:
    virtual ~rgObjectWatcher() = default;
    // Called before `object` is destroyed; only its address is used.
    virtual void ObjectDestroyed(const void* object) = 0;
};
