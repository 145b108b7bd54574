// The advanced options reached from the title window.
#pragma once
#include <windows.h>
#include <string>

#include "advanced/switches.h"

namespace velk {

// The engine command line "Starta" would write with these choices, which the
// dialog has not stored yet. asksLevel: that launch first asks for the
// performance level, so the line lacks its piece.
struct CommandLinePreview {
    std::string line;
    bool asksLevel = false;
};
using CommandLinePreviewFn = CommandLinePreview (*)(const EngineSwitches& switches, const std::string& commandLineText);

// The troubleshooting dialog over the advanced options; true when the player
// reset the settings in it, so the dialog shows the reset state.
using SupportDialogFn = bool (*)(HWND owner);

// The advanced options dialog; its result (the title window ignores it).
// With a preview builder the dialog shows the engine command line as it
// changes; with a troubleshooting dialog "Felsökning..." opens it.
int OpenAdvancedOptions(HWND owner, CommandLinePreviewFn preview = nullptr, SupportDialogFn support = nullptr);

}  // namespace velk
