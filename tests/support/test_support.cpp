#include "test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/win32_handles.h"

namespace velk::test {

bool DeleteKeyTree(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return true;
    char name[256];
    for (;;) {
        DWORD len = sizeof(name);
        if (RegEnumKeyExA(key, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (!DeleteKeyTree(root, path + "\\" + name)) break;
    }
    RegCloseKey(key);
    return RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool QueryValue(HKEY root, const std::string& keyPath, const char* name, DWORD* type, std::vector<BYTE>* data) {
    HKEY key;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    LONG rc = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        data->assign(size, 0);
        rc = RegQueryValueExA(key, name, nullptr, type, data->data(), &size);
        data->resize(size);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool SetValue(HKEY root, const std::string& keyPath, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

ScratchKey::ScratchKey(std::string path, HKEY root) : root_(root), path_(std::move(path)) { Clear(); }
ScratchKey::~ScratchKey() { Clear(); }
void ScratchKey::Clear() { DeleteKeyTree(root_, path_); }

TempFolder::TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    static unsigned counter = 0;
    char name[MAX_PATH];
    snprintf(name, sizeof(name), "%svelk-%lu-%u", base, GetCurrentProcessId(), counter++);
    path_ = name;
    RemoveTree(path_);
    MakeFolder(path_);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool WriteFileText(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

bool ReadFileText(const std::string& path, std::string* text) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    text->clear();
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) text->append(buf, n);
    fclose(f);
    return true;
}

// The file helpers work on wide paths, so that folders named outside the
// ANSI code page are made, copied into and removed whole as well.
std::wstring WideFromAnsi(const std::string& ansi) {
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], n);
    return wide;
}

bool MakeFolder(const std::wstring& path) {
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    size_t cut = path.find_last_of(L'\\');
    if (cut != std::wstring::npos && cut > 2) MakeFolder(path.substr(0, cut));
    return CreateDirectoryW(path.c_str(), nullptr) != 0;
}

bool RemoveTree(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        return DeleteFileW(path.c_str()) != 0;
    }
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return RemoveDirectoryW(path.c_str()) != 0;
}

bool CopyTree(const std::wstring& from, const std::wstring& to) {
    DWORD attributes = GetFileAttributesW(from.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
    if (!MakeFolder(to)) return false;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((from + L"\\*").c_str(), &data);
    bool ok = true;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") ok = CopyTree(from + L"\\" + name, to + L"\\" + name) && ok;
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return ok;
}

bool MakeFolder(const std::string& path) { return MakeFolder(WideFromAnsi(path)); }
bool RemoveTree(const std::string& path) { return RemoveTree(WideFromAnsi(path)); }
bool CopyTree(const std::string& from, const std::string& to) { return CopyTree(WideFromAnsi(from), WideFromAnsi(to)); }

std::vector<std::string> ListBoxItems(HWND list) {
    std::vector<std::string> items;
    for (LRESULT i = 0, n = SendMessageA(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
        std::string text(static_cast<size_t>(std::max<LRESULT>(SendMessageA(list, LB_GETTEXTLEN, i, 0), 0)) + 1, '\0');
        text.resize(static_cast<size_t>(std::max<LRESULT>(SendMessageA(list, LB_GETTEXT, i, (LPARAM)&text[0]), 0)));
        items.push_back(text);
    }
    return items;
}

std::string WindowsPath(const std::string& unixPath) {
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

ScopedCurrentFolder::ScopedCurrentFolder(const std::string& folder) {
    char buf[MAX_PATH];
    GetCurrentDirectoryA(sizeof(buf), buf);
    previous_ = buf;
    SetCurrentDirectoryA(folder.c_str());
}

ScopedCurrentFolder::~ScopedCurrentFolder() { SetCurrentDirectoryA(previous_.c_str()); }

std::string DriveFolder(char letter) {
    const char* drives = getenv("VELK_DRIVES");
    std::string base = drives ? drives : "";
    char lower = static_cast<char>(letter | 0x20);
    return WindowsPath(base + "/" + std::string(1, lower));
}

void EjectDisc(char letter) {
    std::string folder = DriveFolder(letter);
    RemoveTree(folder);
    MakeFolder(folder);
}

void InsertDataDisc(char letter) {
    EjectDisc(letter);
    std::string folder = DriveFolder(letter);
    MakeFolder(folder + "\\DATA");
    WriteFileText(folder + "\\DATA\\VELK.REZ", "data disc marker\n");
}

bool StartUnixProgram(const std::string& commandLine) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    KernelHandle process(info.hProcess), thread(info.hThread);
    return true;
}

constexpr ULONGLONG kFullDiskBytes = 4 << 20;  // the size mounted: room for a copy of the demo game

// Mounting goes on by itself: waits until the folder is, or is no longer, on the small file system.
static bool WaitMounted(const std::string& path, bool mounted) {
    ULARGE_INTEGER size = {};
    return WaitUntil([&] {
        return GetDiskFreeSpaceExA(path.c_str(), nullptr, &size, nullptr) && (size.QuadPart == kFullDiskBytes) == mounted;
    });
}

FullDisk::FullDisk(const std::string& folder) : folder_(folder) {
    using UnixNameFn = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char* name = MakeFolder(folder_) && unixName ? unixName(WideFromAnsi(folder_).c_str()) : nullptr;
    if (!name) return;
    unixFolder_ = name;
    HeapFree(GetProcessHeap(), 0, name);
    mounted_ = StartUnixProgram("/bin/mount -t tmpfs -o size=4m velk-full \"" + unixFolder_ + "\"") &&
               WaitMounted(folder_, true);
}

FullDisk::~FullDisk() {
    // Lazily: a program the test started may still hold a file there.
    if (mounted_ && StartUnixProgram("/bin/umount -l \"" + unixFolder_ + "\"")) WaitMounted(folder_, false);
}

bool FullDisk::Fill() const {
    FileHandle filler(CreateFileA((folder_ + "\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    static const char block[64 << 10] = {};
    DWORD written = 0;
    while (filler && WriteFile(filler.get(), block, sizeof(block), &written, nullptr)) continue;
    return GetLastError() == ERROR_DISK_FULL;
}

namespace {
const char* const kHandlerKeys[] = {
    "Software\\Classes\\http\\shell\\open\\command",
    "Software\\Classes\\https\\shell\\open\\command",
    "Software\\Classes\\velk.hlpfile\\shell\\open\\command",
    "Software\\Classes\\.hlp",
};
}  // namespace

StandInBrowser::StandInBrowser() : record_(folder_ / "opened.txt") {
    for (const char* key : kHandlerKeys) {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!QueryValue(HKEY_LOCAL_MACHINE, key, nullptr, &type, &data)) data.clear();
        saved_.emplace_back(key, data);
    }
    const std::string command = "\"" + WindowsPath(VELK_BROWSER_EXE) + "\" \"%1\"";
    for (int i = 0; i < 3; ++i)
        SetValue(HKEY_LOCAL_MACHINE, kHandlerKeys[i], nullptr, REG_SZ, command.c_str(),
                 static_cast<DWORD>(command.size() + 1));
    SetValue(HKEY_LOCAL_MACHINE, kHandlerKeys[3], nullptr, REG_SZ, "velk.hlpfile", 13);
    SetEnvironmentVariableA("VELK_BROWSER_RECORD", record_.c_str());
}

StandInBrowser::~StandInBrowser() {
    for (const auto& [key, data] : saved_) {
        if (data.empty())
            DeleteKeyTree(HKEY_LOCAL_MACHINE, key);
        else
            SetValue(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, data.data(), static_cast<DWORD>(data.size()));
    }
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Classes\\velk.hlpfile");
    SetEnvironmentVariableA("VELK_BROWSER_RECORD", nullptr);
}

void StandInBrowser::RemoveWebHandler() {
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Classes\\http\\shell");
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Classes\\https\\shell");
}

std::string StandInBrowser::Opened() const {
    std::string text;
    ReadFileText(record_, &text);
    return text;
}

std::string StandInBrowser::WaitOpened(DWORD milliseconds) const {
    std::string text;
    WaitUntil([&] { return !(text = Opened()).empty() && text.back() == '\n'; }, milliseconds);
    return text;
}

}  // namespace velk::test
