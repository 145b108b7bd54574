// The title window's way into the display settings.
#pragma once
#include <windows.h>

#include "display/display_choice.h"

namespace velk {

// Warns once per machine, finds the renderers on first use, then shows
// "DISPLAY" and keeps its result in the choice. Returns that result, or 0
// when the dialog was not shown.
int OpenDisplaySettings(HWND owner, DisplayChoice& choice);

}  // namespace velk
