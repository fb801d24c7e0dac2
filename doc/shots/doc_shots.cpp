// Makes the manual's pictures: the editor puts up its windows as the program
// does, opens the example scene, brings each window into a known state and
// photographs it. Run by the build (and `make doc`), so the pictures always
// show the editor as it is.
//
//   kinemo_doc_shots OUTPUT_FOLDER PROGRAM_FOLDER EXAMPLE_SCENE

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string>

#include <lua.hpp>

#include "imageio/qt_image_decoder.h"
#include "app/about_form.h"
#include "app/arrange_dialog.h"
#include "app/bind_skin_form.h"
#include "app/command_dialogs_qt.h"
#include "app/console_form.h"
#include "app/editor_windows.h"
#include "app/export_mesh_form.h"
#include "app/joint_limits_form.h"
#include "app/key_info_form.h"
#include "app/key_timeline_view.h"
#include "app/keyframe_form.h"
#include "app/main_form.h"
#include "app/material_form.h"
#include "app/mirror_form.h"
#include "app/number_dialog.h"
#include "app/progress_form.h"
#include "app/tool_options_form.h"
#include "app/tool_windows.h"
#include "app/script_ui_qt.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scripting/console_model.h"
#include "scripting/document_session.h"
#include "scripting/file_commands.h"
#include "scripting/recent_files.h"
#include "scripting/script_environment.h"
#include "scripting/script_server.h"
#include "viewport/gl_panel.h"
#include "viewport/gl_viewport.h"
#include "widgets/color_picker_button.h"
#include "widgets/float_spin_edit.h"

namespace {

int g_failures = 0;

void Settle(int rounds = 8) {
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(15);
    }
}

// A window as the manual shows it: its picture under a plain title bar
// (the test display has no window manager to draw one).
QImage Framed(const QImage& content, const QString& title) {
    constexpr int kBar = 22;
    QImage out(content.width() + 2, content.height() + kBar + 1, QImage::Format_RGB32);
    out.fill(QColor(70, 80, 96));
    QPainter p(&out);
    p.fillRect(QRect(1, 1, out.width() - 2, kBar - 1), QColor(96, 112, 140));
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(8, 1, out.width() - 16, kBar - 1), Qt::AlignVCenter | Qt::AlignLeft, title);
    p.drawImage(1, kBar, content);
    return out;
}

class Shots {
public:
    explicit Shots(const QString& folder) : folder_(folder) { QDir().mkpath(folder); }

    void Save(const QImage& image, const char* name) {
        const QString path = QDir(folder_).filePath(QString(name) + ".png");
        if (image.isNull() || !image.save(path)) {
            std::fprintf(stderr, "doc shots: %s could not be made\n", name);
            ++g_failures;
        }
    }
    // A window framed with its title.
    void Window(QWidget& window, const char* name, const QString& title = QString()) {
        Settle();
        Save(Framed(window.grab().toImage(), title.isEmpty() ? window.windowTitle() : title), name);
    }
    // A modal dialog: `prepare` fills it while it is up, then it is closed.
    void Modal(QDialog& dialog, const char* name, const std::function<void()>& open,
               const std::function<void()>& prepare = nullptr) {
        QTimer::singleShot(0, [&] {
            if (prepare) prepare();
            Window(dialog, name);
            dialog.reject();
        });
        open();
    }

private:
    QString folder_;
};

