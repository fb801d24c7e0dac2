#include <gtest/gtest.h>

#include "app/main_form.h"
#include "editing/rg_editor.h"
#include "tests/app/qt_test_environment.h"

namespace {

TEST(MainForm, TitleFollowsTheDocument) {
    EnsureQtApplication();
    rgEditor editor;
    rgState& state = editor.state();
    TMainForm form(editor);
    EXPECT_EQ(form.windowTitle().toStdString(), "Kinemo - unnamed.rig");
    EXPECT_EQ(state.fileName, "unnamed.rig");

    editor.PushUndo("Create Joint");  // an edit marks the title
    EXPECT_EQ(form.windowTitle().toStdString(), "Kinemo - unnamed.rig*");
    state.SetFileName("C:\\scenes\\walk.rig");  // the title keeps backslashes
    state.modified = false;
    form.UpdateTitle();
    EXPECT_EQ(form.windowTitle().toStdString(), "Kinemo - C:\\scenes\\walk.rig");
}

}  // namespace
