#include "disc/data_disc.h"

#include <windows.h>
#include <string>

#include "base/utf8.h"
#include "base/win32_handles.h"
#include "disc/disc_search.h"
#include "launcher/launcher_state.h"

namespace velk {

namespace {

bool FindAttributes(const char* path, DWORD* attributes) {
    if (!path || !*path) return false;
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA(path, &data));
    if (!find) return false;
    *attributes = data.dwFileAttributes;
    return true;
}

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
    bool IsFile(const std::string& path) override { return velk::IsFile(path.c_str()); }
    bool IsFolder(const std::string& path) override { return velk::IsFolder(path.c_str()); }
};

}  // namespace

// Through the attributes of the wide-character form: an existence-only open
// builds an ANSI full path of at most 128 characters, so a file deep in a
// folder, or in a folder named outside the code page, would count as missing.
bool FileExists(const char* path) {
    if (!path || !*path) return false;
    const std::wstring wide = WideFromAnsi(path);
    if (wide.empty()) return false;
    // No "insert a disk" boxes while probing drives.
    ScopedErrorMode quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const char* path) {
    DWORD attributes = 0;
    return FindAttributes(path, &attributes) && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const char* path) {
    DWORD attributes = 0;
    return FindAttributes(path, &attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

char TestDrive(char letter) {
    LauncherState& s = State();
    Win32DriveProbe probe;
    if (!DriveHoldsDataDisc(letter, s.discMarkerFile, probe)) return 0;
    s.dataDiscDrive = letter;
    return letter;
}

char DataDiscDrive() {
    LauncherState& s = State();
    if (s.dataDiscDrive) return s.dataDiscDrive;
    char hint[32] = {};
    const char* hintText = nullptr;
    if (s.settings) {
        uint32_t size = 30;
        hintText = s.settings->ReadString("CdRom Drive", hint, size, nullptr);
    }
    Win32DriveProbe probe;
    return FindDataDisc(s.dataDiscDrive, hintText, s.discMarkerFile, probe);
}

bool LocateArchives(char driveLetter) {
    LauncherState& s = State();
    Win32ArchiveProbe probe;
    ArchiveLocations found = LocateArchiveCandidates(s.shortName, driveLetter, probe);
    s.gameArchive = found.gameArchive;
    s.soundArchive = found.soundArchive;
    return found.BothFound();
}

}  // namespace velk
