// Lines of the engine's text settings file ("autoexec.cfg"), read the same way
// wherever the launcher looks into it.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

namespace velk {

// Lines are read up to this many characters; the rest of a longer line is passed over.
constexpr size_t kSettingsLineLength = 511;

// The next line of a file opened in binary mode, read as a text-mode read sees
// it: CR LF becomes LF. The line keeps its LF, holds at most
// kSettingsLineLength characters and ends at a NUL. False at the end of the file.
bool ReadSettingsLine(FILE* file, std::string* line);

}  // namespace velk
