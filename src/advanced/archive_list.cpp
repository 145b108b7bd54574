#include "advanced/archive_list.h"

#include <cstring>

#include "base/engine_text.h"
#include "base/settings_store.h"

namespace velk {

namespace {
constexpr char kSeparator = '|';
// "Rez Files" is read with 2046 bytes of room.
constexpr uint32_t kSavedListRoom = 2046;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithNoCase(const std::string& text, const char* tail) {
    const size_t n = strlen(tail);
    if (text.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (Lower(text[text.size() - n + i]) != tail[i]) return false;
    return true;
}
// CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9, with any extension, name a
// device in every folder, not a file of it.
bool IsDeviceName(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    for (char& c : stem) c = Lower(c);
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
    return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}
}  // namespace

bool IsUsableArchiveName(const std::string& name) {
    if (name.empty() || name.size() > kMaxArchiveName) return false;
    for (char c : name) {
        // DEL counts as a control character too: the command line turns it into a blank.
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || strchr("|\"<>:/\\?*", c)) return false;
    }
    // The system drops a name's trailing dots and blanks: "." and ".." name
    // folders, and "a.rez." would be another file than it says.
    if (name.back() == '.' || name.back() == ' ') return false;
    return !IsDeviceName(name);
}

bool IsArchiveFileName(const std::string& name) { return IsUsableArchiveName(name) && EndsWithNoCase(name, ".rez"); }

std::vector<std::string> SplitArchiveList(const std::string& text) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= text.size()) {
        size_t bar = text.find(kSeparator, start);
        if (bar == std::string::npos) bar = text.size();
        std::string piece = text.substr(start, bar - start);
        // A piece that cannot be a file name is dropped whole, never cut to fit.
        if (IsUsableArchiveName(piece)) names.push_back(std::move(piece));
        start = bar + 1;
    }
    return names;
}

std::string JoinArchiveList(const std::vector<std::string>& names, size_t limit) {
    std::string joined;
    for (const std::string& name : names) {
        if (name.empty()) continue;
        const size_t grown = joined.size() + (joined.empty() ? 0 : 1) + name.size();
        if (grown > limit) break;
        if (!joined.empty()) joined += kSeparator;
        joined += name;
    }
    return joined;
}

std::string BuildArchiveFragment(const std::vector<std::string>& names) {
    std::string fragment;
    for (const std::string& name : names) {
        if (!name.empty()) fragment += " -rez " + AsOneArgument("custom\\" + name);
    }
    return fragment;
}

void LoadArchiveChoice(SettingsStore* settings, std::vector<std::string>* names, int32_t* alwaysLoad) {
    names->clear();
    if (!settings) return;
    if (settings->ReadDword(kSaveArchivesValue, 0) == 0) {
        *alwaysLoad = 0;
        return;
    }
    *alwaysLoad = 1;
    *names = SplitArchiveList(settings->ReadText(kArchivesValue, kSavedListRoom));
}

bool SaveArchiveChoice(SettingsStore* settings, const std::vector<std::string>& names, bool alwaysLoad) {
    if (!settings) return true;
    settings->WriteDword(kSaveArchivesValue, alwaysLoad ? 1 : 0);
    if (!alwaysLoad) return true;
    const std::string kept = JoinArchiveList(names);
    settings->WriteString(kArchivesValue, kept.c_str());
    return kept.size() == JoinArchiveList(names, std::string::npos).size();
}

}  // namespace velk
