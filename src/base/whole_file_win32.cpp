#include "base/whole_file.h"

#include <windows.h>
#include <algorithm>

#include "base/win32_handles.h"

namespace velk {

namespace {

constexpr size_t kLargestWrite = 1 << 20;  // WriteFile counts in a DWORD
constexpr unsigned kNameAttempts = 64;

// A file of its own beside `path`: its name adds this process's id and a
// count, and it is made only when no file of that name exists yet.
FileHandle CreateBeside(const std::wstring& path, std::wstring* created) {
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::wstring name =
            path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt) + L".tmp";
        FileHandle file(
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            *created = name;
            return file;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return FileHandle();
}

// Every byte, each write's count checked: a full disk can take part of a write.
bool WriteAll(HANDLE file, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min(bytes.size() - done, kLargestWrite));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written != chunk) return false;
        done += written;
    }
    return true;
}

}  // namespace

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    if (path.empty()) return false;
    // A read-only file stays as it is, as an open for writing would leave it:
    // a file moved over it is not refused everywhere.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    std::wstring temporary;
    FileHandle file = CreateBeside(path, &temporary);
    if (!file) return false;
    bool whole = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
    // Closed here rather than by the owner: a failed close can be the first
    // word of a lost write, and the old file must then stay.
    whole = CloseHandle(file.release()) && whole;
    if (whole && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

}  // namespace velk
