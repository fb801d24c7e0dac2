#include "viewport/navigation.h"

#include <cmath>

#include "viewport/camera.h"

namespace {

constexpr float kMovePerPixel = 0.1f;
constexpr float kRadiansPerPixel = 3.14159265358979323846f / 180.0f * 0.25f;
constexpr float kPanPerPixelAtUnitZoom = 0.005f;
constexpr float kZoomPerPixel = 0.0025f;

float ClampZoom(float z) {
    return z <= kMinOrthoZoom ? kMinOrthoZoom : z;
}

// Rows of the inverted view matrix: the camera's axes in world space.
matrix44 CameraAxes(const rgViewportState& state) {
    matrix44 v = ViewMatrix(state);
    v.invert();
    return v;
}

}  // namespace

int MiddleButtonNavMode(int projection) {
    if (projection == kProjPerspective) return kNavPerspMoveXY;
    if (projection == kProjCamera) return kNavCameraMoveXY;
    return kNavOrthoPan;
}

vector3* NavigatedVector(rgViewportState& s, int navMode) {
    switch (navMode) {
        case kNavPerspMoveXZ:
        case kNavPerspMoveXY:
        case kNavPerspMoveY:
            return &s.perspOffset;
        case kNavPerspRotate:
            return &s.perspAngles;
        case kNavCameraMoveXY:
        case kNavCameraMoveZ:
            return &s.cameraOffset;
        case kNavCameraRotate:
            return &s.cameraAngles;
        case kNavOrthoPan:
        case kNavOrthoZoom:
            return &s.orthoView;
        default:
            return nullptr;
    }
}

bool rgNavigator::Press(rgViewportState& s, int button, int x, int y) {
    buttonDown = true;
    pressX = x;
    pressY = y;
    middleNav = false;
    bool toTool = false;
    if (button == kMouseMiddle) {
        middleNav = true;
        savedNavMode = s.navMode;
        s.navMode = MiddleButtonNavMode(s.projection);
    } else {
        savedNavMode = 0;
        toTool = true;
    }
    if (const vector3* v = NavigatedVector(s, s.navMode)) {
        pressValue = *v;
        navDragging = true;
    }
    return toTool;
}

bool rgNavigator::Move(rgViewportState& s, int x, int y) {
    if (!navDragging) return false;
    const float dx = static_cast<float>(x - pressX);
    const float dy = static_cast<float>(y - pressY);
    const vector3 p = pressValue;
    switch (s.navMode) {
        case kNavPerspMoveXZ:
            s.perspOffset = p + vector3(kMovePerPixel * dx, 0, kMovePerPixel * dy);
            break;
        case kNavPerspMoveXY:
            s.perspOffset = p + vector3(kMovePerPixel * dx, kMovePerPixel * dy, 0);
            break;
        case kNavPerspMoveY:
            s.perspOffset.y = p.y + kMovePerPixel * dy;
            break;
        case kNavPerspRotate:
            s.perspAngles.x = p.x + dy * kRadiansPerPixel;
            s.perspAngles.y = p.y + dx * kRadiansPerPixel;
            break;
        case kNavCameraMoveXY: {
            const matrix44 axes = CameraAxes(s);
            s.cameraOffset = p + axes.x_component() * (kMovePerPixel * dx) +
                             axes.y_component() * (kMovePerPixel * dy);
            break;
        }
        case kNavCameraMoveZ:
            s.cameraOffset = p - CameraAxes(s).z_component() * (kMovePerPixel * dy);
            break;
        case kNavCameraRotate:
            s.cameraAngles.x = p.x + dy * kRadiansPerPixel;
            s.cameraAngles.y = p.y + dx * kRadiansPerPixel;
            break;
        case kNavOrthoPan: {
            // Pan speed follows the zoom at the press, so the scene stays under the pointer.
            const float k = kPanPerPixelAtUnitZoom / p.z;
            float& panX = s.orthoView.x;
            float& panY = s.orthoView.y;
            switch (s.projection) {
                case kProjTop:
                    panX = p.x + k * dx, panY = p.y + k * dy;
                    break;
                case kProjBottom:
                    panX = p.x + k * dx, panY = p.y - k * dy;
                    break;
                case kProjLeft:
                    panX = p.x - k * dy, panY = p.y + k * dx;
                    break;
                case kProjRight:
                    panX = p.x - k * dy, panY = p.y - k * dx;
                    break;
                case kProjFront:
                    panX = p.x + k * dx, panY = p.y - k * dy;
                    break;
                case kProjBack:
                    panX = p.x - k * dx, panY = p.y - k * dy;
                    break;
                default:
                    return false;
            }
            break;
        }
        case kNavOrthoZoom:
            // Relative to the current zoom, so the growth speeds up during a drag.
            s.orthoView.z = ClampZoom(p.z + kZoomPerPixel * dy * s.orthoView.z);
            break;
        default:
            return false;
    }
    return true;
}

bool rgNavigator::Release(rgViewportState& s) {
    buttonDown = false;
    const bool toTool = !middleNav;
    if (middleNav) s.navMode = savedNavMode;
    navDragging = false;
    savedNavMode = 0;
    middleNav = false;
    return toTool;
}

void ZoomWheel(rgViewportState& s, int step) {
    const float fstep = static_cast<float>(step);
    if (s.projection == kProjPerspective) {
        s.perspOffset.z += kMovePerPixel * fstep;
    } else if (s.projection == kProjCamera) {
        s.cameraOffset -= CameraAxes(s).z_component() * (kMovePerPixel * fstep);
    } else {
        s.orthoView.z = ClampZoom(s.orthoView.z + s.orthoView.z * (2.0f * fstep) * kZoomPerPixel);
    }
}

void ZoomAll(rgViewportState& s, bool hasScene, const vector3& c, float radius) {
    if (!hasScene) {
        s.ResetView();
        return;
    }
    // A scene of single points has no extent; frame one unit around it
    // instead of an infinite zoom.
    const float r = std::isfinite(radius) && radius > 1e-6f ? radius : 1.0f;
    const float zoom = 100.0f / r * 0.01f;
    const float distance = r * 1.732050808f;  // sqrt(3): the 60 degree view holds the sphere
    switch (s.projection) {
        case kProjFront:
        case kProjBack:
            s.orthoView.set(-c.x, -c.y, zoom);
            break;
        case kProjLeft:
        case kProjRight:
            s.orthoView.set(-c.y, -c.z, zoom);
            break;
        case kProjTop:
        case kProjBottom:
            s.orthoView.set(-c.x, -c.z, zoom);
            break;
        case kProjPerspective:
            s.perspAngles.set(0, 0, 0);
            s.perspOffset.set(-c.x, -c.y, -c.z - distance);
            break;
        case kProjCamera:
            s.cameraAngles.set(0, 0, 0);
            s.cameraOffset.set(-c.x, -c.y, -c.z - distance);
            break;
        default:
            break;
    }
}
