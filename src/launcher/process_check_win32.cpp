#include <cstring>

#include "launcher/launcher.h"
#include "launcher/win32_handles.h"

namespace velk {

#ifndef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 296, "32-bit ANSI toolhelp entries");
static_assert(sizeof(MODULEENTRY32) == 548, "32-bit ANSI toolhelp entries");
#endif

namespace {

// The toolhelp functions are looked up by name: a system without them has
// nothing running as far as the launcher can tell.
using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);

// The file name part of a path (the whole text when it has no folder).
const char* BaseName(const char* path) {
    const char* cut = std::strrchr(path, '\\');
    return cut ? cut + 1 : path;
}

template <typename Fn>
Fn Kernel32Function(const char* name) {
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    return kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
}

// This process's executable, as its module snapshot would give it, without
// taking one: a module snapshot is the slowest step of the start-up checks.
bool OwnExecutable(MODULEENTRY32* entry) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) return false;
    *entry = MODULEENTRY32{};
    entry->dwSize = sizeof(*entry);
    lstrcpynA(entry->szExePath, path, sizeof(entry->szExePath));
    lstrcpynA(entry->szModule, BaseName(path), sizeof(entry->szModule));
    return true;
}

}  // namespace

bool FindProcessModule(DWORD processId, DWORD moduleId, MODULEENTRY32* entry) {
    auto createSnapshot = Kernel32Function<CreateSnapshotFn>("CreateToolhelp32Snapshot");
    auto first = Kernel32Function<ModuleWalkFn>("Module32First");
    auto next = Kernel32Function<ModuleWalkFn>("Module32Next");
    if (!createSnapshot || !first || !next || !entry) return false;

    FileHandle snapshot(createSnapshot(TH32CS_SNAPMODULE, processId));
    if (!snapshot) return false;

    MODULEENTRY32 module = {};
    module.dwSize = sizeof(module);
    if (!first(snapshot.get(), &module)) return false;
    // On NT-family systems the process entry's module id is always 0 while the
    // module entries carry 1, so an exact match would never be found: there the
    // first module entry, the process's executable, is the one meant.
    MODULEENTRY32 executable = module;
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

bool IsProcessRunning(const char* name, int count) {
    if (!name || !*name) return false;
    const bool comparePaths = std::strchr(name, '\\') != nullptr;

    auto createSnapshot = Kernel32Function<CreateSnapshotFn>("CreateToolhelp32Snapshot");
    auto first = Kernel32Function<ProcessWalkFn>("Process32First");
    auto next = Kernel32Function<ProcessWalkFn>("Process32Next");
    if (!createSnapshot || !first || !next) return false;

    FileHandle snapshot(createSnapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;

    PROCESSENTRY32 process = {};
    process.dwSize = sizeof(process);
    int matches = 0;
    for (BOOL more = first(snapshot.get(), &process); more; more = next(snapshot.get(), &process)) {
        // A module snapshot of another process is slow; only processes whose
        // executable has the same file name can match, so only those are looked into.
        if (process.th32ProcessID != 0 && lstrcmpiA(BaseName(process.szExeFile), BaseName(name)) == 0) {
            MODULEENTRY32 module = {};
            const bool found = process.th32ProcessID == GetCurrentProcessId()
                                   ? OwnExecutable(&module)
                                   : FindProcessModule(process.th32ProcessID, process.th32ModuleID, &module);
            if (found) {
                const char* candidate = comparePaths ? module.szExePath : module.szModule;
                if (lstrcmpiA(candidate, name) == 0 && ++matches >= count) return true;
            }
        }
        process.dwSize = sizeof(process);
    }
    return false;
}

}  // namespace velk
