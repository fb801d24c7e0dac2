-- The shipped import and export plug-ins, driven as a pipeline would drive
-- them: round trips per format compared field by field, and damaged files
-- that must leave the scene as it was.
dofile(string.gsub(arg[0], "[^/]*$", "") .. "../scripting/harness.lua")
dofile(T.folder .. "fixtures.lua")

local dir = T.scratch .. "/kinemo_formats_" .. tostring(os.time()) .. "_" .. tostring(math.random(1000000))
assert(os.execute("mkdir -p '" .. dir .. "'") == 0)

local function clear()
  GetScene():Clear()
  SetEditLevel(0)
end

local function nodeCount()
  local n, node = 0, GetScene():GetFirstNode()
  while node do
    n = n + 1
    node = GetScene():GetNextNode()
  end
  return n
end

local function byName(data)
  local t = {}
  for _, n in ipairs(data.nodes) do t[n.name] = n end
  return t
end

local function near(a, b, tolerance) return math.abs(a - b) <= tolerance end

local function sameNumbers(a, b, tolerance, what)
  if table.getn(a) ~= table.getn(b) then
    T.check(false, what .. ": " .. table.getn(a) .. " values against " .. table.getn(b))
    return
  end
  for i = 1, table.getn(a) do
    if not near(a[i], b[i], tolerance) then
      T.check(false, what .. ": value " .. i .. " is " .. a[i] .. ", expected " .. b[i])
      return
    end
  end
  T.check(true, what)
end

-- Joint name -> weight of every vertex, so that meshes with new joint ids compare.
local function weights(data, mesh)
  local names = {}
  for _, n in ipairs(data.nodes) do
    if n.kind == "joint" then names[n.id] = n.name end
  end
  local v, out = mesh.vertices, {}
  for i = 0, table.getn(v) / 17 - 1 do
    local w = {}
    for k = 0, 3 do
      local id, weight = v[i * 17 + 10 + k], v[i * 17 + 14 + k]
      if id >= 0 and weight > 0 then w[names[id]] = (w[names[id]] or 0) + weight end
    end
    out[i + 1] = w
  end
  return out
end

-- World positions of a mesh's vertices as the current pose shows them.
local function posed(name)
  local data = SceneData.Read({ deformed = true })
  local mesh = byName(data)[name]
  local g, d, out = mesh.global, mesh.deformed, {}
  for i = 0, table.getn(d) / 8 - 1 do
    local x, y, z = d[i * 8 + 1], d[i * 8 + 2], d[i * 8 + 3]
    out[table.getn(out) + 1] = x * g[1] + y * g[5] + z * g[9] + g[13]
    out[table.getn(out) + 1] = x * g[2] + y * g[6] + z * g[10] + g[14]
    out[table.getn(out) + 1] = x * g[3] + y * g[7] + z * g[11] + g[15]
  end
  return out
end

local function posesOverFrames(name)
  SetEditLevel(1)
  local poses = {}
  SetFrame(20)  -- a frame change poses every joint
  for f = 1, 20 do
    SetFrame(f)
    poses[f] = posed(name)
  end
  SetFrame(1)
  SetEditLevel(0)
  return poses
end

------------------------------------------------------------------ glTF --

