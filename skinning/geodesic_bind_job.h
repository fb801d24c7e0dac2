#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class rgScene;

// The geodesic bind's settings, as the Bind Skin dialog offers them.
struct rgGeodesicBindSettings {
    static constexpr int kMinResolution = 32;
    static constexpr int kMaxResolution = 1024;
    // Voxels along the longest side of the meshes' bounding box.
    int resolution = 256;
    // How quickly a joint's weight falls as others get nearer: 0 blends
    // widely, 1 gives each vertex to its nearest joint alone.
    float falloff = 0.5f;
    int jointsPerVertex = 4;  // 1 to 4
};

// Binds every mesh of a scene by distances measured through the inside of
// the body instead of through the air: every mesh is voxelised in its bind
// pose into one grid, the inside filled (each piece counts; holes of a
// voxel or two are closed), and from the voxels each joint's bones pass
// through (segments to its child joints; a joint without children is a
// point) the distance through solid voxels is spread (Dijkstra over the 26
// neighbours, as far as a quarter of the grid's longest side; a bone in air,
// outside the body or in the hollow of a mesh that is not closed, first
// reaches the nearest solid voxels through air, but a path never leaves the
// body for air). A vertex takes its distance to each joint from its voxel,
// its weights from the distances through the falloff, keeps the strongest
// `jointsPerVertex`, normalised. A vertex whose voxel no joint reaches takes
// the joint nearest in a straight line, so nothing is left unbound but
// vertices at positions that are not numbers. Positions are the vertices
// through their mesh's local matrix and the joints' global positions, as
// the distance bind measures them.
class rgGeodesicBindJob {
public:
    rgScene* scene = nullptr;
    rgGeodesicBindSettings settings;
    // Called between joints with the share done (0 to 1); false cancels
    // the run, which then changes nothing.
    std::function<bool(float)> progress;
    // The grid may take this many bytes.
    size_t memoryLimit = size_t{1} << 30;

    // What the last run did.
    size_t fallbackVertices = 0;  // bound to their straight-line nearest joint
    size_t unboundVertices = 0;   // positions that are not numbers

    // True when the job can run; otherwise `why` says what is wrong (no
    // scene, a setting out of range, a grid beyond the memory limit, naming
    // the largest resolution that fits).
    bool Validate(std::string* why = nullptr) const;
    // False (nothing changed) when Validate fails or the run is cancelled.
    bool Run();

    // Bytes the grid of the scene's meshes needs at `resolution`.
    size_t GridBytes(int resolution) const;
};

// What a bind left undone, for its report: vertices bound to no joint and
// joints no vertex follows (names in walk order).
struct rgBindReport {
    size_t unboundVertices = 0;
    std::vector<std::string> idleJoints;
    // "" when every vertex is bound and every joint has weight; otherwise
    // one line, e.g. "3 vertices are bound to no joint; 2 joints have no
    // weight (Toe, Tip)".
    std::string Text() const;
};
rgBindReport ReportBind(rgScene& scene);
