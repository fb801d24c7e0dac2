#include "viewport/camera.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Row-vector product of a point (x, y, z, w) with a matrix, in double.
void Transform4(const double in[4], const double m[16], double out[4]) {
    for (int j = 0; j < 4; ++j)
        out[j] = in[0] * m[j] + in[1] * m[4 + j] + in[2] * m[8 + j] + in[3] * m[12 + j];
}

void Multiply(const matrix44& a, const matrix44& b, double out[16]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0;
            for (int k = 0; k < 4; ++k)
                s += static_cast<double>(a.m[4 * i + k]) * static_cast<double>(b.m[4 * k + j]);
            out[4 * i + j] = s;
        }
}

// Gauss-Jordan inverse with partial pivoting; false when singular.
bool Invert(const double in[16], double out[16]) {
    double a[4][8];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            a[i][j] = in[4 * i + j];
            a[i][j + 4] = i == j ? 1.0 : 0.0;
        }
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
        if (a[pivot][c] == 0.0) return false;
        if (pivot != c)
            for (int j = 0; j < 8; ++j) std::swap(a[c][j], a[pivot][j]);
        const double inv = 1.0 / a[c][c];
        for (int j = 0; j < 8; ++j) a[c][j] *= inv;
        for (int r = 0; r < 4; ++r) {
            if (r == c) continue;
            const double f = a[r][c];
            if (f == 0.0) continue;
            for (int j = 0; j < 8; ++j) a[r][j] -= f * a[c][j];
        }
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out[4 * i + j] = a[i][j + 4];
    return true;
}

}  // namespace

float ViewportAspect(int clientWidth, int clientHeight) {
    if (clientHeight == 0) return static_cast<float>(clientWidth);
    return static_cast<float>(clientWidth) / static_cast<float>(clientHeight);
}

rgViewportRect DrawingRect(int clientWidth, int clientHeight) {
    return {1, 1, clientWidth - 2, clientHeight - 2};
}

matrix44 PerspectiveMatrix(float fovYDegrees, float aspect, float zNear, float zFar) {
    // gluPerspective, computed in double as GLU does.
    const double radians = fovYDegrees / 2.0 * kPi / 180.0;
    const double deltaZ = static_cast<double>(zFar) - zNear;
    const double sine = std::sin(radians);
    matrix44 m;
    if (deltaZ == 0 || sine == 0 || aspect == 0) return m;
    const double cotangent = std::cos(radians) / sine;
    m.set(static_cast<float>(cotangent / aspect), 0, 0, 0,                              //
          0, static_cast<float>(cotangent), 0, 0,                                       //
          0, 0, static_cast<float>(-(static_cast<double>(zFar) + zNear) / deltaZ), -1,  //
          0, 0, static_cast<float>(-2.0 * zNear * zFar / deltaZ), 0);
    return m;
}

matrix44 OrthoMatrix(float l, float r, float b, float t, float n, float f) {
    matrix44 m;
    m.set(2.0f / (r - l), 0, 0, 0,   //
          0, 2.0f / (t - b), 0, 0,   //
          0, 0, -2.0f / (f - n), 0,  //
          -(r + l) / (r - l), -(t + b) / (t - b), -(f + n) / (f - n), 1);
    return m;
}

matrix44 ProjectionMatrix(int projection, float aspect) {
    if (projection == kProjPerspective || projection == kProjCamera)
        return PerspectiveMatrix(kPerspectiveFovY, aspect, kPerspectiveNear, kPerspectiveFar);
    return OrthoMatrix(-aspect, aspect, -1.0f, 1.0f, kOrthoNear, kOrthoFar);
}

matrix44 PickMatrix(float x, float y, float width, float height, const rgViewportRect& vp) {
    // gluPickMatrix: translate the region's centre to the origin, then scale
    // the region to the whole view volume.
    matrix44 m;
    if (width <= 0 || height <= 0) return m;
    // Computed in double and stored as float, as GLU hands them to glTranslatef/glScalef.
    const float sx = static_cast<float>(vp.width / static_cast<double>(width));
    const float sy = static_cast<float>(vp.height / static_cast<double>(height));
    const float tx = static_cast<float>((vp.width - 2.0 * (static_cast<double>(x) - vp.x)) / width);
    const float ty =
        static_cast<float>((vp.height - 2.0 * (static_cast<double>(y) - vp.y)) / height);
    m.set(sx, 0, 0, 0,  //
          0, sy, 0, 0,  //
          0, 0, 1, 0,   //
          tx, ty, 0, 1);
    return m;
}

