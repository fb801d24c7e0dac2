#include "app/menu_layout.h"

#include "editing/command_registry.h"

const TMenuLayout kFileMenu = {"File.New", "File.Open",   "File.Merge",  "File.Save", "File.SaveAs",
                               "-",        "File.Import", "File.Export", "-",         "File.Exit"};

const TMenuLayout kEditMenu = {"Edit.Undo",
                               "-",
                               "Edit.DuplicateObjects",
                               "Edit.MirrorObjects",
                               "Edit.DeleteObjects",
                               "-",
                               ">&Hide",
                               "Edit.HideSelected",
                               "Edit.HideUnselected",
                               ">By &Type",
                               "Edit.HideMeshes",
                               "Edit.HideJoints",
                               "<",
                               "<",
                               ">&Show",
                               "Edit.ShowAll",
                               ">By &Type",
                               "Edit.ShowMeshes",
                               "Edit.ShowJoints",
                               "<",
                               "<",
                               ">S&elect",
                               "Edit.SelectAll",
                               "Edit.SelectNone",
                               "Edit.InvertSelection",
                               "<",
                               "-",
                               "Edit.Preferences"};

const TMenuLayout kScriptsMenu = {"Scripts.RunScript", "Scripts.Console"};

const TMenuLayout kSkeletonMenu = {"Skeleton.AttachJoints",    "Skeleton.DetachJoints", "-",
                                   "Skeleton.BindSkin",        "Skeleton.DetachSkin",   "-",
                                   "Skeleton.AutoOrientJoints"};

const TMenuLayout kWindowsMenu = {"Windows.MaterialEditor", "Windows.Keyframer",
                                  "Windows.ToolOptions", "Windows.ScriptConsole",
                                  "Windows.KeyBrowser"};

const TMenuLayout kHelpMenu = {"Help.HelpPages", "-", "Help.About"};

void RegisterMenuPlaceholders(rgCommandRegistry& r) {
    const struct {
        const char* id;
        const char* caption;
        const char* shortcut;
    } placeholders[] = {
        {"File.New", "&New", ""},
        {"File.Open", "&Open", "Ctrl+O"},
        {"File.Merge", "&Merge", ""},
        {"File.Save", "&Save", "Ctrl+S"},
        {"File.SaveAs", "S&ave as ...", "Ctrl+A"},
        {"File.Import", "&Import ...", ""},
        {"File.Export", "&Export ...", ""},
        {"Edit.Preferences", "&Preferences ...", ""},
        {"Scripts.RunScript", "&Run Script ...", ""},
        {"Scripts.Console", "Script &Console", ""},
        {"Windows.MaterialEditor", "&Material Editor", ""},
        {"Windows.Keyframer", "&Keyframer Window", ""},
        {"Windows.ToolOptions", "&Tool Options Window", ""},
        {"Windows.ScriptConsole", "&Script Console Window", ""},
        {"Windows.KeyBrowser", "Key &Browser", ""},
        {"Help.About", "&About ...", ""},
    };
    for (const auto& p : placeholders)
        if (!r.Find(p.id)) r.Add({p.id, p.caption, p.shortcut, "", nullptr, nullptr, nullptr});
}
