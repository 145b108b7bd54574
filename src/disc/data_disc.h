// The data disc's drive and the archives the engine is given.
#pragma once
#include <string>

#include "base/game_texts.h"

namespace velk {

class SettingsStore;

// The stored drive letter that is tried first ("CdRom Drive", read only).
constexpr const char* kCdRomDriveValue = "CdRom Drive";

// What this run found of the data disc and the game's archives.
struct DiscFound {
    bool located = false;      // the once-per-run search ran
    char drive = 0;            // the data disc's drive letter, remembered once found
    std::string root;          // "D:\" or empty
    std::string gameArchive;   // empty when none was found
    std::string soundArchive;  // empty when none was found
};

// The drive letter holding the data disc (texts.discMarkerFile), or 0.
char DataDiscDrive(DiscFound& disc, const GameTexts& texts, SettingsStore* settings);
// The letter when its drive is a CD-ROM drive holding the disc marker, else 0.
char TestDrive(DiscFound& disc, const GameTexts& texts, char letter);
// Fills gameArchive and soundArchive; true when both were found.
bool LocateArchives(DiscFound& disc, const GameTexts& texts, char driveLetter);

// The drive, its root and the archives, looked for once per run. A CD-ROM
// drive can take long to answer, so the title window asks once it is on the
// screen (or at a command that comes sooner); a launch that the launcher's
// switches ask for asks first.
void LocateGameData(DiscFound& disc, const GameTexts& texts, SettingsStore* settings);

}  // namespace velk