QImage Filled(int w, int h, const std::function<QColor(int, int)>& colour) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixelColor(x, y, colour(x, y));
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: kinemo_doc_shots OUTPUT_FOLDER PROGRAM_FOLDER EXAMPLE_SCENE\n");
        return 2;
    }
    TGLPanel::PrepareApplication();
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    QApplication::setFont(font);
    QApplication::setCursorFlashTime(0);  // a cursor that does not blink
    const QString output = QString::fromLocal8Bit(argv[1]);
    std::string programFolder = argv[2];
    if (!programFolder.empty() && programFolder.back() != '/') programFolder += '/';
    const std::string exampleScene = argv[3];
    QTemporaryDir scratch;
    Shots shots(output);

    rgQtImageDecoder images;
    rgEditor editor;
    editor.context.textures.SetDecoder(&images);
    {
        TMainForm main(editor);
        TCommandDialogs dialogs(main, editor.state());
        editor.SetDialogs(&dialogs);
        rgConsoleModel console(scratch.filePath("console.log").toStdString(), LUA_VERSION);
        TScriptUi ui;
        rgScriptEnvironment scripting(editor, main, console, ui, programFolder);
        TEditorWindows windows(main, editor, scripting.server(), console);
        ui.SetWindows(&windows);
        rgRecentFiles recent;
        rgDocumentSession session(scripting.context(), recent);
        RegisterFileCommands(scripting.context(), session);
        const auto run = [&](const std::string& chunk) {
            if (!scripting.server().RunString(chunk)) {
                std::fprintf(stderr, "doc shots: script failed: %s\n",
                             scripting.server().LastError().c_str());
                ++g_failures;
            }
        };
        main.move(0, 0);
        main.resize(960, 640);
        main.show();
        Settle();
        scripting.RunStartupScripts(true);
        if (!session.Load(exampleScene)) {
            std::fprintf(stderr, "doc shots: %s did not open\n", exampleScene.c_str());
            ++g_failures;
        }
        Settle();

        // The editor with the example scene, the tube's skeleton selected.
        TViewportForm* first = main.Viewports().front();
        first->ZoomAllBtnClick();
        run("GetScene():GetRootNode():GetChild(0):SetSelected(1) RedrawViewports()");
        editor.tools().Click(rgToolButton::EditRotate);
        Settle();
        shots.Window(main, "editor");

        // Four views of it.
        editor.tools().Click(rgToolButton::EditRotate);
        run("SelectNone()");
        while (main.Viewports().size() < 4) main.NewViewport();
        main.ArrangeViewports1Click();
        const int projections[] = {0, 4, 2, 6};  // top, front, left, perspective
        for (int i = 0; i < 4; ++i) {
            TViewportForm& view = *main.Viewports()[static_cast<size_t>(i)];
            view.SelectProjection(projections[i]);
            // From above, the open tube shows only as wires.
            view.Viewport()->state.drawMode = i == 0 ? kDrawWireframe : kDrawSmooth;
            view.SyncFromState();
            view.ZoomAllBtnClick();
        }
        Settle();
        shots.Window(main, "viewports");

        // Weights of the middle joint under the vertex assignment tool.
        main.CloseAllViewports1Click();
        main.FitViewport(*main.NewViewport());
        main.Viewports().front()->SelectProjection(4);
        main.Viewports().front()->ZoomAllBtnClick();
        run("local m = GetScene():GetRootNode():GetChild(0):GetChild(0) m:SetSelected(1)");
        editor.tools().Click(rgToolButton::EditVertexAssign);
        Settle();
        shots.Window(main, "vertex_tool");
        editor.tools().Click(rgToolButton::EditVertexAssign);

        // The Animation level, posed at frame 24, with the rotate tool.
        run("SelectNone() SetEditLevel(1) SetFrame(24)"
            " GetScene():GetRootNode():GetChild(0):GetChild(0):SetSelected(1) RedrawViewports()");
        main.Viewports().front()->SelectProjection(6);
        main.Viewports().front()->ZoomAllBtnClick();
        editor.tools().Click(rgToolButton::AnimateRotate);
        Settle();
        shots.Window(main, "animation_level");
        editor.tools().Click(rgToolButton::AnimateRotate);

        // The Keyframer with keys at 1, 12 and 24 on the two lower joints, and two clips.
        run("local a = GetScene():GetRootNode():GetChild(0) local b = a:GetChild(0)"
            " local m = matrix44:new() a:SetKey(1, m) b:SetKey(1, m)"
            " m:rotate_z(0.3) a:SetKey(12, m) b:SetKey(12, m)"
            " m:rotate_z(0.3) a:SetKey(24, m) b:SetKey(24, m)"
            " SelectNone() b:SetSelected(1) SetFrame(24)"
            " AddClip('Wave', 1, 24, true) AddClip('Rest', 25, 48)");
        TToolWindows& toolWindows = main.ToolWindows();
        toolWindows.FramesChanged();
        toolWindows.RepaintKeys();
        toolWindows.Keyframer->resize(700, 200);
        toolWindows.Keyframer->show();
        toolWindows.Keyframer->TreeView->expandAll();
        shots.Window(*toolWindows.Keyframer, "keyframer", "Keyframer");

        // Key Info on the middle joint's second key, and its Joint Limits.
        rgBone* middle = nullptr;
        for (rgSceneNode* node = editor.scene().GetFirstNode(); node;
             node = editor.scene().GetNextNode())
            if (auto* joint = dynamic_cast<rgBone*>(node); joint && joint->GetSelected())
                middle = joint;
        TKeyInfoForm& keyInfo = *toolWindows.KeyInfo;
        shots.Modal(
            keyInfo, "key_info", [&] { keyInfo.Open(middle); },
            [&] { keyInfo.NextKeyBtn->click(); });
        if (middle) middle->SetYConstraints(kLimitLimited, -45.0f, 60.0f);
        TJointLimitsForm& limits = *toolWindows.JointLimits;
        shots.Modal(limits, "joint_limits", [&] { limits.Edit(middle); });
        toolWindows.Keyframer->hide();
        run("SelectNone() SetFrame(1) SetEditLevel(0)");

        // Tool Options with the translate tool on.
        run("GetScene():GetRootNode():GetChild(0):SetSelected(1)");
        editor.tools().Click(rgToolButton::EditTranslate);
        toolWindows.ShowToolOptionsWindow();
        shots.Window(*toolWindows.ToolOptions, "tool_options", "Tool Options");
        toolWindows.ToolOptions->hide();
        editor.tools().Click(rgToolButton::EditTranslate);
        run("SelectNone()");

        // Preferences, page by page.
        TOptionsForm& options = *windows.OptionsForm;
        const char* pages[] = {"preferences_general", "preferences_viewports",
                               "preferences_colors"};
        for (int page = 0; page < 3; ++page) {
            shots.Modal(options, pages[page],
                        [&] { options.Execute(static_cast<TOptionsForm::Page>(page)); });
        }
        // The colour picker's palette, dropped down.
        options.Show(rgPreferences::From(editor.state()));
        options.PageControl->setCurrentIndex(1);
        options.show();
        Settle();
        QMenu* palette = options.BackgroundBtn->Popup();
        palette->popup(
            options.BackgroundBtn->mapToGlobal(QPoint(0, options.BackgroundBtn->height())));
        Settle();
        shots.Save(palette->grab().toImage(), "color_picker");
        palette->hide();
        options.hide();

        // The material editor with three textures, the second current.
        const QString checker = scratch.filePath("checker.png");
        Filled(64, 64, [](int x, int y) {
            return ((x / 8 + y / 8) % 2) ? QColor(230, 230, 230) : QColor(40, 90, 160);
        }).save(checker);
        const QString skin = scratch.filePath("skin.png");
        Filled(64, 64, [](int x, int y) {
            return QColor(200 + x / 2, 150 + y / 2, 110);
        }).save(skin);
        const QString stripes = scratch.filePath("stripes.png");
        Filled(128, 32, [](int x, int) {
            return (x / 16) % 2 ? QColor(180, 40, 40) : QColor(240, 200, 60);
        }).save(stripes);
        for (const QString& path : {checker, skin, stripes})
            run("AddTexture('" + path.toStdString() + "')");
        editor.context.textures.Select(1);
        windows.MaterialForm->resize(460, 215);
        windows.MaterialForm->show();
        shots.Window(*windows.MaterialForm, "material_editor");
        windows.MaterialForm->hide();

        // The console after a few statements.
        TConsoleForm& consoleForm = *windows.ConsoleForm;
        consoleForm.ShowConsole();
        Settle();
        for (const char* statement : {"print(GetScene():GetRootNode():GetChildCount())", "x = = 1",
                                      "for i = 1, 3 do print('frame ' .. i * 12) end"}) {
            consoleForm.Edit->setText(statement);
            consoleForm.EditKeyDown(Qt::Key_Return);
        }
        consoleForm.Edit->setText("SetFrame(24)");
        shots.Window(consoleForm, "console");
        consoleForm.Edit->clear();
        consoleForm.hide();

        // The small windows.
        windows.ProgressForm->SetRange(0, 100);
        windows.ProgressForm->SetPosition(40);
        windows.ProgressForm->ProgressShow();
        shots.Window(*windows.ProgressForm, "progress");
        windows.ProgressForm->ProgressHide();
        shots.Modal(*windows.AboutForm, "about", [&] { windows.AboutForm->Execute(); });
        TGetFloatForm number(&main);
        shots.Modal(number, "number_dialog", [&] { number.GetFloat(29.97, "Frame Rate"); });
        TExportMeshForm& exportForm = *dialogs.ExportMeshForm;
        rgExportOptions exportOptions;
        shots.Modal(
            exportForm, "export_options", [&] { exportForm.Ask(48, exportOptions); },
            [&] { exportForm.AnimChecker->click(); });
        rgBindSkinSettings bind;
        shots.Modal(*dialogs.BindSkinForm, "bind_skin", [&] { dialogs.BindSkinForm->Ask(bind); });
        bool x = false, y = false, z = false;
        shots.Modal(*dialogs.MirrorForm, "mirror", [&] { dialogs.MirrorForm->Ask(x, y, z); });
        TArrangeForm arrange(3, &main);
        shots.Modal(arrange, "arrange", [&] { arrange.exec(); });

        editor.SetDialogs(nullptr);
        ui.SetWindows(nullptr);
    }
    return g_failures == 0 ? 0 : 1;
}
