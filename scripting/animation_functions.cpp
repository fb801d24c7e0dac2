#include "scripting/animation_functions.h"

#include <cmath>

#include <lua.hpp>

#include "animation/ik_solver.h"
#include "editing/animation_control.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scripting/script_context.h"
#include "viewport/viewport_host.h"

// Errors are raised before anything with a destructor exists: luaL_error
// does not return.

namespace {

rgEditor& Editor(lua_State* L) {
    return rgScriptContext::Of(L).editor;
}

// An integer argument, truncated toward zero as everywhere in the script
// API; -1 (out of every range here) for NaN, infinity and huge values.
int WholeNumber(double value) {
    return std::isfinite(value) && std::fabs(value) < 1e9 ? static_cast<int>(std::trunc(value))
                                                          : -1;
}

bool AtAnimationLevel(lua_State* L) {
    return Editor(L).state().editLevel == kEditAnimation;
}

}  // namespace

void SetEditLevel(lua_State* L, double level) {
    const int n = WholeNumber(level);
    if (n != kEditObjects && n != kEditAnimation) {
        luaL_error(L, "SetEditLevel: level must be 0 (Objects) or 1 (Animation)");
        return;
    }
    // As the level box: choosing the level it shows changes nothing.
    if (n != Editor(L).state().editLevel) Editor(L).tools().ChangeLevel(n);
}

int GetEditLevel(lua_State* L) {
    return Editor(L).state().editLevel;
}

int SolveIK(lua_State* L, rgBone* endJoint, const vector3& goal, bool useLimits) {
    if (!endJoint) return luaL_error(L, "SolveIK: endJoint must be a joint");
    if (!std::isfinite(goal.x) || !std::isfinite(goal.y) || !std::isfinite(goal.z))
        return luaL_error(L, "SolveIK: goal must be a point with finite coordinates");
    if (!AtAnimationLevel(L))
        return luaL_error(L, "SolveIK: works at the Animation edit level, call SetEditLevel(1)");
    const int steps = Solve(*endJoint, goal, useLimits);
    rgScriptContext::Of(L).viewports.RedrawAll();
    return steps;
}

void Play(lua_State* L) {
    if (!AtAnimationLevel(L)) {
        luaL_error(L, "Play: works at the Animation edit level, call SetEditLevel(1)");
        return;
    }
    Editor(L).animation().Play();
}

void Stop(lua_State* L) {
    Editor(L).animation().Stop();
}

bool IsPlaying(lua_State* L) {
    return Editor(L).animation().IsPlaying();
}

void SetPlaySpeed(lua_State* L, double speed) {
    const float s = static_cast<float>(speed);
    if (!(static_cast<double>(s) == speed && rgAnimationControl::IsPlaySpeed(s))) {
        luaL_error(L, "SetPlaySpeed: speed must be 0.25, 0.5, 1, 2 or 4");
        return;
    }
    Editor(L).animation().SetPlaySpeed(s);
}

double GetPlaySpeed(lua_State* L) {
    return Editor(L).state().playSpeed;
}

void SetInterpolation(lua_State* L, double mode) {
    const int n = WholeNumber(mode);
    if (n < kInterpConstant || n > kInterpSpline) {
        luaL_error(L, "SetInterpolation: mode must be 0 (Constant), 1 (Linear) or 2 (Spline)");
        return;
    }
    Editor(L).animation().SetInterpolation(n);
}

int GetInterpolation(lua_State* L) {
    return Editor(L).state().interpolation;
}

void SetAutoKeyframing(lua_State* L, bool on) {
    Editor(L).animation().SetAutoKeyframing(on);
}

void SetKeyframe(lua_State* L, bool selectedOnly) {
    if (!AtAnimationLevel(L)) {
        luaL_error(L, "SetKeyframe: works at the Animation edit level, call SetEditLevel(1)");
        return;
    }
    Editor(L).commands.Run(selectedOnly ? "Animation.SetKeyframeSelected"
                                        : "Animation.SetKeyframe");
}

void DeleteKeyframe(lua_State* L, bool selectedOnly) {
    if (!AtAnimationLevel(L)) {
        luaL_error(L, "DeleteKeyframe: works at the Animation edit level, call SetEditLevel(1)");
        return;
    }
    Editor(L).commands.Run(selectedOnly ? "Animation.DeleteKeyframeSelected"
                                        : "Animation.DeleteKeyframe");
}

bool IsAutoKeyframing(lua_State* L) {
    return Editor(L).state().autoKeyframing;
}
