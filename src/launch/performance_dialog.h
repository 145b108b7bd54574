// The performance-level question ("DETAIL").
#pragma once
#include <windows.h>

namespace velk {

// 1 when a level was chosen (performanceLevel, performanceLevelChosen), 0 when cancelled.
int AskPerformanceLevel(HWND owner);

INT_PTR CALLBACK PerformanceDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velk
