// The title window's way into the display settings, and the display part of
// the engine command line.
#pragma once
#include <windows.h>
#include <string>

namespace velk {

// Warns once per machine, finds the renderers on first use, then shows
// "DISPLAY" and keeps its result in displayResult. Returns that result, or 0
// when the dialog was not shown.
int OpenDisplaySettings(HWND owner);

// The display fragment of the launcher's renderer list; empty when there is
// no list or no current renderer and card. The caller decides by displayResult
// whether it is used.
std::string BuildDisplayFragment();

}  // namespace velk
