-- The Mesh menu: the mesh operations riggers reach for on imported meshes.
-- Each works on the selected meshes as one undo step; scripts and pipelines
-- call the same functions: GenerateNormals(), FlipFaces(),
-- MergeDuplicateVertices(tolerance), CenterPivot() and FreezeTransform().

RegisterPlugin("Mesh", "Generate Normals", "GenerateNormals()")
RegisterPlugin("Mesh", "Flip Faces", "FlipFaces()")
RegisterPlugin("Mesh", "Merge Duplicate Vertices",
  "local tolerance = AskNumber('Merge Duplicate Vertices: Tolerance', 0.0001)\n"
  .. "if tolerance then MergeDuplicateVertices(tolerance) end")
RegisterPlugin("Mesh", "Center Pivot", "CenterPivot()")
RegisterPlugin("Mesh", "Freeze Transform", "FreezeTransform()")
