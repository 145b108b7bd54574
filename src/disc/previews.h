// The demo and movie previews of the data disc: the dialog opened from the
// title window, and the list boxes it fills from the preview lists.
#pragma once
#include <windows.h>

#include "disc/preview_list.h"

namespace velk {

// Reads both profile files of the disc and shows the dialog for the lists
// found. 1 when the dialog was shown, else 0.
int ShowPreviews(HINSTANCE instance, HWND owner);

// Frees preview lists left over (at the end of the run).
void ReleasePreviewLists();

// The system side of the previews: profile files, current folder, the shell.
PreviewHost& Win32PreviewHost();

// Refills the box with the list's names, each item carrying its entry.
bool FillListBox(const PreviewList& list, HWND box);
// Opens the entry selected in the box; false with nothing selected.
bool LaunchSelected(const PreviewList& list, HWND box);

INT_PTR CALLBACK PreviewsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velk