matrix44 ViewMatrix(const rgViewportState& s) {
    matrix44 v;
    const float px = s.orthoView.x, py = s.orthoView.y, zoom = s.orthoView.z;
    const float halfPi = static_cast<float>(kPi / 2.0);
    switch (s.projection) {
        case kProjTop:
        case kProjBottom:
            v.translate(px, 0, py);
            v.scale(zoom, zoom, zoom);
            v.rotate_x(s.projection == kProjTop ? halfPi : -halfPi);
            break;
        case kProjLeft:
        case kProjRight:
            v.translate(0, px, py);
            v.scale(zoom, zoom, zoom);
            v.rotate_y(s.projection == kProjLeft ? halfPi : -halfPi);
            break;
        case kProjFront:
            v.translate(px, py, 0);
            v.scale(zoom, zoom, zoom);
            break;
        case kProjBack:
            v.translate(px, py, 0);
            v.scale(zoom, zoom, zoom);
            v.rotate_y(static_cast<float>(kPi));
            break;
        case kProjPerspective:
            v.rotate_y(s.perspAngles.y);
            v.rotate_x(s.perspAngles.x);
            v.translate(s.perspOffset.x, s.perspOffset.y, s.perspOffset.z);
            break;
        case kProjCamera:
            v.translate(s.cameraOffset.x, s.cameraOffset.y, s.cameraOffset.z);
            v.rotate_y(s.cameraAngles.y);
            v.rotate_x(s.cameraAngles.x);
            break;
        default:
            break;  // a projection no menu offers: identity
    }
    return v;
}

bool Unproject(double winX, double winY, double winZ, const matrix44& modelview,
               const matrix44& projection, const rgViewportRect& vp, vector3& out) {
    double mvp[16], inv[16];
    Multiply(modelview, projection, mvp);
    if (!Invert(mvp, inv) || vp.width == 0 || vp.height == 0) return false;
    const double ndc[4] = {(winX - vp.x) / vp.width * 2.0 - 1.0,
                           (winY - vp.y) / vp.height * 2.0 - 1.0, winZ * 2.0 - 1.0, 1.0};
    double p[4];
    Transform4(ndc, inv, p);
    if (p[3] == 0.0) return false;
    out.set(static_cast<float>(p[0] / p[3]), static_cast<float>(p[1] / p[3]),
            static_cast<float>(p[2] / p[3]));
    return true;
}

bool Project(const vector3& point, const matrix44& modelview, const matrix44& projection,
             const rgViewportRect& vp, double& winX, double& winY, double& winZ) {
    double mvp[16];
    Multiply(modelview, projection, mvp);
    const double in[4] = {point.x, point.y, point.z, 1.0};
    double c[4];
    Transform4(in, mvp, c);
    if (c[3] == 0.0) return false;
    winX = vp.x + (c[0] / c[3] + 1.0) * vp.width / 2.0;
    winY = vp.y + (c[1] / c[3] + 1.0) * vp.height / 2.0;
    winZ = (c[2] / c[3] + 1.0) / 2.0;
    return true;
}

vector3 ScreenToWorld(const rgViewportState& s, int clientWidth, int clientHeight, int x, int y) {
    const matrix44 projection =
        ProjectionMatrix(s.projection, ViewportAspect(clientWidth, clientHeight));
    vector3 p(0, 0, 0);
    Unproject(x, clientHeight - y, 0.5, ViewMatrix(s), projection,
              DrawingRect(clientWidth, clientHeight), p);
    switch (s.projection) {
        case kProjTop:
        case kProjBottom:
            p.y = 0;
            break;
        case kProjLeft:
        case kProjRight:
            p.x = 0;
            break;
        case kProjFront:
        case kProjBack:
            p.z = 0;
            break;
        default:
            break;
    }
    return p;
}
