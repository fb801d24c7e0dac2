#include "tests/rigmend/rigmend_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace rigmend_test {

namespace fs = std::filesystem;

std::string SkeletonText(const std::vector<FixtureBone>& bones, const std::string& length,
                         const std::vector<int>& frames, const std::string& eol) {
    std::string t;
    auto line = [&](const std::string& s) { t += s + eol; };
    line("<?xml version='1.0' encoding='UTF-8'?>");
    line("<skeleton>");
    line("  <bones>");
    for (const FixtureBone& b : bones) {
        line("    <bone id='" + b.id + "' name='" + b.name + "'>");
        line("      <position x='0.0' y='1.0' z='0.0'/>");
        line("      <rotation angle='0.0'>");
        line("        <axis x='1.0' y='0.0' z='0.0'/>");
        line("      </rotation>");
        line("    </bone>");
    }
    line("  </bones>");
    line("  <bonehierarchy>");
    for (size_t i = 1; i < bones.size(); ++i)
        line("    <boneparent bone='" + bones[i].name + "' parent='" + bones[0].name + "'/>");
    line("  </bonehierarchy>");
    line("  <animations>");
    line("    <animation name='Exported' length='" + length + "'>");
    line("      <tracks>");
    for (size_t i = 0; i < bones.size(); ++i) {
        line("        <track bone='" + bones[i].name + "'>");
        line("          <keyframes>");
        for (int f : frames) {
            line("            <keyframe time='" + std::to_string(f) + "'>");
            line("              <translate x='" + std::to_string(f) + "' y='" + std::to_string(i) +
                 "' z='0.0'/>");
            line("              <rotate angle='0.5'>");
            line("                <axis x='0.0' y='1.0' z='0.0'/>");
            line("              </rotate>");
            line("            </keyframe>");
        }
        line("          </keyframes>");
        line("        </track>");
    }
    line("      </tracks>");
    line("    </animation>");
    line("  </animations>");
    line("</skeleton>");
    return t;
}

std::string MeshText(const std::vector<std::string>& boneIndices, const std::string& linkPath,
                     const std::string& eol) {
    std::string t;
    auto line = [&](const std::string& s) { t += s + eol; };
    line("<?xml version='1.0' encoding='UTF-8'?>");
    line("<mesh>");
    line("  <submeshes>");
    line("    <submesh material='Skin' usesharedvertices='false'>");
    line("      <faces count='1'>");
    line("        <face v1='0' v2='1' v3='2'/>");
    line("      </faces>");
    line("      <boneassignments>");
    for (size_t v = 0; v < boneIndices.size(); ++v)
        line("        <vertexboneassignment vertexindex='" + std::to_string(v) + "' boneindex='" +
             boneIndices[v] + "' weight='1.0' />");
    line("      </boneassignments>");
    line("    </submesh>");
    line("  </submeshes>");
    line("  <skeletonlink name='" + linkPath + "' />");
    line("</mesh>");
    return t;
}

std::vector<int> FrameRange(int first, int last) {
    std::vector<int> frames;
    for (int f = first; f <= last; ++f) frames.push_back(f);
    return frames;
}

std::string FirstLines(const std::string& text, size_t count) {
    size_t end = 0;
    for (size_t i = 0; i < count && end != std::string::npos; ++i) {
        end = text.find('\n', end);
        if (end != std::string::npos) ++end;
    }
    return end == std::string::npos ? text : text.substr(0, end);
}

std::vector<std::string> CrlfLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t lf = text.find('\n', start);
        if (lf == std::string::npos || lf == start || text[lf - 1] != '\r') {
            ADD_FAILURE() << "line " << lines.size() + 1 << " does not end with CR LF";
            return lines;
        }
        lines.push_back(text.substr(start, lf - 1 - start));
        start = lf + 1;
    }
    return lines;
}

namespace {

std::string Between(const std::string& s, const std::string& open, const std::string& close) {
    const size_t a = s.find(open);
    if (a == std::string::npos) return {};
    const size_t b = s.find(close, a + open.size());
    return s.substr(a + open.size(), b == std::string::npos ? b : b - a - open.size());
}

}  // namespace

std::vector<WrittenAnimation> Animations(const std::vector<std::string>& lines) {
    std::vector<WrittenAnimation> animations;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.rfind("    <animation name='", 0) == 0) {
            animations.push_back({Between(l, "name='", "'"), Between(l, "length='", "'>"), {}});
        } else if (l.find("<track bone=") != std::string::npos && !animations.empty()) {
            animations.back().tracks.emplace_back();
        } else if (l.rfind("            <keyframe time='", 0) == 0 && !animations.empty() &&
                   !animations.back().tracks.empty()) {
            const std::string next = i + 1 < lines.size() ? lines[i + 1] : std::string();
            animations.back().tracks.back().push_back(
                {Between(l, "time='", "'>"), Between(next, "x='", "'")});
        }
    }
    return animations;
}

TempFolder::TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // The process id keeps two build folders' test runs apart.
    std::string name =
        "rigmend_" + std::to_string(getpid()) + "_" + info->test_suite_name() + "_" + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    path_ = fs::temp_directory_path() / name;
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace rigmend_test
