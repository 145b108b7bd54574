// Writing a file so that it holds either all of its new content or, after any
// failure, exactly what it held before: a full disk or a failed write never
// leaves a cut or empty file behind.
#pragma once
#include <string>

namespace velk {

// Writes `bytes` to a new file beside `path` (a relative path: beside it in
// the current folder), flushes it, and only then puts it in place of `path`.
// False, with `path` as it was and nothing left beside it, when any step fails.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

}  // namespace velk
