// The title dialog "GAME".
#pragma once
#include <windows.h>

namespace velk {

// Shows "GAME" modally with no owner; its result: 1 play, 5 multiplayer,
// 2 setup, 0 leave, -1 when it could not be made.
int ShowTitleWindow();

INT_PTR CALLBACK TitleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velk
