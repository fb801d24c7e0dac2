#pragma once

#include <QOpenGLWidget>
#include <functional>

#include "viewport/gl_error_report.h"

class TGLSharedLists;
class rgUserMessages;
struct rgState;

// The drawing surface of a viewport: an OpenGL context on a Qt widget that
// calls a paint callback once per frame between the clear and the buffer
// swap. All panels share display lists and textures (see TGLSharedLists).
// GL errors met during a frame are shown after it.
class TGLPanel : public QOpenGLWidget {
    Q_OBJECT
public:
    TGLPanel(const rgState& editor, TGLSharedLists& shared, QWidget* parent = nullptr);
    ~TGLPanel() override;

    // Sets what every context needs before QApplication exists: contexts share
    // lists and textures; the default surface is a double-buffered
    // compatibility-profile RGBA surface with a depth buffer and no stencil.
    static void PrepareApplication();

    // Makes the panel's context current; false (with the message shown)
    // when the panel has no context.
    bool MakeCurrent();
    // Leaves the shared lists before the window goes: when this is the last
    // panel, the lists and textures are released with its context. The next
    // panel builds them again.
    void Retire();

    // Called inside each frame after the clear; empty by default.
    std::function<void()> OnGLPaint;
    // Where GL errors are shown; null: standard error.
    void SetMessages(rgUserMessages* messages) { messages_ = messages; }
    rgGLErrorReport& Errors() { return errors_; }
    const rgState& Editor() const { return editor_; }
    TGLSharedLists& Shared() { return shared_; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void ShowPendingErrors();

    const rgState& editor_;
    TGLSharedLists& shared_;
    rgUserMessages* messages_ = nullptr;
    rgGLErrorReport errors_;
    bool registered_ = false;
    bool errorsQueued_ = false;
};
