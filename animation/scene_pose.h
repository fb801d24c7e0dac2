#pragma once

class rgScene;

// Brings every world matrix up to date, then poses every joint at the frame
// (joints without keys keep their offsets). Settings come from the scene's
// editor state. The step behind the keyframer's slider and Open/Merge.
void GoToFrame(rgScene& scene, int frame);

// Poses every joint at a time in seconds (playback).
void PoseSceneAtTime(rgScene& scene, float seconds);
