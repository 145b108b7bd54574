#include "launcher/startup_rules.h"

#include <cctype>

namespace velk {

namespace {
constexpr size_t kCommandLineCopy = 255;
constexpr size_t kValueCapacity = 63;
constexpr int kRedraws = 20;

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        if (!*text) return false;
        if (std::toupper(static_cast<unsigned char>(*text)) != std::toupper(static_cast<unsigned char>(*prefix)))
            return false;
    }
    return true;
}
}  // namespace

LauncherSwitches ParseLauncherSwitches(const char* commandLine) {
    std::string upper = commandLine ? commandLine : "";
    if (upper.size() > kCommandLineCopy) upper.resize(kCommandLineCopy);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    LauncherSwitches s;
    s.multiplayer = upper.find("-GOMULTI") != std::string::npos || upper.find("CONNECT") != std::string::npos;
    s.play = upper.find("-GOGAME") != std::string::npos;
    return s;
}

bool ParseNumRunsLine(const char* line, std::string* valueText) {
    if (!line) return false;
    const char* p = line;
    if (*p == '"') ++p;
    if (!StartsWithNoCase(p, "NumRuns")) return false;
    p += 7;
    while (*p == '"' || *p == ' ') ++p;
    std::string value = p;
    // Strip trailing quotes and line feeds, never the first character.
    while (value.size() > 1 && (value.back() == '"' || value.back() == '\n')) value.pop_back();
    // A CR LF file read in text mode has no CR left; one read in binary does.
    if (value.size() > kValueCapacity) value.resize(kValueCapacity);
    *valueText = value;
    return true;
}

int32_t LeadingInteger(const std::string& text) {
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > INT32_MAX) value = INT32_MAX + int64_t(negative);  // clamp instead of overflowing
    }
    return static_cast<int32_t>(negative ? -value : value);
}

int32_t TitlePictureCount(const std::string& text) {
    int32_t n = LeadingInteger(text);
    return n < 1 ? 1 : n;
}

int32_t ChooseTitlePictureIndex(int32_t count, int32_t lastRandom, const std::function<int()>& draw) {
    if (count <= 1) return 0;
    int32_t r = draw() % count;
    for (int i = 0; i < kRedraws; ++i) {
        if (r == lastRandom) r = draw() % count;
    }
    return r;
}

std::string TitlePictureName(int32_t index) { return "GAME" + std::to_string(index + 1); }

}  // namespace velk
