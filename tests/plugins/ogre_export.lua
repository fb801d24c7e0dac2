-- Writes the skinned strip as OGRE XML to arg[1] (NAME.mesh.xml).
dofile(string.gsub(arg[0], "[^/]*$", "") .. "fixtures.lua")
Fixtures.Strip()
local ok, message = ExportFile(arg[1], "OGRE")
assert(ok, message)
