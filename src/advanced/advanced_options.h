// The advanced options reached from the title window.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

#include "advanced/advanced_choice.h"
#include "sound/sound_providers.h"

namespace velk {

// The player accepted the warning before the options ("AdvWarning").
constexpr const char* kAdvancedWarningValue = "AdvWarning";

// The engine command line "Starta" would write with these choices, which the
// dialog has not stored yet. asksLevel: that launch first asks for the
// performance level, so the line lacks its piece.
struct CommandLinePreview {
    std::string line;
    bool asksLevel = false;
};
using CommandLinePreviewFn =
    std::function<CommandLinePreview(const EngineSwitches& switches, const std::string& commandLineText)>;

// The troubleshooting dialog over the advanced options; true when the player
// reset the settings in it, so the dialog shows the reset state.
using SupportDialogFn = std::function<bool(HWND owner)>;

// What the advanced options work on while they run: the player's choices, the
// 3D sound reached from them, the settings, and what the opener hands in.
// With a preview the dialog shows the engine command line as it changes;
// with a troubleshooting dialog "Felsökning..." opens it.
struct AdvancedOptions {
    AdvancedChoice& choice;
    SoundSetup& sound;
    SettingsStore* settings;
    CommandLinePreviewFn preview;
    SupportDialogFn support;
};

// The advanced options dialog; its result (the title window ignores it).
int OpenAdvancedOptions(HWND owner, const AdvancedOptions& options);

}  // namespace velk
