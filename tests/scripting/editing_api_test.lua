dofile(string.gsub(arg[0], "[^/]*$", "") .. "harness.lua")

-- A chain root (0, 0, 0) -> arm (0, 2, 0) -> hand (2, 2, 0).
local scene = GetScene()
local function joint(parent, x, y, z)
  local j = scene:CreateBone()
  local m = matrix44:new()
  m:translate(x, y, z)
  j:SetMatrix(m)
  m:delete()
  parent:AttachChild(j)
  return j
end
local root = joint(scene:GetRootNode(), 0, 0, 0)
local arm = joint(root, 0, 2, 0)
local hand = joint(arm, 2, 0, 0)

-- Detach Joints: the selected arm goes to the root and stays in place.
arm:SetSelected(1)
DetachJoints()
T.eq(arm:GetParent(), scene:GetRootNode(), "the arm is at the root")
T.eq(hand:GetParent(), arm, "the hand stays with the arm")
T.near(arm:GetMatrix():M(3, 1), 2, 1e-6, "the arm keeps its place in the world")
Undo()
local restored = scene:GetRootNode():GetChild(0):GetChild(0)
T.eq(restored:GetName(), "Joint2", "undo brings the arm back under the root joint")

-- Auto Orient Joints: the hand has no child joints and a joint parent.
restored:GetChild(0):SetSelected(1)
AutoOrientJoints()
local g = restored:GetChild(0):GetGlobalMatrix()
T.near(g:M(0, 0), -1, 1e-6, "X points along -x")
T.near(g:M(1, 1), -1, 1e-6, "Y points along -y")
T.near(g:M(2, 2), 1, 1e-6, "Z points along z")
T.near(g:M(3, 0), 2, 1e-6, "the hand stays in place")

-- Bind Skin and Detach Skin, with the dialog's ranges.
local mesh = scene:CreateMesh()
scene:GetRootNode():AttachChild(mesh)
local v = rgVertex:new()
v:set(0, 40, 0, 0, 0, 0, 1, 0, 0, -1, -1, -1, -1, 0, 0, 0, 0)
mesh:AddVertex(v, 0)
v:delete()
local cases = {
  {{0, 5, 5, 15}, "jointsPerVertex must be 2, 3 or 4"},
  {{0, 2, 0, 15}, "falloffRadius must be between 0.0001 and 1000"},
  {{0, 2, 5, 20000}, "maxDistance must be between 0.0001 and 10000"},
  {{0, 2, 0 / 0, 15}, "falloffRadius must be between 0.0001 and 1000"},
}
for _, c in ipairs(cases) do
  T.fails(function() BindSkin(unpack(c[1])) end, c[2], c[2])
end
T.eq(mesh:GetVertex(0).bone[1], -1, "refused binds change nothing")
BindSkin(1, 2, 5, 15)
local bound = mesh:GetVertex(0).bone[1]
T.check(bound > 0, "a rigid bind reaches every vertex, however far")
DetachSkin()
T.eq(mesh:GetVertex(0).bone[1], -1, "detached")
Undo()
T.eq(tomesh(scene:GetRootNode():GetChild(1)):GetVertex(0).bone[1], bound, "undo brings the binding back")
-- The geodesic kind: its arguments checked, its vertex without faces bound
-- by straight-line distance and counted, one undo step.
for _, c in ipairs({
  {{0}, "jointsPerVertex must be 1, 2, 3 or 4"},
  {{4, 16}, "resolution must be between 32 and 1024"},
  {{4, 256, 1.5}, "falloff must be between 0 and 1"},
}) do
  T.fails(function() BindSkinGeodesic(unpack(c[1])) end, c[2], c[2])
end
DetachSkin()
T.eq(BindSkinGeodesic(2), 1, "a mesh without faces is bound by straight-line distance")
T.check(tomesh(scene:GetRootNode():GetChild(1)):GetVertex(0).bone[1] > 0, "and its vertex follows a joint")
Undo()
T.eq(tomesh(scene:GetRootNode():GetChild(1)):GetVertex(0).bone[1], -1, "undo takes the geodesic bind back")

-- Object commands.
SelectNone()
local first = scene:GetRootNode():GetChild(0)
first:SetSelected(1)
DuplicateObjects()
local copy = scene:GetRootNode():GetChild(2)
T.eq(copy:GetName(), "Joint1 Copy", "duplicated beside the original")
first:SetSelected(0)
copy:SetSelected(1)
MirrorObjects(1, 0, 0)
DeleteObjects()
T.fails(function() copy:GetName() end, "no longer exists", "a deleted node's handle")
T.eq(first:GetName(), "Joint1", "the original's handle stays good")
T.eq(scene:GetRootNode():GetChildCount(), 2, "the selected nodes are gone")
SelectAll()
HideMeshes()
T.eq(tomesh(scene:GetRootNode():GetChild(1)):IsVisible(), nil, "meshes hidden")
ShowAll()
HideJoints()
T.eq(first:IsVisible(), nil, "joints hidden")
ShowJoints()
InvertSelection()
T.eq(first:GetSelected(), 1, "inverting selects what was not")
HideSelected()
HideUnselected()
ShowMeshes()
SelectAll()
Undo()
T.eq(scene:GetRootNode():GetChildCount(), 3, "hide, show and select are no steps: undo takes back the delete")

-- Nothing selected: a step is recorded all the same, nothing changes.
scene:Clear()
DetachJoints()
AutoOrientJoints()
T.eq(scene:GetFirstNode(), nil, "an empty scene stays empty")

-- The Mesh menu's operations, from scripts: each answers what it changed.
local quad = scene:CreateMesh()
scene:GetRootNode():AttachChild(quad)
quad:AddVertices({ 0, 0, 0, 0, 0, 0, 1, 0, 0, -1, -1, -1, -1, 0, 0, 0, 0,
                   0, 1, 0, 0, 0, 0, 1, 1, 0, -1, -1, -1, -1, 0, 0, 0, 0,
                   0, 1, 1, 0, 0, 0, 1, 1, 1, -1, -1, -1, -1, 0, 0, 0, 0,
                   0, 0, 0, 0, 0, 0, 1, 0, 0, -1, -1, -1, -1, 0, 0, 0, 0 })
quad:AddFaces({ 0, 1, 2, 3, 2, 1 })
T.eq(FlipFaces(), 0, "no mesh selected: nothing flipped")
quad:SetSelected(1)
T.eq(FlipFaces(), 1, "one mesh flipped")
T.eq(MergeDuplicateVertices(0.001), 1, "the copy of the first corner merged")
T.eq(GenerateNormals(), 1, "normals generated")
T.eq(CenterPivot(), 1, "pivot centred")
T.eq(FreezeTransform(), 1, "transform frozen")
for _, bad in ipairs({ -1, 1e9, 0 / 0 }) do
  T.fails(function() MergeDuplicateVertices(bad) end, "tolerance must be between 0 and 1000", "tolerance " .. bad)
end
T.eq(AskNumber("Tolerance", 1), nil, "a batch run has nobody to ask")
T.done()
