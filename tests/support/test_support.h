// Helpers shared by the Win32 and end-to-end tests.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace velk::test {

// How long a test waits at most for what must come; on a busy machine it
// comes late, and only a failing test waits this long.
constexpr DWORD kPatience = 20000;

// Asks `done` again and again until it holds or the time is up; whether it held.
template <typename Condition>
bool WaitUntil(Condition done, DWORD milliseconds = kPatience) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(20);
    }
}
// Reads `read` until it gives `expected` or the time is up; gives what it read last.
template <typename Read, typename Value>
auto Eventually(Read read, const Value& expected, DWORD milliseconds = kPatience) {
    auto value = read();
    WaitUntil([&] { return value == expected || (value = read()) == expected; }, milliseconds);
    return value;
}
// For state that another process's thread changes once it takes the input sent to it.
#define EXPECT_EVENTUALLY_EQ(actual, expected) \
    EXPECT_EQ(::velk::test::Eventually([&] { return (actual); }, (expected)), (expected))
#define ASSERT_EVENTUALLY_EQ(actual, expected) \
    ASSERT_EQ(::velk::test::Eventually([&] { return (actual); }, (expected)), (expected))

// A registry key of the test's own, deleted (with everything below it) before and after.
class ScratchKey {
public:
    explicit ScratchKey(std::string path, HKEY root = HKEY_CURRENT_USER);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    HKEY root() const { return root_; }
    const std::string& path() const { return path_; }
    void Clear();

private:
    HKEY root_;
    std::string path_;
};

bool DeleteKeyTree(HKEY root, const std::string& path);
bool KeyExists(HKEY root, const std::string& path);
// Raw value access for checking what the code stored.
bool QueryValue(HKEY root, const std::string& key, const char* name, DWORD* type, std::vector<BYTE>* data);
bool SetValue(HKEY root, const std::string& key, const char* name, DWORD type, const void* data, DWORD size);

// A folder of the test's own under the system temp folder, removed at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

private:
    std::string path_;
};

bool WriteFileText(const std::string& path, const std::string& text);
bool ReadFileText(const std::string& path, std::string* text);
bool MakeFolder(const std::string& path);      // creates missing parents too
bool RemoveTree(const std::string& path);      // files and folders below, then itself
bool CopyTree(const std::string& from, const std::string& to);
// The same on wide paths, for names outside the ANSI code page.
std::wstring WideFromAnsi(const std::string& ansi);
bool MakeFolder(const std::wstring& path);
bool RemoveTree(const std::wstring& path);
bool CopyTree(const std::wstring& from, const std::wstring& to);

// The items of a list box of this process, in the ANSI code page.
std::vector<std::string> ListBoxItems(HWND list);

// The Windows path of a Unix path (Wine's Z: drive).
std::string WindowsPath(const std::string& unixPath);

// Changes the current folder for the lifetime of the object.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::string& folder);
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    std::string previous_;
};

// The test prefix's drives (see scripts/wine-env.sh): R: and S: are CD-ROM
// drives, T: a hard disk. A "disc" is put in by filling the drive's folder.
std::string DriveFolder(char letter);  // the Windows path of the folder behind the drive
void EjectDisc(char letter);           // empties the drive's folder
void InsertDataDisc(char letter);      // puts the data disc's marker \DATA\VELK.REZ on it

// Starts a Linux program by its path; Wine gives no handle that tells when it ends.
bool StartUnixProgram(const std::string& commandLine);

// A small file system on `folder` (made here) while the object lives, where mounting is allowed (root).
class FullDisk {
public:
    explicit FullDisk(const std::string& folder);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    bool mounted() const { return mounted_; }
    bool Fill() const;  // takes every byte still free

private:
    std::string folder_, unixFolder_;
    bool mounted_ = false;
};

// Points the shell's handlers of web addresses and ".hlp" files at the
// stand-in browser, which appends "OPEN <what>" lines to recordFile();
// the previous handlers come back at the end.
class StandInBrowser {
public:
    StandInBrowser();
    ~StandInBrowser();
    StandInBrowser(const StandInBrowser&) = delete;
    StandInBrowser& operator=(const StandInBrowser&) = delete;
    const std::string& recordFile() const { return record_; }
    std::string Opened() const;  // everything recorded so far
    // Waits until a whole line was recorded.
    std::string WaitOpened(DWORD milliseconds = kPatience) const;
    // Removes the handler of web addresses altogether (restored at the end).
    void RemoveWebHandler();

private:
    TempFolder folder_;
    std::string record_;
    std::vector<std::pair<std::string, std::vector<BYTE>>> saved_;  // key -> default value (empty: none)
};

}  // namespace velk::test
