#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include "app/options_form.h"
#include "state/rg_state.h"
#include "state/settings_file.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "tests/app/editor_windows_fixture.h"
#include "viewport/gl_viewport.h"
#include "widgets/color_picker_button.h"
#include "widgets/float_spin_edit.h"

namespace {

class Preferences : public EditorWindowsTest {
protected:
    TOptionsForm& form() { return *windows.OptionsForm; }
    // Runs `command` with the dialog answered by `answer` once it is up.
    void WithDialog(const char* command, std::function<void(TOptionsForm&)> answer) {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(form().isVisible());
            answer(form());
            answered = true;
        });
        EXPECT_TRUE(editor.commands.Run(command));
        EXPECT_TRUE(answered);
    }
    static void Type(QAbstractSpinBox* box, const QString& text) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }
    rgViewportState& Viewport(int i) {
        return main.Viewports().at(static_cast<size_t>(i))->Viewport()->state;
    }
};

TEST_F(Preferences, OpensOnItsPageFilledFromTheState) {
    editor.state().maxUndoLevels = 5;
    editor.state().ikThreshold = 0.5f;
    editor.state().adaptiveGrid = true;
    editor.state().vertexColour = {ByteToColourChannel(51), 1.0f, 0.0f};
    WithDialog("Edit.Preferences", [](TOptionsForm& f) {
        EXPECT_EQ(f.windowTitle(), "Preferences");
        EXPECT_EQ(f.PageControl->currentIndex(), 0);
        EXPECT_EQ(f.PageControl->tabText(0), "General");
        EXPECT_EQ(f.PageControl->tabText(1), "Viewports");
        EXPECT_EQ(f.PageControl->tabText(2), "Colors");
        EXPECT_EQ(f.UndoEdit->value(), 5);
        EXPECT_EQ(f.IKThresholdEdit->text(), "0.5");
        EXPECT_EQ(f.VertexColorBtn->Color(), QColor(51, 255, 0));
        EXPECT_FALSE(f.GridSizeEdit->isEnabled());  // adaptive grid on
        f.AdaptiveBox->click();
        EXPECT_TRUE(f.GridSizeEdit->isEnabled());
        f.CancelBtn->click();
    });
    EXPECT_TRUE(editor.state().adaptiveGrid);  // Cancel changed nothing

    // A viewport window's "Advanced ..." opens it on the "Viewports" page.
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = form().isVisible();
        EXPECT_EQ(form().PageControl->currentIndex(), 1);
        form().CancelBtn->click();
    });
    TViewportForm* window = main.Viewports().front();
    ASSERT_NE(window->Configure_Advanced, nullptr);
    EXPECT_EQ(window->Configure_Advanced->text(), "Advanced ...");
    window->Configure_Advanced->trigger();
    EXPECT_TRUE(shown);
}

TEST_F(Preferences, ResetShowsTheResetValuesAndOnlyOkStoresThem) {
    const rgState before = editor.state();
    WithDialog("Edit.Preferences", [](TOptionsForm& f) {
        f.ResetBtn->click();
        EXPECT_EQ(f.GridSizeEdit->value(), 10.0);
        EXPECT_TRUE(f.AdaptiveBox->isChecked());
        EXPECT_FALSE(f.GridSizeEdit->isEnabled());
        EXPECT_EQ(f.MajorGridColorBtn->Color(), QColor(102, 102, 102));
        f.CancelBtn->click();
    });
    EXPECT_EQ(editor.state().gridSize, before.gridSize);
    WithDialog("Edit.Preferences", [](TOptionsForm& f) {
        f.ResetBtn->click();
        f.OkBtn->click();
    });
    EXPECT_EQ(editor.state().gridSize, 10.0f);
    EXPECT_EQ(editor.state().maxUndoLevels, 16);
    EXPECT_EQ(editor.state().ikMaxIterations, 100);
    EXPECT_EQ(ColourChannelToByte(editor.state().majorGridColour.x), 102);
}

