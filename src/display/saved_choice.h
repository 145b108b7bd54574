// The display choice kept in the engine's text settings file ("autoexec.cfg"),
// which the launcher reads and never writes.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/settings_lines.h"

namespace velk {

// Room for the values, without their NUL.
constexpr size_t kSettingsTextLength = 127;    // RenderDll, Renderer, CardDesc
constexpr size_t kSettingsNumberLength = 63;   // ScreenWidth, ScreenHeight, BitDepth

struct SavedDisplayChoice {
    // In the order in which a line is compared with them.
    enum Key { kRenderDll, kRenderer, kCardDesc, kScreenWidth, kScreenHeight, kBitDepth, kKeyCount };

    std::string values[kKeyCount] = {"", "", "", "640", "480", "16"};
    bool seen[kKeyCount] = {};

    // One line as read, line end included. A line of no key changes nothing;
    // a later line of a key replaces the earlier value.
    void TakeLine(std::string_view line);
    bool AllSeen() const;
};

// Reads lines until every key has been seen. False when the file cannot be opened.
// The engine's settings file in the game folder, where it keeps the display choice.
constexpr const char* kEngineSettingsFile = "autoexec.cfg";

bool ReadSavedDisplayChoice(const std::string& fileName, SavedDisplayChoice* choice);

// A settings number: leading blanks, one sign, then decimal digits up to the
// first other character; no digits give 0. Beyond 32 bits it stays at the limit.
int32_t SettingNumber(const std::string& text);

}  // namespace velk
