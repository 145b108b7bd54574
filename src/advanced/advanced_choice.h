// The player's advanced choices of a run: the engine switches, the extra
// command-line text and the extra archives, each kept in the settings.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "advanced/archive_list.h"
#include "advanced/switches.h"

namespace velk {

struct AdvancedChoice {
    EngineSwitches switches;
    CommandLineSetting commandLine;
    std::vector<std::string> archives;  // chosen in "Custom", in order
    int32_t alwaysLoadArchives = 0;
    int32_t noteSelection = 0;  // the help or card note shown last

    // The switches, the command-line text and the archives as stored.
    void Load(SettingsStore& settings);
    void SaveSwitches(SettingsStore& settings) const;
    // Deletes what the choices stored (a value that stays is added to
    // `notDeleted`) and puts this run's back to their defaults. The note shown
    // last is no choice and stays.
    void Forget(SettingsStore* settings, std::vector<std::string>& notDeleted);
};

}  // namespace velk
