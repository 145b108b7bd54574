#include <cstdio>

#include "base/win32_handles.h"
#include "disc/data_disc.h"
#include "launcher/launcher.h"
#include "launcher/launcher_state.h"

namespace velk {

namespace {
constexpr size_t kCommandCapacity = 256;  // 255 characters and the NUL

bool EndsWithBackslash(const std::string& s) { return !s.empty() && s.back() == '\\'; }

// A bare name would be searched for along the system's path as well, and
// could start an unrelated program of that name: the current folder is named.
constexpr const char* kCurrentFolder = ".\\";
}  // namespace

bool FileExistsIn(const char* folder, const char* file) {
    if (!folder || !file || !*file) return false;
    if (!*folder) return FileExists((kCurrentFolder + std::string(file)).c_str());
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
    int length;
    if (dir.empty())
        length = snprintf(command, sizeof(command), "%s%s", kCurrentFolder, file);
    else if (EndsWithBackslash(dir))
        length = snprintf(command, sizeof(command), "%s%s", folder, file);
    else
        length = snprintf(command, sizeof(command), "%s\\%s", folder, file);
    // A shortened command would start some other program, or none.
    if (length < 0 || static_cast<size_t>(length) >= sizeof(command)) return false;

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
