dofile(string.gsub(arg[0], "[^/]*$", "") .. "harness.lua")

-- Every kind of handle a script can hold, each way its object can go: the
-- handle then answers with a clear error, never with freed memory (this
-- file runs under AddressSanitizer, which reports any such use).

local scene = GetScene()
local stamp = T.scratch .. "/kinemo_handles_" .. os.time()
local saved = stamp .. ".rig"
local broken = stamp .. "_broken.rig"
local image = stamp .. ".ppm"
local f = io.open(broken, "w")
f:write("CheckFileVersion(5)\nGetScene():GetRootNode():AttachChild(GetScene():CreateBone())\n")
f:write("error('broken half way')\n")
f:close()
f = io.open(image, "wb")
f:write("P6\n1 1\n255\n\255\0\0")
f:close()

-- A joint with two keys, a mesh under it with one vertex, a node under that.
local function build()
  scene:Clear()
  local s = { joint = scene:CreateBone(), mesh = scene:CreateMesh(), node = rgSceneNode:new(scene) }
  scene:GetRootNode():AttachChild(s.joint)
  s.joint:AttachChild(s.mesh)
  s.mesh:AttachChild(s.node)
  local m = matrix44:new()
  s.joint:SetKey(1, m)
  s.joint:SetKey(5, m)
  local v = rgVertex:new()
  v:set(0, 1, 2, 3, 0, 0, 1, 0, 0, s.joint:GetId(), -1, -1, -1, 1, 0, 0, 0)
  s.mesh:AddVertex(v)
  return s
end

local kinds = {
  { name = "node", class = "rgSceneNode", take = function(s) return s.node end,
    use = function(h) h:SetName("x") end },
  { name = "mesh", class = "rgMesh", take = function(s) return s.mesh end,
    use = function(h) return h:GetVertexCount() end },
  { name = "joint", class = "rgBone", take = function(s) return s.joint end,
    use = function(h) return h.number end },
  { name = "vertex", class = "rgVertex", take = function(s) return s.mesh:GetVertex(0) end,
    use = function(h) h.selected = 1 end },
  { name = "transformed vertex", class = "rgVertex", take = function(s) return s.mesh:GetTransformedVertex(0) end,
    use = function(h) return h.position end },
  { name = "vertex position", class = "vector3", take = function(s) return s.mesh:GetVertex(0).position end,
    use = function(h) h.x = 5 end },
  { name = "vertex weights", class = "rgVertex", take = function(s) return s.mesh:GetVertex(0).weight end,
    use = function(h) h[1] = 0.5 end },
  { name = "node matrix", class = "matrix44", take = function(s) return s.node:GetMatrix() end,
    use = function(h) h:translate(1, 2, 3) end },
  { name = "joint offset", class = "matrix44", take = function(s) return s.joint:GetOffsetMatrix() end,
    use = function(h) return h:M(0, 0) end },
  { name = "key", class = "rgKeyframe", take = function(s) return s.joint:GetKey(0) end,
    use = function(h) h.frame = 9 end },
  { name = "key matrix", class = "matrix44", take = function(s) return s.joint:GetKeyMatrix(5) end,
    use = function(h) h:S(3, 0, 1) end },
  { name = "key spline", class = "vector3", take = function(s) return s.joint:GetKey(1).rot_tcb end,
    use = function(h) h:set(1, 2, 3) end },
}

local ways = {
  { name = "Clear", go = function() scene:Clear() end },
  { name = "Undo", go = function() PushUndo("handles") Undo() end },
  { name = "LoadScene", go = function() save(saved) LoadScene(saved) end },
  { name = "a failed MergeScene", go = function() MergeScene(broken) end },
  { name = "deleting the joint", go = function(s) s.joint:delete() end },
}

for _, way in ipairs(ways) do
  for _, kind in ipairs(kinds) do
    local s = build()
    local handle = kind.take(s)
    T.check(pcall(kind.use, handle), kind.name .. " works before " .. way.name)
    way.go(s)
    T.fails(function() kind.use(handle) end, "the " .. kind.class .. " this handle referred to no longer exists",
      kind.name .. " after " .. way.name)
  end
end

-- One key goes: its handles end, the joint's other key stays.
local s = build()
local first, firstMatrix, second = s.joint:GetKey(0), s.joint:GetKeyMatrix(1), s.joint:GetKey(1)
s.joint:DeleteKeyIndex(0)
T.fails(function() return first.frame end, "the rgKeyframe this handle referred to no longer exists", "deleted key")
T.fails(function() firstMatrix:ident() end, "the matrix44 this handle", "deleted key's matrix")
T.eq(second.frame, 5, "the other key is still there")
s.joint:SetKey(5, matrix44:new(), 0.5)
T.eq(second.trans_tcb.x, 0.5, "a key set again at its frame keeps its handle")

-- Textures go with the scene they were loaded for.
local texture = AddTexture(image)
T.eq(texture:GetWidth(), 1, "texture handle")
LoadScene(broken)
T.eq(texture:GetWidth(), 1, "a failed load keeps the textures")
save(saved)
LoadScene(saved)
T.check(GetTexture(0) ~= texture, "the loaded scene has its own texture")
T.fails(function() return texture:GetWidth() end, "the rgTexture this handle referred to no longer exists",
  "texture after LoadScene")

-- What keeps its objects keeps their handles.
s = build()
local vertex, mesh = s.mesh:GetVertex(0), s.mesh
LoadScene(broken)
T.eq(mesh:GetVertexCount(), 1, "a failed load keeps the scene's own nodes")
MergeScene(saved)
T.eq(vertex.position.y, 2, "a merge keeps the scene's nodes")
local v = rgVertex:new()
for i = 1, 10000 do v:set(0, i, 0, 0, 0, 0, 1, 0, 0, -1, -1, -1, -1, 0, 0, 0, 0) mesh:AddVertex(v, 0) end
T.eq(vertex.position.z, 3, "vertices stay where they are while the list grows")

-- A stale handle never reaches an object made later at the same address.
s = build()
local gone = s.node
gone:delete()
local fresh = {}
for i = 1, 50 do
  fresh[i] = rgSceneNode:new(scene)
  scene:GetRootNode():AttachChild(fresh[i])
end
T.fails(function() gone:SetName("stale") end, "the rgSceneNode this handle referred to no longer exists",
  "deleted node")
T.fails(function() scene:GetRootNode():AttachChild(gone) end, "no longer exists", "a stale handle as an argument")
local renamed = 0
for i = 1, 50 do
  if fresh[i]:GetName() == "stale" then renamed = renamed + 1 end
end
T.eq(renamed, 0, "no new node took the stale handle's write")

-- The parts of a script's own object end with it.
local own = rgVertex:new()
local part = own.position
own:delete()
T.fails(function() return part.x end, "the vector3 this handle referred to no longer exists", "part of a deleted vertex")

os.remove(saved)
os.remove(broken)
os.remove(image)
T.done()
