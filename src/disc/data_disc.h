// The data disc's drive and the archives the engine is given.
#pragma once

namespace velk {

bool FileExists(const char* path);  // a file, not a folder, however deep or oddly named its folder
bool IsFile(const char* path);      // a find-first entry without the folder bit
bool IsFolder(const char* path);    // a find-first entry with the folder bit

// The drive letter holding the data disc, or 0; remembered in dataDiscDrive.
char DataDiscDrive();
// The letter when its drive is a CD-ROM drive holding the disc marker, else 0.
char TestDrive(char letter);
// Fills gameArchive and soundArchive; true when both were found.
bool LocateArchives(char driveLetter);

}  // namespace velk
