#include <gtest/gtest.h>

#include <QGroupBox>
#include <QSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/bind_skin_form.h"
#include "app/command_dialogs_qt.h"
#include "app/main_menus.h"
#include "app/main_form.h"
#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "tests/app/qt_test_environment.h"
#include "widgets/float_spin_edit.h"

namespace {

TEST(BindSkinForm, ControlsDefaultsAndTheRigidSwitch) {
    EnsureQtApplication();
    TBindSkinForm form;
    EXPECT_EQ(form.windowTitle(), "Bind Skin");
    EXPECT_EQ(form.SkinTypeDropDown->currentText(), "deformable");
    EXPECT_EQ(form.JointsDropDown->currentText(), "2");
    EXPECT_EQ(form.JointsDropDown->count(), 3);
    EXPECT_EQ(form.FalloffEdit->text(), "5");
    EXPECT_EQ(form.DistanceEdit->text(), "15");
    EXPECT_DOUBLE_EQ(form.FalloffEdit->minimum(), 0.0001);
    EXPECT_DOUBLE_EQ(form.DistanceEdit->maximum(), 10000.0);
    form.SkinTypeDropDown->setCurrentText("rigid");
    for (QWidget* w :
         std::initializer_list<QWidget*>{form.FalloffEdit, form.DistanceEdit, form.JointsDropDown,
                                         form.Label2, form.Label3, form.Label4})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_TRUE(form.Settings().rigid);
    form.SkinTypeDropDown->setCurrentText("deformable");
    EXPECT_TRUE(form.DistanceEdit->isEnabled());
    EXPECT_FALSE(form.GeodesicBox->isEnabled());

    // The geodesic kind, with its own parameters.
    form.SkinTypeDropDown->setCurrentText("geodesic");
    EXPECT_TRUE(form.GeodesicBox->isEnabled());
    EXPECT_FALSE(form.DistanceEdit->isEnabled());
    EXPECT_EQ(form.ResolutionEdit->value(), 256);
    EXPECT_EQ(form.ResolutionEdit->minimum(), 32);
    EXPECT_EQ(form.ResolutionEdit->maximum(), 1024);
    form.ResolutionEdit->setValue(128);
    form.GeodesicFalloffEdit->setValue(0.25);
    form.GeodesicJointsDropDown->setCurrentText("3");
    const rgBindSkinSettings s = form.Settings();
    EXPECT_TRUE(s.geodesic);
    EXPECT_EQ(s.geodesicSettings.resolution, 128);
    EXPECT_FLOAT_EQ(s.geodesicSettings.falloff, 0.25f);
    EXPECT_EQ(s.geodesicSettings.jointsPerVertex, 3);
}

TEST(BindSkinForm, NumbersUseAPointInEveryLocaleAndOtherTextIsRefused) {
    EnsureQtApplication();
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TBindSkinForm form;
    QLineEdit* edit = form.DistanceEdit->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    struct Typed {
        const char* text;
        double value;
    } cases[] = {{"2.5", 2.5}, {"2,5", 25}, {"abc", 15}, {"20000", 15}};
    for (const Typed& c : cases) {
        form.DistanceEdit->setValue(15);
        edit->selectAll();
        QTest::keyClicks(edit, c.text);
        form.DistanceEdit->interpretText();
        EXPECT_DOUBLE_EQ(form.DistanceEdit->value(), c.value) << c.text;
    }
    QLocale::setDefault(saved);
}

TEST(BindSkinForm, TheMenuBindsOnOkKeepsTheValuesAndCancelChangesNothing) {
    EnsureQtApplication();
    rgEditor editor;
    TMainForm main(editor);
    rgBone* joint = editor.scene().CreateBone();
    editor.scene().GetRootNode()->AttachChild(joint);
    rgMesh* mesh = editor.scene().CreateMesh();
    editor.scene().GetRootNode()->AttachChild(mesh);
    rgVertex v;
    v.position.set(40, 0, 0);  // beyond the default max distance
    mesh->AddVertex(v, false);
    TCommandDialogs dialogs(main, editor.state());
    editor.SetDialogs(&dialogs);
    TBindSkinForm* dialog = dialogs.BindSkinForm;

    auto answer = [&](QPushButton* button, const char* type) {
        QTimer::singleShot(0, [=] {
            dialog->SkinTypeDropDown->setCurrentText(type);
            button->click();
        });
        main.Menus().commands().Action("Skeleton.BindSkin")->trigger();
    };
    answer(dialog->Button1, "rigid");
    EXPECT_FALSE(editor.undo.HasSteps());
    answer(dialog->Button2, "rigid");
    EXPECT_EQ(editor.undo.TopLabel(), "Bind Skin");
    EXPECT_EQ(mesh->GetVertex(0)->bone[0], joint->GetId());       // rigid: however far
    EXPECT_EQ(dialog->SkinTypeDropDown->currentText(), "rigid");  // kept for the next use
    main.Menus().commands().Action("Skeleton.DetachSkin")->trigger();
    EXPECT_EQ(editor.undo.TopLabel(), "Detach Skin");
    EXPECT_EQ(mesh->GetVertex(0)->bone[0], -1);
    editor.SetDialogs(nullptr);
}

}  // namespace