// Values below their lowest are raised and shown raised; everything takes
// effect at once: undo limit, IK limit, grid and colours on screen.
TEST_F(Preferences, OkStoresClampedValuesThatTakeEffectAtOnce) {
    // A square whose corner vertices the viewport shows, one of them selected.
    rgMesh* square = editor.scene().CreateMesh();
    editor.scene().GetRootNode()->AttachChild(square);
    for (const vector3& c :
         {vector3(-20, -20, 0), vector3(20, -20, 0), vector3(20, 20, 0), vector3(-20, 20, 0)}) {
        rgVertex v;
        v.position = c;
        square->AddVertex(v, false);
    }
    square->AddFace(0, 1, 2);
    square->AddFace(0, 2, 3);
    square->GetVertex(0)->selected = true;
    Viewport(0).SetProjection(kProjFront);
    Viewport(0).orthoView = {0, 0, 0.02f};
    Viewport(0).adaptiveSpacing = 4.0f;

    WithDialog("Edit.Preferences", [&](TOptionsForm& f) {
        Type(f.UndoEdit, "0");
        Type(f.MaxIterationsEdit, "3");
        Type(f.IKThresholdEdit, "0.002");
        f.PageControl->setCurrentIndex(1);
        f.BackgroundBtn->PaletteCellClick(36);  // CCFFFF
        f.GridColorBtn->PaletteCellClick(5);    // 000080
        f.MajorGridColorBtn->askMoreColors = [](const QColor&, QWidget*) {
            return QColor(200, 0, 200);
        };
        f.MajorGridColorBtn->MoreColorsClick();
        f.AdaptiveBox->click();  // off: the spacing counts
        Type(f.GridSizeEdit, "0");
        Type(f.MajorGridLinesEdit, "1");
        f.PageControl->setCurrentIndex(2);
        f.VertexColorBtn->PaletteCellClick(21);     // 3366FF
        f.SelVertexColorBtn->PaletteCellClick(17);  // FF9900
        f.OkBtn->click();
    });
    // Every viewport took the grid; adaptive grids start again (before the
    // next frame adapts them).
    EXPECT_EQ(Viewport(0).gridSpacing, 0.01f);
    EXPECT_EQ(Viewport(0).majorLinesEvery, 2);
    EXPECT_EQ(Viewport(0).adaptiveSpacing, 0.25f);
    EXPECT_EQ(ColourChannelToByte(Viewport(0).gridColour.z), 0x80);

    const rgState& s = editor.state();
    EXPECT_EQ(s.maxUndoLevels, 2);
    EXPECT_EQ(s.ikMaxIterations, 3);
    EXPECT_FLOAT_EQ(s.ikThreshold, 0.002f);
    EXPECT_EQ(s.gridSize, 0.01f);
    EXPECT_EQ(s.majorLines, 2);
    EXPECT_FALSE(s.adaptiveGrid);
    EXPECT_EQ(ColourChannelToByte(s.backgroundColour.x), 0xCC);
    EXPECT_EQ(ColourChannelToByte(s.backgroundColour.z), 0xFF);
    EXPECT_EQ(ColourChannelToByte(s.majorGridColour.x), 200);

    // The next opening shows the raised values.
    WithDialog("Edit.Preferences", [](TOptionsForm& f) {
        EXPECT_EQ(f.UndoEdit->value(), 2);
        EXPECT_EQ(f.MajorGridLinesEdit->value(), 2);
        EXPECT_EQ(f.GridSizeEdit->text(), "0.01");
        f.CancelBtn->click();
    });

    // The undo limit holds at the next push.
    for (int i = 0; i < 5; ++i) editor.PushUndo("Step");
    EXPECT_EQ(editor.undo.Count(), 2);

    // The IK limit holds at the next solve.
    ASSERT_TRUE(Run(R"(
        local scene = GetScene()
        local function joint(parent, x, y)
          local j = scene:CreateBone()
          local m = matrix44:new()
          m:translate(x, y, 0)
          j:SetMatrix(m)
          parent:AttachChild(j)
          return j
        end
        local hand = joint(joint(joint(scene:GetRootNode(), 0, 0), 0, 2), 2, 0)
        SetEditLevel(1)
        ikSteps = SolveIK(hand, vector3:new(50, 0, 0))
        SetEditLevel(0)
    )"));
    ASSERT_TRUE(Run("assert(ikSteps == 3, 'steps ' .. tostring(ikSteps))"));

    // On screen: the new background, grid lines and vertex colours. With a
    // spacing of 0.01 the adaptive-off grid is too dense to tell, so widen it.
    editor.state().gridSize = 10.0f;
    Viewport(0).TakeGridSettings(editor.state());
    main.ShowVertices(true);  // as the vertex assignment tool does
    TGLViewport* view = main.Viewports().front()->Viewport();
    view->update();
    Settle();
    const QImage shot = view->grabFramebuffer();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(0xCC, 0xFF, 0xFF));
    int grid = 0, vertex = 0, selectedVertex = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            grid += c == QColor(0x00, 0x00, 0x80);
            vertex += c == QColor(0x33, 0x66, 0xFF);
            selectedVertex += c == QColor(0xFF, 0x99, 0x00);
        }
    }
    EXPECT_GT(grid, 100);
    EXPECT_GT(vertex, 3 * 20);  // three 8-pixel points
    EXPECT_GT(selectedVertex, 20);
    SaveShot(shot, "preferences_effect");
}

}  // namespace
