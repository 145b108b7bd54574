// Writes the engine command file and starts the engine.
#pragma once
#include <string>

#include "advanced/advanced_options.h"
#include "base/game_texts.h"
#include "disc/data_disc.h"
#include "display/display_choice.h"
#include "launch/command_line.h"

namespace velk {

// The records of the run a launch reads, and the one it writes.
struct LaunchSources {
    const GameTexts& texts;
    const std::string& launcherCommandLine;  // passed on to the engine unchanged
    const DiscFound& disc;
    const AdvancedChoice& advanced;
    const DisplayChoice& display;
    const SoundSetup& sound;
    LaunchRecord& launch;
};

// Asks for the performance level when due, writes the command file and starts
// the engine; false when any of it did not happen.
bool LaunchEngine(const LaunchSources& run, bool multiplayer);

// The engine command line of a play launch, with advanced choices not yet
// stored; the performance piece is left out when that launch would first ask
// for it.
CommandLinePreview PreviewEngineCommandLine(const LaunchSources& run, const EngineSwitches& switches,
                                            const std::string& commandLineText);

// The engine of this game folder runs (the one in the current folder, at any
// depth and however the folder is named).
bool IsEngineRunningHere();

}  // namespace velk
