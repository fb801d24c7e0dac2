-- Builds examples/tube.rig: a tube skinned to a chain of three joints that
-- bends over 48 frames. Run: kinemo --batch examples/build_tube.lua OUT.rig
local out = arg[1] or "tube.rig"
local scene = GetScene()
SetFrameRate(24)
SetTotalFrames(48)

local joints, parent = {}, scene:GetRootNode()
for i = 1, 3 do
  local j = scene:CreateBone()
  parent:AttachChild(j)
  j:GetLocalMatrix():translate(0, i == 1 and 0 or 2, 0)
  j:SetName(({ "Root", "Middle", "Tip" })[i])
  joints[i], parent = j, j
end

local tube = scene:CreateMesh()
scene:GetRootNode():AttachChild(tube)
tube:SetName("Tube")
tube:SetColor(0.85, 0.55, 0.3)
local rings, sides, v = 25, 16, rgVertex:new()
for r = 0, rings - 1 do
  local y = 6 * r / (rings - 1)
  -- Weights blend between the two nearest joints along the tube.
  local s = y / 2
  local a = math.min(math.floor(s), 2)
  local b = math.min(a + 1, 2)
  local wb = math.max(0, math.min(1, s - a))
  for k = 0, sides - 1 do
    local t = 2 * math.pi * k / sides
    local x, z = math.cos(t), math.sin(t)
    v:set(0, 0.6 * x, y, 0.6 * z, x, 0, z, k / sides, r / (rings - 1),
      joints[a + 1]:GetId(), joints[b + 1]:GetId(), -1, -1, 1 - wb, wb, 0, 0)
    tube:AddVertex(v, 0)
  end
end
v:delete()
for r = 0, rings - 2 do
  for k = 0, sides - 1 do
    local a, b = r * sides + k, r * sides + (k + 1) % sides
    tube:AddFace(a, a + sides, b)
    tube:AddFace(b, a + sides, b + sides)
  end
end

-- A bend to one side and back.
local m = matrix44:new()
for i = 2, 3 do
  local j = joints[i]
  j:SetKey(1, m)
  m:rotate(0, 0, 1, 0.6)
  j:SetKey(24, m)
  m:ident()
  j:SetKey(48, m)
end
m:delete()

-- Two views of it: perspective and front.
CloseAllViewports()
local persp = CreateViewport()
persp:SetRect(0, 0, 0.5, 1)
persp:SetData1(0, -3, -14)      -- perspective offset: the camera a step back
persp:SetData2(0.25, -0.6, 0)   -- perspective angles: looking down a little
persp:SetDrawMode(4)            -- smooth shaded
local front = CreateViewport()
front:SetRect(0.5, 0, 0.5, 1)
front:SetProjection(4)
front:SetData5(0, -3, 0.12)     -- pan to the tube's middle, zoom to fit it
front:SetDrawMode(1)            -- wireframe
SetFrame(12)
save(out)
print("wrote " .. out)
