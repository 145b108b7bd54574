// Start-up decisions that need no Windows: the launcher's own switches, the
// engine's run count in "autoexec.cfg", and the choice of the title picture.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace velk {

struct LauncherSwitches {
    bool multiplayer = false;  // "-GOMULTI" or "CONNECT"
    bool play = false;         // "-GOGAME"
};

// Looks at the first 255 characters of the command line, in any letter case.
LauncherSwitches ParseLauncherSwitches(const char* commandLine);

// The "NumRuns" value of one line, or false when the line is not the NumRuns
// line. `line` is one line as read (up to 511 characters, line end included).
bool ParseNumRunsLine(const char* line, std::string* valueText);

// Decimal leading digits of the text (an optional sign), 0 when there are none.
int32_t LeadingInteger(const std::string& text);

// Picture number r (0-based) out of `count`, avoiding `lastRandom` within
// 20 redraws; `draw` gives the runtime's next random number.
int32_t ChooseTitlePictureIndex(int32_t count, int32_t lastRandom, const std::function<int()>& draw);

// "GAME%i" of index + 1.
std::string TitlePictureName(int32_t index);

// The title picture count from its resource text; below 1 counts as 1.
int32_t TitlePictureCount(const std::string& text);

}  // namespace velk
