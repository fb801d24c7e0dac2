#include "plugins/native/common/plugin_glue.h"

#include <exception>
#include <new>

#include <lua.hpp>

namespace kinemo_plugin {

namespace {

// One import or export run: freed by the collector, so a Lua error that
// jumps out of the run leaks nothing.
struct Job {
    Model model;
    std::string error;
};

int JobCollect(lua_State* L) {
    static_cast<Job*>(lua_touserdata(L, 1))->~Job();
    return 0;
}

Job* NewJob(lua_State* L) {
    void* block = lua_newuserdata(L, sizeof(Job));
    lua_createtable(L, 0, 1);
    lua_pushcfunction(L, JobCollect);
    lua_setfield(L, -2, "__gc");
    lua_setmetatable(L, -2);
    return new (block) Job();  // allocates nothing
}

void SetError(Job& job, const char* verb, const char* path, const char* problem) noexcept {
    try {
        job.error = std::string("Could not ") + verb + " " + path + ": " + problem;
        if (!job.error.empty() && job.error.back() != '.') job.error += '.';
    } catch (...) {
        job.error.clear();
    }
}

int Raise(lua_State* L, const Job& job) {
    if (job.error.empty()) return luaL_error(L, "the plug-in ran out of memory");
    lua_pushstring(L, job.error.c_str());
    return lua_error(L);
}

// Joints are numbered 0, 1, 2, ... for SceneData.Build; every reference to
// a joint must name one.
bool NumberJoints(Model& model, std::string& problem) {
    int next = 0;
    const int count = static_cast<int>(model.nodes.size());
    for (int i = 0; i < count; ++i) {
        Node& node = model.nodes[static_cast<size_t>(i)];
        if (node.parent < -1 || node.parent >= i) {
            problem = "node " + std::to_string(i) + " has no valid parent";
            return false;
        }
        node.id = node.kind == NodeKind::kJoint ? next++ : -1;
    }
    for (const Node& node : model.nodes)
        for (const Vertex& v : node.vertices)
            for (int j : v.joint)
                if (j >= count ||
                    (j >= 0 && model.nodes[static_cast<size_t>(j)].kind != NodeKind::kJoint)) {
                    problem = "a vertex of '" + node.name + "' names a joint that is not there";
                    return false;
                }
    return true;
}

bool ReadFile(Reader read, const char* path, Job& job) noexcept {
    try {
        std::string problem;
        if (read(path, job.model, problem) && NumberJoints(job.model, problem)) return true;
        SetError(job, "import", path, problem.c_str());
    } catch (const std::bad_alloc&) {
        SetError(job, "import", path, "not enough memory");
    } catch (const std::exception& e) {
        SetError(job, "import", path, e.what());
    } catch (...) {
        SetError(job, "import", path, "the reader failed");
    }
    return false;
}

// Pushing (may raise: nothing here has a destructor).

void PushMatrix(lua_State* L, const Mat4& m) {
    lua_createtable(L, 16, 0);
    for (int i = 0; i < 16; ++i) {
        lua_pushnumber(L, m.m[i]);
        lua_rawseti(L, -2, i + 1);
    }
}

void SetNumber(lua_State* L, const char* key, double value) {
    lua_pushnumber(L, value);
    lua_setfield(L, -2, key);
}

void PushVertices(lua_State* L, const Model& model, const Node& node) {
    lua_createtable(L, static_cast<int>(node.vertices.size()) * 17, 0);
    int n = 0;
    for (const Vertex& v : node.vertices) {
        double values[17] = {0,           v.position[0], v.position[1],  v.position[2], v.normal[0],
                             v.normal[1], v.normal[2],   v.texcoords[0], v.texcoords[1]};
        for (int k = 0; k < 4; ++k) {
            values[9 + k] = v.joint[k] < 0 ? -1 : model.nodes[static_cast<size_t>(v.joint[k])].id;
            values[13 + k] = v.weight[k];
        }
        for (double value : values) {
            lua_pushnumber(L, value);
            lua_rawseti(L, -2, ++n);
        }
    }
}

void PushFaces(lua_State* L, const Node& node) {
    lua_createtable(L, static_cast<int>(node.faces.size()) * 3, 0);
    int n = 0;
    for (const auto& f : node.faces)
        for (int index : f) {
            lua_pushnumber(L, index);
            lua_rawseti(L, -2, ++n);
        }
}

void PushKeys(lua_State* L, const Node& node) {
    lua_createtable(L, static_cast<int>(node.keys.size()) * 23, 0);
    int n = 0;
    for (const Key& k : node.keys) {
        lua_pushnumber(L, k.frame);
        lua_rawseti(L, -2, ++n);
        for (double value : k.offset.m) {
            lua_pushnumber(L, value);
            lua_rawseti(L, -2, ++n);
        }
        for (float value : k.tcb) {
            lua_pushnumber(L, value);
            lua_rawseti(L, -2, ++n);
        }
    }
}

// The tables SceneData.Build takes.
void PushModel(lua_State* L, const Model& model) {
    lua_createtable(L, 0, 1);
    lua_createtable(L, static_cast<int>(model.nodes.size()), 0);
    int i = 0;
    for (const Node& node : model.nodes) {
        lua_createtable(L, 0, 10);
        lua_pushstring(L, node.kind == NodeKind::kMesh    ? "mesh"
                          : node.kind == NodeKind::kJoint ? "joint"
                                                          : "node");
        lua_setfield(L, -2, "kind");
        lua_pushlstring(L, node.name.data(), node.name.size());
        lua_setfield(L, -2, "name");
        SetNumber(L, "parent", node.parent + 1);
        PushMatrix(L, node.matrix);
        lua_setfield(L, -2, "matrix");
        if (node.kind == NodeKind::kJoint) {
            SetNumber(L, "id", node.id);
            PushMatrix(L, node.offset);
            lua_setfield(L, -2, "offset");
            PushKeys(L, node);
            lua_setfield(L, -2, "keys");
        } else if (node.kind == NodeKind::kMesh) {
            PushVertices(L, model, node);
            lua_setfield(L, -2, "vertices");
            PushFaces(L, node);
            lua_setfield(L, -2, "faces");
            if (!node.texture.empty()) {
                lua_pushlstring(L, node.texture.data(), node.texture.size());
                lua_setfield(L, -2, "texture");
            }
            lua_pushboolean(L, node.hasNormals);
            lua_setfield(L, -2, "normals");
        }
        lua_rawseti(L, -2, ++i);
    }
    lua_setfield(L, -2, "nodes");
    lua_createtable(L, static_cast<int>(model.clips.size()), 0);
    i = 0;
    for (const Clip& clip : model.clips) {
        lua_createtable(L, 0, 4);
        lua_pushlstring(L, clip.name.data(), clip.name.size());
        lua_setfield(L, -2, "name");
        SetNumber(L, "first", clip.first);
        SetNumber(L, "last", clip.last);
        lua_pushboolean(L, clip.loop);
        lua_setfield(L, -2, "loop");
        lua_rawseti(L, -2, ++i);
    }
    lua_setfield(L, -2, "clips");
    lua_createtable(L, static_cast<int>(model.notes.size()), 0);
    i = 0;
    for (const std::string& note : model.notes) {
        lua_pushlstring(L, note.data(), note.size());
        lua_rawseti(L, -2, ++i);
    }
    lua_setfield(L, -2, "notes");
}

// Pushes SceneData[name].
void GetSceneDataFunction(lua_State* L, const char* name) {
    lua_getglobal(L, "SceneData");
    if (!lua_istable(L, -1))
        luaL_error(L, "SceneData is missing: plugins/scene_data.lua did not load");
    lua_getfield(L, -1, name);
    lua_remove(L, -2);
}

// Reading tables: raw access only, which neither allocates nor raises.

double NumberAt(lua_State* L, int table, int i) {
    lua_rawgeti(L, table, i);
    const double value = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return value;
}

std::string StringAt(lua_State* L, int table, int i) {
    lua_rawgeti(L, table, i);
    std::string value;
    if (lua_type(L, -1) == LUA_TSTRING) {
        size_t length = 0;
        const char* text = lua_tolstring(L, -1, &length);
        try {
            value.assign(text, length);
        } catch (...) {
            lua_pop(L, 1);
            throw;
        }
    }
    lua_pop(L, 1);
    return value;
}

// The numbers of the table at t[i] (none when it is not a table).
std::vector<double> NumbersAt(lua_State* L, int table, int i) {
    lua_rawgeti(L, table, i);
    std::vector<double> values;
    if (lua_istable(L, -1)) {
        const int list = lua_gettop(L);
        const size_t n = lua_objlen(L, list);
        try {
            values.resize(n);
        } catch (...) {
            lua_pop(L, 1);
            throw;
        }
        for (size_t k = 0; k < n; ++k) values[k] = NumberAt(L, list, static_cast<int>(k) + 1);
    }
    lua_pop(L, 1);
    return values;
}

Mat4 MatrixAt(lua_State* L, int table, int i) {
    const std::vector<double> values = NumbersAt(L, table, i);
    return values.size() == 16 ? Mat4::From(values.data()) : Mat4();
}

void ReadNode(lua_State* L, int t, Node& node) {
    const int kind = static_cast<int>(NumberAt(L, t, 1));
    node.kind = kind == 1 ? NodeKind::kMesh : kind == 2 ? NodeKind::kJoint : NodeKind::kNode;
    node.name = StringAt(L, t, 2);
    node.parent = static_cast<int>(NumberAt(L, t, 3)) - 1;
    node.matrix = MatrixAt(L, t, 4);
    node.global = MatrixAt(L, t, 5);
    node.id = static_cast<int>(NumberAt(L, t, 6));
    if (node.kind == NodeKind::kJoint) {
        node.offset = MatrixAt(L, t, 7);
        node.relaxed = MatrixAt(L, t, 8);
        const std::vector<double> keys = NumbersAt(L, t, 9);
        for (size_t k = 0; k + 23 <= keys.size(); k += 23) {
            Key key;
            key.frame = static_cast<int>(keys[k]);
            key.offset = Mat4::From(&keys[k + 1]);
            for (int p = 0; p < 6; ++p)
                key.tcb[static_cast<size_t>(p)] =
                    static_cast<float>(keys[k + 17 + static_cast<size_t>(p)]);
            node.keys.push_back(key);
        }
        const std::vector<double> samples = NumbersAt(L, t, 10);
        for (size_t k = 0; k + 16 <= samples.size(); k += 16)
            node.samples.push_back(Mat4::From(&samples[k]));
    } else if (node.kind == NodeKind::kMesh) {
        const std::vector<double> vertices = NumbersAt(L, t, 11);
        node.vertices.resize(vertices.size() / 17);
        for (size_t v = 0; v < node.vertices.size(); ++v) {
            const double* s = &vertices[v * 17];
            Vertex& out = node.vertices[v];
            for (int k = 0; k < 3; ++k) {
                out.position[k] = static_cast<float>(s[1 + k]);
                out.normal[k] = static_cast<float>(s[4 + k]);
            }
            out.texcoords[0] = static_cast<float>(s[7]);
            out.texcoords[1] = static_cast<float>(s[8]);
            for (int k = 0; k < 4; ++k) {
                out.joint[k] = static_cast<int>(s[9 + k]);
                out.weight[k] = static_cast<float>(s[13 + k]);
            }
        }
        const std::vector<double> faces = NumbersAt(L, t, 12);
        node.faces.resize(faces.size() / 3);
        for (size_t f = 0; f < node.faces.size(); ++f)
            for (size_t k = 0; k < 3; ++k) node.faces[f][k] = static_cast<int>(faces[f * 3 + k]);
        const std::vector<double> deformed = NumbersAt(L, t, 13);
        node.deformed.resize(deformed.size() / 8);
        for (size_t v = 0; v < node.deformed.size(); ++v)
            for (size_t k = 0; k < 8; ++k)
                node.deformed[v][k] = static_cast<float>(deformed[v * 8 + k]);
        node.texture = StringAt(L, t, 14);
    }
}

// The model from SceneData.ReadArrays's result at `data`.
void ReadModel(lua_State* L, int data, Model& model) {
    model.frameRate = NumberAt(L, data, 1);
    model.totalFrames = static_cast<int>(NumberAt(L, data, 2));
    model.frame = static_cast<int>(NumberAt(L, data, 3));
    model.interpolation = static_cast<int>(NumberAt(L, data, 4));
    model.firstFrame = static_cast<int>(NumberAt(L, data, 5));
    model.lastFrame = static_cast<int>(NumberAt(L, data, 6));
    lua_rawgeti(L, data, 8);
    if (lua_istable(L, -1)) {
        const int clips = lua_gettop(L);
        const size_t n = lua_objlen(L, clips);
        try {
            for (size_t c = 0; c < n; ++c) {
                lua_rawgeti(L, clips, static_cast<int>(c) + 1);
                if (lua_istable(L, -1)) {
                    const int t = lua_gettop(L);
                    Clip clip;
                    clip.name = StringAt(L, t, 1);
                    clip.first = static_cast<int>(NumberAt(L, t, 2));
                    clip.last = static_cast<int>(NumberAt(L, t, 3));
                    clip.loop = NumberAt(L, t, 4) != 0;
                    model.clips.push_back(clip);
                }
                lua_pop(L, 1);
            }
        } catch (...) {
            lua_settop(L, clips - 1);
            throw;
        }
    }
    lua_pop(L, 1);
    lua_rawgeti(L, data, 7);
    const int nodes = lua_gettop(L);
    const size_t count = lua_istable(L, nodes) ? lua_objlen(L, nodes) : 0;
    try {
        model.nodes.resize(count);
        for (size_t i = 0; i < count; ++i) {
            lua_rawgeti(L, nodes, static_cast<int>(i) + 1);
            if (lua_istable(L, -1)) ReadNode(L, lua_gettop(L), model.nodes[i]);
            lua_pop(L, 1);
        }
    } catch (...) {
        lua_settop(L, nodes - 1);
        throw;
    }
    lua_pop(L, 1);
}

bool WriteFile(lua_State* L, int data, Writer write, const char* path, Job& job) noexcept {
    const int top = lua_gettop(L);
    try {
        ReadModel(L, data, job.model);
        std::string problem;
        if (write(path, job.model, problem)) return true;
        SetError(job, "export", path, problem.c_str());
    } catch (const std::bad_alloc&) {
        SetError(job, "export", path, "not enough memory");
    } catch (const std::exception& e) {
        SetError(job, "export", path, e.what());
    } catch (...) {
        SetError(job, "export", path, "the writer failed");
    }
    lua_settop(L, top);
    return false;
}

void Register(lua_State* L, const char* registrar, const char* description, const char* pattern,
              const char* function, int (*entry)(lua_State*), int frameRange) {
    lua_register(L, function, entry);
    lua_getglobal(L, registrar);
    lua_pushstring(L, description);
    lua_pushstring(L, pattern);
    lua_pushstring(L, function);
    if (frameRange < 0) {
        lua_call(L, 3, 0);
    } else {
        lua_pushboolean(L, frameRange);
        lua_call(L, 4, 0);
    }
}

}  // namespace

int RunImport(lua_State* L, Reader read) {
    const char* path = luaL_checkstring(L, 1);
    Job* job = NewJob(L);
    // Readers turn seconds into frames at the scene's rate.
    lua_getglobal(L, "GetFrameRate");
    if (lua_isfunction(L, -1)) {
        lua_call(L, 0, 1);
        if (lua_tonumber(L, -1) > 0) job->model.frameRate = lua_tonumber(L, -1);
    }
    lua_pop(L, 1);
    if (!ReadFile(read, path, *job)) return Raise(L, *job);
    GetSceneDataFunction(L, "Build");
    PushModel(L, job->model);
    lua_call(L, 1, 0);
    return 0;
}

int RunExport(lua_State* L, Writer write, const ReadOptions& options) {
    const char* path = luaL_checkstring(L, 1);
    Job* job = NewJob(L);
    GetSceneDataFunction(L, "ReadArrays");
    lua_createtable(L, 0, 2);
    lua_pushboolean(L, options.samples);
    lua_setfield(L, -2, "samples");
    lua_pushboolean(L, options.deformed);
    lua_setfield(L, -2, "deformed");
    lua_call(L, 1, 1);
    if (!WriteFile(L, lua_gettop(L), write, path, *job)) return Raise(L, *job);
    return 0;
}

void RegisterImporter(lua_State* L, const char* description, const char* pattern,
                      const char* function, int (*entry)(lua_State*)) {
    Register(L, "RegisterImporter", description, pattern, function, entry, -1);
}

void RegisterExporter(lua_State* L, const char* description, const char* pattern,
                      const char* function, int (*entry)(lua_State*), bool frameRange) {
    Register(L, "RegisterExporter", description, pattern, function, entry, frameRange ? 1 : 0);
}

}  // namespace kinemo_plugin
