#include "display/saved_choice.h"

#include <cstring>

namespace velk {

namespace {

struct KeyText {
    std::string_view text;
    size_t capacity;
};

constexpr KeyText kKeys[SavedDisplayChoice::kKeyCount] = {
    {"RenderDll", kSettingsTextLength},      {"Renderer", kSettingsTextLength},
    {"CardDesc", kSettingsTextLength},       {"ScreenWidth", kSettingsNumberLength},
    {"ScreenHeight", kSettingsNumberLength}, {"BitDepth", kSettingsNumberLength},
};

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
    }
    return true;
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// What follows a key: quotes and spaces are passed over; trailing quotes and
// line ends are cut, but never the value's first character.
std::string ValueAfterKey(std::string_view rest, size_t capacity) {
    size_t start = rest.find_first_not_of("\" ");
    std::string value(start == std::string_view::npos ? std::string_view() : rest.substr(start));
    while (value.size() > 1 && (value.back() == '"' || value.back() == '\n')) value.pop_back();
    if (value.size() > capacity) value.resize(capacity);
    return value;
}

}  // namespace

void SavedDisplayChoice::TakeLine(std::string_view line) {
    if (!line.empty() && line.front() == '"') line.remove_prefix(1);
    for (int key = 0; key < kKeyCount; ++key) {
        if (!StartsWithIgnoringCase(line, kKeys[key].text)) continue;
        values[key] = ValueAfterKey(line.substr(kKeys[key].text.size()), kKeys[key].capacity);
        seen[key] = true;
        return;
    }
}

bool SavedDisplayChoice::AllSeen() const {
    for (bool s : seen) {
        if (!s) return false;
    }
    return true;
}

bool ReadSavedDisplayChoice(const std::string& fileName, SavedDisplayChoice* choice) {
    FILE* file = fopen(fileName.c_str(), "rb");
    if (!file) return false;
    std::string line;
    while (!choice->AllSeen() && ReadSettingsLine(file, &line)) choice->TakeLine(line);
    fclose(file);
    return true;
}

int32_t SettingNumber(const std::string& text) {
    const char* p = text.c_str();
    while (IsBlank(*p)) ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    const int64_t limit = negative ? -int64_t(INT32_MIN) : INT32_MAX;
    int64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) magnitude = limit;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace velk
