// Writes the engine command file and starts the engine.
#pragma once
#include <string>

#include "advanced/advanced_options.h"

namespace velk {

// The launcher's own command line goes on to the engine unchanged.
bool LaunchEngine(const char* launcherCommandLine, bool multiplayer);

// True once after a launch that could not write the command file; the title
// window, shown again after it, tells the player (as the owner of the box).
bool TakeCommandFileFailure();

// The engine command line for this launch, from the launcher's state.
std::string AssembleEngineCommandLine(const char* launcherCommandLine, bool multiplayer);
// The same line for a play launch, with advanced choices not yet stored; the
// performance piece is left out when that launch would first ask for it.
CommandLinePreview PreviewEngineCommandLine(const EngineSwitches& switches, const std::string& commandLineText);

// The display fragment, and whether the last display dialog confirmed it.
std::string BuildDisplayFragmentForLaunch(bool* confirmed);

}  // namespace velk
