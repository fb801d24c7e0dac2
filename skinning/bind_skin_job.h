#pragma once

#include <string>

#include "skinning/geodesic_bind_job.h"

class rgScene;

// The Bind Skin settings, as the dialog offers them.
struct rgBindSkinSettings {
    static constexpr float kMinFalloff = 0.0001f;
    static constexpr float kMaxFalloff = 1000.0f;
    static constexpr float kMinDistance = 0.0001f;
    static constexpr float kMaxDistance = 10000.0f;

    // One influence per vertex, on the nearest joint, whatever the distance.
    bool rigid = false;
    // Deformable: at most this many influences (2 to 4), the nearest joint in
    // reach and its parent and child joints.
    int jointsPerVertex = 2;
    // Distance (scene units) at which a bone's weight falls to 1/16.
    float falloffRadius = 5.0f;
    // Deformable: joints this far or farther never influence a vertex.
    float maxDistance = 15.0f;
    // The dialog's third kind: distances through the body (rgGeodesicBindJob)
    // with its own settings; the ones above are then not used.
    bool geodesic = false;
    rgGeodesicBindSettings geodesicSettings;
};

// Gives every vertex of every mesh of a scene its joint influences from the
// distances between the vertex (its stored position through the mesh's local
// matrix) and the bones (segments from a joint to each child joint; a joint
// without children counts as a point). Weights are the raw falloff weights;
// the deformation normalises them. Every mesh and every joint takes part,
// selected or not; a scene without joints leaves every vertex unbound.
//
// All arithmetic is in 32-bit floats, with exactly the results of sorting
// each vertex's records by weight (ties in walk order) and filling the slots
// from that list.
class rgBindSkinJob {
public:
    rgScene* scene = nullptr;
    rgBindSkinSettings settings;

    // True when the job can run; otherwise `why` (when given) says what is
    // wrong: no scene, or a setting outside its range.
    bool Validate(std::string* why = nullptr) const;
    // Binds every mesh; false (and nothing changed) when Validate fails.
    bool Run();
};

// Removes every influence of every vertex of every mesh.
void DetachSkin(rgScene& scene);
