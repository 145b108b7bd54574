#include "disc/data_disc.h"

#include <windows.h>

#include "base/file_probe.h"
#include "base/settings_store.h"
#include "disc/disc_search.h"

namespace velk {

namespace {

class Win32DriveProbe final : public DriveProbe {
public:
    bool IsCdRomDrive(char letter) override {
        // Asking for the type of each of 26 letters is slow; a letter that
        // names no drive at all is no CD-ROM drive.
        char upper = (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
        if (upper >= 'A' && upper <= 'Z' && !(present_ & (1u << (upper - 'A')))) return false;
        char root[] = {letter, ':', '\\', '\0'};
        return GetDriveTypeA(root) == DRIVE_CDROM;
    }
    bool FileExists(const std::string& path) override { return velk::FileExists(path.c_str()); }

private:
    DWORD present_ = GetLogicalDrives();
};

class Win32ArchiveProbe final : public ArchiveProbe {
public:
    bool IsFile(const std::string& path) override { return FileExists(path.c_str()); }
    bool IsFolder(const std::string& path) override { return FolderExists(path.c_str()); }
};

// The hint is at most 29 characters; only its first counts.
constexpr uint32_t kHintRoom = 30;

}  // namespace

char TestDrive(DiscFound& disc, const GameTexts& texts, char letter) {
    Win32DriveProbe probe;
    if (!DriveHoldsDataDisc(letter, texts.discMarkerFile, probe)) return 0;
    disc.drive = letter;
    return letter;
}

char DataDiscDrive(DiscFound& disc, const GameTexts& texts, SettingsStore* settings) {
    if (disc.drive) return disc.drive;
    const std::string hint = settings ? settings->ReadText(kCdRomDriveValue, kHintRoom) : std::string();
    Win32DriveProbe probe;
    return FindDataDisc(disc.drive, hint.c_str(), texts.discMarkerFile, probe);
}

bool LocateArchives(DiscFound& disc, const GameTexts& texts, char driveLetter) {
    Win32ArchiveProbe probe;
    ArchiveLocations found = LocateArchiveCandidates(texts.shortName, driveLetter, probe);
    disc.gameArchive = found.gameArchive;
    disc.soundArchive = found.soundArchive;
    return found.BothFound();
}

void LocateGameData(DiscFound& disc, const GameTexts& texts, SettingsStore* settings) {
    if (disc.located) return;
    disc.located = true;
    const char drive = DataDiscDrive(disc, texts, settings);
    disc.root = drive ? std::string(1, drive) + ":\\" : std::string();
    // A found disc is remembered, so asking again would only search every
    // drive once more when there is none.
    LocateArchives(disc, texts, drive);
}

}  // namespace velk
