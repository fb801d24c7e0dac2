#include "viewport/gl_frame.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "state/rg_state.h"
#include "viewport/camera.h"
#include "viewport/gl_check.h"
#include "viewport/grid_lines.h"

namespace {
constexpr const char* kSource = "GLViewport";
}

void GLInitContext(rgGLErrorReport* errors) {
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    KINEMO_GL_CHECK(errors, "GLPanel");
}

void GLClearFrame(const rgState& editor, rgGLErrorReport* errors) {
    const vector3& bg = editor.backgroundColour;
    glClearColor(bg.x, bg.y, bg.z, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    KINEMO_GL_CHECK(errors, "GLPanel");
}

void GLSetupFrame(rgViewportState& state, const rgState& editor, int w, int h, double ratio,
                  rgGLErrorReport* errors) {
    const float aspect = ViewportAspect(w, h);
    const rgViewportRect area = DrawingRect(w, h);
    glViewport(static_cast<GLint>(std::lround(area.x * ratio)),
               static_cast<GLint>(std::lround(area.y * ratio)),
               static_cast<GLsizei>(std::lround(std::max(area.width, 0) * ratio)),
               static_cast<GLsizei>(std::lround(std::max(area.height, 0) * ratio)));
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(ProjectionMatrix(state.projection, aspect).data());
    glMatrixMode(GL_MODELVIEW);
    KINEMO_GL_CHECK(errors, kSource);

    state.viewMatrix = ViewMatrix(state);
    glLoadMatrixf(state.viewMatrix.data());
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    KINEMO_GL_CHECK(errors, kSource);

    const bool ortho = IsOrthographic(state.projection);
    if (state.showGrid) {
        const rgGrid grid = GLDrawGrid(state, editor, aspect, errors,
                                       static_cast<int>(std::lround(area.height * ratio)));
        if (ortho) AdaptGridSpacing(state, grid);
    }
    // The orthographic grid always lies behind the scene; the perspective
    // grid keeps its depth so geometry in front hides it.
    if (ortho) glClear(GL_DEPTH_BUFFER_BIT);

    if (state.drawBackfaces)
        glDisable(GL_CULL_FACE);
    else
        glEnable(GL_CULL_FACE);
    // Light 0 keeps its defaults: white, shining along the view direction.
    glEnable(GL_LIGHT0);
    if (state.drawMode == kDrawPoints || state.drawMode == kDrawWireframe)
        glDisable(GL_LIGHTING);
    else
        glEnable(GL_LIGHTING);
    glShadeModel(state.drawMode == kDrawFlat ? GL_FLAT : GL_SMOOTH);
    if (state.drawMode == kDrawTextured) glEnable(GL_TEXTURE_2D);
    KINEMO_GL_CHECK(errors, kSource);
}

rgGrid GLDrawGrid(const rgViewportState& state, const rgState& editor, float aspect,
                  rgGLErrorReport* errors, int pixelHeight) {
    const bool ortho = IsOrthographic(state.projection);
    rgGrid grid = ortho ? OrthoGrid(state, aspect, editor.adaptiveGrid) : PerspectiveGrid(state);
    if (grid.lines.empty()) return grid;
    std::vector<float> points;
    std::vector<float> colours;
    if (ortho) {
        points.reserve(grid.lines.size() * 6);
        colours.reserve(grid.lines.size() * 6);
        for (const rgGridLine& line : grid.lines) {
            const vector3& c = line.major ? state.majorGridColour : state.gridColour;
            points.insert(points.end(),
                          {line.from.x, line.from.y, line.from.z, line.to.x, line.to.y, line.to.z});
            colours.insert(colours.end(), {c.x, c.y, c.z, c.x, c.y, c.z});
        }
    } else {
        // The floor fades where its lines would crowd into moiré.
        const float height = static_cast<float>(pixelHeight > 0 ? pixelHeight : state.height);
        const float focal =
            height / 2.0f / std::tan(kPerspectiveFovY * 3.14159265f / 360.0f);
        FadedGridLines(grid, state.viewMatrix, focal, state.gridSpacing, state.gridColour,
                       state.majorGridColour, editor.backgroundColour, points, colours);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, points.data());
    glColorPointer(3, GL_FLOAT, 0, colours.data());
    glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(points.size() / 3));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    KINEMO_GL_CHECK(errors, kSource);
    return grid;
}

namespace {

// Dotted white lines over everything, in window pixels (y downward);
// matrices and state are restored afterwards.
void DrawOverlayLines(int w, int h, double ratio, const float* points, int count, GLenum mode,
                      rgGLErrorReport* errors, const char* source) {
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT | GL_VIEWPORT_BIT);
    glViewport(0, 0, static_cast<GLsizei>(std::lround(w * ratio)),
               static_cast<GLsizei>(std::lround(h * ratio)));
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0x0F0F);
    glColor3f(1, 1, 1);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, points);
    glDrawArrays(mode, 0, count);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    KINEMO_GL_CHECK(errors, source);
}

}  // namespace

void GLDrawFrameRect(int w, int h, double ratio, int x1, int y1, int x2, int y2,
                     rgGLErrorReport* errors) {
    // Centres of pixels, so one-pixel lines land on them.
    const float fx1 = x1 + 0.5f, fy1 = y1 + 0.5f, fx2 = x2 + 0.5f, fy2 = y2 + 0.5f;
    const float corners[] = {fx1, fy1, fx1, fy2, fx2, fy2, fx2, fy1};
    DrawOverlayLines(w, h, ratio, corners, 4, GL_LINE_LOOP, errors, kSource);
}

void GLDrawOverlayLine(int w, int h, double ratio, int x1, int y1, int x2, int y2,
                       rgGLErrorReport* errors) {
    const float ends[] = {x1 + 0.5f, y1 + 0.5f, x2 + 0.5f, y2 + 0.5f};
    // Only the attachment tool draws a line; its errors name it.
    DrawOverlayLines(w, h, ratio, ends, 2, GL_LINES, errors, "rgNodeAttach");
}
