#include "base/file_search.h"

#include <windows.h>

#include <cwchar>

#include "base/utf8.h"
#include "base/win32_handles.h"

namespace velk {

namespace {

wchar_t FoldedAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// Extensions are ASCII: folding A-Z is all the letter case there is to ignore.
bool EndsInIgnoringCase(const std::wstring& name, const std::wstring& ending) {
    if (name.size() < ending.size()) return false;
    const size_t start = name.size() - ending.size();
    for (size_t i = 0; i < ending.size(); ++i)
        if (FoldedAscii(name[start + i]) != FoldedAscii(ending[i])) return false;
    return true;
}

// The ANSI name that names exactly this file, or "" when it has none.
std::string ExactAnsiName(const std::wstring& wide) {
    const std::string ansi = AnsiFromWide(wide);
    return !ansi.empty() && WideFromAnsi(ansi) == wide ? ansi : std::string();
}

// The file's own name when it ends in the extension; empty for anything else.
std::wstring FoundFileName(const WIN32_FIND_DATAW& found, const std::wstring& extension) {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::wstring();
    const size_t length = wcsnlen(found.cFileName, MAX_PATH);
    if (length >= MAX_PATH) return std::wstring();
    const std::wstring name(found.cFileName, length);
    return EndsInIgnoringCase(name, extension) ? name : std::wstring();
}

}  // namespace

std::vector<std::string> FindFilesByExtension(const std::wstring& pattern,
                                              std::vector<std::string>* outsideCodePage) {
    std::vector<std::string> names;
    const size_t star = pattern.rfind(L'*');
    if (star == std::wstring::npos) return names;
    const std::wstring extension = pattern.substr(star + 1);
    WIN32_FIND_DATAW found;
    FindHandle search(FindFirstFileW(pattern.c_str(), &found));
    if (!search) return names;
    do {
        const std::wstring wide = FoundFileName(found, extension);
        if (wide.empty()) continue;
        std::string name = ExactAnsiName(wide);
        if (!name.empty())
            names.push_back(std::move(name));
        else if (outsideCodePage)
            outsideCodePage->push_back(Utf8FromWide(wide));
    } while (FindNextFileW(search.get(), &found));
    return names;
}

}  // namespace velk
