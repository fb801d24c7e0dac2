#include "rigmend/skeleton_rewrite.h"

#include <string_view>

#include "rigmend/clip_timing.h"
#include "rigmend/key_id_map.h"
#include "rigmend/line_cursor.h"
#include "rigmend/number_text.h"

namespace rigmend {

namespace {

constexpr std::string_view kAnimationsOpen = "  <animations>";
constexpr std::string_view kBoneMarker = "<bone id=";
constexpr std::string_view kBoneIdStart = "<bone id='";
constexpr std::string_view kKeyframesClose = "          </keyframes>";
constexpr int kLinesAfterKeyLine = 5;  // translate, rotate, axis, /rotate, /keyframe
constexpr int kClosingLines = 4;       // tracks, animation, animations, skeleton

class SkeletonRewriter {
public:
    SkeletonRewriter(const std::vector<std::string>& lines, BoneIdMap& bones, LineWriter& out)
        : in_(lines), bones_(bones), out_(out) {}

    bool Run(const std::vector<Clip>& clips, std::string* error) {
        if (clips.empty()) return Fail(error, "There are no clips to write.");
        if (!CopyBones(error)) return false;
        const std::string* animation = in_.Next();
        if (!animation) return EndsEarly(error);
        const float exportedLength = ExportedLength(*animation);
        const int largestTo = LargestTo(clips);
        const size_t tracksStart = in_.Position();
        for (size_t i = 0; i < clips.size(); ++i) {
            in_.Seek(tracksStart);  // every clip takes its keys from the same tracks
            const bool last = i + 1 == clips.size();
            if (!WriteClip(clips[i], ClipLength(exportedLength, largestTo, clips[i]), last))
                return EndsEarly(error);
        }
        return true;
    }

private:
    static bool Fail(std::string* error, std::string message) {
        if (error) *error = std::move(message);
        return false;
    }

    bool EndsEarly(std::string* error) const {
        return Fail(error, "The skeleton file ends early (after line " +
                               std::to_string(in_.LineCount()) +
                               "), before its exported animation is complete.");
    }

    // Copies everything up to and including "  <animations>", renumbering bone lines.
    bool CopyBones(std::string* error) {
        for (;;) {
            const std::string* line = in_.Next();
            if (!line)
                return Fail(
                    error, "The skeleton file has no line '" + std::string(kAnimationsOpen) + "'.");
            if (line->find(kBoneMarker) != std::string::npos) {
                out_.Write(RenumberedBone(*line, std::to_string(boneCount_++)));
                continue;
            }
            out_.Write(*line);
            if (*line == kAnimationsOpen) return true;
        }
    }

    // The bone line with the value of its id attribute replaced by `newId`.
    std::string RenumberedBone(const std::string& line, const std::string& newId) {
        const size_t marker = line.find(kBoneIdStart);
        if (marker == std::string::npos) return line;  // no quoted id to replace; still a bone
        const size_t start = marker + kBoneIdStart.size();
        size_t end = line.find('\'', start);
        if (end == std::string::npos) end = line.size();
        bones_.Set(std::string_view(line).substr(start, end - start), newId);
        return line.substr(0, start) + newId + line.substr(end);
    }

    // The value of length='...' in the animation line.
    static float ExportedLength(const std::string& line) {
        const size_t at = line.find("h='");
        if (at == std::string::npos) return 0.0f;
        std::string value = line.substr(at + 3);
        const size_t close = value.find("'>");
        if (close != std::string::npos) value.erase(close, 2);
        return ParseLeadingFloat(value);
    }

    // A key line's frame: the text after its first apostrophe without any "'>".
    static std::string FrameText(const std::string& line) {
        const size_t quote = line.find('\'');
        if (quote == std::string::npos) return {};
        std::string text = line.substr(quote + 1);
        for (size_t at; (at = text.find("'>")) != std::string::npos;) text.erase(at, 2);
        return text;
    }

    bool Copy(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string* line = in_.Next();
            if (!line) return false;
            out_.Write(*line);
        }
        return true;
    }

    bool Skip(int count) {
        for (int i = 0; i < count; ++i)
            if (!in_.Next()) return false;
        return true;
    }

    bool WriteClip(const Clip& clip, float clipLength, bool last) {
        out_.Write("    <animation name='" + clip.name + "' length='" + FormatFixed10(clipLength) +
                   "'>");
        keys_.Reset(clip);
        if (!in_.Next()) return false;  // the exported tracks opening line
        out_.Write("      <tracks>");
        for (int track = 0; track < boneCount_; ++track)
            if (!WriteTrack(clip, clipLength)) return false;
        if (last) return Copy(kClosingLines);
        out_.Write("      </tracks>");
        out_.Write("    </animation>");
        return true;
    }

    bool WriteTrack(const Clip& clip, float clipLength) {
        if (!Copy(2)) return false;  // track line, keyframes opening line
        for (;;) {
            const std::string* line = in_.Next();
            if (!line) return false;
            if (line->find(kKeyframesClose) != std::string::npos) {
                out_.Write(*line);
                return Copy(1);  // the track's closing line
            }
            const std::string frameText = FrameText(*line);
            const int frame = ParseLeadingInt(frameText);
            if (frame < clip.from || frame > clip.to) {
                if (!Skip(kLinesAfterKeyLine)) return false;
                continue;
            }
            const int index = ParseLeadingInt(keys_.Find(frameText));
            out_.Write("            <keyframe time='" +
                       FormatFixed10(KeyTime(clipLength, clip, index)) + "'>");
            if (!Copy(kLinesAfterKeyLine)) return false;
        }
    }

    LineCursor in_;
    BoneIdMap& bones_;
    LineWriter& out_;
    KeyIdMap keys_;
    int boneCount_ = 0;  // bone lines seen; the exporter writes one track per bone
};

}  // namespace

bool RewriteSkeleton(const std::vector<std::string>& lines, const std::vector<Clip>& clips,
                     BoneIdMap& bones, LineWriter& out, std::string* error) {
    return SkeletonRewriter(lines, bones, out).Run(clips, error);
}

}  // namespace rigmend
