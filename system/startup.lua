-- Kinemo start-up script: runs once when the program starts, before the
-- plug-ins. It defines save(path) and the helpers that scene files call,
-- and so the scene file format.
--
-- A scene file is a Lua script that rebuilds the scene through the script
-- API. It runs in a restricted environment: it may call the script API and
-- the helpers in the table SceneFile, nothing that reaches files or the
-- system. Numbers are written with %.9g so every float reads back exactly.

SceneFile = {}
local F = SceneFile

------------------------------------------------------------------ loading --

local nodes = {}      -- index -> node, while a file loads
local joints = {}     -- joints created by the file, in order
local matrix          -- a scratch matrix for keys
local vertex          -- a scratch vertex for AddVertex

local function parentOf(index)
  if index == 0 then return GetScene():GetRootNode() end
  return nodes[index]
end

local function setMatrix(m, t)
  m:set(t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8],
        t[9], t[10], t[11], t[12], t[13], t[14], t[15], t[16])
end

function F.begin()
  nodes, joints = {}, {}
  matrix = matrix44:new()
  vertex = rgVertex:new()
end

-- A node of kind "node", "mesh" or "joint" under node `parent` (0: the root).
function F.node(index, parent, kind, name, r, g, b, material, localMatrix)
  local scene = GetScene()
  local node
  if kind == "mesh" then
    node = scene:CreateMesh()
  elseif kind == "joint" then
    node = scene:CreateBone()
    joints[table.getn(joints) + 1] = node
  else
    node = rgSceneNode:new(scene)
  end
  parentOf(parent):AttachChild(node)
  node:SetName(name)
  node:SetColor(r, g, b)
  node:SetMaterial(material)
  -- SetMatrix writes the local matrix of every kind of node (a joint's
  -- GetMatrix answers a computed copy).
  setMatrix(matrix, localMatrix)
  node:SetMatrix(matrix)
  nodes[index] = node
end

function F.joint(index, id, offset, ikEnd, ikWeight, limits)
  local j = nodes[index]
  j:SetId(id)
  setMatrix(j:GetOffsetMatrix(), offset)
  j:SetIKChainEnd(ikEnd)
  j:SetIKWeight(ikWeight)
  j:SetXConstraints(limits[1], limits[2], limits[3])
  j:SetYConstraints(limits[4], limits[5], limits[6])
  j:SetZConstraints(limits[7], limits[8], limits[9])
end

-- Selection and visibility, given once the whole hierarchy exists: hiding a
-- node hides its subtree, so flags are applied parents first.
function F.flags(list)
  for i = 1, table.getn(list), 3 do
    if list[i + 2] == 0 then nodes[list[i]]:Hide() end
  end
  for i = 1, table.getn(list), 3 do
    local node = nodes[list[i]]
    if list[i + 2] ~= 0 then node:Show() end
    node:SetSelected(list[i + 1])
  end
end

