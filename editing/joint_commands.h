#pragma once

class rgEditor;

// The "S&keleton" menu commands that act on the selected joints. Each
// records its undo step first, also when it then changes nothing.

// "Detach Joints": every selected joint below another node moves to the
// scene root, keeping its place in the world and its own children.
void DetachJoints(rgEditor& editor);

// "Auto Orient Joints": every selected joint under another joint turns so
// that its Z axis points from its child joints towards itself (or along
// world Z without child joints); positions stay, and child joints keep
// their place in the world.
void AutoOrientJoints(rgEditor& editor);
