#include "state/settings_file.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string_view>
#include <variant>
#include <vector>

namespace {

constexpr const char* kSection = "default";

using FieldRef = std::variant<float*, int*, bool*>;

struct Field {
    const char* key;
    FieldRef ref;
};

std::array<Field, 21> Fields(rgState& s) {
    return {{
        {"max_undo_levels", &s.maxUndoLevels},
        {"background_red", &s.backgroundColour.x},
        {"background_green", &s.backgroundColour.y},
        {"background_blue", &s.backgroundColour.z},
        {"grid_red", &s.gridColour.x},
        {"grid_green", &s.gridColour.y},
        {"grid_blue", &s.gridColour.z},
        {"major_grid_red", &s.majorGridColour.x},
        {"major_grid_green", &s.majorGridColour.y},
        {"major_grid_blue", &s.majorGridColour.z},
        {"grid_size", &s.gridSize},
        {"major_lines", &s.majorLines},
        {"adaptive_grid", &s.adaptiveGrid},
        {"vertex_red", &s.vertexColour.x},
        {"vertex_green", &s.vertexColour.y},
        {"vertex_blue", &s.vertexColour.z},
        {"sel_vertex_red", &s.selectedVertexColour.x},
        {"sel_vertex_green", &s.selectedVertexColour.y},
        {"sel_vertex_blue", &s.selectedVertexColour.z},
        {"ik_max_iterations", &s.ikMaxIterations},
        {"ik_threshold", &s.ikThreshold},
    }};
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// from_chars is locale-independent; the whole text must be consumed.
template <typename T>
bool ParseNumber(std::string_view text, T& out) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) return false;
    out = value;
    return true;
}

bool ParseValue(std::string_view text, const FieldRef& ref) {
    text = Trim(text);
    if (auto* f = std::get_if<float*>(&ref)) return ParseNumber(text, **f);
    if (auto* i = std::get_if<int*>(&ref)) return ParseNumber(text, **i);
    int flag = 0;
    if (!ParseNumber(text, flag)) return false;
    *std::get<bool*>(ref) = flag != 0;
    return true;
}

std::string FormatValue(const FieldRef& ref) {
    char buf[64];
    std::to_chars_result r{};
    if (auto* f = std::get_if<float*>(&ref)) {
        // Shortest text that reads back to the same float, never in exponent form.
        r = std::to_chars(buf, buf + sizeof(buf), **f, std::chars_format::fixed);
    } else if (auto* i = std::get_if<int*>(&ref)) {
        r = std::to_chars(buf, buf + sizeof(buf), **i);
    } else {
        r = std::to_chars(buf, buf + sizeof(buf), *std::get<bool*>(ref) ? 1 : 0);
    }
    return std::string(buf, r.ptr);
}

std::vector<std::string> ReadLines(const std::string& path, bool* found) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    *found = static_cast<bool>(in);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Section name of a "[name]" line, or nullopt-like empty view with ok=false.
bool SectionHeader(std::string_view line, std::string_view* name) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
    *name = Trim(line.substr(1, line.size() - 2));
    return true;
}

bool KeyValue(std::string_view line, std::string_view* key, std::string_view* value) {
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#') return false;
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos) return false;
    *key = Trim(t.substr(0, eq));
    *value = t.substr(eq + 1);
    return true;
}

}  // namespace

const char* const* PersistedSettingKeys(int* count) {
    static const std::array<const char*, 21> keys = [] {
        rgState s;
        std::array<const char*, 21> k{};
        const auto fields = Fields(s);
        for (size_t i = 0; i < fields.size(); ++i) k[i] = fields[i].key;
        return k;
    }();
    *count = static_cast<int>(keys.size());
    return keys.data();
}

SettingsLoadResult LoadSettings(rgState& state, const std::string& path) {
    SettingsLoadResult result;
    const auto lines = ReadLines(path, &result.fileFound);
    auto fields = Fields(state);
    std::array<bool, 21> seen{};

    bool inSection = false;
    for (const std::string& line : lines) {
        std::string_view name;
        if (SectionHeader(line, &name)) {
            inSection = EqualsNoCase(name, kSection);
            continue;
        }
        std::string_view key, value;
        if (!inSection || !KeyValue(line, &key, &value)) continue;
        for (size_t i = 0; i < fields.size(); ++i) {
            // The first occurrence of a key wins, as INI readers do.
            if (seen[i] || !EqualsNoCase(key, fields[i].key)) continue;
            seen[i] = ParseValue(value, fields[i].ref);
            break;
        }
    }
    for (bool s : seen) (s ? result.keysRead : result.keysDefaulted)++;
    return result;
}

bool SaveSettings(const rgState& state, const std::string& path, std::string* error) {
    bool found = false;
    const auto old = ReadLines(path, &found);
    rgState copy = state;
    const auto fields = Fields(copy);
    std::array<bool, 21> written{};

    auto keyLine = [&](size_t i) {
        return std::string(fields[i].key) + "=" + FormatValue(fields[i].ref);
    };
    auto flushMissing = [&](std::vector<std::string>& out) {
        for (size_t i = 0; i < fields.size(); ++i)
            if (!written[i]) {
                out.push_back(keyLine(i));
                written[i] = true;
            }
    };

    std::vector<std::string> out;
    bool inSection = false;
    bool sectionSeen = false;
    for (const std::string& line : old) {
        std::string_view name;
        if (SectionHeader(line, &name)) {
            if (inSection) flushMissing(out);
            inSection = EqualsNoCase(name, kSection);
            sectionSeen = sectionSeen || inSection;
            out.push_back(line);
            continue;
        }
        std::string_view key, value;
        if (inSection && KeyValue(line, &key, &value)) {
            bool known = false;
            for (size_t i = 0; i < fields.size(); ++i) {
                if (!EqualsNoCase(key, fields[i].key)) continue;
                known = true;
                if (!written[i]) out.push_back(keyLine(i));
                written[i] = true;  // later duplicates are dropped
                break;
            }
            if (known) continue;
        }
        out.push_back(line);
    }
    if (inSection) flushMissing(out);
    if (!sectionSeen) {
        if (!out.empty() && !Trim(out.back()).empty()) out.emplace_back();
        out.push_back(std::string("[") + kSection + "]");
        flushMissing(out);
    }

    // Write beside the target, then rename: a failed write never truncates the old file.
    const std::string tmp = path + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        for (const auto& l : out) f << l << '\n';
        f.flush();
        if (!f) {
            if (error) *error = "cannot write \"" + tmp + "\"";
            std::remove(tmp.c_str());
            return false;
        }
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        if (error) *error = "cannot replace \"" + path + "\"";
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}