-- Each interpolation mode writes its own channels (STEP, LINEAR,
-- CUBICSPLINE with sampled rotations); the editor must read back the same
-- scene and show the same pose at every frame.
local image = dir .. "/checker.bmp"
Fixtures.WriteImage(image)
for _, case in ipairs({ { "gltf", "glTF 2.0 (*.gltf)" }, { "glb", "glTF 2.0 binary" } }) do
  for mode = 0, 2 do
    local what = case[1] .. " with interpolation " .. mode
    clear()
    SetInterpolation(mode)
    local cube = Fixtures.Cube()
    cube:SetMaterial(AddTexture(image):GetId())
    Fixtures.Strip()
    local before = SceneData.Read()
    local posesBefore = posesOverFrames("Strip")
    local file = dir .. "/round_" .. mode .. "." .. case[1]
    T.eq(ExportFile(file, case[2]), true, what .. ": exported")
    clear()
    local ok, message = ImportFile(file)
    T.eq(ok, true, what .. ": imported " .. tostring(message))
    local after = SceneData.Read()
    local a, b = byName(after), byName(before)
    T.eq(table.getn(after.nodes), table.getn(before.nodes), what .. ": as many nodes")
    for _, name in ipairs({ "Cube", "Strip" }) do
      T.eq(a[name] and a[name].kind, "mesh", what .. ": " .. name .. " is a mesh")
      if a[name] then
        local va, vb = a[name].vertices, b[name].vertices
        for i = 0, table.getn(vb) / 17 - 1 do
          for k = 2, 9 do va[i * 17 + k] = va[i * 17 + k] - vb[i * 17 + k] end  -- differences
        end
        local zeros = {}
        for i = 0, table.getn(vb) / 17 - 1 do
          for k = 2, 9 do zeros[table.getn(zeros) + 1] = va[i * 17 + k] end
        end
        local expected = {}
        for i = 1, table.getn(zeros) do expected[i] = 0 end
        sameNumbers(zeros, expected, 1e-6, what .. ": " .. name .. "'s positions, normals and texture coordinates")
        sameNumbers(a[name].faces, b[name].faces, 0, what .. ": " .. name .. "'s triangles")
      end
    end
    sameNumbers(a.Cube.matrix, b.Cube.matrix, 1e-6, what .. ": the cube's placement")
    T.eq(a.Cube.texture, image, what .. ": the cube's texture")
    local wa, wb = weights(after, a.Strip), weights(before, b.Strip)
    local same = true
    for i, w in ipairs(wb) do
      for joint, weight in pairs(w) do same = same and near(wa[i][joint] or -1, weight, 1e-6) end
      for joint in pairs(wa[i]) do same = same and w[joint] ~= nil end
    end
    T.check(same, what .. ": the strip's weights, by joint")
    T.eq(a.Tip.parent > 0 and after.nodes[a.Tip.parent].name, "Root", what .. ": the hierarchy")
    for _, joint in ipairs({ "Root", "Tip" }) do
      local ka, kb = a[joint].keys, b[joint].keys
      T.eq(table.getn(ka), table.getn(kb), what .. ": " .. joint .. "'s keys")
      local frames, parameters = true, true
      for i = 0, table.getn(kb) / 23 - 1 do
        frames = frames and ka[i * 23 + 1] == kb[i * 23 + 1]
        for p = 18, 23 do parameters = parameters and near(ka[i * 23 + p], kb[i * 23 + p], 1e-6) end
      end
      T.check(frames and parameters, what .. ": " .. joint .. "'s key frames and spline parameters")
    end
    local posesAfter = posesOverFrames("Strip")
    for f = 1, 20 do sameNumbers(posesAfter[f], posesBefore[f], 2e-5, what .. ": the pose at frame " .. f) end
  end
end
SetInterpolation(2)

------------------------------------------------------------------- OBJ --

-- OBJ has no hierarchy or joints: the meshes come back in world space, as
-- posed when exported, each vertex once.
clear()
local cube = Fixtures.Cube()
cube:SetMaterial(AddTexture(image):GetId())
T.eq(ExportFile(dir .. "/cube.obj", "Wavefront", 1, 1), true, "OBJ: exported frame 1")
local before = byName(SceneData.Read()).Cube
clear()
T.eq(ImportFile(dir .. "/cube_1.obj"), true, "OBJ: imported by its pattern")
local after = byName(SceneData.Read()).Cube
T.eq(table.getn(after.vertices), table.getn(before.vertices), "OBJ: corners sharing position, normal and texture coordinates are joined")
local corners, expected = {}, {}
for i = 1, table.getn(before.faces) do
  local fa, fb = after.faces[i], before.faces[i]
  for k = 2, 9 do
    corners[table.getn(corners) + 1] = after.vertices[fa * 17 + k]
    expected[table.getn(expected) + 1] = before.vertices[fb * 17 + k] + ((k == 2 and 1) or (k == 3 and 2) or (k == 4 and 3) or 0)
  end
