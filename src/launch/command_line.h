// The engine command line: a fixed head, every fragment of the player's
// choices in a fixed order, then the launcher's own command line and the
// player's extra text.
#pragma once
#include <cstdint>
#include <string>

namespace velk {

constexpr const char* kCommandFileName = "velkcmds.txt";
constexpr const char* kEngineProcessCommand = "talvex.exe -cmdfile velkcmds.txt";

struct EngineCommandInputs {
    std::string windowTitle;
    std::string gameArchive;
    std::string soundArchive;
    std::string shortName;
    std::string updateCommandLine;
    std::string contentCommandLine;
    bool multiplayer = false;
    std::string switchFragment;    // advanced options
    bool displayConfirmed = false; // the last display dialog ended with OK and the renderer list exists
    std::string displayFragment;
    std::string soundFragment;
    std::string archiveFragment;   // begins with its own blank
    bool performanceLevelChosen = false;
    int32_t performanceLevel = 0;
    std::string launcherCommandLine;
    std::string commandLineText;
};

// One line: control characters in the inputs become blanks.
std::string BuildEngineCommandLine(const EngineCommandInputs& in);

// Whether the launch first asks for a performance level.
bool NeedsPerformanceLevel(int32_t engineRuns, int32_t launcherRuns, int32_t restoreDefaults);

}  // namespace velk
