#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QDir>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cstring>

#include "imageio/qt_image_decoder.h"
#include "app/arrange_dialog.h"
#include "app/background_form.h"
#include "app/main_form.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "tests/app/qt_test_environment.h"
#include "viewport/gl_viewport.h"
#include "viewport/navigation.h"
#include "viewport/window_layout.h"

namespace {

// The main window shown at a fixed size, with its start-up viewport window.
class ViewportWindows : public ::testing::Test {
protected:
    ViewportWindows() : form((EnsureQtApplication(), editor)) {
        form.resize(1000, 700);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        Settle();
    }
    static void Settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    TViewportForm* Window(int i) const { return form.Viewports().at(static_cast<size_t>(i)); }
    // The window entries: the items after the menu's last separator.
    QStringList WindowsMenuEntries() const {
        // One entry per window after the menu's last separator.
        QStringList entries;
        for (QAction* a : form.WindowsMenu()->actions()) {
            if (a->isSeparator())
                entries.clear();
            else
                entries << a->text();
        }
        return entries;
    }
    void CloseAllAndOpen(int n) {
        form.CloseAllViewports1Click();
        for (int i = 0; i < n; ++i) form.NewViewport();
        Settle();
    }

    rgEditor editor;
    TMainForm form;
};

TEST_F(ViewportWindows, StartsWithOneFittedPerspectiveWindow) {
    ASSERT_EQ(form.Count(), 1);
    EXPECT_EQ(Window(0)->Title(), "Perspective:1");
    EXPECT_EQ(Window(0)->geometry(), form.FittedGeometry());
    EXPECT_EQ(form.FittedGeometry().size(), form.Backdrop()->viewport()->size());
    EXPECT_EQ(form.windowTitle().toStdString(), "Kinemo - unnamed.rig");
    EXPECT_TRUE(Window(0)->Configure_Projection[kProjPerspective]->isChecked());
    EXPECT_TRUE(Window(0)->Configure_DrawMode[kDrawTextured]->isChecked());
    EXPECT_TRUE(Window(0)->Configure_ShowGrid->isChecked());
    EXPECT_FALSE(Window(0)->Configure_DrawBackfaces->isChecked());
    EXPECT_TRUE(Window(0)->Perspective_Toolbar->isVisible());
    EXPECT_FALSE(Window(0)->Ortho_Toolbar->isVisible());
    EXPECT_EQ(Window(0)->XLabel->text(), "000.000");
}

TEST_F(ViewportWindows, TitlesCountWindowsOfTheSameProjection) {
    form.NewViewport();
    EXPECT_EQ(Window(1)->Title(), "Perspective:2");
    EXPECT_EQ(Window(1)->size(),
              QSize(TViewportForm::kDefaultWidth, TViewportForm::kDefaultHeight));
    Window(0)->Configure_TopClick();
    EXPECT_EQ(Window(0)->Title(), "Top:1");
    EXPECT_EQ(Window(1)->Title(), "Perspective:2");  // others keep their titles
    EXPECT_TRUE(Window(0)->Ortho_Toolbar->isVisible());
    EXPECT_FALSE(Window(0)->Perspective_Toolbar->isVisible());
    EXPECT_EQ(WindowsMenuEntries(), (QStringList{"Top:1", "Perspective:2"}));
}

TEST_F(ViewportWindows, ArrangeLayoutsForOneToSixWindows) {
    std::vector<std::pair<int, int>> asked;
    int answer = 1;
    form.chooseArrangement = [&](int n, int choices) {
        asked.emplace_back(n, choices);
        return answer;
    };
    for (int n = 1; n <= 6; ++n) {
        CloseAllAndOpen(n);
        const int choices = ArrangeChoiceCount(n);
        for (int choice = 1; choice <= std::max(1, choices); ++choice) {
            asked.clear();
            answer = choice;
            Window(0)->Maximized1->trigger();  // an arrangement takes the mark away
            form.ArrangeViewports1Click();
            EXPECT_EQ(asked.size(), choices ? 1u : 0u) << n;
            const QRect area = form.FittedGeometry();
            const std::vector<rgWindowRect> rects =
                ArrangeWindows(n, choice, area.width(), area.height());
            for (int i = 0; i < n; ++i) {
                const rgWindowRect& r = rects[static_cast<size_t>(i)];
                EXPECT_EQ(Window(i)->geometry(), QRect(r.left, r.top, r.width, r.height))
                    << n << " windows, layout " << choice << ", window " << i + 1;
            }
            EXPECT_FALSE(Window(0)->IsMaximizedMarked());
        }
    }
    // "Cancel" changes nothing.
    CloseAllAndOpen(2);
    const QRect before = Window(1)->geometry();
    answer = 0;
    form.ArrangeViewports1Click();
    EXPECT_EQ(Window(1)->geometry(), before);
    // No windows: nothing to do.
    form.CloseAllViewports1Click();
    form.ArrangeViewports1Click();
}

TEST_F(ViewportWindows, MaximizedRestoresTheExactPlace) {
    TViewportForm* w = form.NewViewport();
    w->setGeometry(37, 41, 300, 211);
    w->Maximized1->trigger();
    EXPECT_TRUE(w->IsMaximizedMarked());
    EXPECT_EQ(w->geometry(), form.FittedGeometry());
    w->Maximized1->trigger();
    EXPECT_EQ(w->geometry(), QRect(37, 41, 300, 211));
}

TEST_F(ViewportWindows, CloneCopiesViewAndCheckMarks) {
    TViewportForm* source = Window(0);
    source->Configure_TopClick();
    source->Configure_WireframeClick();
    source->Configure_ShowGrid->trigger();
    source->Configure_DrawBackfaces->trigger();
    source->Viewport()->state.orthoView.set(3, -4, 0.05f);
    source->CloneViewport->trigger();
    ASSERT_EQ(form.Count(), 2);
    TViewportForm* copy = Window(1);
    const rgViewportState& s = copy->Viewport()->state;
    EXPECT_EQ(s.projection, kProjTop);
    EXPECT_EQ(s.drawMode, kDrawWireframe);
    EXPECT_FALSE(s.showGrid);
    EXPECT_TRUE(s.drawBackfaces);
    EXPECT_TRUE(s.orthoView.isequal({3, -4, 0.05f}, 0));
    EXPECT_EQ(copy->Title(), "Top:2");
    EXPECT_TRUE(copy->Configure_Projection[kProjTop]->isChecked());
    EXPECT_FALSE(copy->Configure_Projection[kProjPerspective]->isChecked());
    EXPECT_TRUE(copy->Configure_DrawMode[kDrawWireframe]->isChecked());
    EXPECT_FALSE(copy->Configure_ShowGrid->isChecked());
    EXPECT_TRUE(copy->Configure_DrawBackfaces->isChecked());
    EXPECT_TRUE(copy->Ortho_Toolbar->isVisible());
}

TEST_F(ViewportWindows, ClosingTheActiveWindowLeavesNoDanglingActiveWindow) {
    TViewportForm* second = form.NewViewport();
    form.Backdrop()->setActiveSubWindow(second);
    Settle();
    EXPECT_EQ(form.ActiveViewportForm(), second);
    QPointer<TViewportForm> watched(second);
    second->Close1Click();
    Settle();
    EXPECT_EQ(form.Count(), 1);
    EXPECT_NE(form.ActiveViewportForm(), second);
    EXPECT_TRUE(watched.isNull());  // destroyed once it left the list
    EXPECT_EQ(WindowsMenuEntries(), (QStringList{"Perspective:1"}));
}

TEST_F(ViewportWindows, ScriptViewOfViewports) {
    const int id = form.Create();
    ASSERT_EQ(form.Count(), 2);
    EXPECT_EQ(form.IdAt(1), id);
    EXPECT_EQ(form.IdAt(2), -1);
    rgViewportState* state = form.Find(id);
    ASSERT_NE(state, nullptr);
    state->SetProjection(kProjLeft);
    state->drawMode = kDrawFlat;
    state->showGrid = false;
    state->left = 10, state->top = 20, state->width = 300, state->height = 200;
    form.Changed(id, true);
    TViewportForm* w = form.FindViewportForm(id);
    EXPECT_EQ(w->Title(), "Left:1");
    EXPECT_TRUE(w->Configure_Projection[kProjLeft]->isChecked());
    EXPECT_TRUE(w->Configure_DrawMode[kDrawFlat]->isChecked());
    EXPECT_FALSE(w->Configure_ShowGrid->isChecked());
    EXPECT_TRUE(w->Ortho_Toolbar->isVisible());
    EXPECT_EQ(w->geometry(), QRect(10, 20, 300, 200));
    // A moved window reports its new rectangle.
    w->move(50, 60);
    EXPECT_EQ(state->left, 50);
    EXPECT_EQ(state->top, 60);
    EXPECT_EQ(form.BackdropWidth(), form.FittedGeometry().width());
    form.CloseAll();
    EXPECT_EQ(form.Count(), 0);
    EXPECT_EQ(form.Find(id), nullptr);
}

TEST_F(ViewportWindows, NavigationButtonsExcludeEachOtherAcrossWindows) {
    editor.tools().Click(rgToolButton::EditTranslate);
    TViewportForm* first = Window(0);
    TViewportForm* second = form.NewViewport();
    second->Configure_FrontClick();
    first->PerspectiveRotateBtn->trigger();
    EXPECT_EQ(editor.tools().ActiveButton(), rgToolButton::None);  // a camera button stops the tool
    EXPECT_EQ(first->Viewport()->state.navMode, kNavPerspRotate);
    EXPECT_EQ(form.ToolStatusPanel()->text(), "Drag to rotate camera");
    second->OrthoMoveBtn->trigger();
    EXPECT_FALSE(first->PerspectiveRotateBtn->isChecked());
    EXPECT_EQ(first->Viewport()->state.navMode, kNavNone);
    EXPECT_EQ(second->Viewport()->state.navMode, kNavOrthoPan);
    EXPECT_EQ(form.ToolStatusPanel()->text(), "Drag to pan viewport");
    second->OrthoMoveBtn->trigger();  // pressing a pressed button releases it
    EXPECT_EQ(second->Viewport()->state.navMode, kNavNone);
    EXPECT_EQ(form.ToolStatusPanel()->text(), "");
    // A tool going on releases every camera button.
    second->OrthoMoveBtn->trigger();
    editor.tools().Click(rgToolButton::EditSelect);
    EXPECT_FALSE(second->OrthoMoveBtn->isChecked());
    EXPECT_EQ(second->Viewport()->state.navMode, kNavNone);
    editor.tools().Click(rgToolButton::EditSelect);
    EXPECT_EQ(second->CameraMoveZBtn->toolTip(), "Move camera in  Z direction");
    // Choosing a projection releases the buttons.
    second->OrthoZoomBtn->trigger();
    second->Configure_BackClick();
    EXPECT_FALSE(second->OrthoZoomBtn->isChecked());
    EXPECT_EQ(second->Viewport()->state.navMode, kNavNone);
}

struct Recorded {
    std::vector<std::string> events;
};

rgToolHandlers RecordingHandlers(Recorded& r) {
    rgToolHandlers h;
    h.mouseDown = [&r](int b, int, int x, int y, rgToolViewport&) {
        r.events.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," +
                           std::to_string(y));
    };
    h.mouseUp = [&r](int b, int shift, int x, int y, rgToolViewport&) {
        r.events.push_back("up " + std::to_string(b) + " " + std::to_string(x) + "," +
                           std::to_string(y) + " " + std::to_string(shift));
    };
    h.mouseMove = [&r](int, int x, int y, rgToolViewport&) {
        r.events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    };
    return h;
}

