// The launcher's start-up and flow, the running check and the setup start.
#pragma once
#include <windows.h>
#include <tlhelp32.h>
#include <string>

#include "base/dialog_services.h"

namespace velk {

// The whole run: returns the process exit code (0 early stop, 1 normal run).
int LauncherMain(HINSTANCE instance, const char* commandLine);

// At least `count` running processes whose executable is `name`: the same file
// when `name` is a path (it holds a "\"), else the same file name.
bool IsProcessRunning(const wchar_t* name, int count);
// The module entry of that process whose module id is `moduleId`, falling back to
// the process's first module (its executable) where module ids are not kept.
bool FindProcessModule(DWORD processId, DWORD moduleId, MODULEENTRY32W* entry);

// The engine of this game folder runs (the one in the current folder, at any
// depth and however the folder is named).
bool IsEngineRunningHere();

// The data-disc drive (discRoot) and the game and sound archives, looked for
// once per run. A CD-ROM drive can take long to answer, so the title window
// asks once it is on the screen (or at a command that comes sooner); a launch
// that the launcher's switches ask for asks first.
void LocateGameData();

// "NumRuns" of the engine's configuration file into engineRuns.
bool ReadEngineRunCount(const char* fileName);
// titlePictureName and lastRandom.
void ChooseTitlePicture();

bool RunSetup();
bool FileExistsIn(const char* folder, const char* file);
bool StartProgram(const char* folder, const char* file);

}  // namespace velk
