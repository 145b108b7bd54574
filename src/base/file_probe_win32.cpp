#include "base/file_probe.h"

#include <windows.h>

#include "base/utf8.h"
#include "base/win32_handles.h"

namespace velk {

PathKind ProbePath(const char* path, uint64_t* size) {
    if (!path || !*path) return PathKind::Missing;
    const std::wstring wide = WideFromAnsi(path);
    if (wide.empty()) return PathKind::Missing;
    ScopedErrorMode quiet(kNoSystemBoxes);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return PathKind::Missing;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Folder;
    if (size) *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return PathKind::File;
}

std::wstring CurrentFolder() {
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return std::wstring();
    std::wstring folder(needed, L'\0');
    DWORD length = GetCurrentDirectoryW(needed, &folder[0]);
    folder.resize(length < needed ? length : 0);
    return folder;
}

std::wstring PathInFolder(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == L'\\') return folder + name;
    return folder + L'\\' + name;
}

}  // namespace velk
