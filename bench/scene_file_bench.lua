-- Save and load of a scene with one large mesh and a skeleton with 100 keys
-- a joint: seconds for each, file size and the process's peak memory.
-- Run by `make bench`, once a size (the peak is the whole process's):
--   kinemo --batch bench/scene_file_bench.lua                    BM_SceneFile, 200,000 vertices, 50 joints
--   kinemo --batch bench/scene_file_bench.lua 1000000 64 BM_SceneFile1M
local vertexCount = tonumber(arg[1]) or 200000
local jointCount = tonumber(arg[2]) or 50
local label = arg[3] or "BM_SceneFile"

local scene = GetScene()
local joints = {}
local parent = scene:GetRootNode()
local m = matrix44:new()
for j = 1, jointCount do
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
-- A torus 500 vertices around, built in slices through the bulk function.
local slice = 50000
for start = 0, vertexCount - 1, slice do
  local t, n = {}, 0
  for i = start, math.min(start + slice, vertexCount) - 1 do
    local u, w = (i % 500) / 500, math.floor(i / 500) / (vertexCount / 500)
    local values = { 0, math.cos(u * 6.2831853) * (3 + math.cos(w * 6.2831853)), math.sin(w * 6.2831853),
      math.sin(u * 6.2831853) * (3 + math.cos(w * 6.2831853)), 0, 1, 0, u, w,
      joints[i % jointCount + 1]:GetId(), joints[(i + 7) % jointCount + 1]:GetId(), -1, -1, 0.6, 0.4, 0, 0 }
    for k = 1, 17 do t[n + k] = values[k] end
    n = n + 17
  end
  mesh:AddVertices(t)
end
local faces, n = {}, 0
for i = 0, vertexCount - 3, 2 do
  faces[n + 1], faces[n + 2], faces[n + 3] = i, i + 1, i + 2
  n = n + 3
end
mesh:AddFaces(faces)
faces = nil
collectgarbage()

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
if GetScene():GetFirstNode() == nil then error(label .. ": the scene did not load") end

local peak = "?"
local status = io.open("/proc/self/status", "r")
if status then
  for line in status:lines() do
    local kb = string.match(line, "^VmHWM:%s*(%d+)")
    if kb then peak = string.format("%.0f MB", kb / 1024) end
  end
  status:close()
end
print(string.format("%s: %d vertices, %d joints: save %.2f s, load %.2f s, file %.1f MB, peak memory %s",
  label, vertexCount, jointCount, saveSeconds, loadSeconds, size / 1048576, peak))
os.remove(path)