end
sameNumbers(corners, expected, 1e-6, "OBJ: every corner of every triangle, moved into world space")
T.eq(after.texture, image, "OBJ: the diffuse map comes back as the texture")

-- Groups, objects and materials split meshes; polygons are triangulated
-- with their winding, concave ones too; negative indices count back.
local file = io.open(dir .. "/shapes.obj", "w")
file:write([[
# an L-shaped hexagon (concave) and a quad in two groups
mtllib shapes.mtl
v 0 0 0
v 2 0 0
v 2 1 0
v 1 1 0
v 1 2 0
v 0 2 0
vt 0 0
vn 0 0 1
o Shapes
g L
usemtl red
f 1/1/1 2/1/1 3/1/1 4/1/1 5/1/1 6/1/1
g Quad
f -6 -5 -4 -3
usemtl blue
f 1 2 3
]])
file:close()
file = io.open(dir .. "/shapes.mtl", "w")
file:write("newmtl red\nKd 1 0 0\nmap_Kd -s 1 1 1 checker.bmp\nnewmtl blue\nmap_Kd missing.png\n")
file:close()
clear()
T.eq(ImportFile(dir .. "/shapes.obj"), true, "OBJ: groups and polygons")
local shapes = SceneData.Read().nodes
T.eq(table.getn(shapes), 3, "OBJ: one mesh per group and material")
T.eq(shapes[1].name .. "," .. shapes[2].name .. "," .. shapes[3].name, "L,Quad,Quad", "OBJ: named after their groups")
T.eq(table.getn(shapes[1].faces), 12, "OBJ: the hexagon becomes four triangles")
T.eq(shapes[1].texture, image, "OBJ: map_Kd options are skipped")
local area, inside = 0, true
local v = shapes[1].vertices
for i = 1, 12, 3 do
  local f = shapes[1].faces
  local ax, ay = v[f[i] * 17 + 2], v[f[i] * 17 + 3]
  local bx, by = v[f[i + 1] * 17 + 2], v[f[i + 1] * 17 + 3]
  local cx, cy = v[f[i + 2] * 17 + 2], v[f[i + 2] * 17 + 3]
  local twice = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax)
  inside = inside and twice > 0
  area = area + twice / 2
end
T.check(inside, "OBJ: every triangle of the concave hexagon keeps its winding")
T.near(area, 3, 1e-6, "OBJ: and together they cover it exactly")
T.eq(table.getn(shapes[2].faces), 6, "OBJ: the quad and the triangle of the second group")
T.eq(shapes[3].texture, nil, "OBJ: a missing image is no texture")

------------------------------------------------------------------ OGRE --

clear()
Fixtures.Strip()
T.eq(ExportFile(dir .. "/hero.mesh.xml", "OGRE"), true, "OGRE: exported")
local function read(path)
  local f = io.open(path, "r")
  if not f then return "" end
  local text = f:read("*a")
  f:close()
  return text
end
local skeleton, mesh = read(dir .. "/hero.skeleton.xml"), read(dir .. "/hero.mesh.xml")
T.check(string.find(skeleton, "\n  <animations>\n", 1, true), "OGRE: the skeleton has its animations line")
local _, keyframes = string.gsub(skeleton, "<keyframe time=", "")
T.eq(keyframes, 40, "OGRE: a key at every frame of both joints")
local _, assignments = string.gsub(mesh, "<vertexboneassignment ", "")
T.eq(assignments, 11, "OGRE: one assignment for each weight of the bound vertices")
T.check(string.find(mesh, "  <skeletonlink name='" .. dir .. "/hero.skeleton.xml' />", 1, true), "OGRE: the skeleton link names the full path")

---------------------------------------------------------------- Assimp --

