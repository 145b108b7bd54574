// Drives the real launcher as a player would: starts it in a game folder of
// the test's own, finds its windows, presses keys and clicks with real input.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "test_support.h"

namespace velk::test {

// A copy of the demo game folder, removed at the end.
class GameFolder {
public:
    GameFolder();
    // Puts the game into a fresh copy at `below` (UTF-8, any depth and any
    // characters) inside the scratch folder; false when it could not be made.
    bool MoveTo(const std::string& below);
    // ANSI: for a name outside the code page only a look-alike; use widePath().
    const std::string& path() const { return path_; }
    const std::wstring& widePath() const { return widePath_; }
    const std::string& scratch() const { return folder_.path(); }
    std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }
    // A file or folder of the game folder (relative name in UTF-8), made with wide calls.
    bool Put(const std::string& relative, const std::string& text) const;
    bool PutFolder(const std::string& relative) const;
    // The engine command file as written, or "<none>".
    std::string CommandFile() const;

private:
    TempFolder folder_;
    std::string path_;
    std::wstring widePath_;
};

// The launcher's own registry key, removed before and after each test.
constexpr const char* kLauncherKey = "Software\\Brannock\\Velkarion\\1.0";
class LauncherRegistry {
public:
    LauncherRegistry() : scratch_("Software\\Brannock", HKEY_LOCAL_MACHINE) {}
    void SetNumber(const char* name, DWORD value);
    void SetText(const char* name, const std::string& value);
    bool Number(const char* name, DWORD* value) const;
    bool Text(const char* name, std::string* value) const;
    // The value, or kAbsentNumber / "<absent>" when it is missing or of another type.
    static constexpr DWORD kAbsentNumber = 0xDEADBEEF;
    DWORD Number(const char* name) const;
    std::string Text(const char* name) const;
    bool Exists() const { return KeyExists(HKEY_LOCAL_MACHINE, kLauncherKey); }

private:
    ScratchKey scratch_;
};

// A started program; ended (killed) at the end if it still runs.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Start(const std::string& folder, const std::string& program, const std::string& arguments);
    bool Start(const std::wstring& folder, const std::string& program, const std::string& arguments,
               bool suspended = false);  // suspended: runs no code until Resume
    void Resume() { ResumeThread(info_.hThread); }
    // The exit code, or STILL_ACTIVE when it did not end within the time.
    DWORD WaitExit(DWORD milliseconds);
    DWORD id() const { return info_.dwProcessId; }
    bool running() const;

private:
    PROCESS_INFORMATION info_ = {};
};

// A message box as the system makes it (not a dialog of the launcher's).
bool IsMessageBox(HWND window);
// A visible top-level window of the process, not a message box, whose title is `title` (UTF-8; empty: any).
HWND WaitForWindow(DWORD processId, const std::string& title, DWORD milliseconds);
// The same, looked for once, without waiting.
HWND WaitForWindowNow(DWORD processId, const std::string& title);
// No visible top-level window of the process, message boxes included, during the whole time.
bool StaysWithoutWindow(DWORD processId, DWORD milliseconds);
// A visible message box of the process; with an owner, only a box over that window.
HWND WaitForMessageBox(DWORD processId, DWORD milliseconds, HWND owner = nullptr);
// The window's thread answers a sent message: it has finished what it was doing.
bool WaitAnswering(HWND window);
// The process's visible windows as a failure message tells them: title, and a box's text.
std::string DescribeWindows(DWORD processId);
// The text of a message box (UTF-8).
std::string MessageBoxText(HWND box);
std::string WindowTextUtf8(HWND window);
// The window is gone or hidden within the time.
bool WaitWindowGone(HWND window, DWORD milliseconds);

// Real input through the system's input queue. It is taken in the order sent;
// a test waits for what the input changes before it looks.
void BringToFront(HWND window);
void PressKey(HWND window, WORD virtualKey);
// Holds or releases SHIFT on the X server itself (xdotool), as a player's
// keyboard would; true once the desktop's key state shows it.
bool HoldShiftOnDisplay(bool down);
// Clicks the middle of the control; a check box or radio button has taken
// the click when this returns.
void ClickControl(HWND dialog, int controlId);
void MoveMouseTo(int x, int y);
void MouseButton(bool down);

// Text conversions for comparing with texts written in UTF-8 here.
std::string AnsiFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);
std::wstring WideFromUtf8(const std::string& utf8);

// The items of a list box of the launcher's process, in UTF-8 (asked in
// UTF-16: the ANSI form does not cross processes whole).
std::vector<std::string> ListBoxTexts(HWND list);
// The whole text of a control of another process (asked with WM_GETTEXT:
// GetWindowText does not ask another process's controls), in UTF-8.
std::string ControlText(HWND dialog, int id);
bool IsTicked(HWND dialog, int id);

// The command line of a play launch in the demo folder up to the switches,
// and the switch fragment with every switch off.
constexpr const char* kDemoCommandHead =
    "TALVEX.EXE -windowtitle \"Velkarion\" -rez VELK.rez -rez sound.rez -rez VELK2.rez -rez VELKdll.rez "
    "-rez VELKl.rez -rez custom";
constexpr const char* kAllSwitchesOff = " +DisableMusic 0 +DisableSound 0 +DisableTripBuf 0 +DisableHardwareCursor 0";

// One start of the stand-in engine, as it recorded it.
struct EngineStart {
    std::string commandLine;
    bool hadCommandFile = false;
    std::string commandFile;
};
std::vector<EngineStart> ReadEngineStarts(const std::string& gameFolder);
// Waits until the process and its program module show in a process snapshot,
// as the launcher looks for a running engine.
bool WaitProcessListed(DWORD processId, DWORD milliseconds);
// Waits until the engine has recorded at least `count` starts.
std::vector<EngineStart> WaitEngineStarts(const std::string& gameFolder, size_t count, DWORD milliseconds);

}  // namespace velk::test
