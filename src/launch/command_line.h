// The engine command line: a fixed head, every fragment of the player's
// choices in a fixed order, then the launcher's own command line and the
// player's extra text; and the launch's part of a run.
#pragma once
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "base/settings_store.h"

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

// Where the launch's part of a run is stored; the last two are only read.
constexpr const char* kLauncherRunsValue = "Num Launcher Runs";
constexpr const char* kUpdateCommandLineValue = "Update Command Line";
constexpr const char* kContentCommandLineValue = "Content Command Line";

// The launch's part of a run: the counts that decide the performance
// question, the texts the settings add to every engine command line, the
// level asked, and a command file that could not be written.
struct LaunchRecord {
    int32_t launcherRuns = 0;  // before this run
    int32_t engineRuns = 0;    // "NumRuns" of the engine's configuration file
    std::string updateCommandLine;
    std::string contentCommandLine;
    int32_t performanceLevelChosen = 0;
    int32_t performanceLevel = 0;
    bool commandFileFailed = false;

    void Load(SettingsStore& settings) {
        launcherRuns = settings.ReadDword(kLauncherRunsValue, 0);
        updateCommandLine = settings.ReadText(kUpdateCommandLineValue, 256);
        contentCommandLine = settings.ReadText(kContentCommandLineValue, 256);
    }
    // This run counted: one more, but never past 2147483647 (a count that
    // wrapped round would make every start look like the first).
    void SaveRunCount(SettingsStore& settings) const {
        const bool full = launcherRuns == std::numeric_limits<int32_t>::max();
        settings.WriteDword(kLauncherRunsValue, full ? launcherRuns : launcherRuns + 1);
    }
    // True once after a launch that could not write the command file; the
    // title window, shown again after it, tells the player.
    bool TakeCommandFileFailure() { return std::exchange(commandFileFailed, false); }
};

}  // namespace velk
