#include <string>

#include "base/file_probe.h"
#include "base/win32_handles.h"
#include "launcher/launcher.h"

namespace velk {

namespace {
constexpr size_t kCommandCapacity = 256;  // 255 characters and the NUL

// A bare name would be searched for along the system's path as well, and
// could start an unrelated program of that name: the current folder is named.
constexpr const char* kCurrentFolder = ".\\";

// The file in the folder; named in the current folder when the folder is empty.
std::string PathIn(const std::string& folder, const char* file) {
    if (folder.empty()) return kCurrentFolder + std::string(file);
    return folder + (folder.back() == '\\' ? "" : "\\") + file;
}
}  // namespace

bool FileExistsIn(const char* folder, const char* file) {
    return folder && file && *file && FileExists(PathIn(folder, file).c_str());
}

bool StartProgram(const char* folder, const char* file) {
    if (!folder || !file) return false;
    std::string command = PathIn(folder, file);
    // A shortened command would start some other program, or none.
    if (command.size() >= kCommandCapacity) return false;

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    BOOL created = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  *folder ? folder : nullptr, &startup, &process);
    if (!created) return false;
    // Not waited for: the handles are only closed.
    KernelHandle thread(process.hThread);
    KernelHandle child(process.hProcess);
    return true;
}

bool RunSetup(const std::string& discRoot, const std::string& setupProgram) {
    if (!FileExistsIn(discRoot.c_str(), setupProgram.c_str())) return false;
    return StartProgram(discRoot.c_str(), setupProgram.c_str());
}

}  // namespace velk