-- 17 numbers a vertex: selected, position, normal, texture coordinates,
-- four joint ids, four weights. `chunk` returns the numbers (chunks keep
-- the interpreter's per-function limits).
function F.vertices(index, chunk)
  local m, v, t = nodes[index], vertex, chunk()
  for i = 1, table.getn(t), 17 do
    v:set(t[i], t[i + 1], t[i + 2], t[i + 3], t[i + 4], t[i + 5], t[i + 6], t[i + 7], t[i + 8],
          t[i + 9], t[i + 10], t[i + 11], t[i + 12], t[i + 13], t[i + 14], t[i + 15], t[i + 16])
    m:AddVertex(v, 0)
  end
end

function F.faces(index, chunk)
  local m, t = nodes[index], chunk()
  for i = 1, table.getn(t), 3 do m:AddFace(t[i], t[i + 1], t[i + 2]) end
end

-- Vertices and faces as packed text (base64 of 32-bit words, see
-- rgMesh:AddPackedVertices): what save writes; the two above read older files.
function F.packedVertices(index, text)
  nodes[index]:AddPackedVertices(text)
end

function F.packedFaces(index, text)
  nodes[index]:AddPackedFaces(text)
end

-- Keys of a joint: frame, 16 matrix values, translation and rotation TCB.
function F.keys(index, chunk)
  local j, t, m = nodes[index], chunk(), matrix
  for i = 1, table.getn(t), 23 do
    m:set(t[i + 1], t[i + 2], t[i + 3], t[i + 4], t[i + 5], t[i + 6], t[i + 7], t[i + 8],
          t[i + 9], t[i + 10], t[i + 11], t[i + 12], t[i + 13], t[i + 14], t[i + 15], t[i + 16])
    j:SetKey(t[i], m, t[i + 17], t[i + 18], t[i + 19], t[i + 20], t[i + 21], t[i + 22])
  end
end

function F.texture(path, id)
  local texture = AddTexture(path)
  if texture then
    texture:SetId(id)
  else
    print("Texture not found: " .. path)
  end
end

function F.viewport(left, top, width, height, projection, d, drawMode, grid, backfaces)
  local v = CreateViewport()
  v:SetRect(left, top, width, height)
  v:SetProjection(projection)
  v:SetData1(d[1], d[2], d[3])
  v:SetData2(d[4], d[5], d[6])
  v:SetData3(d[7], d[8], d[9])
  v:SetData4(d[10], d[11], d[12])
  v:SetData5(d[13], d[14], d[15])
  v:SetDrawMode(drawMode)
  v:SetDrawGrid(grid)
  v:SetDrawBF(backfaces)
end

-- A clip of the timeline (a merged file's clips join the scene's; a
-- repeated name gets a number).
function F.clip(name, first, last, loop)
  local index, problem = GetScene():AppendClip(name, first, last, loop)
  if not index then print("Clip '" .. tostring(name) .. "' left out: " .. problem) end
end

function F.finish()
  for i = 1, table.getn(joints) do
    local j = joints[i]
    j.parentselected = j:CheckParentSelection()
  end
  matrix:delete()
  vertex:delete()
  nodes, joints, matrix, vertex = {}, {}, nil, nil
end

------------------------------------------------------------------- saving --

local CHUNK = 4096  -- keys per chunk
local PACKED = 65536  -- vertices or faces per packed string

local function num(x) return string.format("%.9g", x) end
local function flag(x) if x then return "1" else return "0" end end

local function matrixText(m)
  local t = {}
  for r = 0, 3 do
    for c = 0, 3 do t[r * 4 + c + 1] = num(m:M(r, c)) end
  end
  return "{" .. table.concat(t, ",") .. "}"
end

local Writer = {}
Writer.__index = Writer

local function newWriter(file)
  return setmetatable({ file = file, parts = {}, n = 0, bytes = 0 }, Writer)
end

local function write(file, text)
  local ok, problem = file:write(text)
  if not ok then error("cannot write the scene file: " .. tostring(problem), 0) end
end

-- Small pieces are gathered into one write; a large one (a packed mesh
-- string) goes straight to the file instead of being copied again.
function Writer:put(text)
  if string.len(text) >= 65536 then
    self:flush()
    write(self.file, text)
    return
  end
  self.n = self.n + 1
  self.parts[self.n] = text
  self.bytes = self.bytes + string.len(text)
  if self.n >= 4096 or self.bytes >= 1048576 then self:flush() end
end

function Writer:flush()
  write(self.file, table.concat(self.parts, "", 1, self.n))
  self.parts, self.n, self.bytes = {}, 0, 0
end

-- Writes a list in chunks: each chunk is a function so that its constants
-- stay within the limits of one function. `text(first, count)` gives the
-- items of a chunk, one line each, every item followed by a comma.
local function putChunks(w, call, index, count, text)
  local first = 0
  while first < count do
    local n = math.min(CHUNK, count - first)
    w:put(call .. "(" .. index .. ", function() return {\n")
    w:put(text(first, n))
    w:put("} end)\n")
    first = first + n
  end
end

-- Large lists as packed strings of at most PACKED items, so that no one
-- string the interpreter reads grows beyond a few megabytes. The mesh
-- writes each straight into the file: saving makes no large strings.
local function putPacked(w, call, index, count, writePacked)
  local first = 0
  while first < count do
    local n = math.min(PACKED, count - first)
    w:put(call .. "(" .. index .. ', "')
    w:flush()
    local ok, problem = writePacked(w.file, first, n)
    if not ok then error("cannot write the scene file: " .. tostring(problem), 0) end
    w:put('")\n')
    first = first + n
  end
end

-- Keys are few: written item by item.
local function itemText(item)
  return function(first, n)
    local t = {}
    for i = first, first + n - 1 do t[table.getn(t) + 1] = item(i) .. ",\n" end
    return table.concat(t)
  end
end

local function keyText(j)
  return function(i)
    local k = j:GetKey(i)
    local tt, rt = k.trans_tcb, k.rot_tcb
    local mt = matrixText(k.matrix)
    return k.frame .. "," .. string.sub(mt, 2, -2) .. "," .. num(tt.x) .. "," .. num(tt.y) .. ","
        .. num(tt.z) .. "," .. num(rt.x) .. "," .. num(rt.y) .. "," .. num(rt.z)
  end
end

-- The stored placement of a node: a joint's GetMatrix includes its pose at
-- the Animation level, its local matrix does not.
local function localMatrix(n)
  if n:GetClassName() == "rgBone" then return tobone(n):GetLocalMatrix() end
  return n:GetMatrix()
end

-- Writes the scene, frame settings, textures and viewports to `path`.
local writeScene

-- The document is written to a file beside the target and moved over it
-- only when it is complete, so a save that fails never costs the old file.
function save(path)
  local existing = io.open(path, "r")
  if existing then
    existing:close()
    -- A file the user cannot write stays as it is.
    local probe, problem = io.open(path, "a")
    if not probe then error("cannot write the scene file: " .. tostring(problem), 2) end
    probe:close()
  end
  local temporary = path .. ".saving"
  local file, problem = io.open(temporary, "w")
  if not file then error("cannot write the scene file: " .. tostring(problem), 2) end
  local ok, failure = pcall(writeScene, file)
  local closed, closeProblem = file:close()
  if ok and not closed then ok, failure = false, "cannot write the scene file: " .. tostring(closeProblem) end
  if ok then
    local renamed, renameProblem = os.rename(temporary, path)
    if not renamed then ok, failure = false, "cannot write the scene file: " .. tostring(renameProblem) end
  end
  if not ok then
    os.remove(temporary)
    error(failure, 2)
  end
end

function writeScene(file)
  local w = newWriter(file)
  w:put("-- Kinemo scene\nCheckFileVersion(" .. GetFileVersion() .. ")\n")
  w:put("SetFrameRate(" .. num(GetFrameRate()) .. ")\nSetTotalFrames(" .. GetTotalFrames() .. ")\n")
  for i = 0, GetTextureCount() - 1 do
    local t = GetTexture(i)
    w:put("SceneFile.texture(" .. string.format("%q", t:GetFileName()) .. ", " .. t:GetId() .. ")\n")
  end

  local scene = GetScene()
  local index, order = {}, {}
  local node = scene:GetFirstNode()
  while node do
    order[table.getn(order) + 1] = node
    index[node] = table.getn(order)
    node = scene:GetNextNode()
  end

  w:put("SceneFile.begin()\n")
  for i = 1, table.getn(order) do
    local n = order[i]
    local kind = n:GetClassName()
    local parent = n:GetParent()
    local r, g, b = n:GetColor()
    w:put("SceneFile.node(" .. i .. ", " .. (index[parent] or 0) .. ", "
      .. (kind == "rgMesh" and '"mesh"' or kind == "rgBone" and '"joint"' or '"node"') .. ", "
      .. string.format("%q", n:GetName()) .. ", " .. num(r) .. ", " .. num(g) .. ", " .. num(b) .. ", "
      .. n:GetMaterial() .. ", " .. matrixText(localMatrix(n)) .. ")\n")
    if kind == "rgBone" then
      local j = tobone(n)
      local xm, x1, x2 = j:GetXConstraints()
      local ym, y1, y2 = j:GetYConstraints()
      local zm, z1, z2 = j:GetZConstraints()
      w:put("SceneFile.joint(" .. i .. ", " .. j:GetId() .. ", " .. matrixText(j:GetOffsetMatrix()) .. ", "
        .. j:IsIKChainEnd() .. ", " .. num(j:GetIKWeight()) .. ", {" .. table.concat({ xm, num(x1), num(x2),
        ym, num(y1), num(y2), zm, num(z1), num(z2) }, ",") .. "})\n")
    end
  end

  local flags = {}
  for i = 1, table.getn(order) do
    local n = order[i]
    flags[i] = i .. "," .. flag(n:GetSelected()) .. "," .. flag(n:IsVisible())
  end
  w:put("SceneFile.flags({" .. table.concat(flags, ",") .. "})\n")

  for i = 1, table.getn(order) do
    local n = order[i]
    local kind = n:GetClassName()
    if kind == "rgMesh" then
      local m = tomesh(n)
      putPacked(w, "SceneFile.packedVertices", i, m:GetVertexCount(),
        function(file, f, n) return m:WritePackedVertices(file, f, n) end)
      putPacked(w, "SceneFile.packedFaces", i, m:GetFaceCount(),
        function(file, f, n) return m:WritePackedFaces(file, f, n) end)
    elseif kind == "rgBone" then
      local j = tobone(n)
      putChunks(w, "SceneFile.keys", i, j:GetKeyCount(), itemText(keyText(j)))
    end
  end
  w:put("SceneFile.finish()\n")
  for i = 0, GetClipCount() - 1 do
    local name, first, last, loop = GetClip(i)
    w:put("SceneFile.clip(" .. string.format("%q", name) .. ", " .. first .. ", " .. last .. ", "
      .. tostring(loop) .. ")\n")
  end

  -- A merged file keeps the user's viewports and frame; a scene saved
  -- without viewports (a batch run) leaves the user's as they are.
  w:put("if not IsMerging() then\n")
  if GetViewportCount() > 0 then w:put("CloseAllViewports()\n") end
  for i = 0, GetViewportCount() - 1 do
    local v = GetViewport(i)
    local left, top, width, height = v:GetRect()
    local d = {}
    for k, data in ipairs({ v:GetData1(), v:GetData2(), v:GetData3(), v:GetData4(), v:GetData5() }) do
      d[k] = num(data.x) .. "," .. num(data.y) .. "," .. num(data.z)
    end
    w:put("SceneFile.viewport(" .. table.concat({ num(left), num(top), num(width), num(height),
      v:GetProjection() }, ", ") .. ", {" .. table.concat(d, ",") .. "}, " .. v:GetDrawMode() .. ", "
      .. v:GetDrawGrid() .. ", " .. v:GetDrawBF() .. ")\n")
  end
  w:put("SetFrame(" .. GetFrame() .. ")\nend\n")
  w:flush()
end
