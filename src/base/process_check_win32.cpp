#include "base/process_check.h"

#include <winternl.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "base/win32_handles.h"

namespace velk {

namespace {

constexpr DWORD kLongestPath = 32768;  // the longest path the system knows
constexpr LONG kBufferTooSmall = static_cast<LONG>(0xC0000004);  // STATUS_INFO_LENGTH_MISMATCH
constexpr size_t kLargestProcessList = 64 << 20;

// Looked up by name: a system without them has nothing running as far as the
// launcher can tell.
using QuerySystemFn = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, MODULEENTRY32W*);
// Not on systems before Vista, which only have the module snapshot's 260 characters.
using QueryImageFn = BOOL(WINAPI*)(HANDLE, DWORD, wchar_t*, DWORD*);

template <typename Fn>
Fn SystemFunction(const char* module, const char* name) {
    HMODULE loaded = GetModuleHandleA(module);
    return loaded ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(loaded, name))) : nullptr;
}

template <typename Fn>
Fn Kernel32Function(const char* name) {
    return SystemFunction<Fn>("KERNEL32.DLL", name);
}

struct RunningProcess {
    DWORD id;
    std::wstring name;  // the executable's file name
};

// Every running process, in one call: the toolhelp snapshot maps its view
// anew for every entry it hands out, which made walking it the slowest step
// before the title window.
std::vector<RunningProcess> RunningProcesses() {
    static const auto query = SystemFunction<QuerySystemFn>("ntdll.dll", "NtQuerySystemInformation");
    std::vector<RunningProcess> processes;
    if (!query) return processes;
    std::vector<BYTE> list(64 << 10);
    ULONG needed = 0;
    LONG status;
    while ((status = query(SystemProcessInformation, list.data(), static_cast<ULONG>(list.size()), &needed)) ==
               kBufferTooSmall &&
           list.size() < kLargestProcessList)
        list.resize(std::max<size_t>(list.size() * 2, needed));
    if (status < 0) return processes;
    for (size_t at = 0; at + sizeof(SYSTEM_PROCESS_INFORMATION) <= list.size();) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data() + at);
        const UNICODE_STRING& name = entry->ImageName;
        processes.push_back({static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId)),
                             name.Buffer ? std::wstring(name.Buffer, name.Length / sizeof(wchar_t)) : std::wstring()});
        if (entry->NextEntryOffset == 0) break;
        at += entry->NextEntryOffset;
    }
    return processes;
}

// The file name part of a path (the whole text when it has no folder).
std::wstring BaseName(const std::wstring& path) {
    const size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring Upper(std::wstring text) {
    if (!text.empty()) CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// Calls `ask` (buffer, its size) as the path functions want it: the length
// without the NUL when it fitted, the size needed when it did not, 0 on failure.
template <typename Ask>
std::wstring AskPath(Ask ask) {
    std::wstring path(MAX_PATH, L'\0');
    for (int round = 0; round < 2; ++round) {
        const DWORD length = ask(&path[0], static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) return path.substr(0, length);
        path.assign(length, L'\0');
    }
    return std::wstring();
}

std::wstring LongPath(const std::wstring& path) {
    return AskPath([&](wchar_t* out, DWORD size) { return GetLongPathNameW(path.c_str(), out, size); });
}

// Past MAX_PATH the system expands names only of a path marked as long; the
// mark is taken off again so that both sides of a comparison look alike.
std::wstring LongPathAnyDepth(const std::wstring& path) {
    std::wstring resolved = LongPath(path);
    if (!resolved.empty() || path.size() < MAX_PATH || path.compare(0, 2, L"\\\\") == 0) return resolved;
    resolved = LongPath(L"\\\\?\\" + path);
    return resolved.compare(0, 4, L"\\\\?\\") == 0 ? resolved.substr(4) : resolved;
}

// A path as the file system names it, for comparing: full, every 8.3
// component in its long form, in upper case. A path that no longer resolves
// (the file was removed) is compared as given, made full.
std::wstring ComparablePath(const std::wstring& path) {
    std::wstring full = AskPath([&](wchar_t* out, DWORD size) {
        return GetFullPathNameW(path.c_str(), size, out, nullptr);
    });
    if (full.empty()) full = path;
    std::wstring resolved = LongPathAnyDepth(full);
    return Upper(resolved.empty() ? full : resolved);
}

// The whole path of the process's executable, asked of the process itself;
// where the system cannot answer that, its first module entry (at most 260
// characters). Empty when the process may not be looked into.
std::wstring ProcessImagePath(DWORD processId) {
    static const auto queryImage = Kernel32Function<QueryImageFn>("QueryFullProcessImageNameW");
    if (queryImage) {
        KernelHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
        std::wstring path(kLongestPath, L'\0');
        DWORD length = kLongestPath;
        if (handle && queryImage(handle.get(), 0, &path[0], &length)) return path.substr(0, length);
    }
    MODULEENTRY32W module = {};
    return FindProcessModule(processId, 0, &module) ? module.szExePath : std::wstring();
}

}  // namespace

bool FindProcessModule(DWORD processId, DWORD moduleId, MODULEENTRY32W* entry) {
    auto createSnapshot = Kernel32Function<CreateSnapshotFn>("CreateToolhelp32Snapshot");
    auto first = Kernel32Function<ModuleWalkFn>("Module32FirstW");
    auto next = Kernel32Function<ModuleWalkFn>("Module32NextW");
    if (!createSnapshot || !first || !next || !entry) return false;

    FileHandle snapshot(createSnapshot(TH32CS_SNAPMODULE, processId));
    if (!snapshot) return false;

    MODULEENTRY32W module = {};
    module.dwSize = sizeof(module);
    if (!first(snapshot.get(), &module)) return false;
    // On NT-family systems the process entry's module id is always 0 while the
    // module entries carry 1, so an exact match would never be found: there the
    // first module entry, the process's executable, is the one meant.
    MODULEENTRY32W executable = module;
    do {
        if (moduleId != 0 && module.th32ModuleID == moduleId) {
            *entry = module;
            return true;
        }
        module.dwSize = sizeof(module);
    } while (next(snapshot.get(), &module));
    *entry = executable;
    return true;
}

bool IsProcessRunning(const wchar_t* name, int count) {
    if (!name || !*name) return false;
    const bool comparePaths = std::wcschr(name, L'\\') != nullptr;
    // A path names one file however it is written: long or 8.3 components,
    // any depth, letters beyond the ANSI code page.
    const std::wstring wantedPath = comparePaths ? ComparablePath(name) : std::wstring();
    const std::wstring wantedName = Upper(BaseName(comparePaths ? wantedPath : name));

    int matches = 0;
    for (const RunningProcess& process : RunningProcesses()) {
        // Looking into another process is slow; only those whose executable
        // has the same file name can match, so only those are looked into.
        if (process.id == 0 || Upper(BaseName(process.name)) != wantedName) continue;
        const std::wstring image = comparePaths ? ProcessImagePath(process.id) : std::wstring();
        const bool same = !comparePaths || (!image.empty() && ComparablePath(image) == wantedPath);
        if (same && ++matches >= count) return true;
    }
    return false;
}

}  // namespace velk
