#include "plugins/native/obj/obj_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>

#include "plugins/native/common/text_file.h"

namespace kinemo_plugin {

namespace fs = std::filesystem;

namespace {

// One line, read word by word.
struct Cursor {
    const char* p;
    const char* end;

    void SkipSpace() {
        while (p < end && (*p == ' ' || *p == '\t')) ++p;
    }
    bool AtEnd() {
        SkipSpace();
        return p >= end;
    }
    std::string_view Word() {
        SkipSpace();
        const char* start = p;
        while (p < end && *p != ' ' && *p != '\t') ++p;
        return {start, static_cast<size_t>(p - start)};
    }
    // The rest of the line without surrounding blanks.
    std::string_view Rest() {
        SkipSpace();
        const char* last = end;
        while (last > p && (last[-1] == ' ' || last[-1] == '\t')) --last;
        return {p, static_cast<size_t>(last - p)};
    }
    bool Float(float& out) {
        SkipSpace();
        if (p < end && *p == '+') ++p;
        const auto result = std::from_chars(p, end, out);
        if (result.ec != std::errc() ||
            (result.ptr < end && *result.ptr != ' ' && *result.ptr != '\t'))
            return false;
        p = result.ptr;
        return true;
    }
};

constexpr size_t kMaxClippedCorners = 64;

// Splits `polygon` (mesh vertex indices, in order) into triangles with the
// polygon's winding: ear clipping in the plane the polygon faces most, so
// concave polygons come out right; a polygon too degenerate for that is
// fanned.
void Triangulate(const std::vector<Vertex>& vertices, const std::vector<int>& polygon,
                 std::vector<std::array<int, 3>>& faces) {
    const size_t n = polygon.size();
    if (n == 3) {
        faces.push_back({polygon[0], polygon[1], polygon[2]});
        return;
    }
    double normal[3] = {0, 0, 0};  // Newell's method
    for (size_t i = 0; i < n; ++i) {
        const float* a = vertices[static_cast<size_t>(polygon[i])].position;
        const float* b = vertices[static_cast<size_t>(polygon[(i + 1) % n])].position;
        normal[0] += (double(a[1]) - b[1]) * (double(a[2]) + b[2]);
        normal[1] += (double(a[2]) - b[2]) * (double(a[0]) + b[0]);
        normal[2] += (double(a[0]) - b[0]) * (double(a[1]) + b[1]);
    }
    int axis = 0;
    for (int k = 1; k < 3; ++k)
        if (std::fabs(normal[k]) > std::fabs(normal[axis])) axis = k;
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    const double orientation = normal[axis] >= 0 ? 1 : -1;
    auto X = [&](int i) { return double(vertices[static_cast<size_t>(i)].position[u]); };
    auto Y = [&](int i) { return double(vertices[static_cast<size_t>(i)].position[v]); };
    auto cross = [&](int a, int b, int c) {
        return ((X(b) - X(a)) * (Y(c) - Y(a)) - (Y(b) - Y(a)) * (X(c) - X(a))) * orientation;
    };
    // Ear clipping costs the cube of the corners at worst: very large
    // polygons are fanned.
    std::vector<int> left = polygon;
    while (left.size() > 3 && n <= kMaxClippedCorners) {
        bool clipped = false;
        const size_t m = left.size();
        for (size_t i = 0; i < m && !clipped; ++i) {
            const int a = left[(i + m - 1) % m], b = left[i], c = left[(i + 1) % m];
            if (!(cross(a, b, c) > 0)) continue;
            bool inside = false;
            for (size_t k = 0; k < m && !inside; ++k) {
                const int p = left[k];
                if (p == a || p == b || p == c) continue;
                inside = cross(a, b, p) >= 0 && cross(b, c, p) >= 0 && cross(c, a, p) >= 0;
            }
            if (inside) continue;
            faces.push_back({a, b, c});
            left.erase(left.begin() + static_cast<long>(i));
            clipped = true;
        }
        if (!clipped) break;
    }
    for (size_t i = 1; i + 1 < left.size(); ++i) faces.push_back({left[0], left[i], left[i + 1]});
}

// The texture (map_Kd) of every material of a library.
void ReadMaterials(const fs::path& file, std::map<std::string, std::string>& textures) {
    std::string text;
    std::string ignored;
    if (!ReadTextFile(file.string(), text, ignored)) return;
    std::string material;
    ForEachLine(text, [&](const char* begin, const char* end, size_t) {
        Cursor c{begin, end};
        const std::string_view word = c.Word();
        if (word == "newmtl") {
            material = std::string(c.Rest());
        } else if (word == "map_Kd" && !material.empty()) {
            // Options come first: -o, -s and -t take up to three numbers,
            // -mm two, the others one word.
            while (!c.AtEnd() && *c.p == '-') {
                const std::string_view option = c.Word();
                const bool vector = option == "-o" || option == "-s" || option == "-t";
                int words = vector ? 3 : option == "-mm" ? 2 : 1;
                for (; words > 0 && !c.AtEnd(); --words) {
                    Cursor probe = c;
                    float number;
                    if (vector && !probe.Float(number)) break;
                    c.Word();
                }
            }
            std::string name(c.Rest());
            for (char& ch : name)
                if (ch == '\\') ch = '/';
            if (!name.empty())
                textures[material] = (file.parent_path() / name).lexically_normal().string();
        }
        return true;
    });
}

int Resolve(int index, size_t count) {
    if (index > 0) return index - 1;
    if (index < 0) return static_cast<int>(count) + index;
    return -1;
}

}  // namespace

bool ParseObj(std::string_view text, const std::string& folder, Model& model,
              std::string& problem) {
    std::vector<float> positions, texcoords, normals;
    std::map<std::string, std::string> textures;
    std::string objectName, groupName, material;
    bool newPart = true;
    int mesh = -1;                     // current mesh node
    int meshCount = 0;                 // meshes started so far, the stamp of `head` entries
    std::vector<int> headStamp, head;  // per position: the mesh's first vertex there
    std::vector<int> next, cornerTexcoord, cornerNormal;  // per vertex of the current mesh
    std::vector<int> polygon;
    size_t faces = 0;

    if (std::memchr(text.data(), '\0', text.size())) {
        problem = "it is not a text file";
        return false;
    }
    auto fail = [&](size_t line, const std::string& what) {
        problem = "line " + std::to_string(line) + ": " + what;
        return false;
    };
    const bool ok = ForEachLine(text, [&](const char* begin, const char* end, size_t line) {
        Cursor c{begin, end};
        const std::string_view word = c.Word();
        if (word.empty() || word[0] == '#') return true;
        if (word == "v" || word == "vn") {
            float xyz[3];
            for (float& value : xyz)
                if (!c.Float(value))
                    return fail(line, "expected three numbers after '" + std::string(word) + "'");
            for (float value : xyz)
                if (!std::isfinite(value)) return fail(line, "a coordinate is not a finite number");
            (word == "v" ? positions : normals)
                .insert((word == "v" ? positions : normals).end(), xyz, xyz + 3);
        } else if (word == "vt") {
            float uv[2] = {0, 0};
            if (!c.Float(uv[0])) return fail(line, "expected a number after 'vt'");
            if (!c.AtEnd() && !c.Float(uv[1]))
                return fail(line, "a texture coordinate is not a number");
            if (!std::isfinite(uv[0]) || !std::isfinite(uv[1]))
                return fail(line, "a texture coordinate is not a finite number");
            texcoords.insert(texcoords.end(), uv, uv + 2);
        } else if (word == "f") {
            if (newPart || mesh < 0) {
                const std::string& name = !groupName.empty() ? groupName : objectName;
                mesh = model.Add(NodeKind::kMesh, name.empty() ? "Mesh" : name, -1);
                auto found = textures.find(material);
                if (found != textures.end())
                    model.nodes[static_cast<size_t>(mesh)].texture = found->second;
                ++meshCount;
                next.clear();
                cornerTexcoord.clear();
                cornerNormal.clear();
                newPart = false;
            }
            Node& node = model.nodes[static_cast<size_t>(mesh)];
            polygon.clear();
            while (!c.AtEnd()) {
                const std::string_view corner = c.Word();
                int index[3] = {0, 0, 0};
                const char* p = corner.data();
                const char* stop = p + corner.size();
                for (int k = 0; k < 3 && p <= stop; ++k) {
                    if (p < stop && *p != '/') {
                        const auto r = std::from_chars(p, stop, index[k]);
                        if (r.ec != std::errc() || (r.ptr < stop && *r.ptr != '/'))
                            return fail(line, "'" + std::string(corner) + "' is not a face corner");
                        p = r.ptr;
                    }
                    if (p < stop)
                        ++p;  // the '/'
                    else
                        break;
                }
                if (index[0] == 0)
                    return fail(line, "'" + std::string(corner) + "' names no vertex");
                const int v = Resolve(index[0], positions.size() / 3);
                const int t = index[1] == 0 ? -1 : Resolve(index[1], texcoords.size() / 2);
                const int n = index[2] == 0 ? -1 : Resolve(index[2], normals.size() / 3);
                if (v < 0 || static_cast<size_t>(v) >= positions.size() / 3)
                    return fail(line, "vertex " + std::to_string(index[0]) + " is out of range (" +
                                          std::to_string(positions.size() / 3) +
                                          " vertices so far)");
                if (index[1] != 0 && (t < 0 || static_cast<size_t>(t) >= texcoords.size() / 2))
                    return fail(line, "texture coordinate " + std::to_string(index[1]) +
                                          " is out of range (" +
                                          std::to_string(texcoords.size() / 2) + " so far)");
                if (index[2] != 0 && (n < 0 || static_cast<size_t>(n) >= normals.size() / 3))
                    return fail(line, "normal " + std::to_string(index[2]) + " is out of range (" +
                                          std::to_string(normals.size() / 3) + " so far)");
                if (n < 0) node.hasNormals = false;
                if (headStamp.size() < positions.size() / 3) {
                    headStamp.resize(positions.size() / 3, 0);
                    head.resize(positions.size() / 3, -1);
                }
                if (headStamp[static_cast<size_t>(v)] != meshCount) {
                    headStamp[static_cast<size_t>(v)] = meshCount;
                    head[static_cast<size_t>(v)] = -1;
                }
                int found = head[static_cast<size_t>(v)];
                while (found >= 0 && (cornerTexcoord[static_cast<size_t>(found)] != t ||
                                      cornerNormal[static_cast<size_t>(found)] != n))
                    found = next[static_cast<size_t>(found)];
                if (found < 0) {
                    found = static_cast<int>(node.vertices.size());
                    Vertex vertex;
                    std::memcpy(vertex.position, &positions[static_cast<size_t>(v) * 3],
                                sizeof(vertex.position));
                    if (t >= 0)
                        std::memcpy(vertex.texcoords, &texcoords[static_cast<size_t>(t) * 2],
                                    sizeof(vertex.texcoords));
                    if (n >= 0)
                        std::memcpy(vertex.normal, &normals[static_cast<size_t>(n) * 3],
                                    sizeof(vertex.normal));
                    node.vertices.push_back(vertex);
                    next.push_back(head[static_cast<size_t>(v)]);
                    head[static_cast<size_t>(v)] = found;
                    cornerTexcoord.push_back(t);
                    cornerNormal.push_back(n);
                }
                polygon.push_back(found);
            }
            if (polygon.size() < 3) return fail(line, "a face needs at least three corners");
            Triangulate(node.vertices, polygon, node.faces);
            ++faces;
        } else if (word == "o") {
            objectName = std::string(c.Rest());
            groupName.clear();
            newPart = true;
        } else if (word == "g") {
            groupName = std::string(c.Rest());
            newPart = true;
        } else if (word == "usemtl") {
            const std::string name(c.Rest());
            if (name != material) newPart = true;
            material = name;
        } else if (word == "mtllib") {
            const std::string rest(c.Rest());
            // A name may hold blanks; several names are separated by blanks.
            // A name the system cannot look up (too long, say) is no library.
            std::error_code ec;
            if (fs::exists(fs::path(folder) / rest, ec)) {
                ReadMaterials(fs::path(folder) / rest, textures);
            } else {
                Cursor names{rest.data(), rest.data() + rest.size()};
                while (!names.AtEnd())
                    ReadMaterials(fs::path(folder) / std::string(names.Word()), textures);
            }
        }
        // Anything else (smoothing groups, curves, lines, points) carries no
        // triangles: skipped, as other readers do.
        return true;
    });
    if (!ok) return false;
    if (faces == 0) {
        if (positions.empty()) {
            problem = "it holds no vertices or faces";
            return false;
        }
        // A point cloud: its vertices, without faces.
        const std::string& name = !groupName.empty() ? groupName : objectName;
        Node& node = model.nodes[static_cast<size_t>(
            model.Add(NodeKind::kMesh, name.empty() ? "Mesh" : name, -1))];
        node.hasNormals = false;
        node.vertices.resize(positions.size() / 3);
        for (size_t i = 0; i < node.vertices.size(); ++i)
            std::memcpy(node.vertices[i].position, &positions[i * 3],
                        sizeof(node.vertices[i].position));
    }
    return true;
}

bool ReadObj(const std::string& path, Model& model, std::string& problem) {
    std::string text;
    if (!ReadTextFile(path, text, problem)) return false;
    return ParseObj(text, fs::path(path).parent_path().string(), model, problem);
}

namespace {

void Append(std::string& out, float value) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof(buffer), value == 0 ? 0.0f : value);
    out.append(buffer, r.ptr);
}

