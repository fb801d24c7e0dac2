dofile(string.gsub(arg[0], "[^/]*$", "") .. "harness.lua")

-- Loads and merges one hostile scene file (arg[1]): each must stop with a
-- clear message, leave the scene as it was, and leave nothing changed for
-- the scripts that run after it.

local expected = {
  ["endless_loop.rig"] = "the scene file was stopped",
  ["endless_pcall.rig"] = "the scene file was stopped",
  ["endless_tail_call.rig"] = "the scene file was stopped",
  ["endless_tostring.rig"] = "the scene file was stopped",
  ["deep_recursion.rig"] = "stack overflow",
  ["huge_string.rig"] = "it needed more memory than the interpreter's limit of 128 MB",
  ["doubling_string.rig"] = "it needed more memory than the interpreter's limit of 128 MB",
  ["growing_table.rig"] = "it needed more memory than the interpreter's limit of 128 MB",
  ["caught_memory_error.rig"] = "it needed more memory than the interpreter's limit of 128 MB",
  ["string_metatable.rig"] = "attempt to index a nil value",
  ["sandbox_escapes.rig"] = "nothing escaped",
  ["error_table.rig"] = "(error object is a table value)",
  ["error_userdata.rig"] = "(error object is a userdata value)",
  ["error_tostring.rig"] = "(error object is a table value whose __tostring failed)",
  ["bytecode.rig"] = "scene files are text; this one is compiled Lua",
  ["undo_stack.rig"] = "'Undo' is not available in scene files",
}
local path = arg[1]
local name = string.gsub(path, "^.*/", "")
local text = expected[name]
T.check(text ~= nil, "no expectation for " .. name)

-- Short budgets keep the runaway files quick. The files that must reach
-- the memory limit get time enough to do so on a loaded machine (under the
-- sanitizers a growing table takes seconds to fill 128 MB): otherwise the
-- clock may stop them first.
local reachesMemory = text and string.find(text, "more memory", 1, true)
SetScriptLimits(reachesMemory and 60 or 2, 5e7, 128)

local scene = GetScene()
local joint = scene:CreateBone()
scene:GetRootNode():AttachChild(joint)
joint:SetName("Kept")
local mesh = scene:CreateMesh()
joint:AttachChild(mesh)
mesh:AddVertex(rgVertex:new())

local function dump()
  local t = { GetFrame(), GetTotalFrames(), GetFrameRate() }
  local node = scene:GetFirstNode()
  while node do
    t[table.getn(t) + 1] = node:GetClassName() .. ":" .. node:GetName()
    node = scene:GetNextNode()
  end
  return table.concat(t, " ")
end

-- What every later script relies on.
local shared = {
  upper = string.upper, stringMethods = getmetatable("").__index, dump = string.dump,
  new = vector3.new, setters = rawget(vector3, ".set"), getRoot = rgScene.GetRootNode,
  sceneNode = SceneFile.node, pcall = pcall,
}
local function checkShared(when)
  T.check(string.upper == shared.upper and ("a"):upper() == "A", "string.upper " .. when)
  T.check(getmetatable("").__index == shared.stringMethods, "string methods " .. when)
  T.check(string.dump == shared.dump, "string.dump " .. when)
  T.check(vector3.new == shared.new and rawget(vector3, ".set") == shared.setters, "vector3 " .. when)
  T.check(scene.GetRootNode == shared.getRoot and scene:GetRootNode() ~= nil, "rgScene " .. when)
  T.check(SceneFile.node == shared.sceneNode, "SceneFile " .. when)
  T.check(pcall == shared.pcall, "pcall " .. when)
  T.eq(vector3(1, 2, 3).y, 2, "new objects " .. when)
  T.check(getmetatable(GetScene()) ~= nil, "handles keep their classes " .. when)
end

local messages = {}
local alert = _ALERT
_ALERT = function(message)
  messages[table.getn(messages) + 1] = message
  alert(message)
end
local before = dump()
for _, open in ipairs({ LoadScene, MergeScene }) do
  messages = {}
  open(path)
  local all = table.concat(messages)
  T.check(text and string.find(all, text, 1, true), "expected '" .. tostring(text) .. "', got: " .. all)
  T.eq(dump(), before, "the scene is as it was")
  -- A failed load puts the scene's own nodes back; a failed merge is undone
  -- as an undo step is, with copies.
  if open == LoadScene then T.eq(joint:GetName(), "Kept", "handles from before a failed load") end
  checkShared("after " .. (open == LoadScene and "LoadScene" or "MergeScene"))
end
_ALERT = alert
T.done()
