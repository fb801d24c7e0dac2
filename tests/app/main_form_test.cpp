#include <gtest/gtest.h>

#include "app/main_form.h"
#include "editing/rg_state.h"
#include "tests/app/qt_test_environment.h"

namespace {

TEST(MainForm, TitleFollowsTheDocument) {
    EnsureQtApplication();
    rgState state;
    TMainForm form(state);
    EXPECT_EQ(form.windowTitle().toStdString(), "Kinemo - unnamed.rig");
    EXPECT_EQ(state.fileName, "unnamed.rig");

    state.modified = true;
    form.UpdateTitle();
    EXPECT_EQ(form.windowTitle().toStdString(), "Kinemo - unnamed.rig*");
    state.SetFileName("C:\\scenes\\walk.rig");  // the title keeps backslashes
    state.modified = false;
    form.UpdateTitle();
    EXPECT_EQ(form.windowTitle().toStdString(), "Kinemo - C:\\scenes\\walk.rig");
}

}  // namespace
