#include "disc/disc_search.h"

namespace velk {

namespace {
constexpr size_t kArchivePathCapacity = 127;

}  // namespace

bool DriveHoldsDataDisc(char letter, const std::string& markerFile, DriveProbe& probe) {
    if (!probe.IsCdRomDrive(letter)) return false;
    return probe.FileExists(std::string(1, letter) + ":" + markerFile);
}

char FindDataDisc(char& remembered, const char* hint, const std::string& markerFile, DriveProbe& probe) {
    if (remembered) return remembered;
    // Control characters, an empty text and codes of 128 and above are no hint.
    if (hint && static_cast<signed char>(hint[0]) > 20) {
        char letter = hint[0];  // used as stored, lower case included
        if (DriveHoldsDataDisc(letter, markerFile, probe)) return remembered = letter;
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (DriveHoldsDataDisc(letter, markerFile, probe)) return remembered = letter;
    }
    return 0;
}

ArchiveLocations LocateArchiveCandidates(const std::string& shortName, char driveLetter, ArchiveProbe& probe) {
    ArchiveLocations found;
    const std::string file = shortName + ".rez";
    if (probe.IsFile(file)) {
        found.gameArchive = file;
    } else if (probe.IsFolder(shortName)) {
        found.gameArchive = shortName;
    } else if (driveLetter > 0) {
        std::string onDisc = std::string(1, driveLetter) + ":\\data\\" + shortName + ".rez";
        if (probe.IsFile(onDisc)) found.gameArchive = onDisc;
    }
    if (probe.IsFile("sound.rez")) {
        found.soundArchive = "sound.rez";
    } else if (probe.IsFolder("sound")) {
        found.soundArchive = "sound";
    }
    if (found.gameArchive.size() > kArchivePathCapacity) found.gameArchive.resize(kArchivePathCapacity);
    return found;
}

}  // namespace velk
