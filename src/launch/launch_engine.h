// Writes the engine command file and starts the engine.
#pragma once
#include <string>

namespace velk {

// The launcher's own command line goes on to the engine unchanged.
bool LaunchEngine(const char* launcherCommandLine, bool multiplayer);

// The engine command line for this launch, from the launcher's state.
std::string AssembleEngineCommandLine(const char* launcherCommandLine, bool multiplayer);

// Fragments of the display, 3D sound and extra-archive choices.
std::string BuildDisplayFragmentForLaunch(bool* confirmed);
std::string BuildSoundFragment();
std::string BuildArchiveFragment();

}  // namespace velk
