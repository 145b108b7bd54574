// The launcher's start-up and flow, and the setup start.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

namespace velk {

// The whole run: returns the process exit code (0 early stop, 1 normal run).
int LauncherMain(HINSTANCE instance, const char* commandLine);

// "NumRuns" of the engine's configuration file into `runs`.
bool ReadEngineRunCount(const char* fileName, int32_t* runs);

// Starts the setup program from the data disc's root.
bool RunSetup(const std::string& discRoot, const std::string& setupProgram);
bool FileExistsIn(const char* folder, const char* file);
bool StartProgram(const char* folder, const char* file);

}  // namespace velk
