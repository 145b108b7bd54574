// The launcher's start-up and flow, and the small services the other
// dialogs share: the error box, the running check, the setup start.
#pragma once
#include <windows.h>
#include <tlhelp32.h>
#include <string>

namespace velk {

// The whole run: returns the process exit code (0 early stop, 1 normal run).
int LauncherMain(HINSTANCE instance, const char* commandLine);

// A string-table text of the launcher (at most 511 characters); empty when the id has none.
std::string LoadResString(UINT id);

// A message box with a string-table text; "Error." when the id has no entry.
int ShowError(HWND owner, UINT stringId, const char* caption, UINT flags);
// The same with the game title as caption.
int ShowGameError(HWND owner, UINT stringId, UINT flags);

// At least `count` running processes whose module is `name` (full path when it holds a "\").
bool IsProcessRunning(const char* name, int count);
// The module entry of that process whose module id is `moduleId`, falling back to
// the process's first module (its executable) where module ids are not kept.
bool FindProcessModule(DWORD processId, DWORD moduleId, MODULEENTRY32* entry);

// "NumRuns" of the engine's configuration file into engineRuns.
bool ReadEngineRunCount(const char* fileName);
// titlePictureName and lastRandom.
void ChooseTitlePicture();

bool RunSetup();
bool FileExistsIn(const char* folder, const char* file);
bool StartProgram(const char* folder, const char* file);

// The big icon "ICON" of every launcher dialog.
void SetDialogIcon(HWND window);

}  // namespace velk
