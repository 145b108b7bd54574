// Which programs run: the check that keeps the launcher from starting while
// the engine of its game folder runs.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

namespace velk {

// At least `count` running processes whose executable is `name`: the same file
// when `name` is a path (it holds a "\"), else the same file name.
bool IsProcessRunning(const wchar_t* name, int count);
// The module entry of that process whose module id is `moduleId`, falling back to
// the process's first module (its executable) where module ids are not kept.
bool FindProcessModule(DWORD processId, DWORD moduleId, MODULEENTRY32W* entry);

}  // namespace velk
