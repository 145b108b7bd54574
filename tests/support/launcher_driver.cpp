#include "launcher_driver.h"

#include <tlhelp32.h>

#include <cstdlib>
#include <cstring>

#include "base/win32_handles.h"

namespace velk::test {

std::wstring WideFromUtf8(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, &w[0], n);
    return w;
}

namespace {

std::string DemoGameFolder() { return WindowsPath(VELK_GAME_DIR); }

struct WindowSearch {
    DWORD processId;
    std::wstring title;
    bool anyTitle;
    bool messageBox;
    HWND owner;  // a message box only over this window, when set
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->processId || !IsWindowVisible(window)) return TRUE;
    if (search->messageBox && !GetDlgItem(window, 0xFFFF)) return TRUE;
    if (search->owner && GetWindow(window, GW_OWNER) != search->owner) return TRUE;
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    if (search->anyTitle || search->title == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowOf(DWORD processId, const std::string& title) {
    WindowSearch search{processId, WideFromUtf8(title), title.empty(), false, nullptr, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SendKey(WORD vk, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
}

}  // namespace

namespace {
// A fresh copy of the demo game, without what earlier runs in the demo folder may have left behind.
bool CopyDemoGame(const std::wstring& to) {
    if (!CopyTree(WideFromAnsi(DemoGameFolder()), to)) return false;
    for (const wchar_t* leftover : {L"velkcmds.txt", L"talvex-record.txt", L"talvex-stay.txt", L"setup-record.txt"})
        DeleteFileW((to + L"\\" + leftover).c_str());
    return true;
}
}  // namespace

GameFolder::GameFolder() : path_(folder_.path()), widePath_(WideFromAnsi(path_)) { CopyDemoGame(widePath_); }

bool GameFolder::MoveTo(const std::string& below) {
    std::wstring target = WideFromAnsi(folder_.path()) + L"\\" + WideFromUtf8(below);
    if (!CopyDemoGame(target)) return false;
    widePath_ = target;
    int n = WideCharToMultiByte(CP_ACP, 0, target.c_str(), -1, nullptr, 0, nullptr, nullptr);
    path_.assign(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, target.c_str(), -1, &path_[0], n, nullptr, nullptr);
    return true;
}

bool GameFolder::Put(const std::string& relative, const std::string& text) const {
    FileHandle file(CreateFileW((widePath_ + L"\\" + WideFromUtf8(relative)).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

bool GameFolder::PutFolder(const std::string& relative) const {
    return MakeFolder(widePath_ + L"\\" + WideFromUtf8(relative));
}

std::string GameFolder::CommandFile() const {
    FileHandle file(CreateFileW((widePath_ + L"\\velkcmds.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file) return "<none>";
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) text.append(buffer, got);
    return text;
}

DWORD LauncherRegistry::Number(const char* name) const {
    DWORD value = kAbsentNumber;
    return Number(name, &value) ? value : kAbsentNumber;
}

std::string LauncherRegistry::Text(const char* name) const {
    std::string value;
    return Text(name, &value) ? value : "<absent>";
}

void LauncherRegistry::SetNumber(const char* name, DWORD value) {
    SetValue(HKEY_LOCAL_MACHINE, kLauncherKey, name, REG_DWORD, &value, sizeof(value));
}

void LauncherRegistry::SetText(const char* name, const std::string& value) {
    SetValue(HKEY_LOCAL_MACHINE, kLauncherKey, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool LauncherRegistry::Number(const char* name, DWORD* value) const {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryValue(HKEY_LOCAL_MACHINE, kLauncherKey, name, &type, &data) || type != REG_DWORD || data.size() != 4)
        return false;
    memcpy(value, data.data(), 4);
    return true;
}

bool LauncherRegistry::Text(const char* name, std::string* value) const {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryValue(HKEY_LOCAL_MACHINE, kLauncherKey, name, &type, &data) || type != REG_SZ) return false;
    value->assign(reinterpret_cast<const char*>(data.data()), data.size());
    if (!value->empty() && value->back() == '\0') value->pop_back();
    return true;
}

Process::~Process() {
    if (info_.hProcess) {
        if (running()) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool Process::Start(const std::string& folder, const std::string& program, const std::string& arguments) {
    return Start(WideFromAnsi(folder), program, arguments);
}

bool Process::Start(const std::wstring& folder, const std::string& program, const std::string& arguments,
                    bool suspended) {
    std::wstring command = L"\"" + folder + L"\\" + WideFromAnsi(program) + L"\"";
    if (!arguments.empty()) command += L" " + WideFromAnsi(arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, suspended ? CREATE_SUSPENDED : 0, nullptr,
                          folder.c_str(), &startup, &info_) != 0;
}

DWORD Process::WaitExit(DWORD milliseconds) {
    if (!info_.hProcess) return STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool Process::running() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

// A dialog or message box is shown only after WM_INITDIALOG; once its thread
// also answers a sent message, it is in its message loop and takes input.
static bool WaitAnswering(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 3000, &result) != 0;
}

HWND WaitForWindow(DWORD processId, const std::string& title, DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        if (HWND w = FindWindowOf(processId, title)) {
            WaitAnswering(w);
            return w;
        }
        Sleep(30);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

HWND WaitForWindowNow(DWORD processId, const std::string& title) { return FindWindowOf(processId, title); }

HWND WaitForMessageBox(DWORD processId, DWORD milliseconds, HWND owner) {
    DWORD start = GetTickCount();
    do {
        WindowSearch search{processId, L"", true, true, owner, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            WaitAnswering(search.found);
            return search.found;
        }
        Sleep(30);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

bool StaysWithoutWindow(DWORD processId, DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        if (FindWindowOf(processId, "")) return false;
        Sleep(30);
    } while (GetTickCount() - start < milliseconds);
    return true;
}

bool WaitWindowGone(HWND window, DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        if (!IsWindow(window) || !IsWindowVisible(window)) return true;
        Sleep(30);
    } while (GetTickCount() - start < milliseconds);
    return false;
}

std::string WindowTextUtf8(HWND window) {
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return Utf8FromWide(text);
}

std::string MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowTextUtf8(text) : std::string();
}

void BringToFront(HWND window) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    for (DWORD start = GetTickCount(); GetForegroundWindow() != window && GetTickCount() - start < 1000;) Sleep(10);
    WaitAnswering(window);
}

void PressKey(HWND window, WORD virtualKey) {
    BringToFront(window);
    SendKey(virtualKey, true);
    SendKey(virtualKey, false);
    Sleep(100);
}

void HoldKeyOnDisplay(const char* keyName, bool down) {
    if (!StartUnixProgram(std::string("/usr/bin/xdotool ") + (down ? "keydown " : "keyup ") + keyName)) return;
    Sleep(100);
}

void MoveMouseTo(int x, int y) {
    SetCursorPos(x, y);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    POINT at = {};
    for (DWORD start = GetTickCount(); GetTickCount() - start < 1000; Sleep(10))
        if (GetCursorPos(&at) && at.x == x && at.y == y) break;
}

void MouseButton(bool down) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
    Sleep(50);
}

void ClickControl(HWND dialog, int controlId) {
    BringToFront(dialog);
    RECT r = {};
    GetWindowRect(GetDlgItem(dialog, controlId), &r);
    MoveMouseTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    MouseButton(true);
    MouseButton(false);
    Sleep(100);
}

std::string Utf8FromWide(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
    return s;
}

std::vector<std::string> ListBoxTexts(HWND list) {
    std::vector<std::string> texts;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring text(length > 0 ? length + 1 : 1, L'\0');
        if (length > 0) SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(wcslen(text.c_str()));
        texts.push_back(Utf8FromWide(text));
    }
    return texts;
}

std::string AnsiFromUtf8(const std::string& utf8) {
    std::wstring w = WideFromUtf8(utf8);
    int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
    return s;
}

std::vector<EngineStart> ReadEngineStarts(const std::string& gameFolder) {
    std::vector<EngineStart> starts;
    std::string text;
    if (!ReadFileText(gameFolder + "\\talvex-record.txt", &text)) return starts;
    size_t at = 0;
    auto readCounted = [&](const char* label, std::string* out, bool* present) {
        std::string head = std::string(label) + " ";
        if (text.compare(at, head.size(), head) != 0) return false;
        at += head.size();
        size_t eol = text.find('\n', at);
        if (eol == std::string::npos) return false;
        long count = strtol(text.substr(at, eol - at).c_str(), nullptr, 10);
        at = eol + 1;
        if (present) *present = count >= 0;
        if (count < 0) {
            at += 1;  // the empty line in place of the content
            return true;
        }
        if (at + count > text.size()) return false;
        *out = text.substr(at, count);
        at += count + 1;  // and the line end after it
        return true;
    };
    while (text.compare(at, 14, "TALVEX-RECORD\n") == 0) {
        at += 14;
        EngineStart start;
        if (!readCounted("commandline", &start.commandLine, nullptr)) break;
        if (!readCounted("cmdfile", &start.commandFile, &start.hadCommandFile)) break;
        if (text.compare(at, 4, "END\n") != 0) break;
        at += 4;
        starts.push_back(start);
    }
    return starts;
}

bool WaitProcessListed(DWORD processId, DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
        if (snapshot != INVALID_HANDLE_VALUE) {
            MODULEENTRY32 module = {};
            module.dwSize = sizeof(module);
            bool listed = Module32First(snapshot, &module) != 0;
            CloseHandle(snapshot);
            if (listed) return true;
        }
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
    return false;
}

std::vector<EngineStart> WaitEngineStarts(const std::string& gameFolder, size_t count, DWORD milliseconds) {
    DWORD start = GetTickCount();
    std::vector<EngineStart> starts;
    do {
        starts = ReadEngineStarts(gameFolder);
        if (starts.size() >= count) break;
        Sleep(50);
    } while (GetTickCount() - start < milliseconds);
    return starts;
}

}  // namespace velk::test
