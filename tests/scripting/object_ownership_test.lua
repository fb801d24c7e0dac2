dofile(string.gsub(arg[0], "[^/]*$", "") .. "harness.lua")

-- Objects a script makes belong to it until it hands them to the scene:
-- the collector frees what it drops (LeakSanitizer checks at exit that
-- nothing is left over), `delete` frees an object exactly once, and what
-- the scene holds is never freed under it.

local scene = GetScene()
local root = scene:GetRootNode()
local dropped = setmetatable({}, { __mode = "v" })
local function collect() collectgarbage() collectgarbage() end
local function names()
  local t = {}
  local node = scene:GetFirstNode()
  while node do
    t[table.getn(t) + 1] = node:GetName()
    node = scene:GetNextNode()
  end
  return table.concat(t, ",")
end

do
  local kept = rgSceneNode:new(scene)
  kept:SetName("kept")
  root:AttachChild(kept)
  local child = rgMesh(scene)
  child:SetName("child")
  kept:AttachChild(child)
  local created = scene:CreateBone()
  created:SetName("created")
  root:AttachChild(created)
  dropped.joint = rgBone:new(scene)
  dropped.mesh = scene:CreateMesh()
  dropped.vector = vector3:new(1, 2, 3)
  dropped.copy = matrix44:new():clone()
  dropped.vertex = rgVertex:new()
  dropped.detached = rgSceneNode:new(scene)
  root:AttachChild(dropped.detached)
  root:DetachChild(dropped.detached)
end
collect()
for _, what in ipairs({ "joint", "mesh", "vector", "copy", "vertex", "detached" }) do
  T.eq(dropped[what], nil, "a dropped " .. what .. " is collected")
end
T.eq(names(), "kept,child,created", "what the scene holds stays")

-- A node that is not this node's child keeps its parent.
local kept = scene:GetFirstNode()
local child = kept:GetChild(0)
root:DetachChild(child)
T.eq(child:GetParent(), kept, "DetachChild of another node's child changes nothing")

-- delete works once; what is not the script's cannot be deleted.
local v = vector3:new(1, 2, 3)
v:delete()
T.fails(function() v:delete() end, "the vector3 this handle referred to no longer exists", "a second delete")
child:delete()
T.eq(names(), "kept,created", "a scene node deleted by a script")
T.fails(function() child:delete() end, "the rgSceneNode this handle referred to no longer exists",
  "a scene node deleted twice")
local cases = {
  { function() root:delete() end, "the scene's root node cannot be deleted" },
  { function() kept:GetMatrix():delete() end, "this matrix44 is part of another object and cannot be deleted" },
  { function() rgSceneNode:new(scene):AttachChild(root) end, "the scene's root node cannot be attached" },
  { function() rgSceneNode:new(nil) end, "argument #2 is 'nil'; 'rgScene' expected" },
  { function() rgMesh(nil) end, "argument #2 is 'nil'; 'rgScene' expected" },
  { function() return tolua.cast(kept, "rgBone") end, "attempt to call field 'cast'" },
}
for i, c in ipairs(cases) do T.fails(c[1], c[2], "refused " .. i) end
local mesh = scene:CreateMesh()
root:AttachChild(mesh)
mesh:AddVertex(rgVertex:new())
T.fails(function() mesh:GetVertex(0):delete() end, "this rgVertex is part of another object", "deleting a mesh's vertex")
T.fails(function() mesh:GetVertex(0).position:delete() end, "this vector3 is part of another object",
  "deleting a vertex's position")

-- A part keeps its owner alive: the collector does not free a vertex while
-- the script still holds its position.
local position = rgVertex:new().position
collect()
position.x = 4
T.eq(position.x, 4, "the part of a dropped vertex")

-- Values made in a loop are freed as the loop goes (the collector knows
-- what they cost): Lua's memory and the process's stay flat.
local function resident()
  local status = io.open("/proc/self/status"):read("*a")
  return tonumber(string.match(status, "VmRSS:%s*(%d+)")) / 1024
end
for i = 1, 100000 do local w = vector3(1, 2, 3) end
collect()
local luaBefore, residentBefore = collectgarbage("count"), resident()
for i = 1, 1000000 do
  local w = vector3(i, 2, 3)
  local m = matrix44:new()
end
T.check(collectgarbage("count") < luaBefore + 8192, "Lua memory stays flat: " .. collectgarbage("count") .. " KB")
T.check(resident() < residentBefore + 64, "resident memory stays flat: " .. resident() - residentBefore .. " MB more")

T.done()
