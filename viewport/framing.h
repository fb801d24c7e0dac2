#pragma once

class rgScene;
struct rgViewportState;

// Room around what "Frame Selected" frames: the sphere around the selected
// nodes is drawn this much larger before Zoom All's rule fits it to the view.
constexpr float kFrameMargin = 1.25f;

// "Frame Selected": the view looks at the selected nodes as Zoom All looks
// at the scene, with a margin. False (the view unchanged) when nothing is
// selected.
bool FrameSelected(rgViewportState& state, rgScene& scene);
