#include "editing/editor_commands.h"

#include <chrono>
#include <string>

#include "editing/joint_commands.h"
#include "editing/key_commands.h"
#include "editing/object_commands.h"
#include "editing/rg_editor.h"
#include "editing/skin_commands.h"
#include "editing/tool_manager.h"
#include "editing/tool_table.h"

namespace {

void AddTools(rgEditor& e) {
    rgToolManager& tools = e.tools();
    for (int i = 0; i < kToolButtonCount; ++i) {
        const auto button = static_cast<rgToolButton>(i);
        const rgToolSpec& spec = *ToolSpec(button);
        e.commands.Add(
            {std::string("Tool.") + spec.name, spec.name, "", "",
             [&tools, button] { tools.Click(button); },
             [&tools, button] { return tools.IsAvailable(button) || tools.IsDown(button); },
             [&tools, button] { return tools.IsDown(button); }});
    }
}

}  // namespace

void RegisterEditingCommands(rgEditor& e) {
    rgCommandRegistry& c = e.commands;
    // The Keyframer's key buttons, at the Animation level.
    const auto animating = [&e] { return e.state().editLevel == kEditAnimation; };
    c.Add({"Animation.SetKeyframe", "Set Keyframe", "", "Set Keyframe",
           [&e] { SetKeyframe(e, false); }, animating, nullptr});
    c.Add({"Animation.SetKeyframeSelected", "Set Keyframe (Selected Joints)", "", "Set Keyframe",
           [&e] { SetKeyframe(e, true); }, animating, nullptr});
    c.Add({"Animation.DeleteKeyframe", "Delete Keyframe", "", "Delete Keyframe",
           [&e] { DeleteKeyframe(e, false); }, animating, nullptr});
    c.Add({"Animation.DeleteKeyframeSelected", "Delete Keyframe (Selected Joints)", "",
           "Delete Keyframe", [&e] { DeleteKeyframe(e, true); }, animating, nullptr});
    c.Add({"Edit.Undo", "Can't Undo", "Ctrl+Z", "", [&e] { e.Undo(); },
           [&e] { return e.undo.HasSteps(); }, nullptr});
    c.Add({"Edit.DuplicateObjects", "Duplicate Objects", "", "Duplicate Objects",
           [&e] { DuplicateObjects(e); }, nullptr, nullptr});
    c.Add({"Edit.MirrorObjects", "Mirror Objects", "", "Mirror Objects",
           [&e] {
               bool x = false, y = false, z = false;
               if (e.dialogs().AskMirrorAxes(x, y, z)) MirrorObjects(e, x, y, z);
           },
           nullptr, nullptr});
    c.Add({"Edit.DeleteObjects", "&Delete Objects", "Ctrl+Del", "Delete Objects",
           [&e] { DeleteObjects(e); }, nullptr, nullptr});
    c.Add({"Edit.HideSelected", "S&elected", "", "", [&e] { HideSelected(e); }, nullptr, nullptr});
    c.Add({"Edit.HideUnselected", "&Unselected", "", "", [&e] { HideUnselected(e); }, nullptr,
           nullptr});
    c.Add({"Edit.HideMeshes", "&Meshes", "", "", [&e] { HideMeshes(e); }, nullptr, nullptr});
    c.Add({"Edit.HideJoints", "&Joints", "", "", [&e] { HideJoints(e); }, nullptr, nullptr});
    c.Add({"Edit.ShowAll", "&All", "", "", [&e] { ShowAll(e); }, nullptr, nullptr});
    c.Add({"Edit.ShowMeshes", "&Meshes", "", "", [&e] { ShowMeshes(e); }, nullptr, nullptr});
    c.Add({"Edit.ShowJoints", "&Joints", "", "", [&e] { ShowJoints(e); }, nullptr, nullptr});
    c.Add({"Edit.SelectAll", "&All", "", "", [&e] { SelectAll(e); }, nullptr, nullptr});
    c.Add({"Edit.SelectNone", "&None", "", "", [&e] { SelectNone(e); }, nullptr, nullptr});
    c.Add({"Edit.InvertSelection", "&Invert Selection", "", "", [&e] { InvertSelection(e); },
           nullptr, nullptr});

    rgToolManager& tools = e.tools();
    c.Add({"Skeleton.AttachJoints", "Attach Joints", "", "Attach Joints",
           [&tools] { tools.Click(rgToolButton::AttachJoints); }, nullptr,
           [&tools] { return tools.IsDown(rgToolButton::AttachJoints); }});
    c.Add({"Skeleton.DetachJoints", "Detach Joints", "", "Detach Joints", [&e] { DetachJoints(e); },
           nullptr, nullptr});
    c.Add({"Skeleton.BindSkin", "Bind Skin", "", "Bind Skin",
           [&e] {
               rgBindSkinSettings settings;
               if (!e.dialogs().AskBindSkin(settings)) return;
               std::string error;
               bool ok = true;
               if (settings.geodesic) {
                   // A bind that takes longer than half a second shows its
                   // progress, with a Cancel that leaves the scene as it was.
                   const auto start = std::chrono::steady_clock::now();
                   bool shown = false;
                   auto progress = [&](float share) {
                       if (!shown && std::chrono::steady_clock::now() - start >
                                         std::chrono::milliseconds(500)) {
                           e.dialogs().BeginWork("Binding skin ...");
                           shown = true;
                       }
                       return !shown || e.dialogs().Working(share);
                   };
                   size_t fallback = 0;
                   ok = BindSkinGeodesic(e, settings.geodesicSettings, &error, &fallback, progress);
                   if (shown) e.dialogs().EndWork();
                   if (ok && fallback > 0)
                       error = std::to_string(fallback) +
                               " vertices no joint reached through the body were bound by "
                               "straight-line distance";
               } else {
                   ok = BindSkin(e, settings, &error);
               }
               if (!ok) {
                   if (!error.empty()) e.context.messages().ShowMessage("Bind Skin: " + error + ".");
                   return;
               }
               // Never silent about what the bind left undone.
               std::string report = ReportBind(e.scene()).Text();
               if (!error.empty()) report = report.empty() ? error : error + "; " + report;
               if (!report.empty()) e.context.messages().ShowStatus("Bind Skin: " + report);
           },
           nullptr, nullptr});
    c.Add({"Skeleton.DetachSkin", "Detach Skin", "", "Detach Skin", [&e] { DetachSkin(e); },
           nullptr, nullptr});
    c.Add({"Skeleton.AutoOrientJoints", "Auto Orient Joints", "", "Auto Orient Joints",
           [&e] { AutoOrientJoints(e); }, nullptr, nullptr});
    AddTools(e);
}
