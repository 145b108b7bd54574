#include "launch/command_line.h"

namespace velk {

namespace {
void AppendSeparated(std::string& line, const std::string& piece) {
    if (piece.empty()) return;
    line += ' ';
    line += piece;
}
}  // namespace

std::string BuildEngineCommandLine(const EngineCommandInputs& in) {
    std::string line = "TALVEX.EXE";
    line += " -windowtitle \"" + in.windowTitle + "\"";
    line += " -rez " + in.gameArchive;
    if (!in.soundArchive.empty()) line += " -rez " + in.soundArchive;
    line += " -rez " + in.shortName + "2.rez";
    line += " -rez " + in.shortName + "dll.rez";
    line += " -rez " + in.shortName + "l.rez";
    line += " -rez custom";
    AppendSeparated(line, in.updateCommandLine);
    AppendSeparated(line, in.contentCommandLine);
    line += in.multiplayer ? " +multiplayer 1" : " +multiplayer 0";
    AppendSeparated(line, in.switchFragment);
    if (in.displayConfirmed) AppendSeparated(line, in.displayFragment);
    AppendSeparated(line, in.soundFragment);
    line += in.archiveFragment;
    if (in.performanceLevelChosen) line += " ++PerformanceLevel " + std::to_string(in.performanceLevel);
    // These two always get their separator, even when empty.
    line += " " + in.launcherCommandLine;
    line += " " + in.commandLineText;
    // The command file is one line: a line break, tab or end-of-file mark
    // that came in with a stored text is a blank to the engine.
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return line;
}

bool NeedsPerformanceLevel(int32_t engineRuns, int32_t launcherRuns, int32_t restoreDefaults) {
    return engineRuns <= 0 || launcherRuns <= 0 || restoreDefaults != 0;
}

}  // namespace velk
