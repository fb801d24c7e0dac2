#pragma once

#include "core/vector3.h"

class rgViewportHost;
struct rgViewportState;

// A script's handle to a viewport. It names the viewport by id, so a handle
// kept after the viewport closed does nothing (getters answer 0) instead of
// touching freed memory.
class rgViewport {
public:
    rgViewport(rgViewportHost* host, int id) : host_(host), id_(id) {}

    // Fractions of the backdrop's width (left, width) and height (top, height).
    void GetRect(float& left, float& top, float& width, float& height) const;
    void SetRect(float left, float top, float width, float height);
    int GetProjection() const;
    void SetProjection(int projection);
    // The five camera vectors: perspective offset, perspective angles,
    // camera offset, camera angles, orthographic pan and zoom.
    vector3 GetData1() const { return Data(1); }
    vector3 GetData2() const { return Data(2); }
    vector3 GetData3() const { return Data(3); }
    vector3 GetData4() const { return Data(4); }
    vector3 GetData5() const { return Data(5); }
    void SetData1(float x, float y, float z) { SetData(1, x, y, z); }
    void SetData2(float x, float y, float z) { SetData(2, x, y, z); }
    void SetData3(float x, float y, float z) { SetData(3, x, y, z); }
    void SetData4(float x, float y, float z) { SetData(4, x, y, z); }
    void SetData5(float x, float y, float z) { SetData(5, x, y, z); }
    int GetDrawMode() const;
    void SetDrawMode(int mode);
    int GetDrawBF() const;
    void SetDrawBF(int on);
    int GetDrawGrid() const;
    void SetDrawGrid(int on);

    int Id() const { return id_; }

private:
    rgViewportState* State() const;
    vector3 Data(int n) const;
    void SetData(int n, float x, float y, float z);
    void Changed(bool redraw) const;

    rgViewportHost* host_;
    int id_;
};
