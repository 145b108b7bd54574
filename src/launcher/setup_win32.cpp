#include <cstdio>

#include "base/win32_handles.h"
#include "disc/data_disc.h"
#include "launcher/launcher.h"
#include "launcher/launcher_state.h"

namespace velk {

namespace {
constexpr size_t kCommandCapacity = 256;  // 255 characters and the NUL

bool EndsWithBackslash(const std::string& s) { return !s.empty() && s.back() == '\\'; }
}  // namespace

bool FileExistsIn(const char* folder, const char* file) {
    if (!folder || !file || !*file) return false;
    if (!*folder) return FileExists(file);
    std::string path = folder;
    if (EndsWithBackslash(path)) path.pop_back();
    path += '\\';
    path += file;
    return FileExists(path.c_str());
}

bool StartProgram(const char* folder, const char* file) {
    if (!folder || !file) return false;
    char command[kCommandCapacity];
    const std::string dir = folder;
    if (dir.empty())
        snprintf(command, sizeof(command), "%s", file);
    else if (EndsWithBackslash(dir))
        snprintf(command, sizeof(command), "%s%s", folder, file);
    else
        snprintf(command, sizeof(command), "%s\\%s", folder, file);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    BOOL created = CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr,
                                  dir.empty() ? nullptr : folder, &startup, &process);
    if (!created) return false;
    // Not waited for: the handles are only closed.
    KernelHandle thread(process.hThread);
    KernelHandle child(process.hProcess);
    return true;
}

bool RunSetup() {
    const LauncherState& s = State();
    if (!FileExistsIn(s.discRoot.c_str(), s.setupProgram.c_str())) return false;
    return StartProgram(s.discRoot.c_str(), s.setupProgram.c_str());
}

}  // namespace velk
