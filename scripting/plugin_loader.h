#pragma once

#include <string>
#include <vector>

struct lua_State;

// Native plug-ins: shared libraries that export InitPlugin (or _InitPlugin),
// called once with the interpreter, through which they register what they
// offer as any script would. Loaded libraries stay loaded for the life of
// the program (functions they registered may be called at any time).
class rgPluginLoader {
public:
    rgPluginLoader() = default;
    rgPluginLoader(const rgPluginLoader&) = delete;
    rgPluginLoader& operator=(const rgPluginLoader&) = delete;

    // Loads the library and calls its entry point with L. False, with the
    // reason in `why`, when it is not a library, has no entry point, or its
    // entry point raised an error or exception.
    bool Load(const std::string& path, lua_State* L, std::string* why = nullptr);
    // Libraries loaded (whether their entry point worked or not).
    size_t Count() const { return handles_.size(); }

    // The native plug-ins of a folder ("*.so"), in name order.
    static std::vector<std::string> NativePlugins(const std::string& folder, std::string* why);

private:
    std::vector<void*> handles_;
};