void Append(std::string& out, long value) {
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof(buffer), value);
    out.append(buffer, r.ptr);
}

// A name as one OBJ word: blanks become underscores.
std::string Word(std::string name) {
    for (char& c : name)
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') c = '_';
    return name.empty() ? "Mesh" : name;
}

}  // namespace

bool WriteObj(const std::string& path, const Model& model, std::string& problem) {
    const fs::path obj = path + ".obj";
    const fs::path mtl = path + ".mtl";
    std::map<std::string, std::string> materials;  // image -> material name
    for (const Node& node : model.nodes)
        if (node.kind == NodeKind::kMesh && !node.texture.empty() && !materials.count(node.texture))
            materials.emplace(node.texture, "texture" + std::to_string(materials.size() + 1));

    std::string out = "# Kinemo\n";
    if (!materials.empty()) out += "mtllib " + mtl.filename().string() + "\n";
    long base = 0;
    for (const Node& node : model.nodes) {
        if (node.kind != NodeKind::kMesh) continue;
        out += "o " + Word(node.name) + "\n";
        const bool posed = node.deformed.size() == node.vertices.size();
        const Mat4& g = node.global;
        const Mat4 normalMatrix =
            Inverse(g);  // rows of its transpose: normals transform by (G^-1)^T
        out.reserve(out.size() + node.vertices.size() * 96 + node.faces.size() * 40);
        for (int pass = 0; pass < 3; ++pass) {
            for (size_t i = 0; i < node.vertices.size(); ++i) {
                const Vertex& v = node.vertices[i];
                const float* p = posed ? &node.deformed[i][0] : v.position;
                const float* n = posed ? &node.deformed[i][3] : v.normal;
                const float* t = posed ? &node.deformed[i][6] : v.texcoords;
                if (pass == 0) {
                    out += "v";
                    for (int k = 0; k < 3; ++k) {
                        out += ' ';
                        Append(out, static_cast<float>(p[0] * g(0, k) + p[1] * g(1, k) +
                                                       p[2] * g(2, k) + g(3, k)));
                    }
                } else if (pass == 1) {
                    out += "vt ";
                    Append(out, t[0]);
                    out += ' ';
                    Append(out, t[1]);
                } else {
                    double w[3];
                    for (int k = 0; k < 3; ++k)
                        w[k] = n[0] * normalMatrix(k, 0) + n[1] * normalMatrix(k, 1) +
                               n[2] * normalMatrix(k, 2);
                    const double length = std::sqrt(w[0] * w[0] + w[1] * w[1] + w[2] * w[2]);
                    out += "vn";
                    for (double value : w) {
                        out += ' ';
                        Append(out, static_cast<float>(length > 0 ? value / length : 0.0));
                    }
                }
                out += '\n';
            }
        }
        if (!node.texture.empty()) out += "usemtl " + materials[node.texture] + "\n";
        for (const auto& f : node.faces) {
            out += "f";
            for (int index : f) {
                const long i = base + index + 1;
                out += ' ';
                Append(out, i);
                out += '/';
                Append(out, i);
                out += '/';
                Append(out, i);
            }
            out += '\n';
        }
        base += static_cast<long>(node.vertices.size());
    }
    if (!WriteTextFile(obj.string(), out, problem)) return false;
    if (materials.empty()) return true;
    std::string library = "# Kinemo\n";
    for (const auto& [image, name] : materials) {
        std::error_code ec;
        fs::path relative = fs::relative(image, obj.parent_path(), ec);
        if (ec || relative.empty()) relative = image;
        library += "newmtl " + name + "\nKd 1 1 1\nmap_Kd " + relative.generic_string() + "\n";
    }
    return WriteTextFile(mtl.string(), library, problem);
}

}  // namespace kinemo_plugin
