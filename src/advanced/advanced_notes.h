// The help for each advanced option ("ADV_HELP") and the graphics-card notes
// ("ADV_3D"): a list of entries and the text of the selected one.
#pragma once
#include <windows.h>

namespace velk {

// Each runs its dialog over the owner: 1 after "Stäng", 0 after Escape.
int OpenAdvancedHelp(HWND owner);
int OpenCardNotes(HWND owner);

// Adds a label (from the string table when labelId is not 0, else the
// fallback) with the text id as item data. 1 when added, 0 otherwise.
int AddNoteEntry(HWND list, const char* fallbackLabel, UINT textId, UINT labelId);
// Shows the selected entry's text in the dialog's text field. 1 when shown.
int ShowSelectedNote(HWND dialog);

}  // namespace velk
