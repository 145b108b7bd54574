// The title dialog "GAME": picture, start sound, web links and buttons.
#pragma once
#include <windows.h>

namespace velk {

// Shows "GAME" modally with no owner; its result: 1 play, 5 multiplayer,
// 2 setup, 0 leave, -1 when it could not be made.
int ShowTitleWindow();

INT_PTR CALLBACK TitleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

int InitTitleWindow(HWND window);
void PaintTitlePicture(HWND window, bool forceBackground);
// 0 for no link, 1, 2 or 3 for links 1011, 1013, 1014; sets the cursor.
int HitTestLinks(HWND window, WPARAM keyFlags, int x, int y);
bool OpenResourceLink(HWND owner, UINT stringId, UINT errorStringId);
bool PlayStartSound(const char* name);
int OpenCustomize(HWND owner);

// Frees the title picture and palette (at the end of the run).
void ReleaseTitleImages();

}  // namespace velk
