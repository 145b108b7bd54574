// Extra resource archives from the game folder's "Custom" folder: the
// dialog "ADV_CUSTOM", the chosen list kept in the settings and its
// engine switches.
#pragma once
#include <windows.h>
#include <string>

namespace velk {

// customArchives and alwaysLoadArchives from the settings.
void LoadArchiveList();
// The same when the dialog opens, except that a choice this run already has
// is kept: with the box unticked the settings hold no names, and a Cancel
// would otherwise drop the archives the player picked.
void LoadArchiveListKeepingChoice();
// "Save Rez Files" from the dialog's check box and, when ticked, "Rez Files";
// the player is told when the list is too long to be saved whole.
void SaveArchiveList(HWND dialog);
// " -rez custom\name" for every chosen archive; empty for none.
std::string BuildArchiveFragment();

// "ADV_CUSTOM" over the owner; 1 after OK, 0 otherwise.
int OpenCustomArchives(HWND owner);
INT_PTR CALLBACK CustomArchivesDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The ".rez" files of "Custom" into the box, in the order found; their number.
// A file whose name has no exact ANSI form is left out.
int ScanCustomFolder(HWND box);
// customArchives into the box; their number.
int FillChosenBox(HWND box);
// The available box's selected name at the end of the chosen box, unless it
// is there already (letter case counts). False without a selection.
bool AddChosen(HWND available, HWND chosen);
// Deletes the chosen box's selected name and selects its neighbour.
bool RemoveChosen(HWND available, HWND chosen);
void UpdateArchiveButtons(HWND dialog);
// The chosen box's names, in order, into customArchives; their number.
int TakeChosenList(HWND box);

}  // namespace velk
