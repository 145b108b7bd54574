// The help for each advanced option ("ADV_HELP") and the graphics-card notes
// ("ADV_3D"): a list of entries and the text of the selected one.
#pragma once
#include <windows.h>

#include "advanced/advanced_choice.h"

namespace velk {

class SettingsStore;

// Each runs its dialog over the owner, starting at the entry the settings
// remember and keeping the one shown last in the choice: 1 after "Stäng",
// 0 after Escape.
int OpenAdvancedHelp(HWND owner, AdvancedChoice& choice, SettingsStore* settings);
int OpenCardNotes(HWND owner, AdvancedChoice& choice, SettingsStore* settings);

}  // namespace velk
