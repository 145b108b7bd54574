#include "launch/launch_engine.h"

#include <windows.h>
#include <utility>

#include "advanced/custom_archives.h"
#include "advanced/switches.h"
#include "base/dialog_services.h"
#include "base/utf8.h"
#include "base/whole_file.h"
#include "base/win32_handles.h"
#include "launch/command_line.h"
#include "launch/performance_dialog.h"
#include "launcher/launcher_state.h"
#include "sound/sound_detection.h"
#include "ids_strings.h"

namespace velk {

namespace {

constexpr DWORD kEngineCreationFlags = CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP;

bool commandFileFailed = false;

bool ShiftHeld() { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

// The text exactly as built: no formatting is applied, so a "%" stays a "%".
// The engine reads the file it is given as it finds it, so a file that is not
// whole must never replace the last good one.
bool WriteCommandFile(const std::string& line) { return WriteWholeFile(WideFromAnsi(kCommandFileName), line); }

bool StartEngine(STARTUPINFOA* startup) {
    char command[] = "talvex.exe -cmdfile velkcmds.txt";
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, kEngineCreationFlags, nullptr, nullptr,
                        startup, &process))
        return false;
    // The engine runs on by itself.
    KernelHandle thread(process.hThread);
    KernelHandle child(process.hProcess);
    return true;
}

// Everything from the launcher's state but the advanced choices, which are given.
EngineCommandInputs GatherInputs(const char* launcherCommandLine, bool multiplayer, const EngineSwitches& switches,
                                 const std::string& commandLineText) {
    const LauncherState& s = State();
    EngineCommandInputs in;
    in.windowTitle = s.windowTitle;
    in.gameArchive = s.gameArchive;
    in.soundArchive = s.soundArchive;
    in.shortName = s.shortName;
    in.updateCommandLine = s.updateCommandLine;
    in.contentCommandLine = s.contentCommandLine;
    in.multiplayer = multiplayer;
    in.switchFragment = BuildSwitchFragment(switches);
    in.displayFragment = BuildDisplayFragmentForLaunch(&in.displayConfirmed);
    in.soundFragment = BuildSoundFragment();
    in.archiveFragment = BuildArchiveFragment();
    in.performanceLevelChosen = s.performanceLevelChosen != 0;
    in.performanceLevel = s.performanceLevel;
    in.launcherCommandLine = launcherCommandLine ? launcherCommandLine : "";
    in.commandLineText = commandLineText;
    return in;
}

}  // namespace

std::string AssembleEngineCommandLine(const char* launcherCommandLine, bool multiplayer) {
    const LauncherState& s = State();
    return BuildEngineCommandLine(GatherInputs(launcherCommandLine, multiplayer, s, s.commandLineText));
}

CommandLinePreview PreviewEngineCommandLine(const EngineSwitches& switches, const std::string& commandLineText) {
    const LauncherState& s = State();
    CommandLinePreview preview;
    preview.asksLevel = NeedsPerformanceLevel(s.engineRuns, s.launcherRuns, switches.restoreDefaults);
    EngineCommandInputs in = GatherInputs(s.launcherCommandLine.c_str(), false, switches, commandLineText);
    // The level asked at start is not known yet.
    if (preview.asksLevel) in.performanceLevelChosen = false;
    preview.line = BuildEngineCommandLine(in);
    return preview;
}

bool TakeCommandFileFailure() { return std::exchange(commandFileFailed, false); }

bool LaunchEngine(const char* launcherCommandLine, bool multiplayer) {
    const LauncherState& s = State();
    if (NeedsPerformanceLevel(s.engineRuns, s.launcherRuns, s.restoreDefaults) && !AskPerformanceLevel(nullptr))
        return false;
    if (s.gameArchive.empty()) {
        ShowGameError(nullptr, IDS_NO_GAME_ARCHIVE, MB_ICONEXCLAMATION);
        return false;
    }

    const std::string line = AssembleEngineCommandLine(launcherCommandLine, multiplayer);
    if (ShiftHeld() && MessageBoxA(nullptr, line.c_str(), "Command Line String", MB_OKCANCEL) == IDCANCEL)
        return false;

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    if (!WriteCommandFile(line)) {
        commandFileFailed = true;
        return false;
    }
    if (!StartEngine(&startup)) {
        ShowGameError(nullptr, IDS_ENGINE_NOT_STARTED, MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

}  // namespace velk
