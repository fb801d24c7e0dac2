dofile(string.gsub(arg[0], "[^/]*$", "") .. "harness.lua")

T.eq(GetFileVersion(), 5, "file version")
T.check(string.sub(GetAppPath(), -1) == "/", "program folder ends with a slash")
T.check(string.find(GetAppPath(), "\\", 1, true) == nil, "program folder has no backslashes")
T.fails(function() GetScene(1) end, "error in function 'GetScene'", "extra argument")

-- Frames.
SetTotalFrames(10)
T.eq(GetTotalFrames(), 10, "total frames")
SetFrame(500)
T.eq(GetFrame(), 10, "a frame past the end goes to the last frame")
SetFrame(0)
T.eq(GetFrame(), 1, "frames start at 1")
SetFrameRate(-5)
T.eq(GetFrameRate(), 1, "a rate of 0 or less becomes 1")
SetFrameRate(30)
T.eq(GetFrameRate(), 30, "frame rate")

-- SetFrame poses the joints at the frame.
local scene = GetScene()
local joint = scene:CreateBone()
scene:GetRootNode():AttachChild(joint)
local m = matrix44:new()
joint:SetKey(1, m)
m:translate(10, 0, 0)
joint:SetKey(9, m)
m:delete()
SetFrame(9)
T.eq(joint:GetOffsetMatrix():M(3, 0), 10, "SetFrame evaluates the keys")

-- Undo restores what PushUndo recorded; the scene object stays valid.
PushUndo("Rename")
joint:SetName("Renamed")
Undo()
T.eq(scene:GetFirstNode():GetName(), "Joint1", "undo restores the name")
T.eq(GetScene(), scene, "the scene object survives an undo")
Undo()  -- nothing left: no effect
T.eq(scene:GetFirstNode():GetName(), "Joint1", "an empty undo changes nothing")

-- Textures.
T.eq(AddTexture(T.folder .. "no_such_image.png"), nil, "a missing image gives nil")
T.eq(GetTextureCount(), 0, "nothing added")
T.eq(GetTexture(0), nil, "texture out of range")

-- Viewports without windows.
CloseAllViewports()
T.eq(GetViewportCount(), 0, "no viewports")
T.eq(GetViewport(0), nil, "viewport out of range")
local v = CreateViewport()
T.eq(GetViewportCount(), 1, "one viewport")
T.eq(v:GetProjection(), 6, "new viewports look in perspective")
v:SetProjection(0)
v:SetDrawMode(1)
v:SetDrawBF(5)
v:SetDrawGrid(0)
v:SetData5(1, 2, 0.5)
v:SetRect(0, 0.5, 0.25, 0.5)
local again = GetViewport(0)
T.eq(again:GetProjection(), 0, "projection")
T.eq(again:GetDrawMode(), 1, "draw mode")
T.eq(again:GetDrawBF(), 1, "back faces: any non-zero is 1")
T.eq(again:GetDrawGrid(), 0, "grid")
T.eq(again:GetData5().z, 0.5, "ortho zoom")
local left, top, width, height = again:GetRect()
T.eq(top, 0.5, "rect top")
T.eq(width, 0.25, "rect width")
CloseAllViewports()
T.eq(v:GetProjection(), 0, "a closed viewport's handle answers 0")
v:SetProjection(3)  -- and ignores changes

-- Registration.
RegisterExporter("Test format", "*.tst", "ExportTest")
RegisterExporter("Frames", "*.frm", "ExportFrames", 1)
RegisterImporter("Test format", "*.tst", "ImportTest")
RegisterPlugin("Mesh", "Do Something", "print('done')")
-- nil where a string belongs is an error, never a null path for the engine.
for _, call in ipairs({
  function() AddTexture(nil) end, function() PushUndo(nil) end,
  function() LoadScene(nil) end, function() MergeScene() end,
  function() RegisterPlugin("Mesh", nil, "x()") end,
  function() GetScene():GetRootNode():SetName(nil) end }) do
  T.fails(call, "'string' expected", "a nil string argument")
end
T.eq(GetTextureCount(), 0, "nothing was added")
T.done()
