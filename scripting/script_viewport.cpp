#include "scripting/script_viewport.h"

#include "viewport/viewport_host.h"

rgViewportState* rgViewport::State() const { return host_ ? host_->Find(id_) : nullptr; }

void rgViewport::Changed(bool redraw) const {
    if (host_) host_->Changed(id_, redraw);
}

void rgViewport::GetRect(float& left, float& top, float& width, float& height) const {
    left = top = width = height = 0.0f;
    const rgViewportState* s = State();
    if (!s) return;
    const float w = static_cast<float>(host_->BackdropWidth());
    const float h = static_cast<float>(host_->BackdropHeight());
    if (w <= 0.0f || h <= 0.0f) return;
    left = static_cast<float>(s->left) / w;
    top = static_cast<float>(s->top) / h;
    width = static_cast<float>(s->width) / w;
    height = static_cast<float>(s->height) / h;
}

void rgViewport::SetRect(float left, float top, float width, float height) {
    rgViewportState* s = State();
    if (!s) return;
    const float w = static_cast<float>(host_->BackdropWidth());
    const float h = static_cast<float>(host_->BackdropHeight());
    s->left = static_cast<int>(left * w);
    s->top = static_cast<int>(top * h);
    s->width = static_cast<int>(width * w);
    s->height = static_cast<int>(height * h);
    Changed(false);
}

int rgViewport::GetProjection() const {
    const rgViewportState* s = State();
    return s ? s->projection : 0;
}

void rgViewport::SetProjection(int projection) {
    if (rgViewportState* s = State()) {
        s->SetProjection(projection);
        Changed(true);
    }
}

vector3 rgViewport::Data(int n) const {
    const rgViewportState* s = State();
    if (!s) return {};
    switch (n) {
        case 1: return s->perspOffset;
        case 2: return s->perspAngles;
        case 3: return s->cameraOffset;
        case 4: return s->cameraAngles;
        default: return s->orthoView;
    }
}

void rgViewport::SetData(int n, float x, float y, float z) {
    rgViewportState* s = State();
    if (!s) return;
    vector3* target[] = {&s->perspOffset, &s->perspAngles, &s->cameraOffset, &s->cameraAngles,
                         &s->orthoView};
    target[n - 1]->set(x, y, z);
    Changed(false);  // the camera setters do not repaint
}

int rgViewport::GetDrawMode() const {
    const rgViewportState* s = State();
    return s ? s->drawMode : 0;
}

void rgViewport::SetDrawMode(int mode) {
    if (rgViewportState* s = State()) {
        s->drawMode = mode;
        Changed(true);
    }
}

int rgViewport::GetDrawBF() const {
    const rgViewportState* s = State();
    return s && s->drawBackfaces ? 1 : 0;
}

void rgViewport::SetDrawBF(int on) {
    if (rgViewportState* s = State()) {
        s->drawBackfaces = on != 0;
        Changed(true);
    }
}

int rgViewport::GetDrawGrid() const {
    const rgViewportState* s = State();
    return s && s->showGrid ? 1 : 0;
}

void rgViewport::SetDrawGrid(int on) {
    if (rgViewportState* s = State()) {
        s->showGrid = on != 0;
        Changed(true);
    }
}
