#include "launch/launch_engine.h"

#include <windows.h>

#include "base/dialog_services.h"
#include "base/file_probe.h"
#include "base/process_check.h"
#include "base/utf8.h"
#include "base/whole_file.h"
#include "base/win32_handles.h"
#include "launch/command_line.h"
#include "launch/performance_dialog.h"
#include "ids_strings.h"

namespace velk {

namespace {

constexpr DWORD kEngineCreationFlags = CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP;
constexpr const wchar_t* kEngineFile = L"TALVEX.EXE";

bool ShiftHeld() { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

// The text exactly as built: no formatting is applied, so a "%" stays a "%".
// The engine reads the file it is given as it finds it, so a file that is not
// whole must never replace the last good one.
bool WriteCommandFile(const std::string& line) { return WriteWholeFile(WideFromAnsi(kCommandFileName), line); }

bool StartEngine(STARTUPINFOA* startup) {
    std::string command = kEngineProcessCommand;  // the system may write into it
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, kEngineCreationFlags, nullptr, nullptr,
                        startup, &process))
        return false;
    // The engine runs on by itself.
    KernelHandle thread(process.hThread);
    KernelHandle child(process.hProcess);
    return true;
}

// Everything from the run but the advanced choices that reach the line as given.
EngineCommandInputs GatherInputs(const LaunchSources& run, bool multiplayer, const EngineSwitches& switches,
                                 const std::string& commandLineText) {
    EngineCommandInputs in;
    in.windowTitle = run.texts.windowTitle;
    in.gameArchive = run.disc.gameArchive;
    in.soundArchive = run.disc.soundArchive;
    in.shortName = run.texts.shortName;
    in.updateCommandLine = run.launch.updateCommandLine;
    in.contentCommandLine = run.launch.contentCommandLine;
    in.multiplayer = multiplayer;
    in.switchFragment = BuildSwitchFragment(switches);
    in.displayFragment = run.display.ConfirmedFragment(&in.displayConfirmed);
    in.soundFragment = run.sound.Fragment();
    in.archiveFragment = BuildArchiveFragment(run.advanced.archives);
    in.performanceLevelChosen = run.launch.performanceLevelChosen != 0;
    in.performanceLevel = run.launch.performanceLevel;
    in.launcherCommandLine = run.launcherCommandLine;
    in.commandLineText = commandLineText;
    return in;
}

bool AsksPerformanceLevel(const LaunchSources& run, const EngineSwitches& switches) {
    return NeedsPerformanceLevel(run.launch.engineRuns, run.launch.launcherRuns, switches.restoreDefaults);
}

}  // namespace

CommandLinePreview PreviewEngineCommandLine(const LaunchSources& run, const EngineSwitches& switches,
                                            const std::string& commandLineText) {
    CommandLinePreview preview;
    preview.asksLevel = AsksPerformanceLevel(run, switches);
    EngineCommandInputs in = GatherInputs(run, false, switches, commandLineText);
    // The level asked at start is not known yet.
    if (preview.asksLevel) in.performanceLevelChosen = false;
    preview.line = BuildEngineCommandLine(in);
    return preview;
}

bool LaunchEngine(const LaunchSources& run, bool multiplayer) {
    const AdvancedChoice& advanced = run.advanced;
    if (AsksPerformanceLevel(run, advanced.switches) && !AskPerformanceLevel(nullptr, run.launch)) return false;
    if (run.disc.gameArchive.empty()) {
        ShowGameError(nullptr, IDS_NO_GAME_ARCHIVE, MB_ICONEXCLAMATION);
        return false;
    }

    const std::string line = BuildEngineCommandLine(
        GatherInputs(run, multiplayer, advanced.switches, advanced.commandLine.commandLineText));
    if (ShiftHeld() && MessageBoxA(nullptr, line.c_str(), "Command Line String", MB_OKCANCEL) == IDCANCEL)
        return false;

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    if (!WriteCommandFile(line)) {
        run.launch.commandFileFailed = true;
        return false;
    }
    if (!StartEngine(&startup)) {
        ShowGameError(nullptr, IDS_ENGINE_NOT_STARTED, MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool IsEngineRunningHere() {
    const std::wstring folder = CurrentFolder();
    // Unknown: no engine of another folder is taken for ours.
    return !folder.empty() && IsProcessRunning(PathInFolder(folder, kEngineFile).c_str(), 1);
}

}  // namespace velk
