dofile(string.gsub(arg[0], "[^/]*$", "") .. "harness.lua")

-- A canonical text of everything a scene file should keep, built through
-- the script API; floats with %.9g, so equal text means equal floats.
local function num(x) return string.format("%.9g", x) end
local function mat(m)
  local t = {}
  for r = 0, 3 do for c = 0, 3 do t[table.getn(t) + 1] = num(m:M(r, c)) end end
  return table.concat(t, " ")
end
local function dump()
  local out = {}
  local function put(s) out[table.getn(out) + 1] = s end
  put("fps " .. num(GetFrameRate()) .. " total " .. GetTotalFrames() .. " frame " .. GetFrame())
  for i = 0, GetTextureCount() - 1 do
    local t = GetTexture(i)
    put("texture " .. t:GetFileName() .. " " .. t:GetId() .. " " .. t:GetWidth() .. "x" .. t:GetHeight())
  end
  local scene = GetScene()
  local index, n = {}, 0
  local node = scene:GetFirstNode()
  while node do
    n = n + 1
    index[node] = n
    local r, g, b = node:GetColor()
    put(table.concat({ "node", n, node:GetClassName(), node:GetName(), index[node:GetParent()] or 0,
      num(r), num(g), num(b), node:GetMaterial(), tostring(node:GetSelected()), tostring(node:IsVisible()),
      mat(node:GetClassName() == "rgBone" and tobone(node):GetLocalMatrix() or node:GetMatrix()) }, " | "))
    if node:GetClassName() == "rgMesh" then
      local m = tomesh(node)
      for i = 0, m:GetVertexCount() - 1 do
        local v = m:GetVertex(i)
        put(table.concat({ "v", tostring(v.selected), num(v.position.x), num(v.position.y), num(v.position.z),
          num(v.normal.x), num(v.normal.y), num(v.normal.z), num(v.texcoords.x), num(v.texcoords.y),
          v.bone[1], v.bone[2], v.bone[3], v.bone[4], num(v.weight[1]), num(v.weight[2]), num(v.weight[3]),
          num(v.weight[4]) }, " "))
      end
      for i = 0, m:GetFaceCount() - 1 do put("f " .. table.concat({ m:GetFace(i) }, " ")) end
    elseif node:GetClassName() == "rgBone" then
      local j = tobone(node)
      put(table.concat({ "joint", j:GetId(), mat(j:GetOffsetMatrix()), j:IsIKChainEnd(), num(j:GetIKWeight()),
        table.concat({ j:GetXConstraints() }, " "), table.concat({ j:GetYConstraints() }, " "),
        table.concat({ j:GetZConstraints() }, " "), tostring(j.parentselected) }, " | "))
      for i = 0, j:GetKeyCount() - 1 do
        local k = j:GetKey(i)
        put(table.concat({ "key", k.frame, mat(k.matrix), num(k.trans_tcb.x), num(k.trans_tcb.y),
          num(k.trans_tcb.z), num(k.rot_tcb.x), num(k.rot_tcb.y), num(k.rot_tcb.z) }, " "))
      end
    end
    node = scene:GetNextNode()
  end
  for i = 0, GetClipCount() - 1 do
    local name, first, last, loop = GetClip(i)
    put("clip " .. name .. " | " .. first .. " | " .. last .. " | " .. tostring(loop))
  end
  for i = 0, GetViewportCount() - 1 do
    local v = GetViewport(i)
    local d = {}
    for _, data in ipairs({ v:GetData1(), v:GetData2(), v:GetData3(), v:GetData4(), v:GetData5() }) do
      d[table.getn(d) + 1] = num(data.x) .. " " .. num(data.y) .. " " .. num(data.z)
    end
    put(table.concat({ "viewport", table.concat({ v:GetRect() }, " "), v:GetProjection(), table.concat(d, " "),
      v:GetDrawMode(), v:GetDrawGrid(), v:GetDrawBF() }, " | "))
  end
  return table.concat(out, "\n")
end

