#pragma once

class rgScene;

// Hand assignment over every mesh of a scene. Assign and Unassign act on the
// selected vertices (visible or not); the Select operations replace the
// vertex selection; Normalize scales every vertex's weights to sum 1.

// The joint takes `weight` in every selected vertex: in the slot that
// already holds it, else the last empty slot, else the lightest slot.
void AssignSelectedVertices(rgScene& scene, int jointId, float weight);
// The joint leaves every selected vertex (its last slot holding it).
void UnassignSelectedVertices(rgScene& scene, int jointId);
// Exactly the vertices with a slot on the joint become selected.
void SelectAssignedVertices(rgScene& scene, int jointId);
// Exactly the vertices without any influence become selected.
void SelectUnassignedVertices(rgScene& scene);
void NormalizeAllWeights(rgScene& scene);