TEST_F(ViewportWindows, MouseEventsReachTheToolAfterNavigation) {
    Recorded r;
    form.InstallToolHandlers(RecordingHandlers(r));
    TViewportForm* later = form.NewViewport();
    EXPECT_TRUE(static_cast<bool>(
        later->toolHandlers.mouseDown));  // new windows get the active tool at once
    Settle();
    TGLViewport* v = Window(0)->Viewport();
    const vector3 before = v->state.perspOffset;
    QTest::mousePress(v, Qt::MiddleButton, {}, QPoint(100, 100));
    QTest::mouseMove(v, QPoint(110, 100));
    QTest::mouseRelease(v, Qt::MiddleButton, {}, QPoint(110, 100));
    EXPECT_FLOAT_EQ(v->state.perspOffset.x, before.x + 1.0f);  // the view moved
    EXPECT_EQ(v->state.navMode, kNavNone);
    EXPECT_EQ(r.events,
              (std::vector<std::string>{"move 110,100"}));  // no press or release for the tool
    EXPECT_NE(Window(0)->XLabel->text(), "000.000");        // the read-out follows the pointer

    r.events.clear();
    QTest::mousePress(v, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(r.events, (std::vector<std::string>{"down 0 20,30"}));
    // The window loses activation mid-drag: the tool gets a left release at (0, 0).
    form.Backdrop()->setActiveSubWindow(later);
    Settle();
    if (v->nav.buttonDown) {  // the window manager did not deactivate it: do what it would
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(v, &deactivate);
    }
    EXPECT_FALSE(v->nav.buttonDown);
    ASSERT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[1], "up 0 0,0 0");
}