-- Build a scene that uses every field.
local scene = GetScene()
SetFrameRate(25)
SetTotalFrames(60)
local hip = scene:CreateBone()
scene:GetRootNode():AttachChild(hip)
hip:SetName("Hip \"quoted\" name")
hip:GetLocalMatrix():translate(0, 1.1, 0)
hip:SetId(12)
hip:SetIKChainEnd(1)
hip:SetIKWeight(0.3)
hip:SetXConstraints(1, -45, 30.5)
hip:SetZConstraints(2, 0, 0)
hip:GetOffsetMatrix():rotate_y(0.1)
local knee = scene:CreateBone()
hip:AttachChild(knee)
knee:GetLocalMatrix():rotate_x(1 / 3)
knee:GetLocalMatrix():translate(0.1, -0.5, 1e-8)
local k = matrix44:new()
k:rotate(0.6, 0, 0.8, 0.7)
k:translate(1 / 7, 2, 3)
knee:SetKey(1, k, 0.1, -0.2, 0.3, 0.4, 0.5, -0.6)
knee:SetKey(30, k)
k:delete()
local holder = rgSceneNode:new(scene)
scene:GetRootNode():AttachChild(holder)
holder:SetName("Holder")
local body = scene:CreateMesh()
holder:AttachChild(body)
body:SetName("Body")
body:SetColor(0.1, 0.2, 0.3)
body:SetMaterial(4)
local v = rgVertex:new()
for i = 0, 9000 do  -- more than one chunk
  v:set(i % 3 == 0 and 1 or 0, i / 3, math.sin(i), 1e-7 * i, 0, 1, 0, i / 9001, 1 - i / 9001,
    12, i % 2 == 0 and knee:GetId() or -1, -1, 99, 0.75, 0.25, 0, 1 / 3)
  body:AddVertex(v, 0)
end
-- Values a decimal text loses or mangles keep their bits: minus zero, the
-- smallest denormal, the largest float, the largest joint id.
v:set(1, -1 / math.huge, 1e-45, 3.4028234e38, -1e-40, 0, -1, 0.1, 1 / 3, 2147483647, -1, -1, -1, 1, 0, 0, 1e-30)
body:AddVertex(v, 0)
v:delete()
for i = 0, 8998 do body:AddFace(i, i + 1, i + 2) end
body:SetSelected(1)
knee:SetSelected(1)
holder:Hide()
body:Show()
CloseAllViewports()
local top = CreateViewport()
top:SetProjection(0)
top:SetRect(0, 0, 0.5, 0.5)
top:SetData5(0.25, -1.5, 0.02)
top:SetDrawMode(3)
top:SetDrawGrid(0)
local persp = CreateViewport()
persp:SetData2(0.3, -0.2, 0)
persp:SetDrawBF(1)
SetFrame(17)
AddClip("Walk \"fast\"\nturn", 1, 24, true)
AddClip("Idle", 25, 60)

T.near(hip:GetLocalMatrix():M(3, 1), 1.1, 1e-6, "the joint placement is set")
local before = dump()
local path = T.scratch .. "/kinemo_round_trip_" .. os.time() .. ".rig"
save(path)
LoadScene(path)
local after = dump()
T.check(before == after, "the loaded scene equals the saved one")
if before ~= after then
  local f = io.open(path .. ".before", "w") f:write(before) f:close()
  f = io.open(path .. ".after", "w") f:write(after) f:close()
  print("dumps left in " .. path .. ".before/.after")
end

-- Merging the same file adds a second copy with its joint ids shifted apart
-- and leaves the viewports and frame alone.
SetTotalFrames(100)
SetFrame(50)
CloseAllViewports()
MergeScene(path)
T.eq(GetTotalFrames(), 100, "a merge never lowers the total frames")
T.eq(GetViewportCount(), 0, "a merge keeps the user's viewports")
T.eq(GetFrame(), 50, "a merge keeps the current frame")
local count, ids = 0, {}
local node = scene:GetFirstNode()
while node do
  count = count + 1
  if node:GetClassName() == "rgBone" then ids[table.getn(ids) + 1] = tobone(node):GetId() end
  node = scene:GetNextNode()
end
T.eq(count, 8, "two copies of four nodes")
T.eq(GetClipCount(), 4, "the merged file's clips join the scene's")
T.eq(GetClip(3), "Idle 2", "a merged clip whose name is taken gets a number")
T.check(ids[3] ~= ids[1] and ids[4] ~= ids[2], "merged joints have their own ids")

-- A scene file that reaches for the system stops with a clear message and
-- changes nothing.
local before2 = dump()
local evil = T.scratch .. "/kinemo_evil_" .. os.time() .. ".rig"
local f = io.open(evil, "w")
f:write("CheckFileVersion(5)\nlocal s = GetScene()\nlocal j = s:CreateBone()\ns:GetRootNode():AttachChild(j)\n")
f:write("io.open('" .. evil .. ".pwned', 'w')\nprint('still running')\n")
f:close()
LoadScene(evil)
T.eq(io.open(evil .. ".pwned", "r"), nil, "the scene file could not write a file")
T.check(dump() == before2, "a failed load leaves the scene as it was")

local broken = T.scratch .. "/kinemo_broken_" .. os.time() .. ".rig"
f = io.open(broken, "w")
f:write("CheckFileVersion(5)\nthis is not Lua\n")
f:close()
LoadScene(broken)
T.check(dump() == before2, "a file with a syntax error changes nothing")

