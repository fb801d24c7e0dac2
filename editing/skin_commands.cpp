#include "editing/skin_commands.h"

#include "editing/rg_editor.h"

bool BindSkin(rgEditor& editor, const rgBindSkinSettings& settings, std::string* error) {
    if (settings.geodesic) return BindSkinGeodesic(editor, settings.geodesicSettings, error);
    rgBindSkinJob job;
    job.scene = &editor.scene();
    job.settings = settings;
    if (!job.Validate(error)) return false;
    editor.PushUndo("Bind Skin");
    job.Run();
    editor.view().RedrawViewports();
    return true;
}

bool BindSkinGeodesic(rgEditor& editor, const rgGeodesicBindSettings& settings, std::string* error,
                      size_t* fallback, const std::function<bool(float)>& progress) {
    rgGeodesicBindJob job;
    job.scene = &editor.scene();
    job.settings = settings;
    job.progress = progress;
    if (!job.Validate(error)) return false;
    const bool wasModified = editor.state().modified;
    editor.PushUndo("Bind Skin");
    if (!job.Run()) {  // cancelled: the job wrote nothing
        editor.DropNewestUndo();
        if (!wasModified) {
            editor.state().modified = false;
            editor.view().SetTitle(WindowTitle(editor.state()));
        }
        if (error) error->clear();
        return false;
    }
    if (fallback) *fallback = job.fallbackVertices;
    editor.view().RedrawViewports();
    return true;
}

void DetachSkin(rgEditor& editor) {
    editor.PushUndo("Detach Skin");
    DetachSkin(editor.scene());
    editor.view().RedrawViewports();
}
