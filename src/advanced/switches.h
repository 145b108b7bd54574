// The engine switches the advanced options control, and the player's own
// command-line text kept in the settings.
#pragma once
#include <cstdint>
#include <string>

namespace velk {

class SettingsStore;

struct EngineSwitches {
    int32_t disableSound = 0;
    int32_t disableMusic = 0;
    int32_t disableMovies = 0;
    int32_t disableFog = 0;
    int32_t disableJoystick = 0;
    int32_t disableTripBuf = 0;
    int32_t disableCursor = 0;
    int32_t disableLoadscreen = 0;
    int32_t restoreDefaults = 0;
};

// A switch kept in the settings ("Disable Sound" ... "Disable Loadscreen"),
// in the order of the fields; restoreDefaults is never stored.
struct StoredSwitch {
    const char* valueName;
    int32_t EngineSwitches::*field;
};
extern const StoredSwitch kStoredSwitches[8];

// Every piece begins with a blank; never empty.
std::string BuildSwitchFragment(const EngineSwitches& switches);

constexpr const char* kSaveCommandsValue = "Save Commands";
constexpr const char* kCommandsValue = "Commands";

struct CommandLineSetting {
    int32_t saveCommands = 1;
    std::string commandLineText;
};

// "Save Commands" (default 1) and, while it is set, "Commands" (255-byte buffer, so the longest text OK stores reads back).
// Without a store nothing changes.
void LoadCommandLineText(SettingsStore* settings, CommandLineSetting* setting);
// "Save Commands" and, while it is set, "Commands"; without saving the stored
// text stays as it was (and is no longer read).
void SaveCommandLineText(SettingsStore* settings, const CommandLineSetting& setting);

}  // namespace velk
