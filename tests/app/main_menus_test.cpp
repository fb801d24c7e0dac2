#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "app/command_dialogs_qt.h"
#include "app/export_mesh_form.h"
#include "app/main_form.h"
#include "app/main_menus.h"
#include "app/mirror_form.h"
#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"
#include "scripting/script_context.h"
#include "tests/app/qt_test_environment.h"

namespace {

class MainMenus : public ::testing::Test {
protected:
    MainMenus() : form((EnsureQtApplication(), editor)) {
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    QStringList Items(QMenu* menu) {
        QStringList items;
        for (QAction* a : menu->actions()) items << (a->isSeparator() ? "-" : a->text());
        return items;
    }
    QAction* Action(const char* id) { return form.Menus().commands().Action(id); }

    rgEditor editor;
    TMainForm form;
};

TEST_F(MainMenus, MenusShowTheRegistrysCommandsAndTheirState) {
    EXPECT_EQ(
        Items(form.Menus().EditMenu),
        (QStringList{"Can't Undo", "-", "Duplicate Objects", "Mirror Objects", "&Delete Objects",
                     "-", "&Hide", "&Show", "S&elect", "-", "&Preferences ..."}));
    EXPECT_FALSE(Action("Edit.Undo")->isEnabled());
    EXPECT_FALSE(Action("Edit.Preferences")->isEnabled());  // comes with TEditorWindows
    EXPECT_EQ(Action("Edit.DeleteObjects")->shortcut(), QKeySequence("Ctrl+Del"));
    EXPECT_EQ(Items(form.Menus().FileMenu).last(), "E&xit");
    EXPECT_FALSE(form.Menus().Reopen1->menuAction()->isVisible());  // no recent files

    // The Undo item names the step; Ctrl+Z runs it.
    rgBone* joint = editor.scene().CreateBone();
    editor.scene().GetRootNode()->AttachChild(joint);
    joint->SetSelected(true);
    Action("Edit.DuplicateObjects")->trigger();
    EXPECT_EQ(Action("Edit.Undo")->text(), "&Undo: Duplicate Objects");
    EXPECT_TRUE(Action("Edit.Undo")->isEnabled());
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor.scene().GetRootNode()->GetChildCount(), 1);
    EXPECT_EQ(Action("Edit.Undo")->text(), "Can't Undo");
}

TEST_F(MainMenus, RecentFilesAndPluginCommandsFillTheirMenus) {
    form.Menus().recentFiles = [] {
        return std::vector<std::string>{"/scenes/walk.rig", "/scenes/run.rig"};
    };
    QMetaObject::invokeMethod(form.Menus().FileMenu, "aboutToShow");
    EXPECT_TRUE(form.Menus().Reopen1->menuAction()->isVisible());
    EXPECT_EQ(Items(form.Menus().Reopen1),
              (QStringList{"&1 /scenes/walk.rig", "&2 /scenes/run.rig"}));

    std::vector<std::string> ran;
    const std::vector<rgPluginCommand> commands = {{"mesh", "Smooth", "smooth()"},
                                                   {"Skeleton", "Mirror Bones", "mirror()"},
                                                   {"Mesh", "Smooth", "smooth()"},
                                                   {"Elsewhere", "Lost", "lost()"}};
    form.Menus().ShowPluginCommands(commands,
                                    [&](const std::string& chunk) { ran.push_back(chunk); });
    EXPECT_EQ(Items(form.Menus().MeshMenu), (QStringList{"Smooth", "Smooth"}));  // twice is twice
    EXPECT_EQ(Items(form.Menus().SkeletonMenu).last(), "Mirror Bones");
    form.Menus().SkeletonMenu->actions().last()->trigger();
    EXPECT_EQ(ran, (std::vector<std::string>{"mirror()"}));
}

TEST(SmallDialogs, MirrorKeepsItsAxesAndExportOptionsStartAfresh) {
    EnsureQtApplication();
    TMirrorForm mirror;
    bool x = false, y = false, z = false;
    QTimer::singleShot(0, [&] {
        mirror.yaxis->setChecked(true);
        mirror.OkBtn->click();
    });
    ASSERT_TRUE(mirror.Ask(x, y, z));
    EXPECT_TRUE(y);
    EXPECT_FALSE(x || z);
    QTimer::singleShot(0, [&] { mirror.CancelBtn->click(); });
    EXPECT_FALSE(mirror.Ask(x, y, z));
    EXPECT_TRUE(mirror.yaxis->isChecked());  // kept for the next use

    TExportMeshForm options;
    rgExportOptions chosen;
    QTimer::singleShot(0, [&] {
        options.AnimChecker->click();  // ticking one unticks the other
        EXPECT_FALSE(options.PoseChecker->isChecked());
        options.StartEdit->setValue(5);
        options.OkBtn->click();
    });
    ASSERT_TRUE(options.Ask(30, chosen));
    EXPECT_TRUE(chosen.animation);
    EXPECT_EQ(chosen.firstFrame, 5);
    EXPECT_EQ(chosen.lastFrame, 30);
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(options.PoseChecker->isChecked());  // the defaults again
        EXPECT_EQ(options.StartEdit->value(), 1);
        options.PoseChecker->click();  // unticking leaves both off
        EXPECT_FALSE(options.AnimChecker->isChecked());
        options.OkBtn->click();
    });
    ASSERT_TRUE(options.Ask(12, chosen));
    EXPECT_FALSE(chosen.animation);
}

}  // namespace

// The file dialogs' filters: Qt matches the patterns in the last parentheses,
// separated by blanks, whatever the description already says.
TEST(FileFilters, PluginPatternsBecomeTheFilterQtReads) {
    EXPECT_EQ(QtFilters("glTF 2.0 (*.gltf, *.glb)|*.gltf;*.glb|Wavefront OBJ|*.obj"),
              (QStringList{"glTF 2.0 (*.gltf *.glb)", "Wavefront OBJ (*.obj)"}));
    EXPECT_EQ(QtFilters("Assimp: FBX, ... (*.fbx;...)|*.fbx;*.dae"),
              (QStringList{"Assimp: FBX, ... (*.fbx *.dae)"}));
    EXPECT_EQ(QtFilters("(odd)|*.x|left over"), (QStringList{"(odd) (*.x)"}));
}
