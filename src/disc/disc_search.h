// Where the data disc and the game's archives are: the search order, free of
// any file-system calls, which come from a probe.
#pragma once
#include <string>
#include <vector>

namespace velk {

class DriveProbe {
public:
    virtual ~DriveProbe() = default;
    virtual bool IsCdRomDrive(char letter) = 0;      // the root "%c:\" is a CD-ROM drive
    virtual bool FileExists(const std::string& path) = 0;
};

class ArchiveProbe {
public:
    virtual ~ArchiveProbe() = default;
    virtual bool IsFile(const std::string& path) = 0;
    virtual bool IsFolder(const std::string& path) = 0;
};

// The drive letter holding the data disc, or 0. `remembered` is the letter
// found earlier in the run (0 if none): it answers at once, touching no drive.
// `hint` is the stored "CdRom Drive" text, or nullptr when none was read. A hit
// is stored back into `remembered`.
char FindDataDisc(char& remembered, const char* hint, const std::string& markerFile, DriveProbe& probe);

// One drive: a CD-ROM drive whose "%c:<marker>" exists.
bool DriveHoldsDataDisc(char letter, const std::string& markerFile, DriveProbe& probe);

struct ArchiveLocations {
    std::string gameArchive;   // empty when none was found
    std::string soundArchive;  // empty when none was found
    bool BothFound() const { return !gameArchive.empty() && !soundArchive.empty(); }
};

// Game archive: "<short>.rez" file, then "<short>" folder, then (with a drive)
// "%c:\data\<short>.rez" file. Sound archive: "sound.rez" file, then "sound" folder.
ArchiveLocations LocateArchiveCandidates(const std::string& shortName, char driveLetter, ArchiveProbe& probe);

}  // namespace velk
