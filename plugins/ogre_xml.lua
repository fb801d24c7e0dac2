-- OGRE XML export: NAME.mesh.xml and NAME.skeleton.xml, laid out line by
-- line as rigmend reads them, so that rigmend can cut the one exported
-- animation into clips. "OGRE XML with clips" writes the scene's clips
-- itself, in the form OgreXMLConverter takes: bone ids from 0 and one
-- animation per clip (a scene without clips: "Animation", frames 1 to the
-- last), key times in seconds from 0 in each.
--
-- - All meshes go into one submesh (rigmend rewrites one block of bone
--   assignments), in world space, with texture coordinates for OGRE's
--   downward v axis. The material is named after the first mesh's texture.
-- - Bones carry the joints' ids (rigmend renumbers them) and their rest
--   placement; vertices are assigned to their joints with weights
--   normalised over the joints that exist. Unbound vertices get no
--   assignment.
-- - The animation has a key at every frame from 1 to the scene's last
--   frame, its time the frame number, so that every clip rigmend cuts has
--   all its frames whatever the interpolation. Joints that have no keys and
--   no pose get an empty track. Its length is the scene's frames divided by
--   the frame rate, so clips that end at the last frame get seconds.

local format, concat = string.format, table.concat

local function num(x)
  if x ~= x or x == math.huge or x == -math.huge then x = 0 end
  if x == 0 then return "0" end
  return format("%.9g", x)
end

local function escape(text)
  text = string.gsub(text, "&", "&amp;")
  text = string.gsub(text, "<", "&lt;")
  text = string.gsub(text, ">", "&gt;")
  text = string.gsub(text, "'", "&apos;")
  return (string.gsub(text, '"', "&quot;"))
end

-- m: 16 values row by row, points as row vectors.
local function transform(m, x, y, z)
  return x * m[1] + y * m[5] + z * m[9] + m[13],
         x * m[2] + y * m[6] + z * m[10] + m[14],
         x * m[3] + y * m[7] + z * m[11] + m[15]
end

local function direction(m, x, y, z)
  local a, b, c = x * m[1] + y * m[5] + z * m[9], x * m[2] + y * m[6] + z * m[10], x * m[3] + y * m[7] + z * m[11]
  local l = math.sqrt(a * a + b * b + c * c)
  if l > 0 then return a / l, b / l, c / l end
  return 0, 0, 0
end

-- The rotation of m's upper 3 x 3 (scale removed) as a quaternion for
-- column vectors: w, x, y, z.
local function quaternion(m)
  local s = {}
  for i = 0, 2 do
    s[i] = math.sqrt(m[i * 4 + 1] ^ 2 + m[i * 4 + 2] ^ 2 + m[i * 4 + 3] ^ 2)
    if s[i] == 0 then s[i] = 1 end
  end
  local function R(r, c) return m[c * 4 + r + 1] / s[c] end
  local t = R(0, 0) + R(1, 1) + R(2, 2)
  local w, x, y, z
  if t > 0 then
    local k = math.sqrt(t + 1) * 2
    w, x, y, z = k / 4, (R(2, 1) - R(1, 2)) / k, (R(0, 2) - R(2, 0)) / k, (R(1, 0) - R(0, 1)) / k
  elseif R(0, 0) > R(1, 1) and R(0, 0) > R(2, 2) then
    local k = math.sqrt(1 + R(0, 0) - R(1, 1) - R(2, 2)) * 2
    w, x, y, z = (R(2, 1) - R(1, 2)) / k, k / 4, (R(0, 1) + R(1, 0)) / k, (R(0, 2) + R(2, 0)) / k
  elseif R(1, 1) > R(2, 2) then
    local k = math.sqrt(1 + R(1, 1) - R(0, 0) - R(2, 2)) * 2
    w, x, y, z = (R(0, 2) - R(2, 0)) / k, (R(0, 1) + R(1, 0)) / k, k / 4, (R(1, 2) + R(2, 1)) / k
  else
    local k = math.sqrt(1 + R(2, 2) - R(0, 0) - R(1, 1)) * 2
    w, x, y, z = (R(1, 0) - R(0, 1)) / k, (R(0, 2) + R(2, 0)) / k, (R(1, 2) + R(2, 1)) / k, k / 4
  end
  return { w, x, y, z }
