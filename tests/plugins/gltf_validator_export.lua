-- Writes the fixtures as .gltf and .glb in every interpolation mode into
-- the folder arg[1], for the Khronos validator.
dofile(string.gsub(arg[0], "[^/]*$", "") .. "fixtures.lua")
Fixtures.WriteImage(arg[1] .. "/checker.bmp")
local cube = Fixtures.Cube()
cube:SetMaterial(AddTexture(arg[1] .. "/checker.bmp"):GetId())
Fixtures.Strip()
for mode = 0, 2 do
  SetInterpolation(mode)
  assert(ExportFile(arg[1] .. "/scene_" .. mode .. ".gltf", "glTF 2.0 (*.gltf)"))
  assert(ExportFile(arg[1] .. "/scene_" .. mode .. ".glb", "glTF 2.0 binary"))
end