TEST_F(ViewportWindows, WheelZoomsTheWindowsViewport) {
    TViewportForm* w = Window(0);
    w->Configure_FrontClick();
    // A wheel turn over the viewport reaches its window (synthesized events
    // do not travel up to parents, so it is sent to the window itself).
    auto turn = [&](int delta) {
        QWheelEvent e(QPointF(50, 50), w->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(w, &e);
    };
    turn(120);
    EXPECT_FLOAT_EQ(w->Viewport()->state.orthoView.z, 0.01f * 1.15f);
    turn(-60);  // half a notch waits for the other half
    EXPECT_FLOAT_EQ(w->Viewport()->state.orthoView.z, 0.01f * 1.15f);
    turn(-60);
    EXPECT_FLOAT_EQ(w->Viewport()->state.orthoView.z, 0.01f * 1.15f * 0.85f);
}

TEST_F(ViewportWindows, SnapshotIsAWindowsBitmapOfTheViewport) {
    QTemporaryDir dir;
    TViewportForm* w = Window(0);
    const QString path = dir.filePath("shot.bmp");
    w->chooseSnapshotFile = [&](TViewportForm&) { return path; };
    w->SaveSnapshot1Click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(54);
    ASSERT_EQ(header.size(), 54);
    EXPECT_EQ(header.left(2), QByteArray("BM"));
    int32_t width = 0, height = 0;
    int16_t bits = 0;
    std::memcpy(&width, header.constData() + 18, 4);
    std::memcpy(&height, header.constData() + 22, 4);
    std::memcpy(&bits, header.constData() + 28, 2);
    EXPECT_EQ(width, w->Viewport()->width());
    EXPECT_EQ(std::abs(height), w->Viewport()->height());
    EXPECT_EQ(bits, 24);
    // The background colour fills the empty scene's border pixel.
    const QImage image(path);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(192, 192, 192));

    w->chooseSnapshotFile = [](TViewportForm&) { return QString(); };  // cancelled: nothing written
    w->SaveSnapshot1Click();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(ViewportWindows, SharedListsAreRebuiltByTheFirstPanelAgain) {
    Settle();
    EXPECT_TRUE(form.SharedLists().Built());
    EXPECT_EQ(form.SharedLists().BuildCount(), 1);
    form.NewViewport();
    Settle();
    EXPECT_EQ(form.SharedLists().BuildCount(), 1);  // later panels share
    form.CloseAllViewports1Click();
    Settle();
    EXPECT_FALSE(form.SharedLists().Built());
    form.NewViewport();
    Settle();
    EXPECT_TRUE(form.SharedLists().Built());
    EXPECT_EQ(form.SharedLists().BuildCount(), 2);
}

TEST_F(ViewportWindows, TexturesAreUploadedWhileAViewportExists) {
    QTemporaryDir dir;
    QImage checker(8, 8, QImage::Format_RGB32);
    checker.fill(Qt::red);
    const QString path = dir.filePath("red.png");
    ASSERT_TRUE(checker.save(path));
    static rgQtImageDecoder decoder;
    editor.context.textures.SetDecoder(&decoder);
    rgTexture* texture = editor.context.textures.AddTexture(path.toStdString());
    ASSERT_NE(texture, nullptr);
    EXPECT_NE(texture->graphicsName, 0u);
    form.CloseAllViewports1Click();
    EXPECT_EQ(texture->graphicsName, 0u);  // released with the last context
    form.NewViewport();
    Settle();
    EXPECT_NE(texture->graphicsName, 0u);  // the new first panel uploaded it again
}

TEST_F(ViewportWindows, HintsGoToTheFirstStatusPanel) {
    QStatusTipEvent tip("Zoom All");
    QCoreApplication::sendEvent(Window(0)->ZoomAllBtn, &tip);
    EXPECT_EQ(form.HintPanel()->text(), "Zoom All");
    EXPECT_EQ(form.HintPanel()->width(), 255);
}

TEST(ArrangeDialog, OffersOnePictureButtonPerLayout) {
    EnsureQtApplication();
    for (const auto& [n, buttons] : {std::pair{2, 2}, std::pair{3, 4}, std::pair{6, 2}}) {
        TArrangeForm dialog(n);
        EXPECT_EQ(dialog.windowTitle(), "Arrange");
        EXPECT_EQ(dialog.findChildren<QToolButton*>().size(), buttons) << n;
        QToolButton* last = dialog.findChild<QToolButton*>(QString("LayoutBtn%1").arg(buttons));
        ASSERT_NE(last, nullptr);
        last->click();
        EXPECT_EQ(dialog.result(), buttons);
    }
    TArrangeForm dialog(3);
    QPushButton* cancel = nullptr;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == "Cancel") cancel = b;
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    EXPECT_EQ(dialog.result(), 0);
}

}  // namespace