end

local function multiply(a, b)
  return { a[1] * b[1] - a[2] * b[2] - a[3] * b[3] - a[4] * b[4],
           a[1] * b[2] + a[2] * b[1] + a[3] * b[4] - a[4] * b[3],
           a[1] * b[3] - a[2] * b[4] + a[3] * b[1] + a[4] * b[2],
           a[1] * b[4] + a[2] * b[3] - a[3] * b[2] + a[4] * b[1] }
end

local function conjugate(q) return { q[1], -q[2], -q[3], -q[4] } end

-- angle (radians) and unit axis of a quaternion
local function angleAxis(q)
  local w = math.max(-1, math.min(1, q[1]))
  local s = math.sqrt(q[2] ^ 2 + q[3] ^ 2 + q[4] ^ 2)
  if s < 1e-9 then return 0, 1, 0, 0 end
  return 2 * math.acos(w), q[2] / s, q[3] / s, q[4] / s
end

local function rotationLines(out, indent, tag, q)
  local angle, x, y, z = angleAxis(q)
  out[table.getn(out) + 1] = indent .. "<" .. tag .. " angle='" .. num(angle) .. "'>"
  out[table.getn(out) + 1] = indent .. "  <axis x='" .. num(x) .. "' y='" .. num(y) .. "' z='" .. num(z) .. "'/>"
  out[table.getn(out) + 1] = indent .. "</" .. tag .. ">"
end

local function isIdentity(m)
  for i = 1, 16 do
    local want = (i == 1 or i == 6 or i == 11 or i == 16) and 1 or 0
    if math.abs(m[i] - want) > 1e-7 then return false end
  end
  return true
end

local function writeFile(path, lines)
  local file, why = io.open(path, "w")
  if not file then error("Could not export " .. path .. ": " .. tostring(why), 0) end
  local ok, problem = file:write(concat(lines, "\n"), "\n")
  file:close()
  if not ok then error("Could not export " .. path .. ": " .. tostring(problem), 0) end
end

