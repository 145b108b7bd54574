// Lines of "autoexec.cfg" with the run-count and display-choice readers on each.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "base/settings_lines.h"
#include "display/saved_choice.h"
#include "fuzz_checks.h"
#include "launcher/startup_rules.h"

using velk::fuzz::Require;

namespace {

// The C library's reading of the number at the start of a text, held to 32 bits.
int32_t LibraryNumber(const char* text) {
    return static_cast<int32_t>(std::clamp<long long>(strtoll(text, nullptr, 10), INT32_MIN, INT32_MAX));
}

void CheckRunCount(const std::string& line) {
    std::string value;
    if (!velk::ParseNumRunsLine(line.c_str(), &value)) return;
    Require(value.size() <= 63);
    // Only blanks and tabs may stand before the number; any other space stops it.
    const size_t skip = value.find_first_not_of(" \t");
    const char* p = value.c_str() + (skip == std::string::npos ? value.size() : skip);
    Require(velk::LeadingInteger(value) == (isspace(static_cast<unsigned char>(*p)) ? 0 : LibraryNumber(p)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> bytes(data, data + size);  // read in place, so ASan sees any read past it
    FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
    if (!file) return 0;
    velk::SavedDisplayChoice choice;
    std::string line;
    size_t taken = 0;
    for (size_t lines = 1; velk::ReadSettingsLine(file, &line); ++lines) {
        taken += line.size();
        Require(lines <= size && taken <= size);  // every line takes at least one byte: the reading ends
        Require(line.size() <= velk::kSettingsLineLength && line.find('\0') == std::string::npos);
        const size_t end = line.find('\n');
        Require(end == std::string::npos || end + 1 == line.size());
        CheckRunCount(line);
        if (!choice.AllSeen()) choice.TakeLine(line);
    }
    fclose(file);
    using Key = velk::SavedDisplayChoice;
    for (int key = 0; key < Key::kKeyCount; ++key) {
        const std::string& value = choice.values[key];
        const bool number = key >= Key::kScreenWidth;
        Require(value.size() <= (number ? velk::kSettingsNumberLength : velk::kSettingsTextLength));
        if (number) Require(velk::SettingNumber(value) == LibraryNumber(value.c_str()));
    }
    return 0;
}
