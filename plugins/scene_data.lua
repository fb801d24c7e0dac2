-- SceneData: the scene as plain Lua tables, for import and export plug-ins
-- (the shipped native plug-ins use it too). Lists of vertices, faces and
-- keys are flat tables of numbers in the layouts of the bulk functions:
--   vertices  17 numbers a vertex (as rgVertex:set: selected, position,
--             normal, texture coordinates, four joint ids, four weights)
--   faces     3 vertex indices a triangle
--   keys      23 numbers a key (frame, 16 matrix values, translation and
--             rotation tension, continuity, bias)
-- Matrices are 16 numbers row by row.
--
-- data = {
--   frameRate, totalFrames, frame, interpolation (0 constant, 1 linear, 2 spline),
--   nodes = { { kind = "node" | "mesh" | "joint", name, parent (index into
--               nodes, 0 for the scene root; parents come first), matrix (local),
--               global,                                    -- Read only
--               id, offset, relaxed, keys, samples,        -- joints
--               vertices, faces, deformed, texture,        -- meshes
--               normals },                                 -- Build: false generates them
--             ... },
--   firstFrame, lastFrame,                                 -- Read: samples' range
--   clips = { { name, first, last, loop }, ... },           -- the timeline's clips
--   notes = { "text", ... },                                -- Build: printed on the console
-- }

SceneData = {}

local function values(m) return { m:get() } end

local function localMatrix(node)
  if node:GetClassName() == "rgBone" then return tobone(node):GetLocalMatrix() end
  return node:GetMatrix()
end

local function textureFile(id)
  if id < 0 then return nil end
  for i = 0, GetTextureCount() - 1 do
    local t = GetTexture(i)
    if t:GetId() == id then return t:GetAbsoluteFilename() end
  end
  return nil
end

-- The whole scene. options (all optional):
--   samples = true    joints with keys get `samples`: SampleOffsets over
--                     firstFrame..lastFrame (from the first to the last key
--                     frame or clip frame of the scene, or options.first/last)
--   deformed = true   meshes get `deformed`: GetDeformedVertices()
function SceneData.Read(options)
  options = options or {}
  local scene = GetScene()
  scene:UpdateScene()  -- world matrices as the current level and pose give them
  local data = {
    frameRate = GetFrameRate(), totalFrames = GetTotalFrames(), frame = GetFrame(),
    interpolation = GetInterpolation(), nodes = {},
  }
  local index, order = {}, {}
  local node = scene:GetFirstNode()
  while node do
    order[table.getn(order) + 1] = node
    index[node] = table.getn(order)
    node = scene:GetNextNode()
  end
  local first, last = options.first, options.last
  data.clips = {}
  for i = 0, GetClipCount() - 1 do
    local name, a, b, loop = GetClip(i)
    data.clips[i + 1] = { name = name, first = a, last = b, loop = loop }
    if not options.first then
      if not first or a < first then first = a end
      if not last or b > last then last = b end
    end
  end
  for i, n in ipairs(order) do
    local kind = n:GetClassName()
    local entry = {
      kind = (kind == "rgMesh" and "mesh") or (kind == "rgBone" and "joint") or "node",
      name = n:GetName(), parent = index[n:GetParent()] or 0,
      matrix = values(localMatrix(n)), global = values(n:GetGlobalMatrix()),
    }
    if kind == "rgBone" then
      local j = tobone(n)
      entry.id = j:GetId()
      entry.offset = values(j:GetOffsetMatrix())
      entry.relaxed = values(j:GetRelaxedMatrix())
      entry.keys = j:GetKeys()
      local count = j:GetKeyCount()
      if count > 0 and not options.first then
        local a, b = j:GetKey(0).frame, j:GetKey(count - 1).frame
        if not first or a < first then first = a end
        if not last or b > last then last = b end
      end
    elseif kind == "rgMesh" then
      local m = tomesh(n)
      entry.vertices = m:GetVertices()
      entry.faces = m:GetFaces()
      entry.texture = textureFile(m:GetMaterial())
      if options.deformed then entry.deformed = m:GetDeformedVertices() end
    end
    data.nodes[i] = entry
  end
  if options.samples and first then
    data.firstFrame, data.lastFrame = first, last
    for i, n in ipairs(order) do
      local entry = data.nodes[i]
      if entry.kind == "joint" and table.getn(entry.keys) > 0 then
        entry.samples = tobone(n):SampleOffsets(first, last)
      end
    end
  end
  return data
