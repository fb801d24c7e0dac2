dofile(string.gsub(arg[0], "[^/]*$", "") .. "harness.lua")

-- Formats a pipeline script registers itself, as a plug-in would.
local calls = {}
function ImportBox(path)
  tinsert(calls, path)
  if strfind(path, "bad") then error("cannot read " .. path) end
  local mesh = GetScene():CreateMesh()
  GetScene():GetRootNode():AttachChild(mesh)
end
function ExportBox(path) tinsert(calls, path) end
local importers, exporters = getn(GetImporters()), getn(GetExporters())
RegisterImporter("Box files", "*.box", "ImportBox")
RegisterExporter("Box export", "*.box", "ExportBox", 1)

local list = GetImporters()
T.eq(list[importers + 1].description, "Box files", "importers are listed")
T.eq(list[importers + 1].pattern, "*.box", "with their patterns")
T.eq(GetExporters()[exporters + 1].description, "Box export", "exporters too")

T.eq(ImportFile("/data/a.BOX"), true, "the importer is found by pattern")
T.eq(ImportFile("/data/b.dat", "box"), true, "or named by the start of its description")
T.eq(ImportFile("/data/c.dat", importers + 1), true, "or by number")
local ok, message = ImportFile("/data/bad.box")
T.eq(ok, nil, "a failing importer answers nil")
T.check(strfind(message, "cannot read /data/bad.box", 1, true), "and its message: " .. tostring(message))
ok, message = ImportFile("/data/d.unknown")
T.eq(ok, nil, "no importer for a file")
T.eq(message, "no importer reads /data/d.unknown", "says so")
T.eq(GetScene():GetRootNode():GetChildCount(), 3, "three files imported, the failed one took itself back")

calls = {}
T.eq(ExportFile("/out/walk.box", "Box export", 2, 3), true, "a frame range")
T.eq(table.concat(calls, " "), "/out/walk_2 /out/walk_3", "one call per frame")
ok, message = ExportFile("/out/x.box", "no such")
T.eq(message, "no such exporter", "an unknown exporter")
T.fails(function() ImportFile() end, "bad argument #1", "a path is needed")
T.done()
