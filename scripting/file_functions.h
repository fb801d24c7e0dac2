#pragma once

struct lua_State;

// Script functions for import and export without dialogs:
//   GetImporters(), GetExporters(): arrays of {description=, pattern=};
//   ImportFile(path [, importer]), ExportFile(path, exporter [, first, last]):
//   the importer or exporter is a 1-based index or the start of a
//   description (any case); ImportFile without one takes the first importer
//   whose pattern matches the file name. Each answers true, or nil and a
//   message; a plug-in's error does not stop the calling script.
void OpenFileFunctions(lua_State* L);