end

-- A texture for an image file, reusing one the editor already has.
local function texture(path, cache)
  if cache[path] then return cache[path] end
  for i = 0, GetTextureCount() - 1 do
    local t = GetTexture(i)
    if t:GetAbsoluteFilename() == path then
      cache[path] = t
      return t
    end
  end
  local t = AddTexture(path)
  if not t then print("Texture not found: " .. path) end
  cache[path] = t or false
  return t
end

-- Adds data's nodes to the scene. A vertex names its joints by the `id` of
-- joint entries, which number them 0, 1, 2, ... (the joints get new ids of
-- the scene). Keys are set as given; the scene's frame count grows to the
-- last key frame.
function SceneData.Build(data)
  local scene = GetScene()
  local root = scene:GetRootNode()
  local made, ids = {}, {}
  local m = matrix44:new()
  local last = 0
  for i, entry in ipairs(data.nodes) do
    local node
    if entry.kind == "mesh" then
      node = scene:CreateMesh()
    elseif entry.kind == "joint" then
      node = scene:CreateBone()
    else
      node = rgSceneNode:new(scene)
    end
    local parent = entry.parent == 0 and root or made[entry.parent]
    parent:AttachChild(node)
    if entry.name then node:SetName(entry.name) end
    if entry.matrix then
      m:set(unpack(entry.matrix))
      node:SetMatrix(m)
    end
    made[i] = node
    if entry.kind == "joint" then
      local j = tobone(node)
      ids[entry.id + 1] = j:GetId()
      if entry.offset then j:GetOffsetMatrix():set(unpack(entry.offset)) end
      if entry.keys and table.getn(entry.keys) > 0 then
        j:SetKeys(entry.keys)
        local k = j:GetKey(j:GetKeyCount() - 1).frame
        if k > last then last = k end
      end
    end
  end
  local textures = {}
  for i, entry in ipairs(data.nodes) do
    if entry.kind == "mesh" then
      local mesh = tomesh(made[i])
      if entry.vertices then mesh:AddVertices(entry.vertices, ids) end
      if entry.faces then mesh:AddFaces(entry.faces) end
      if entry.normals == false then mesh:GenerateNormals() end
      if entry.texture then
        local t = texture(entry.texture, textures)
        if t then mesh:SetMaterial(t:GetId()) end
      end
    end
  end
  for _, clip in ipairs(data.clips or {}) do
    local index, problem = scene:AppendClip(clip.name, clip.first, clip.last, clip.loop)
    if not index then print("Clip '" .. tostring(clip.name) .. "' left out: " .. problem) end
    if index and clip.last > last then last = clip.last end
  end
  for _, note in ipairs(data.notes or {}) do print(note) end
  if last > GetTotalFrames() then SetTotalFrames(last) end
end

-- Read, with every record as an array in a fixed order (native plug-ins
-- read tables without string keys, which cannot fail):
-- { frameRate, totalFrames, frame, interpolation, firstFrame, lastFrame,
--   { { kind (0 node, 1 mesh, 2 joint), name, parent, matrix, global, id,
--       offset, relaxed, keys, samples, vertices, faces, deformed, texture }, ... },
--   { { name, first, last, loop (1 or 0) }, ... } }
-- with false for what a node does not have.
function SceneData.ReadArrays(options)
  local d = SceneData.Read(options)
  local kinds = { node = 0, mesh = 1, joint = 2 }
  local nodes = {}
  for i, n in ipairs(d.nodes) do
    nodes[i] = { kinds[n.kind], n.name, n.parent, n.matrix, n.global, n.id or -1,
      n.offset or false, n.relaxed or false, n.keys or false, n.samples or false,
      n.vertices or false, n.faces or false, n.deformed or false, n.texture or false }
  end
  local clips = {}
  for i, c in ipairs(d.clips) do clips[i] = { c.name, c.first, c.last, c.loop and 1 or 0 } end
  return { d.frameRate, d.totalFrames, d.frame, d.interpolation, d.firstFrame or 0,
    d.lastFrame or -1, nodes, clips }
end