local function export(path, withClips)
  -- The dialog's NAME.mesh.xml arrives as NAME.mesh.
  local base = string.gsub(string.gsub(path, "%.mesh$", ""), "%.skeleton$", "")
  local meshFile, skeletonFile = base .. ".mesh.xml", base .. ".skeleton.xml"
  local total = GetTotalFrames()
  local data = SceneData.Read({ samples = true, first = 1, last = math.max(total, 1) })

  -- Joints: unique names, ids, the meshes' assignments refer to the ids.
  local joints, byId, names = {}, {}, {}
  for i, n in ipairs(data.nodes) do
    if n.kind == "joint" then
      local name = n.name
      if names[name] then name = name .. "_" .. n.id end
      names[name] = true
      n.boneName = name
      joints[table.getn(joints) + 1] = n
      -- OGRE numbers bones 0, 1, 2, ...; rigmend renumbers the joints' ids itself.
      n.boneIndex = withClips and table.getn(joints) - 1 or n.id
      byId[n.id] = n
    end
  end

  -- The mesh file.
  local out = { "<?xml version='1.0' encoding='UTF-8'?>", "<mesh>", "  <submeshes>" }
  local material = "Kinemo"
  local vertices, faces, assignments = {}, {}, {}
  local base0 = 0
  for _, n in ipairs(data.nodes) do
    if n.kind == "mesh" then
      if material == "Kinemo" and n.texture then
        material = escape((string.gsub(string.gsub(n.texture, "^.*/", ""), "%.[^.]*$", "")))
      end
      local v, g = n.vertices, n.global
      local count = table.getn(v) / 17
      for i = 0, count - 1 do
        local o = i * 17
        local x, y, z = transform(g, v[o + 2], v[o + 3], v[o + 4])
        local a, b, c = direction(g, v[o + 5], v[o + 6], v[o + 7])
        vertices[table.getn(vertices) + 1] = "          <vertex>\n            <position x='" .. num(x) .. "' y='" .. num(y)
          .. "' z='" .. num(z) .. "'/>\n            <normal x='" .. num(a) .. "' y='" .. num(b) .. "' z='" .. num(c)
          .. "'/>\n            <texcoord u='" .. num(v[o + 8]) .. "' v='" .. num(1 - v[o + 9]) .. "'/>\n          </vertex>"
        local sum = 0
        for k = 0, 3 do
          local id, w = v[o + 10 + k], v[o + 14 + k]
          if id >= 0 and byId[id] and w > 0 then sum = sum + w end
        end
        if sum >= 0.0001 then
          for k = 0, 3 do
            local id, w = v[o + 10 + k], v[o + 14 + k]
            if id >= 0 and byId[id] and w > 0 then
              assignments[table.getn(assignments) + 1] = "        <vertexboneassignment vertexindex='" .. (base0 + i)
                .. "' boneindex='" .. byId[id].boneIndex .. "' weight='" .. num(w / sum) .. "'/>"
            end
          end
        end
      end
      local f = n.faces
      for i = 1, table.getn(f), 3 do
        local a, b, c = f[i], f[i + 1], f[i + 2]
        if a >= 0 and b >= 0 and c >= 0 and a < count and b < count and c < count then
          faces[table.getn(faces) + 1] = "        <face v1='" .. (base0 + a) .. "' v2='" .. (base0 + b) .. "' v3='" .. (base0 + c) .. "'/>"
        end
      end
      base0 = base0 + count
    end
  end
  out[table.getn(out) + 1] = "    <submesh material='" .. material .. "' usesharedvertices='false' use32bitindexes='true' operationtype='triangle_list'>"
  out[table.getn(out) + 1] = "      <faces count='" .. table.getn(faces) .. "'>"
  out[table.getn(out) + 1] = concat(faces, "\n")
  out[table.getn(out) + 1] = "      </faces>"
  out[table.getn(out) + 1] = "      <geometry vertexcount='" .. base0 .. "'>"
  out[table.getn(out) + 1] = "        <vertexbuffer positions='true' normals='true' texture_coords='1' texture_coord_dimensions_0='2'>"
  out[table.getn(out) + 1] = concat(vertices, "\n")
  out[table.getn(out) + 1] = "        </vertexbuffer>"
  out[table.getn(out) + 1] = "      </geometry>"
  out[table.getn(out) + 1] = "      <boneassignments>"
  out[table.getn(out) + 1] = concat(assignments, "\n")
  out[table.getn(out) + 1] = "      </boneassignments>"
  out[table.getn(out) + 1] = "    </submesh>"
  out[table.getn(out) + 1] = "  </submeshes>"
  out[table.getn(out) + 1] = "  <skeletonlink name='" .. escape(skeletonFile) .. "' />"
  out[table.getn(out) + 1] = "</mesh>"
  -- Empty lists leave empty lines, which the layout does not allow.
  local lines = {}
  for _, line in ipairs(out) do
    if line ~= "" then lines[table.getn(lines) + 1] = line end
  end
  writeFile(meshFile, lines)

  -- The skeleton file.
  out = { "<?xml version='1.0' encoding='UTF-8'?>", "<skeleton>", "  <bones>" }
  local rests = {}
  for _, j in ipairs(joints) do
    local m = j.matrix
    rests[j] = quaternion(m)
    out[table.getn(out) + 1] = "    <bone id='" .. j.boneIndex .. "' name='" .. escape(j.boneName) .. "'>"
    out[table.getn(out) + 1] = "      <position x='" .. num(m[13]) .. "' y='" .. num(m[14]) .. "' z='" .. num(m[15]) .. "'/>"
    rotationLines(out, "      ", "rotation", rests[j])
    out[table.getn(out) + 1] = "    </bone>"
  end
  out[table.getn(out) + 1] = "  </bones>"
  out[table.getn(out) + 1] = "  <bonehierarchy>"
  for _, j in ipairs(joints) do
    local parent = data.nodes[j.parent]
    if parent and parent.kind == "joint" then
      out[table.getn(out) + 1] = "    <boneparent bone='" .. escape(j.boneName) .. "' parent='" .. escape(parent.boneName) .. "'/>"
    end
  end
  out[table.getn(out) + 1] = "  </bonehierarchy>"
  out[table.getn(out) + 1] = "  <animations>"
  local takes = { { name = "Kinemo", first = 1, last = math.max(total, 1), time = function(f) return f end,
    length = math.max(total, 1) / data.frameRate } }
  if withClips then
    takes = {}
    local clips = data.clips
    if table.getn(clips) == 0 then clips = { { name = "Animation", first = 1, last = math.max(total, 1) } } end
    for _, c in ipairs(clips) do
      local first = c.first
      takes[table.getn(takes) + 1] = { name = c.name, first = first, last = math.min(c.last, math.max(total, 1)),
        time = function(f) return (f - first) / data.frameRate end, length = (c.last - first) / data.frameRate }
    end
  end
  for _, take in ipairs(takes) do
    out[table.getn(out) + 1] = "    <animation name='" .. escape(take.name) .. "' length='" .. num(take.length) .. "'>"
    out[table.getn(out) + 1] = "      <tracks>"
    for _, j in ipairs(joints) do
      out[table.getn(out) + 1] = "        <track bone='" .. escape(j.boneName) .. "'>"
      out[table.getn(out) + 1] = "          <keyframes>"
      if j.samples and table.getn(j.keys) > 0 or not isIdentity(j.offset) then
        local rest = rests[j]
        local inverse = conjugate(rest)
        for f = take.first, take.last do
          local o = j.samples and (f - 1) * 16 or 0
          local s = j.samples or j.offset
          local m = { s[o + 1], s[o + 2], s[o + 3], s[o + 4], s[o + 5], s[o + 6], s[o + 7], s[o + 8],
                      s[o + 9], s[o + 10], s[o + 11], s[o + 12], s[o + 13], s[o + 14], s[o + 15], s[o + 16] }
          -- OGRE turns a bone by its key after its rest rotation; the editor
          -- turns the rest placement by the offset in the parent's axes.
          local q = multiply(multiply(inverse, quaternion(m)), rest)
          out[table.getn(out) + 1] = "            <keyframe time='" .. num(take.time(f)) .. "'>"
          out[table.getn(out) + 1] = "              <translate x='" .. num(m[13]) .. "' y='" .. num(m[14]) .. "' z='" .. num(m[15]) .. "'/>"
          rotationLines(out, "              ", "rotate", q)
          out[table.getn(out) + 1] = "            </keyframe>"
        end
      end
      out[table.getn(out) + 1] = "          </keyframes>"
      out[table.getn(out) + 1] = "        </track>"
    end
    out[table.getn(out) + 1] = "      </tracks>"
    out[table.getn(out) + 1] = "    </animation>"
  end
  out[table.getn(out) + 1] = "  </animations>"
  out[table.getn(out) + 1] = "</skeleton>"
  writeFile(skeletonFile, out)
end

function KinemoExportOgre(path) export(path, false) end
function KinemoExportOgreClips(path) export(path, true) end

RegisterExporter("OGRE XML (*.mesh.xml)", "*.mesh.xml", "KinemoExportOgre")
RegisterExporter("OGRE XML with clips (*.mesh.xml)", "*.mesh.xml", "KinemoExportOgreClips")