-- Assimp reads the glTF export too: the same skin, joint by joint.
clear()
Fixtures.Strip()
local strip = SceneData.Read()
T.eq(ExportFile(dir .. "/assimp.glb", "glTF 2.0 binary"), true, "Assimp: a file to read")
clear()
T.eq(ImportFile(dir .. "/assimp.glb", "Assimp"), true, "Assimp: reads it")
local assimpData = SceneData.Read()
local stripAfter = byName(assimpData).Strip
T.eq(stripAfter and table.getn(stripAfter.vertices) / 17, 10, "Assimp: the strip's vertices")
local wa, wb = weights(assimpData, stripAfter), weights(strip, byName(strip).Strip)
local sameWeights = true
for i, w in ipairs(wb) do
  for joint, weight in pairs(w) do sameWeights = sameWeights and near(wa[i] and wa[i][joint] or -1, weight, 1e-6) end
end
T.check(sameWeights, "Assimp: and their weights by joint")

-- Clips go out as one animation each and come back as they were, through
-- the glTF reader (spline keys) and through Assimp's (linear keys: Assimp
-- reads a CUBICSPLINE channel's values without its tangents); frame 1 is
-- time 0.
for _, case in ipairs({ { "glTF", 2 }, { "Assimp", 1 } }) do
  local importer = case[1]
  clear()
  SetInterpolation(case[2])
  Fixtures.Strip()
  SetTotalFrames(30)
  AddClip("Walk", 1, 10, true)
  AddClip("Run", 11, 20)
  AddClip("Idle", 21, 30)
  local posesClipped = posesOverFrames("Strip")
  T.eq(ExportFile(dir .. "/clips.glb", "glTF 2.0 binary"), true, "clips: exported")
  clear()
  T.eq(ImportFile(dir .. "/clips.glb", importer), true, "clips: read by " .. importer)
  T.eq(GetClipCount(), 3, importer .. ": three clips")
  local names = {}
  for i = 0, GetClipCount() - 1 do
    local name, first, last, loop = GetClip(i)
    names[i + 1] = name .. " " .. first .. "-" .. last .. (importer == "glTF" and (loop and " loop" or "") or "")
  end
  T.eq(table.concat(names, ", "), importer == "glTF" and "Walk 1-10 loop, Run 11-20, Idle 21-30"
    or "Walk 1-10, Run 11-20, Idle 21-30", importer .. ": the clips' names and frames")
  local posesAfter = posesOverFrames("Strip")
  local same = true
  for f = 1, 20 do
    for k = 1, table.getn(posesClipped[f]) do
      if not near(posesAfter[f][k], posesClipped[f][k], 1e-3) then
        if same then print(importer .. " frame " .. f .. " value " .. k .. ": " .. posesAfter[f][k] .. " vs " .. posesClipped[f][k]) end
        same = false
      end
    end
  end
  T.check(same, importer .. ": the same pose at every frame")
end

file = io.open(dir .. "/plane.ply", "w")
file:write("ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\nproperty float z\n"
  .. "element face 1\nproperty list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n")
file:close()
clear()
T.eq(ImportFile(dir .. "/plane.ply"), true, "Assimp: a PLY file by its pattern")
local plane = SceneData.Read().nodes
T.eq(plane[1] and table.getn(plane[1].faces), 6, "Assimp: its quad triangulated")

-- Paths as users name them: blanks, quotes and letters beyond ASCII reach
-- the reader helper as they are.
local odd = dir .. "/my 'odd' \"folder\" ö"
os.execute("mkdir -p " .. string.format("%q", odd))
os.execute("cp '" .. dir .. "/plane.ply' " .. string.format("%q", odd .. "/plane ü.ply"))
clear()
T.eq(ImportFile(odd .. "/plane ü.ply"), true, "Assimp: a file in a folder with blanks, quotes and umlauts")

------------------------------------------------------------- bad input --

-- Each damaged file: a message naming the file and the problem, and the
-- scene as it was.
local function write(name, text)
  local f = io.open(dir .. "/" .. name, "wb")
  f:write(text)
  f:close()
  return dir .. "/" .. name
