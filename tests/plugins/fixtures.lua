-- Small scenes the plug-in tests export and import. Each builds into the
-- current scene and returns its nodes.
Fixtures = {}

local function put(m, x, y, z)
  m:S(3, 0, x)
  m:S(3, 1, y)
  m:S(3, 2, z)
end

-- A 2x2 24-bit BMP the texture tests point at.
function Fixtures.WriteImage(path)
  local function le(n, bytes)
    local t = {}
    for i = 1, bytes do
      t[i] = string.char(math.mod(n, 256))
      n = math.floor(n / 256)
    end
    return table.concat(t)
  end
  local pixels = string.rep("\255\0\0\0\255\0\0\0", 2)  -- two rows of two pixels, padded to 8 bytes
  local file = assert(io.open(path, "wb"))
  file:write("BM", le(54 + string.len(pixels), 4), le(0, 4), le(54, 4), le(40, 4), le(2, 4), le(2, 4),
    le(1, 2), le(24, 2), le(0, 4), le(string.len(pixels), 4), le(2835, 4), le(2835, 4), le(0, 4), le(0, 4), pixels)
  file:close()
end

-- A unit cube: 24 vertices (each face its own normals and texture
-- coordinates), 12 triangles, named "Cube", moved to (1, 2, 3).
function Fixtures.Cube()
  local scene = GetScene()
  local mesh = scene:CreateMesh()
  scene:GetRootNode():AttachChild(mesh)
  mesh:SetName("Cube")
  local sides = {
    { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 } }, { { -1, 0, 0 }, { 0, 0, 1 }, { 0, 1, 0 } },
    { { 0, 1, 0 }, { 0, 0, 1 }, { 1, 0, 0 } }, { { 0, -1, 0 }, { 1, 0, 0 }, { 0, 0, 1 } },
    { { 0, 0, 1 }, { 1, 0, 0 }, { 0, 1, 0 } }, { { 0, 0, -1 }, { 0, 1, 0 }, { 1, 0, 0 } },
  }
  local vertices, faces = {}, {}
  for s, side in ipairs(sides) do
    local n, u, v = side[1], side[2], side[3]
    local first = (s - 1) * 4
    for c = 0, 3 do
      local a, b = (c == 1 or c == 2) and 1 or -1, (c >= 2) and 1 or -1
      local p = {}
      for k = 1, 3 do p[k] = 0.5 * (n[k] + a * u[k] + b * v[k]) end
      for _, x in ipairs({ 0, p[1], p[2], p[3], n[1], n[2], n[3], (a + 1) / 4 + s / 8, (b + 1) / 2 * 0.75, -1, -1, -1, -1, 0, 0, 0, 0 }) do
        vertices[table.getn(vertices) + 1] = x
      end
    end
    for _, i in ipairs({ 0, 1, 2, 0, 2, 3 }) do faces[table.getn(faces) + 1] = first + i end
  end
  mesh:AddVertices(vertices)
  mesh:AddFaces(faces)
  local m = matrix44:new()
  put(m, 1, 2, 3)
  mesh:SetMatrix(m)
  return mesh
end

-- A strip of 2 x 5 vertices along x (0 to 2) skinned to two joints,
-- "Root" at (0.1, 0, 0) and its child "Tip" one unit further; the middle
-- vertices blend. Root has three keys (translations, spline parameters),
-- Tip three (turns about z): frames 1, 10 and 20. One vertex is unbound.
function Fixtures.Strip()
  local scene = GetScene()
  local root = scene:CreateBone()
  scene:GetRootNode():AttachChild(root)
  root:SetName("Root")
  local tip = scene:CreateBone()
  root:AttachChild(tip)
  tip:SetName("Tip")
  local m = matrix44:new()
  put(m, 0.1, 0, 0)
  root:SetMatrix(m)
  m:ident()
  m:rotate(0, 0, 1, 0.3)
  put(m, 1, 0, 0)
  tip:SetMatrix(m)
  local mesh = scene:CreateMesh()
  scene:GetRootNode():AttachChild(mesh)
  mesh:SetName("Strip")
  local r, t = root:GetId(), tip:GetId()
  local vertices = {}
  for i = 0, 4 do
    for row = 0, 1 do
      local x = i * 0.5
      local w = math.min(1, math.max(0, x - 0.5))
      local b1, b2, w1, w2 = r, t, 1 - w, w
      if i == 4 and row == 1 then b1, b2, w1, w2 = -1, -1, 0, 0 end  -- unbound
      for _, value in ipairs({ 0, x, row * 0.4 - 0.2, 0, 0, 0, 1, i / 4, row, b1, b2, -1, -1, w1, w2, 0, 0 }) do
        vertices[table.getn(vertices) + 1] = value
      end
    end
  end
  mesh:AddVertices(vertices)
  local faces = {}
  for i = 0, 3 do
    for _, k in ipairs({ 0, 2, 3, 0, 3, 1 }) do faces[table.getn(faces) + 1] = i * 2 + k end
  end
  mesh:AddFaces(faces)
  local frames = { 1, 10, 20 }
  for k, f in ipairs(frames) do
    m:ident()
    put(m, 0, 0.2 * k, 0.1 * (k - 2))
    root:SetKey(f, m, 0.2 * k, -0.3, 0.4, 0, 0, 0)
    m:ident()
    m:rotate(0, 0, 1, 0.4 * (k - 1))
    m:S(3, 1, 0.05 * k)
    tip:SetKey(f, m, 0, 0, 0, 0.1 * k, 0.2, -0.1)
  end
  SetTotalFrames(20)
  return mesh, root, tip
end
