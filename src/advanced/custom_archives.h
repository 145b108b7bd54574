// Extra resource archives from the game folder's "Custom" folder.
#pragma once
#include <windows.h>
#include <string>

namespace velk {

// customArchives and alwaysLoadArchives from the settings.
void LoadArchiveList();
// " -rez custom\name" for every chosen archive; empty for none.
std::string BuildArchiveFragment();

// "ADV_CUSTOM" over the owner; 1 after OK, 0 otherwise.
int OpenCustomArchives(HWND owner);
INT_PTR CALLBACK CustomArchivesDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velk
