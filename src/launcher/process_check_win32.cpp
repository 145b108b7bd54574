#include <cstring>

#include "base/win32_handles.h"
#include "launcher/launcher.h"

namespace velk {

namespace {

constexpr DWORD kLongestPath = 32768;  // the longest path the system knows

// The toolhelp functions are looked up by name: a system without them has
// nothing running as far as the launcher can tell.
using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32W*);
using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, MODULEENTRY32W*);
// Not on systems before Vista, which only have the module snapshot's 260 characters.
using QueryImageFn = BOOL(WINAPI*)(HANDLE, DWORD, wchar_t*, DWORD*);

template <typename Fn>
Fn Kernel32Function(const char* name) {
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    return kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
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
std::wstring ProcessImagePath(const PROCESSENTRY32W& process) {
    static const auto queryImage = Kernel32Function<QueryImageFn>("QueryFullProcessImageNameW");
    if (queryImage) {
        KernelHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process.th32ProcessID));
        std::wstring path(kLongestPath, L'\0');
        DWORD length = kLongestPath;
        if (handle && queryImage(handle.get(), 0, &path[0], &length)) return path.substr(0, length);
    }
    MODULEENTRY32W module = {};
    return FindProcessModule(process.th32ProcessID, process.th32ModuleID, &module) ? module.szExePath
                                                                                    : std::wstring();
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

    auto createSnapshot = Kernel32Function<CreateSnapshotFn>("CreateToolhelp32Snapshot");
    auto first = Kernel32Function<ProcessWalkFn>("Process32FirstW");
    auto next = Kernel32Function<ProcessWalkFn>("Process32NextW");
    if (!createSnapshot || !first || !next) return false;

    FileHandle snapshot(createSnapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;

    PROCESSENTRY32W process = {};
    process.dwSize = sizeof(process);
    int matches = 0;
    for (BOOL more = first(snapshot.get(), &process); more; more = next(snapshot.get(), &process)) {
        // Looking into another process is slow; only those whose executable
        // has the same file name can match, so only those are looked into.
        if (process.th32ProcessID != 0 && Upper(BaseName(process.szExeFile)) == wantedName) {
            const std::wstring image = comparePaths ? ProcessImagePath(process) : std::wstring();
            const bool same = !comparePaths || (!image.empty() && ComparablePath(image) == wantedPath);
            if (same && ++matches >= count) return true;
        }
        process.dwSize = sizeof(process);
    }
    return false;
}

}  // namespace velk
