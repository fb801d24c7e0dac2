#include "rigmend/mesh_rewrite.h"

#include <array>
#include <string_view>

#include "rigmend/line_cursor.h"

namespace rigmend {

namespace {

constexpr std::string_view kAssignmentsOpen = "      <boneassignments>";
constexpr std::string_view kAssignmentsClose = "      </boneassignments>";
constexpr std::string_view kBoneIndex = "boneindex='";
constexpr std::string_view kLinkStart = "<skeletonlink name='";
constexpr size_t kFieldCount = 15;

bool Fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
    return false;
}

std::string NoLine(std::string_view line) {
    return "The mesh file has no line '" + std::string(line) + "'.";
}

// The field with the text between "boneindex='" and the next apostrophe replaced.
std::string WithNewBoneIndex(const std::string& field, const BoneIdMap& bones) {
    const size_t marker = field.find(kBoneIndex);
    if (marker == std::string::npos) return field;
    const size_t start = marker + kBoneIndex.size();
    size_t end = field.find('\'', start);
    if (end == std::string::npos) end = field.size();
    return field.substr(0, start) + bones.Find(std::string_view(field).substr(start, end - start)) +
           field.substr(end);
}

}  // namespace

std::string RewriteAssignment(const std::string& line, const BoneIdMap& bones) {
    std::array<std::string, kFieldCount> fields;
    size_t start = 0;
    for (size_t i = 0; i < kFieldCount && start <= line.size(); ++i) {
        size_t end = line.find(' ', start);
        if (end == std::string::npos) end = line.size();
        fields[i] = line.substr(start, end - start);
        start = end + 1;
    }
    std::string out;
    for (size_t i = 0; i < kFieldCount; ++i) {
        if (i > 0) out += ' ';
        out += fields[i].find("boneindex") == std::string::npos
                   ? fields[i]
                   : WithNewBoneIndex(fields[i], bones);
    }
    return out;
}

std::string RewriteSkeletonLink(const std::string& line) {
    const size_t marker = line.find(kLinkStart);
    if (marker == std::string::npos) return line;
    const size_t start = marker + kLinkStart.size();
    size_t end = line.find('\'', start);
    if (end == std::string::npos) end = line.size();
    std::string_view path = std::string_view(line).substr(start, end - start);
    const size_t slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    return " <skeletonlink name='" + std::string(path) + "' />";
}

bool RewriteMesh(const std::vector<std::string>& lines, const BoneIdMap& bones, LineWriter& out,
                 std::string* error) {
    LineCursor in(lines);
    const std::string* line = nullptr;
    do {
        line = in.Next();
        if (!line) return Fail(error, NoLine(kAssignmentsOpen));
        out.Write(*line);
    } while (*line != kAssignmentsOpen);

    while ((line = in.Next()) && *line != kAssignmentsClose)
        out.Write(RewriteAssignment(*line, bones));
    if (!line) return Fail(error, NoLine(kAssignmentsClose));
    out.Write(*line);

    // Submesh and submeshes closing lines, the skeleton link, the mesh closing line.
    for (int i = 0; i < 4; ++i) {
        line = in.Next();
        if (!line)
            return Fail(error, "The mesh file ends early (after line " +
                                   std::to_string(lines.size()) + ").");
        out.Write(i == 2 ? RewriteSkeletonLink(*line) : *line);
    }
    return true;
}

}  // namespace rigmend
