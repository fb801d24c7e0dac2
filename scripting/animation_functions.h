#pragma once

// Commands of the Animation level for scripts. Each does what its control
// does (the level box, the IK tool's solve, the Keyframer's Play and Stop,
// the "&Animation" menu); a value outside the allowed ones raises a Lua
// error that names them, and changes nothing.

#include "core/vector3.h"

class rgBone;
struct lua_State;

// 0 "Objects", 1 "Animation", with everything the level box does.
void SetEditLevel(lua_State* L, double level);
int GetEditLevel(lua_State* L);
// Runs the IK solver once for the end joint towards `goal` (world space);
// returns the steps used. Only at the Animation level. Records no undo
// step: scripts record their own with PushUndo.
int SolveIK(lua_State* L, rgBone* endJoint, const vector3& goal, bool useLimits);
// Playback, at the Animation level; the editor's timer drives it.
void Play(lua_State* L);
void Stop(lua_State* L);
bool IsPlaying(lua_State* L);
// 0.25, 0.5, 1, 2 or 4.
void SetPlaySpeed(lua_State* L, double speed);
double GetPlaySpeed(lua_State* L);
// 0 constant, 1 linear, 2 spline.
void SetInterpolation(lua_State* L, double mode);
int GetInterpolation(lua_State* L);
void SetAutoKeyframing(lua_State* L, bool on);
// The Keyframer's "Set Keyframe" and "Delete Keyframe" (at the Animation
// level): every joint, or the selected ones, at the current frame.
void SetKeyframe(lua_State* L, bool selectedOnly);
void DeleteKeyframe(lua_State* L, bool selectedOnly);
bool IsAutoKeyframing(lua_State* L);
