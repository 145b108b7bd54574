// Conversions between the launcher's ANSI texts, UTF-16 and UTF-8, for the
// few places that show or store text beyond the ANSI code page.
#pragma once
#include <windows.h>
#include <string>

namespace velk {

std::string Utf8FromWide(const wchar_t* text, size_t length);
inline std::string Utf8FromWide(const std::wstring& text) { return Utf8FromWide(text.data(), text.size()); }
std::string Utf8FromAnsi(const std::string& text);
std::wstring WideFromUtf8(const std::string& text);
// Through the ANSI code page; a character outside it becomes "?" or a look-alike.
std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const std::wstring& text);

}  // namespace velk
