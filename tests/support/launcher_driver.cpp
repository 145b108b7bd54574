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

// What a window search takes: any window, a window that is no message box, or only a message box.
enum class Kind { kAny, kNotABox, kBox };

struct WindowSearch {
    DWORD processId;
    std::wstring title;
    bool anyTitle;
    Kind kind;
    HWND owner;  // only a window owned by this one, when set
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->processId || !IsWindowVisible(window)) return TRUE;
    if (search->kind != Kind::kAny && IsMessageBox(window) != (search->kind == Kind::kBox)) return TRUE;
    if (search->owner && GetWindow(window, GW_OWNER) != search->owner) return TRUE;
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    if (search->anyTitle || search->title == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowOf(DWORD processId, const std::string& title, Kind kind, HWND owner = nullptr) {
    WindowSearch search{processId, WideFromUtf8(title), title.empty(), kind, owner, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Sorts the controls of a would-be message box: [0] texts (statics with id
// 0xFFFF), [1] answer buttons (IDOK ... IDCONTINUE), [2] anything but an icon.
BOOL CALLBACK CountBoxControls(HWND control, LPARAM param) {
    auto* counts = reinterpret_cast<int*>(param);
    char cls[16] = {};
    GetClassNameA(control, cls, sizeof(cls));
    const LONG_PTR id = GetWindowLongPtrW(control, GWLP_ID);
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    if (lstrcmpiA(cls, "Static") == 0) {
        if (id == 0xFFFF) ++counts[0];
    } else if (lstrcmpiA(cls, "Button") == 0 && id >= IDOK && id <= IDCONTINUE &&
               (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) {
        ++counts[1];
    } else {
        ++counts[2];
    }
    return TRUE;
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

// The system's message box has one text (a static with id 0xFFFF), maybe an
// icon, and answer buttons only. The launcher's dialogs have statics with that
// id as well (-1 in their templates), but each also has other controls.
bool IsMessageBox(HWND window) {
    int counts[3] = {};
    EnumChildWindows(window, CountBoxControls, reinterpret_cast<LPARAM>(counts));
    return counts[0] == 1 && counts[1] > 0 && counts[2] == 0;
}

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
            WaitForSingleObject(info_.hProcess, kPatience);
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
bool WaitAnswering(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kPatience, &result) != 0;
}

namespace {
HWND WaitFound(DWORD processId, const std::string& title, Kind kind, HWND owner, DWORD milliseconds) {
    HWND found = nullptr;
    if (WaitUntil([&] { return (found = FindWindowOf(processId, title, kind, owner)) != nullptr; }, milliseconds))
        WaitAnswering(found);
    return found;
}
}  // namespace

HWND WaitForWindow(DWORD processId, const std::string& title, DWORD milliseconds) {
    return WaitFound(processId, title, Kind::kNotABox, nullptr, milliseconds);
}

HWND WaitForWindowNow(DWORD processId, const std::string& title) {
    return FindWindowOf(processId, title, Kind::kNotABox);
}

HWND WaitForMessageBox(DWORD processId, DWORD milliseconds, HWND owner) {
    return WaitFound(processId, "", Kind::kBox, owner, milliseconds);
}

bool StaysWithoutWindow(DWORD processId, DWORD milliseconds) {
    return !WaitUntil([&] { return FindWindowOf(processId, "", Kind::kAny) != nullptr; }, milliseconds);
}

namespace {
struct WindowList {
    DWORD processId;
    std::string text;
};
BOOL CALLBACK ListWindow(HWND window, LPARAM param) {
    auto* list = reinterpret_cast<WindowList*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != list->processId || !IsWindowVisible(window)) return TRUE;
    list->text += "[\"" + WindowTextUtf8(window) + "\"";
    if (IsMessageBox(window)) list->text += " box: " + MessageBoxText(window);
    if (!IsWindowEnabled(window)) list->text += " disabled";
    if (GetForegroundWindow() == window) list->text += " foreground";
    list->text += "]";
    return TRUE;
}
}  // namespace

std::string DescribeWindows(DWORD processId) {
    WindowList list{processId, ""};
    EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&list));
    return list.text.empty() ? "no window" : list.text;
}

bool WaitWindowGone(HWND window, DWORD milliseconds) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, milliseconds);
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
    WaitUntil([&] { return GetForegroundWindow() == window; });
    WaitAnswering(window);
}

void PressKey(HWND window, WORD virtualKey) {
    BringToFront(window);
    SendKey(virtualKey, true);
    SendKey(virtualKey, false);
}

bool HoldShiftOnDisplay(bool down) {
    if (!StartUnixProgram(std::string("/usr/bin/xdotool ") + (down ? "keydown" : "keyup") + " shift")) return false;
    // The key state is the desktop's once the focused program has taken the key from the X server.
    return WaitUntil([&] { return ((GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0) == down; });
}

namespace {
// Where the test put the mouse. Every button event carries it: the X server
// reports the pointer's earlier moves to the window below it, and a program
// slow to read them would put the cursor back where it was before a click.
POINT mouseAt = {};

void SendMouse(DWORD button) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = mouseAt.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = mouseAt.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
    SendInput(1, &input, sizeof(input));
}
}  // namespace

void MoveMouseTo(int x, int y) {
    mouseAt = {x, y};
    SetCursorPos(x, y);
    SendMouse(0);
    POINT at = {};
    WaitUntil([&] { return GetCursorPos(&at) && at.x == x && at.y == y; });
}

void MouseButton(bool down) { SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP); }

void ClickControl(HWND dialog, int controlId) {
    BringToFront(dialog);
    HWND control = GetDlgItem(dialog, controlId);
    // A check box or radio button shows in its state that it has taken the click.
    char cls[16] = {};
    GetClassNameA(control, cls, sizeof(cls));
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    const bool toggles = lstrcmpiA(cls, "Button") == 0 &&
                         (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON);
    const LRESULT before = toggles ? SendMessageW(control, BM_GETCHECK, 0, 0) : 0;
    RECT r = {};
    GetWindowRect(control, &r);
    MoveMouseTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    MouseButton(true);
    MouseButton(false);
    if (toggles && !(type == BS_AUTORADIOBUTTON && before == BST_CHECKED))
        WaitUntil([&] { return SendMessageW(control, BM_GETCHECK, 0, 0) != before; });
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

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return Utf8FromWide(text);
}

bool IsTicked(HWND dialog, int id) { return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

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
    return WaitUntil(
        [&] {
            HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
            if (snapshot == INVALID_HANDLE_VALUE) return false;
            MODULEENTRY32 module = {};
            module.dwSize = sizeof(module);
            bool listed = Module32First(snapshot, &module) != 0;
            CloseHandle(snapshot);
            return listed;
        },
        milliseconds);
}

std::vector<EngineStart> WaitEngineStarts(const std::string& gameFolder, size_t count, DWORD milliseconds) {
    std::vector<EngineStart> starts;
    WaitUntil([&] { return (starts = ReadEngineStarts(gameFolder)).size() >= count; }, milliseconds);
    return starts;
}

}  // namespace velk::test
