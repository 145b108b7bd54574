// The chosen extra resource archives: their saved text form ("a.rez|b.rez"),
// their settings and the engine switches that load them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velk {

class SettingsStore;

// "Save Rez Files": the chosen list is kept; "Rez Files": the list.
constexpr const char* kSaveArchivesValue = "Save Rez Files";
constexpr const char* kArchivesValue = "Rez Files";

// Longest archive name kept anywhere: list-box texts are read into 256 bytes.
constexpr size_t kMaxArchiveName = 255;
// Longest "Rez Files" text that reads back (it is read with 2046 bytes of room).
constexpr size_t kMaxSavedArchiveList = 2045;

// A whole file name that can stand in the saved list and on the engine's
// command line: not empty, not longer than kMaxArchiveName, and without the
// characters no file name may hold (the list separator "|", quotes, path
// separators, wildcards - the ANSI stand-in for an unmappable character -
// and control characters), not ending in a dot or blank (which also keeps out
// "." and ".."), and not a device name such as NUL or con.rez.
bool IsUsableArchiveName(const std::string& name);
// A usable name whose long form ends in ".rez", in any letter case.
bool IsArchiveFileName(const std::string& name);

// The names of a saved list in order; empty pieces and unusable names are dropped.
std::vector<std::string> SplitArchiveList(const std::string& text);
// The names joined by "|": whole names only, in order, while the text stays
// within `limit` characters; empty names are left out.
std::string JoinArchiveList(const std::vector<std::string>& names, size_t limit = kMaxSavedArchiveList);
// " -rez custom\name" for every non-empty name; names with blanks are quoted.
std::string BuildArchiveFragment(const std::vector<std::string>& names);

// "Save Rez Files" (any nonzero counts as 1) and, while it is set, the names
// of "Rez Files". The list is emptied first; without a store nothing is set.
void LoadArchiveChoice(SettingsStore* settings, std::vector<std::string>* names, int32_t* alwaysLoad);
// "Save Rez Files" and, only when it is set, "Rez Files" (also when empty).
// False when the list did not fit whole: only its first names were saved.
bool SaveArchiveChoice(SettingsStore* settings, const std::vector<std::string>& names, bool alwaysLoad);

}  // namespace velk
