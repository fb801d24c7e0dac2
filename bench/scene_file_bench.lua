-- Save and load of a scene with a 200,000-vertex mesh and 50 joints with
-- 100 keys each: seconds for each, file size and peak memory.
-- Run by `make bench` as `kinemo --batch bench/scene_file_bench.lua`.
local scene = GetScene()
local joints = {}
local parent = scene:GetRootNode()
local m = matrix44:new()
for j = 1, 50 do
  local joint = scene:CreateBone()
  parent:AttachChild(joint)
  joint:GetMatrix():translate(0, 0.1, 0)
  for k = 0, 99 do
    m:ident()
    m:rotate(0.3, 0.5, 0.81, 0.01 * (k + j))
    m:translate(0.001 * k, 0, 0)
    joint:SetKey(k * 2, m, 0.1, 0.2, -0.1, 0.3, 0, 0.2)
  end
  joints[j] = joint
  parent = (j % 10 == 0) and scene:GetRootNode() or joint
end
m:delete()
local mesh = scene:CreateMesh()
scene:GetRootNode():AttachChild(mesh)
local v = rgVertex:new()
for i = 0, 199999 do
  local u, w = (i % 500) / 500, math.floor(i / 500) / 400
  v:set(0, math.cos(u * 6.2831853) * (3 + math.cos(w * 6.2831853)), math.sin(w * 6.2831853),
    math.sin(u * 6.2831853) * (3 + math.cos(w * 6.2831853)), 0, 1, 0, u, w,
    joints[i % 50 + 1]:GetId(), joints[(i + 7) % 50 + 1]:GetId(), -1, -1, 0.6, 0.4, 0, 0)
  mesh:AddVertex(v, 0)
end
v:delete()
for i = 0, 199997, 2 do mesh:AddFace(i, i + 1, i + 2) end

local path = (os.getenv("TMPDIR") or "/tmp") .. "/kinemo_bench_scene.rig"
local t0 = os.clock()
save(path)
local saveSeconds = os.clock() - t0
local f = io.open(path, "r")
local size = f:seek("end")
f:close()
t0 = os.clock()
LoadScene(path)
local loadSeconds = os.clock() - t0

local peak = "?"
local status = io.open("/proc/self/status", "r")
if status then
  for line in status:lines() do
    local kb = string.match(line, "^VmHWM:%s*(%d+)")
    if kb then peak = string.format("%.0f MB", kb / 1024) end
  end
  status:close()
end
print(string.format("BM_SceneFile: save %.2f s, load %.2f s, file %.1f MB, peak memory %s",
  saveSeconds, loadSeconds, size / 1048576, peak))
os.remove(path)