end
local glb = read(dir .. "/assimp.glb")
local damaged = string.gsub(arg[0], "[^/]*$", "") .. "damaged/"
os.execute("mkdir -p '" .. dir .. "/folder.obj'")
clear()
Fixtures.Cube()
T.eq(ExportFile(dir .. "/nobuffer.gltf", "glTF 2.0 (*.gltf)"), true, "a glTF whose buffer goes missing")
os.remove(dir .. "/nobuffer.bin")
clear()
Fixtures.Strip()
T.eq(ExportFile(dir .. "/keyed.gltf", "glTF 2.0 (*.gltf)"), true, "a keyed glTF to damage")
local keyed = read(dir .. "/keyed.gltf")
local farFrame, n1 = string.gsub(keyed, '"keys": %[(%s*)1,', '"keys": [%11e300,', 1)
local hugeTension, n2 = string.gsub(keyed, '"keys": %[(%s*)1,(%s*)[^,]*,', '"keys": [%11,%21e300,', 1)
T.check(n1 == 1 and n2 == 1, "the keyed glTF has its keys in extras")
local cases = {
  { write("truncated.obj", "v 0 0 0\nv 1 0 0\nv 1 1"), "line 3: expected three numbers" },
  { write("range.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1 2 9\n"), "line 4: vertex 9 is out of range" },
  { write("nan.obj", "v 0 0 0\nv nan 0 0\nv 1 1 0\nf 1 2 3\n"), "line 2: a coordinate is not a finite number" },
  { write("image.obj", "\137PNG\r\n\26\n\0\0\0\rIHDR"), "it is not a text file" },
  { write("empty.obj", ""), "it holds no vertices or faces" },
  { dir .. "/folder.obj", "it is a folder" },
  { dir .. "/nobuffer.gltf", "nobuffer.bin" },
  { write("text.gltf", "solid cube\nfacet normal 0 0 1\n"), "it is not a readable glTF file" },
  { write("cut.glb", string.sub(glb, 1, 200)), "it is not a readable glTF file" },
  { write("far_frame.gltf", farFrame), "beyond a million frames" },
  { write("rejected.fbx", "Kaydara FBX Binary  \0\26\0\232\28\0\0garbage"), "Assimp could not read it" },
  { write("cut.ply", "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nend_header\n0\n"), "Assimp could not read it" },
  -- Damaged files Assimp itself hangs or crashes on: only its helper process pays.
  -- The hang meets a 1 s limit; every other file gets time enough to fail
  -- its own way on a loaded machine (a crash must not be taken for a hang).
  { damaged .. "hangs_assimp.ply", "the reader stopped (timed out after 1 s)", 1 },
  { damaged .. "crashes_assimp.ply", "the reader stopped (crashed with signal 11)" },
}
Fixtures.Cube()
local count = nodeCount()
for _, case in ipairs(cases) do
  SetReaderTimeLimit(case[3] or 30)
  local ok, message = ImportFile(case[1])
  T.eq(ok, nil, case[1] .. " is refused")
  T.check(message and string.find(message, "Could not import " .. case[1] .. ": ", 1, true)
    and string.find(message, case[2], 1, true), case[1] .. ": the message names the file and says '" .. case[2] .. "': " .. tostring(message))
  T.eq(nodeCount(), count, case[1] .. ": the scene is as it was")
end

clear()
T.eq(ImportFile(write("huge_tension.gltf", hugeTension)), true,
  "a spline parameter no float holds is read as 0")

SetReaderTimeLimit(1)
T.eq(GetReaderTimeLimit(), 1, "the readers' time limit")
for _, limit in ipairs({ { 0, 1 }, { 1e9, 3600 }, { 0 / 0, 3600 }, { 10, 10 } }) do
  SetReaderTimeLimit(limit[1])
  T.eq(GetReaderTimeLimit(), limit[2], "a time limit of " .. tostring(limit[1]))
end

local ok, message = ExportFile(dir .. "/no/such/folder/x.gltf", "glTF 2.0 (*.gltf)")
T.eq(ok, nil, "an export into a missing folder fails")
T.check(message and string.find(message, "Could not export " .. dir .. "/no/such/folder/x", 1, true), "and says where: " .. tostring(message))

os.execute("rm -rf '" .. dir .. "'")
T.done()
