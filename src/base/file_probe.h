// What a path names in the file system, asked the one way the launcher asks:
// in UTF-16, so a deep folder or one named outside the ANSI code page
// answers like any other, and never with a system box (an empty drive or an
// offline share answers "missing").
#pragma once
#include <cstdint>
#include <string>

namespace velk {

enum class PathKind { Missing, File, Folder };

// An ANSI path, a relative one from the current folder; `size`, when given,
// gets a file's length in bytes.
PathKind ProbePath(const char* path, uint64_t* size = nullptr);
inline bool FileExists(const char* path) { return ProbePath(path) == PathKind::File; }
inline bool FolderExists(const char* path) { return ProbePath(path) == PathKind::Folder; }

// The current folder, whole; empty when it cannot be had.
std::wstring CurrentFolder();
// The name in the folder: a "\" between them unless the folder is empty or ends with one.
std::wstring PathInFolder(const std::wstring& folder, const std::wstring& name);

}  // namespace velk
