-- Writes the skinned strip as OGRE XML to arg[1] (NAME.mesh.xml); with
-- arg[2] "clips", cut into the clips Walk (1-10) and Run (11-20) and
-- written by the exporter that writes clips itself.
dofile(string.gsub(arg[0], "[^/]*$", "") .. "fixtures.lua")
Fixtures.Strip()
local exporter = "OGRE XML ("
if arg[2] == "clips" then
  AddClip("Walk", 1, 10, true)
  AddClip("Run", 11, 20)
  exporter = "OGRE XML with clips"
end
local ok, message = ExportFile(arg[1], exporter)
assert(ok, message)
