// Extra resource archives from the game folder's "Custom" folder: the
// dialog "ADV_CUSTOM" and the chosen list it keeps in the advanced choice
// and the settings.
#pragma once
#include <windows.h>
#include "advanced/advanced_choice.h"

namespace velk {

// What "ADV_CUSTOM" works on (its WM_INITDIALOG parameter).
struct CustomArchivesData {
    AdvancedChoice& choice;
    SettingsStore* settings;
};

// "ADV_CUSTOM" over the owner; 1 after OK, 0 otherwise. OK keeps the chosen
// list for this run and saves "Save Rez Files" from the check box and, when
// ticked, "Rez Files"; the player is told when the list is too long to be
// saved whole.
int OpenCustomArchives(HWND owner, AdvancedChoice& choice, SettingsStore* settings);
INT_PTR CALLBACK CustomArchivesDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The ".rez" files of "Custom" into the box, in the order found; their number.
// A file whose name has no exact ANSI form is left out.
int ScanCustomFolder(HWND box);
// The available box's selected name at the end of the chosen box, unless it
// is there already (letter case counts). False without a selection.
bool AddChosen(HWND available, HWND chosen);
// Deletes the chosen box's selected name and selects its neighbour.
bool RemoveChosen(HWND available, HWND chosen);

}  // namespace velk
