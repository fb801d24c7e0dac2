#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace rigmend_test {

struct FixtureBone {
    std::string id;
    std::string name;
};

// A skeleton file in the exporter's layout: the bones in the given order, one
// exported animation of `length` seconds with a track per bone and a key at
// every frame of `frames` on each track. A key's translate line carries its
// frame as x and its track's position as y, so a test can follow where a
// key's lines went.
std::string SkeletonText(const std::vector<FixtureBone>& bones, const std::string& length,
                         const std::vector<int>& frames, const std::string& eol = "\n");

// A mesh file in the exporter's layout: one assignment line per bone index
// (eight leading spaces, five fields) and a skeleton link naming `linkPath`.
std::string MeshText(const std::vector<std::string>& boneIndices, const std::string& linkPath,
                     const std::string& eol = "\n");

// Frames first..last.
std::vector<int> FrameRange(int first, int last);

// The first `count` lines of `text` (LF line ends), each with its line end.
std::string FirstLines(const std::string& text, size_t count);

// Lines of CRLF-ended output. Fails the current test when a line end is
// anything but CR LF.
std::vector<std::string> CrlfLines(const std::string& text);

struct WrittenKey {
    std::string time;   // as written
    std::string frame;  // the x of the key's translate line
};

struct WrittenAnimation {
    std::string name;
    std::string length;
    std::vector<std::vector<WrittenKey>> tracks;
};

// The animations of a rewritten skeleton file.
std::vector<WrittenAnimation> Animations(const std::vector<std::string>& lines);

// A scratch folder removed with its contents at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, const std::string& text);
std::string ReadFile(const std::filesystem::path& path);

}  // namespace rigmend_test
