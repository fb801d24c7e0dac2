-- The bulk methods plug-ins use: whole lists in one call, checked before
-- anything changes.
dofile(string.gsub(arg[0], "[^/]*$", "") .. "../scripting/harness.lua")

local scene = GetScene()
local mesh = scene:CreateMesh()
scene:GetRootNode():AttachChild(mesh)
local joint = scene:CreateBone()
scene:GetRootNode():AttachChild(joint)

local function vertex(x, b, w)
  return { 0, x, 0, 0, 0, 0, 1, x / 10, 1 - x / 10, b, -1, -1, -1, w, 0, 0, 0 }
end
local function join(...)
  local t = {}
  for _, part in ipairs(arg) do
    for _, v in ipairs(part) do t[table.getn(t) + 1] = v end
  end
  return t
end

T.eq(mesh:AddVertices(join(vertex(1, -1, 0), vertex(2, joint:GetId(), 1), vertex(3, 1, 0.5))), 0, "AddVertices answers the first new index")
T.eq(mesh:GetVertexCount(), 3, "and adds every vertex")
T.eq(mesh:AddVertices(join(vertex(1, -1, 0), vertex(5, 1, 1)), { 40, joint:GetId() }), 3, "twice the same vertex is not merged")
T.eq(mesh:GetVertex(4).bone[1], joint:GetId(), "a joint value b stands for jointIds[b + 1]")
local all = mesh:GetVertices()
T.eq(table.getn(all), 5 * 17, "GetVertices: 17 numbers a vertex")
local first = join(vertex(1, -1, 0), vertex(2, joint:GetId(), 1))
local same = true
for i = 1, 34 do same = same and math.abs(all[i] - first[i]) < 1e-6 end
T.check(same, "GetVertices answers what AddVertices took")
T.eq(table.getn(mesh:GetVertices(4, 10)), 17, "a range is cut at the end of the list")
for _, range in ipairs({ { 0 / 0, 0 / 0, 0 }, { 1e300, 1, 0 }, { -1e300, 1, 1 }, { 0, 1 / 0, 5 } }) do
  T.eq(table.getn(mesh:GetVertices(range[1], range[2])), 17 * range[3],
       "GetVertices(" .. tostring(range[1]) .. ", " .. tostring(range[2]) .. ")")
end
T.eq(mesh:AddVertices(vertex(6, 0, 1), { 1e300 }), 5, "a joint id beyond an int is taken")
T.check(mesh:GetVertex(5).bone[1] > 1e6, "and stays out of the joints' range")

-- Each wrong table adds nothing.
local nan = vertex(1, -1, 0)
nan[3] = 0 / 0
local short = vertex(1, -1, 0)
short[17] = nil
local word = vertex(1, -1, 0)
word[5] = "x"
for _, case in ipairs({
  { function() mesh:AddVertices(short) end, "16 numbers are no whole number of vertices" },
  { function() mesh:AddVertices(word) end, "value 5 of the table is not a finite number" },
  { function() mesh:AddVertices(nan) end, "value 3 of the table is not a finite number" },
  { function() mesh:AddVertices(vertex(1, 2, 1), { 7, 8 }) end, "vertex 0 names joint 2 of 2" },
  { function() mesh:AddVertices(vertex(1, -3, 1)) end, "vertex 0 names joint -3" },
  { function() mesh:AddFaces({ 0, 1 }) end, "2 indices are no whole number of triangles" },
  { function() mesh:AddFaces({ 0, 1, 2, 0, 1, 6 }) end, "triangle 1 names vertex 6; the mesh has 6 vertices" },
  { function() mesh:AddFaces({ 0, 1, -1 }) end, "triangle 0 names vertex -1" },
  { function() mesh:AddVertices() end, "AddVertices" },
  { function() mesh:AddVertices(vertex(1, 0, 1), 5) end, "AddVertices" },
  { function() joint:SetKeys("keys") end, "SetKeys" },
}) do
  T.fails(case[1], case[2], case[2])
end
T.eq(mesh:GetVertexCount(), 6, "no vertex was added by a wrong table")
mesh:AddFaces({ 0, 1, 2, 2, 3, 4 })
T.eq(mesh:GetFaceCount(), 2, "AddFaces adds every triangle of a sound table")
local faces = mesh:GetFaces()
T.eq(table.concat(faces, ","), "0,1,2,2,3,4", "GetFaces answers them")

-- Keys in and out; sampling poses nothing.
local m = matrix44:new()
m:rotate(0, 0, 1, 0.5)
m:S(3, 0, 2)
joint:SetKeys(join({ 10 }, { m:get() }, { 0.1, 0.2, 0.3, 0.4, 0.5, 0.6 }, { 1 }, { matrix44:new():get() }, { 0, 0, 0, 0, 0, 0 }))
T.eq(joint:GetKeyCount(), 2, "SetKeys sets every key")
T.eq(joint:GetKey(0).frame, 1, "sorted by frame")
local keys = joint:GetKeys()
T.eq(table.getn(keys), 46, "GetKeys: 23 numbers a key")
T.near(keys[23 + 18], 0.1, 1e-6, "with the spline parameters")
T.fails(function() joint:SetKeys(join({ 2e6 }, { m:get() }, { 0, 0, 0, 0, 0, 0 })) end, "beyond a million", "a key beyond the frames is refused")
T.eq(joint:GetKeyCount(), 2, "and nothing set")

SetInterpolation(1)
SetEditLevel(1)
SetTotalFrames(20)
local samples = joint:SampleOffsets(1, 10)
T.eq(table.getn(samples), 160, "SampleOffsets: 16 numbers a frame")
SetFrame(5)
local at5 = { joint:GetOffsetMatrix():get() }
local equal = true
for i = 1, 16 do equal = equal and math.abs(samples[4 * 16 + i] - at5[i]) < 1e-6 end
T.check(equal, "a sample is the pose SetFrame gives")
joint:SampleOffsets(1, 10)
local still = { joint:GetOffsetMatrix():get() }
T.eq(table.concat(still, ","), table.concat(at5, ","), "sampling leaves the pose as it was")

-- The deformed vertices follow the pose: vertex 1 is bound to the joint
-- alone, which the key at frame 10 moves by 2 along x and turns.
SetFrame(10)
local deformed = mesh:GetDeformedVertices(1, 1)
T.eq(table.getn(deformed), 8, "GetDeformedVertices: 8 numbers a vertex")
local p = m:Transform(vector3:new(2, 0, 0))
T.near(deformed[1], p.x, 1e-5, "the posed x")
T.near(deformed[2], p.y, 1e-5, "the posed y")
T.near(mesh:GetDeformedVertices(0, 1)[1], 1, 1e-6, "an unbound vertex stays")
scene:UpdateScene()
T.near(joint:GetGlobalMatrix():M(3, 0), 2, 1e-6, "UpdateScene brings the world matrices to the pose")
T.done()
