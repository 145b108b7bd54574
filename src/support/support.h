// Troubleshooting: one window that shows what is set and what this run found,
// and puts the player's choices back to their defaults. It reads the records
// of every subsystem, which the program's top hands it; the advanced options
// reach it through the function the title window hands them.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "base/win32_handles.h"
#include "launch/launch_engine.h"
#include "support/support_summary.h"

namespace velk {

// What troubleshooting keeps in a run.
struct SupportRecord {
    bool settingsReset = false;                // the player reset the settings in this run
    std::vector<std::string> resetNotDeleted;  // values the last reset could not delete
    ModuleHandle commonDialogs;                // the system's Save As dialog, once asked for
};

// The records of the run troubleshooting reads, and those its reset puts back.
struct SupportSources {
    const GameTexts& texts;
    const std::string& launcherCommandLine;
    SettingsStore* settings;
    const DiscFound& disc;
    AdvancedChoice& advanced;
    DisplayChoice& display;
    SoundSetup& sound;
    LaunchRecord& launch;
    SupportRecord& support;
    // The values the launcher keeps under its key, in the order shown.
    const std::vector<const char*>& launcherValues;

    LaunchSources ForLaunch() const {
        return {texts, launcherCommandLine, disc, advanced, display, sound, launch};
    }
};

// What is set and found right now. Shows nothing, asks nothing and leaves
// the sound library and the renderer modules alone.
SupportSnapshot TakeSupportSnapshot(const SupportSources& run);

// The summary's words in the launcher's language, from its string table.
SummaryWords LoadSummaryWords();

// Deletes the player's stored choices, resets the same records of this run and
// asks for the engine's default configuration at the next start. A value that
// cannot be deleted is named in the next summary.
void ResetPlayerChoices(const SupportSources& run);

// "VELK - felsökning" over `owner`; true when the player reset the settings in it.
bool OpenSupportDialog(HWND owner, const SupportSources& run);

}  // namespace velk
