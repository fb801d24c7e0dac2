dofile(string.gsub(arg[0], "[^/]*$", "") .. "harness.lua")

-- An arm: shoulder (0, 0, 0) -> elbow (0, 2, 0) -> hand (2, 2, 0).
local scene = GetScene()
local function joint(parent, x, y, z)
  local j = scene:CreateBone()
  local m = matrix44:new()
  m:translate(x, y, z)
  j:SetMatrix(m)
  m:delete()
  parent:AttachChild(j)
  return j
end
-- Points made here belong to the script: they are deleted at the end.
local points = {}
local function point(x, y, z)
  local p = vector3:new(x, y, z)
  tinsert(points, p)
  return p
end
local shoulder = joint(scene:GetRootNode(), 0, 0, 0)
local elbow = joint(shoulder, 0, 2, 0)
local hand = joint(elbow, 2, 0, 0)

-- The level switch.
T.eq(GetEditLevel(), 0, "the editor starts at the Objects level")
T.fails(function() SolveIK(hand, point(1, 3, 0)) end, "Animation edit level", "IK needs the Animation level")
T.fails(function() Play() end, "Animation edit level", "so does playback")
T.fails(function() SetKeyframe() end, "Animation edit level", "and the key buttons")
T.fails(function() SetEditLevel(2) end, "0 (Objects) or 1 (Animation)", "level 2")
T.fails(function() SetEditLevel(0/0) end, "0 (Objects) or 1 (Animation)", "level NaN")
SetEditLevel(1)
T.eq(GetEditLevel(), 1, "Animation")

-- IK: the hand comes to the goal; no undo step is recorded.
local shoulderName = shoulder:GetName()
PushUndo("Before IK")
local goal = point(1, 3, 0)
local steps = 0
for i = 1, 20 do steps = SolveIK(hand, goal) end
local p = hand:GetGlobalMatrix()
T.near(p:M(3, 0), 1, 1e-4, "hand x")
T.near(p:M(3, 1), 3, 1e-4, "hand y")
T.eq(steps, 0, "a solve at the goal uses no steps")
T.eq(SolveIK(hand, point(50, 0, 0)), 100, "an unreachable goal uses every step")
Undo()
scene = GetScene()
-- Undo brings back copies of the joints: the old handles are not used again.
shoulder = tobone(scene:GetRootNode():GetChild(0))
T.eq(shoulder:GetName(), shoulderName, "the shoulder is back")
elbow = tobone(shoulder:GetChild(0))
hand = tobone(elbow:GetChild(0))
T.near(elbow:GetOffsetMatrix():M(0, 1), 0, 1e-6, "one undo goes back past every solve")
T.near(shoulder:GetOffsetMatrix():M(0, 1), 0, 1e-6, "and the shoulder too")
T.eq(SolveIK(shoulder, goal), 0, "a joint without a joint parent turns nothing")
T.fails(function() SolveIK(nil, goal) end, "endJoint must be a joint", "no joint")
T.fails(function() SolveIK(hand, point(0/0, 1, 0)) end, "finite", "NaN goal")
T.fails(function() SolveIK(hand, point(1/0, 1, 0)) end, "finite", "infinite goal")
shoulder:SetXConstraints(2, 0, 0)
SolveIK(hand, point(1, 2, 2.5), 1)
T.near(shoulder:GetOffsetMatrix():M(1, 2), 0, 1e-5, "with limits the locked shoulder does not turn about X")
SolveIK(hand, point(1, 2, 2.5))
T.check(math.abs(shoulder:GetOffsetMatrix():M(1, 2)) > 1e-3, "without limits it does")

-- Settings of the Animation menu.
T.eq(GetPlaySpeed(), 1, "speed 1 at start")
for _, s in ipairs({0.25, 0.5, 1, 2, 4}) do
  SetPlaySpeed(s)
  T.eq(GetPlaySpeed(), s, "speed " .. s)
end
T.fails(function() SetPlaySpeed(3) end, "0.25, 0.5, 1, 2 or 4", "speed 3")
T.fails(function() SetPlaySpeed(0.3) end, "0.25, 0.5, 1, 2 or 4", "speed 0.3")
T.eq(GetPlaySpeed(), 4, "a refused speed changes nothing")
T.eq(GetInterpolation(), 2, "spline at start")
SetInterpolation(0)
T.eq(GetInterpolation(), 0, "constant")
SetInterpolation(1.7)
T.eq(GetInterpolation(), 1, "integers are truncated")
T.fails(function() SetInterpolation(3) end, "0 (Constant), 1 (Linear) or 2 (Spline)", "mode 3")
T.fails(function() SetInterpolation(-1) end, "0 (Constant), 1 (Linear) or 2 (Spline)", "mode -1")
T.eq(GetInterpolation(), 1, "a refused mode changes nothing")
T.eq(IsAutoKeyframing(), nil, "auto keys off at start")
SetAutoKeyframing(1)
T.eq(IsAutoKeyframing(), 1, "auto keys on")
SetAutoKeyframing(0)
T.eq(IsAutoKeyframing(), nil, "0 means off")
SetFrameRate(-5)
T.eq(GetFrameRate(), 1, "a rate of 0 or below becomes 1")

-- The Keyframer's key buttons: all joints or the selected ones.
SetFrame(5)
elbow:SetSelected(1)
SetKeyframe(1)
T.eq(elbow:GetKeyCount() .. shoulder:GetKeyCount(), "10", "Set Keyframe keys the selected joints only")
SetKeyframe()
T.eq(shoulder:GetKeyCount() + hand:GetKeyCount(), 2, "and every joint without the flag")
DeleteKeyframe(1)
T.eq(elbow:GetKeyCount() .. shoulder:GetKeyCount(), "01", "Delete Keyframe takes the selected joints' keys")
DeleteKeyframe()
T.eq(shoulder:GetKeyCount() + hand:GetKeyCount(), 0, "every joint's key at the frame")
elbow:SetSelected(0)
SetFrame(1)

-- Playback: without a window nothing steps it, but the state is there.
T.eq(IsPlaying(), nil, "stopped at start")
Play()
T.eq(IsPlaying(), 1, "playing")
SetPlaySpeed(1)
T.eq(IsPlaying(), 1, "a speed change keeps playing")
Stop()
T.eq(IsPlaying(), nil, "stopped")
Play()
SetEditLevel(0)
T.eq(IsPlaying(), nil, "the Objects level stops playback")
T.eq(GetEditLevel(), 0, "Objects")
for _, p in ipairs(points) do p:delete() end
T.done()
