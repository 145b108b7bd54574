// The demo and movie previews of the data disc: the dialog opened from the
// title window, and the list boxes it fills from the preview lists.
#pragma once
#include <windows.h>

#include "disc/data_disc.h"
#include "disc/preview_list.h"

namespace velk {

// Finds the data disc, reads both profile files of it and shows the dialog
// for the lists found; the lists live as long as the dialog. 1 when the
// dialog was shown, else 0.
int ShowPreviews(HINSTANCE instance, HWND owner, DiscFound& disc, const GameTexts& texts, SettingsStore* settings);

// The system side of the previews: profile files, current folder, the shell.
PreviewHost& Win32PreviewHost();

// Refills the box with the list's names, each item carrying its entry.
bool FillListBox(const PreviewList& list, HWND box);
// Opens the entry selected in the box; false with nothing selected.
bool LaunchSelected(const PreviewList& list, HWND box);

}  // namespace velk