-- Files written before meshes were packed (tables of decimal numbers) still load.
local old = T.scratch .. "/kinemo_old_format_" .. os.time() .. ".rig"
f = io.open(old, "w")
f:write([[-- Kinemo scene
CheckFileVersion(5)
SceneFile.begin()
SceneFile.node(1, 0, "mesh", "Old", 0.5, 0.5, 0.5, 0, {1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1})
SceneFile.vertices(1, function() return {
1,0.5,0.25,-2,0,1,0,0.125,0.75,-1,-1,-1,-1,0,0,0,0,
0,1,2,3,0,0,1,1,1,-1,-1,-1,-1,0,0,0,0,
0,4,5,6,1,0,0,0,0,-1,-1,-1,-1,0,0,0,0,
} end)
SceneFile.faces(1, function() return {
0,1,2,
} end)
SceneFile.flags({1,0,1})
SceneFile.finish()
]])
f:close()
T.check(LoadScene(old), "a scene file of the older layout loads")
local oldMesh = tomesh(GetScene():GetFirstNode())
T.eq(oldMesh and oldMesh:GetVertexCount(), 3, "its vertices")
T.eq(oldMesh and oldMesh:GetFaceCount(), 1, "its faces")
if oldMesh then
  local p = oldMesh:GetVertex(1).position
  T.check(p.x == 1 and p.y == 2 and p.z == 3, "its second vertex is where the file puts it")
  T.eq(oldMesh:GetVertex(0).selected, 1, "its first vertex is selected")
  T.eq(select(3, oldMesh:GetFace(0)), 2, "its face")
end

-- Packed text comes from files: anything but whole, valid items is refused
-- with a message, and nothing is added.
local packed = oldMesh:GetPackedVertices()
T.eq(string.len(packed), 272, "three vertices of 68 bytes are 272 characters of base64")
local cases = {
  { function() oldMesh:AddPackedVertices("AB!D") end, "not packed data" },
  { function() oldMesh:AddPackedVertices("ABC") end, "not packed data" },
  { function() oldMesh:AddPackedVertices(string.sub(packed, 1, 8)) end, "no whole number of items" },
  { function() oldMesh:AddPackedFaces(oldMesh:GetPackedVertices(0, 1)) end, "no whole number of items" },
}
local closedPath = T.scratch .. "/kinemo_closed_" .. os.time()
local closed = io.open(closedPath, "w")
closed:close()
os.remove(closedPath)
table.insert(cases, { function() oldMesh:WritePackedVertices(closed) end, "the file is closed" })
table.insert(cases, { function() oldMesh:WritePackedFaces("not a file") end, "FILE* expected" })
for _, c in ipairs(cases) do T.fails(c[1], c[2], c[2]) end
-- Faces are checked against the mesh: the faces of a mesh with more vertices name ones this has not.
local bigger = GetScene():CreateMesh()
GetScene():GetRootNode():AttachChild(bigger)
bigger:AddVertices({ 0,0,0,0, 0,0,1, 0,0, -1,-1,-1,-1, 0,0,0,0 })
T.fails(function() bigger:AddPackedFaces(oldMesh:GetPackedFaces()) end,
  "triangle 0 names vertex 1; the mesh has 1 vertices", "a face naming a missing vertex")
T.eq(oldMesh:GetVertexCount(), 3, "refused text adds no vertex")
T.eq(bigger:GetFaceCount(), 0, "refused text adds no face")
T.eq(oldMesh:AddPackedVertices(packed), 3, "valid text adds after the vertices there")
T.eq(oldMesh:GetVertexCount(), 6, "three more vertices")

-- A file whose packed text is damaged leaves the scene as it was.
local sceneBefore = dump()
local damaged = T.scratch .. "/kinemo_damaged_packed_" .. os.time() .. ".rig"
f = io.open(damaged, "w")
f:write('CheckFileVersion(5)\nSceneFile.begin()\n'
  .. 'SceneFile.node(1, 0, "mesh", "M", 1, 1, 1, 0, {1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1})\n'
  .. 'SceneFile.packedVertices(1, "' .. packed .. '")\n'
  .. 'SceneFile.packedFaces(1, "AAAAAAEAAAAJAAAA")\nSceneFile.finish()\n')
f:close()
T.check(not LoadScene(damaged), "a face naming vertex 9 of 3 stops the load")
T.check(dump() == sceneBefore, "and the scene is as it was")

os.remove(path)
os.remove(evil)
os.remove(broken)
os.remove(old)
os.remove(damaged)
T.done()
