#include "editing/skin_commands.h"

#include "editing/rg_editor.h"

bool BindSkin(rgEditor& editor, const rgBindSkinSettings& settings, std::string* error) {
    rgBindSkinJob job;
    job.scene = &editor.scene();
    job.settings = settings;
    if (!job.Validate(error)) return false;
    editor.PushUndo("Bind Skin");
    job.Run();
    editor.view().RedrawViewports();
    return true;
}

void DetachSkin(rgEditor& editor) {
    editor.PushUndo("Detach Skin");
    DetachSkin(editor.scene());
    editor.view().RedrawViewports();
}
