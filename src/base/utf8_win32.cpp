#include "base/utf8.h"

#include <climits>

namespace velk {

namespace {

// Texts beyond what one call converts are cut there.
int Length(size_t length) { return length > INT_MAX / 4 ? INT_MAX / 4 : static_cast<int>(length); }

std::wstring WideFrom(UINT codePage, const std::string& text) {
    const int length = Length(text.size());
    if (length == 0) return std::wstring();
    int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, &wide[0], needed);
    return wide;
}

std::string NarrowFrom(UINT codePage, const wchar_t* text, size_t length) {
    const int count = Length(length);
    if (!text || count == 0) return std::string();
    int needed = WideCharToMultiByte(codePage, 0, text, count, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::string();
    std::string narrow(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(codePage, 0, text, count, &narrow[0], needed, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::string Utf8FromWide(const wchar_t* text, size_t length) { return NarrowFrom(CP_UTF8, text, length); }

std::string Utf8FromAnsi(const std::string& text) { return Utf8FromWide(WideFrom(CP_ACP, text)); }

std::wstring WideFromUtf8(const std::string& text) { return WideFrom(CP_UTF8, text); }

std::wstring WideFromAnsi(const std::string& text) { return WideFrom(CP_ACP, text); }

std::string AnsiFromWide(const std::wstring& text) { return NarrowFrom(CP_ACP, text.data(), text.size()); }

}  // namespace velk
