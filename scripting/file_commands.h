#pragma once

class rgDocumentSession;
struct rgScriptContext;

// Adds the "&File" menu's commands (and "&Run Script ...") to the editor's
// registry: New, Open, Reopen ("File.Reopen.1" ... newest first), Merge,
// Save, Save as, Import and Export.
void RegisterFileCommands(rgScriptContext& context, rgDocumentSession& session);
