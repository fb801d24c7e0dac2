#include "editing/clip_commands.h"

#include <algorithm>

#include "editing/animation_control.h"
#include "editing/rg_editor.h"

namespace {

// Clips may reach past the total frames; the timeline then grows to hold them.
void FitTimeline(rgEditor& editor, const rgClip& clip) {
    if (clip.last > editor.state().totalFrames) editor.animation().EnterTotalFrames(clip.last);
}

}  // namespace

std::string ClipProblem(const rgScene& scene, const rgClip& clip, int index) {
    if (clip.name.empty()) return "name must not be empty";
    const std::vector<rgClip>& clips = scene.Clips();
    for (size_t i = 0; i < clips.size(); ++i)
        if (static_cast<int>(i) != index && clips[i].name == clip.name)
            return "name '" + clip.name + "' is already used by clip " + std::to_string(i);
    if (clip.first < 1) return "first must be 1 or more";
    if (clip.last < clip.first) return "last must be first or more";
    if (clip.last > 1000000) return "last must be 1000000 or less";
    return {};
}

int AddClip(rgEditor& editor, const rgClip& clip) {
    editor.PushUndo("Add Clip");
    std::vector<rgClip>& clips = editor.scene().Clips();
    clips.push_back(clip);
    FitTimeline(editor, clip);
    editor.animation().KeysChanged();
    return static_cast<int>(clips.size()) - 1;
}

void SetClip(rgEditor& editor, int index, const rgClip& clip) {
    editor.PushUndo("Change Clip");
    editor.scene().Clips()[static_cast<size_t>(index)] = clip;
    FitTimeline(editor, clip);
    editor.animation().KeysChanged();
}

bool DeleteClip(rgEditor& editor, int index) {
    std::vector<rgClip>& clips = editor.scene().Clips();
    if (index < 0 || static_cast<size_t>(index) >= clips.size()) return false;
    editor.PushUndo("Delete Clip");
    editor.scene().Clips().erase(editor.scene().Clips().begin() + index);
    editor.animation().KeysChanged();
    return true;
}

bool SelectClip(rgEditor& editor, int index) {
    const std::vector<rgClip>& clips = editor.scene().Clips();
    if (index < 0 || static_cast<size_t>(index) >= clips.size()) return false;
    const rgClip clip = clips[static_cast<size_t>(index)];
    rgState& state = editor.state();
    if (clip.last > state.totalFrames) editor.animation().EnterTotalFrames(clip.last);
    state.segmentStart = clip.first;
    state.segmentEnd = std::max(clip.last, clip.first);
    editor.animation().GoToFrame(clip.first);
    editor.animation().KeysChanged();
    return true;
}

std::string UnusedClipName(const rgScene& scene, const std::string& base) {
    auto used = [&](const std::string& name) {
        for (const rgClip& c : scene.Clips())
            if (c.name == name) return true;
        return false;
    };
    if (!used(base)) return base;
    for (int n = 2;; ++n)
        if (!used(base + " " + std::to_string(n))) return base + " " + std::to_string(n);
}

int AddClipFromPlaybackRange(rgEditor& editor) {
    rgClip clip;
    clip.name = UnusedClipName(editor.scene(), "Clip");
    clip.first = std::max(1, editor.state().segmentStart);
    clip.last = std::max(clip.first, editor.state().segmentEnd);
    return AddClip(editor, clip);
}

bool SetClipToPlaybackRange(rgEditor& editor, int index) {
    const std::vector<rgClip>& clips = editor.scene().Clips();
    if (index < 0 || static_cast<size_t>(index) >= clips.size()) return false;
    rgClip clip = clips[static_cast<size_t>(index)];
    clip.first = std::max(1, editor.state().segmentStart);
    clip.last = std::max(clip.first, editor.state().segmentEnd);
    SetClip(editor, index, clip);
    return true;
}

std::string RenameClip(rgEditor& editor, int index, const std::string& name) {
    const std::vector<rgClip>& clips = editor.scene().Clips();
    if (index < 0 || static_cast<size_t>(index) >= clips.size()) return "there is no such clip";
    rgClip clip = clips[static_cast<size_t>(index)];
    if (clip.name == name) return {};
    clip.name = name;
    std::string problem = ClipProblem(editor.scene(), clip, index);
    if (problem.empty()) SetClip(editor, index, clip);
    return problem;
}

int ClipAtFrame(const rgScene& scene, int frame) {
    const std::vector<rgClip>& clips = scene.Clips();
    for (size_t i = 0; i < clips.size(); ++i)
        if (clips[i].first <= frame && frame <= clips[i].last) return static_cast<int>(i);
    return -1;
}
