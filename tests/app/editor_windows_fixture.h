#pragma once

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <vector>

#include "app/editor_windows.h"
#include "app/main_form.h"
#include "app/script_ui_qt.h"
#include "editing/rg_editor.h"
#include "imageio/qt_image_decoder.h"
#include "scene/user_messages.h"
#include "scripting/console_model.h"
#include "scripting/script_environment.h"
#include "scripting/script_server.h"
#include "tests/app/qt_test_environment.h"

// Messages a command shows, recorded instead of boxes.
class RecordedMessages : public rgUserMessages {
public:
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

// The editor as the program assembles it: the main window, the script
// environment with its console, and the editor windows, in a scratch
// folder (the program folder and the log's).
class EditorWindowsTest : public ::testing::Test {
protected:
    EditorWindowsTest()
        : main((EnsureQtApplication(), editor)),
          console(Scratch("console.log"), "Lua 5.1"),
          scripting(editor, main, console, ui, scratch.path().toStdString() + "/"),
          windows(main, editor, scripting.server(), console) {
        ui.SetWindows(&windows);
        editor.context.SetMessages(&messages);
        editor.context.textures.SetDecoder(&decoder);
        main.resize(900, 650);
        main.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
        Settle();
    }
    ~EditorWindowsTest() override {
        editor.context.textures.Clear();
        ui.SetWindows(nullptr);
    }
    std::string Scratch(const char* name) { return scratch.filePath(name).toStdString(); }
    static void Settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }
    // An image file in the scratch folder.
    QString WriteImage(const QString& name, const QImage& image) {
        const QString path = scratch.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }
    static QImage Filled(int w, int h, QColor colour) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }
    // Pictures to look at: written when KINEMO_SHOT_DIR names a folder.
    static void SaveShot(const QImage& image, const char* name) {
        const QByteArray folder = qgetenv("KINEMO_SHOT_DIR");
        if (!folder.isEmpty())
            image.save(QDir(QString::fromLocal8Bit(folder)).filePath(QString(name) + ".png"));
    }
    bool Run(const std::string& chunk) { return scripting.server().RunString(chunk); }

    QTemporaryDir scratch;
    RecordedMessages messages;
    rgQtImageDecoder decoder;
    rgEditor editor;
    TMainForm main;
    rgConsoleModel console;
    TScriptUi ui;
    rgScriptEnvironment scripting;
    TEditorWindows windows;
};
