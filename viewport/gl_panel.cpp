#include "viewport/gl_panel.h"

#include <QCoreApplication>
#include <QSurfaceFormat>
#include <QTimer>
#include <cstdio>

#include "state/rg_state.h"
#include "scene/user_messages.h"
#include "viewport/gl_frame.h"
#include "viewport/gl_shared_lists.h"

TGLPanel::TGLPanel(const rgState& editor, TGLSharedLists& shared, QWidget* parent)
    : QOpenGLWidget(parent), editor_(editor), shared_(shared) {
    // Frames redraw everything; there is nothing to erase between them.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TGLPanel::~TGLPanel() {
    Retire();
}

void TGLPanel::PrepareApplication() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(8);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(0);
    // Smooth edges: 4 samples a pixel where the driver offers them (Qt asks
    // for fewer, or none, where it does not).
    format.setSamples(4);
    QSurfaceFormat::setDefaultFormat(format);
}

bool TGLPanel::MakeCurrent() {
    if (!context()) {
        if (messages_) messages_->ShowMessage("wglMakeCurrent failed (glpanel)!");
        return false;
    }
    makeCurrent();
    return true;
}

void TGLPanel::Retire() {
    if (!registered_) return;
    registered_ = false;
    if (!context()) {
        shared_.PanelGone(this, false);
        return;
    }
    makeCurrent();
    shared_.PanelGone(this, true);
    doneCurrent();
}

void TGLPanel::initializeGL() {
    GLInitContext(&errors_);
    if (!registered_) {
        registered_ = true;
        shared_.PanelReady(this);
    }
}

void TGLPanel::paintGL() {
    GLClearFrame(editor_, &errors_);
    if (OnGLPaint) OnGLPaint();
    if (errors_.HasPending() && !errorsQueued_) {
        // A modal box inside a paint would paint again: show it afterwards.
        errorsQueued_ = true;
        QTimer::singleShot(0, this, [this] { ShowPendingErrors(); });
    }
}

void TGLPanel::ShowPendingErrors() {
    errorsQueued_ = false;
    for (const rgGLErrorReport::Error& error : errors_.TakePending()) {
        const std::string text = rgGLErrorReport::Text(error);
        if (messages_)
            messages_->ShowMessage(text);
        else
            std::fprintf(stderr, "%s\n", text.c_str());
        errors_.Closed(error);
    }
}
