// The one process-wide record of the launcher. Every field exists for the
// whole run and starts at zero or empty unless a start value is given.
#pragma once
#include <windows.h>
#include <memory>
#include <string>

#include "launcher/settings_store.h"

namespace velk {

struct LinkRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct LauncherState {
    HINSTANCE instance = nullptr;

    // Resource strings loaded at start-up.
    std::string gameTitle;          // 9
    std::string registryProduct;    // 58
    std::string discMarkerFile;     // 59
    std::string shortName;          // 62
    std::string setupProgram;       // 61
    std::string titlePictureCount;  // 63
    std::string windowTitle;        // 57
    std::string language;           // 84

    std::unique_ptr<SettingsStore> settings;
    std::string discRoot;  // "D:\" or empty

    int32_t displayWarned = 0;
    int32_t launcherRuns = 0;
    int32_t lastRandom = 1;
    int32_t disableSound = 0;
    int32_t disableMusic = 0;
    int32_t disableMovies = 0;
    int32_t disableFog = 0;
    int32_t disableJoystick = 0;
    int32_t disableTripBuf = 0;
    int32_t disableCursor = 0;
    int32_t disableLoadscreen = 0;
    std::string updateCommandLine;
    std::string contentCommandLine;
    int32_t engineRuns = 0;

    HCURSOR linkCursor = nullptr;
    HCURSOR linkPressedCursor = nullptr;
    HCURSOR arrowCursor = nullptr;
    std::string titlePictureName;

    // Advanced options.
    int32_t restoreDefaults = 0;
    int32_t saveCommands = 1;
    std::string commandLineText;

    // Performance level of this run.
    int32_t performanceLevelChosen = 0;
    int32_t performanceLevel = 0;

    // Data disc and archives.
    char dataDiscDrive = 0;
    std::string gameArchive;
    std::string soundArchive;
};

// The launcher's state for this process.
LauncherState& State();
// Back to start values (used between tests in one process).
void ResetState();

}  // namespace velk
