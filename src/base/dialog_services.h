// Services every dialog of the launcher shares: string-table texts, the error
// box and the dialog icon. They take the launcher's resource module and game
// title from the launcher state, which binds them once (BindDialogResources).
#pragma once
#include <windows.h>
#include <string>

namespace velk {

// The places that hold the resource module and the game title for the whole run.
void BindDialogResources(const HINSTANCE* instance, const std::string* gameTitle);

// A string-table text of the launcher (at most 511 characters); empty when the id has none.
std::string LoadResString(UINT id);

// A message box with a string-table text; "Error." when the id has no entry.
int ShowError(HWND owner, UINT stringId, const char* caption, UINT flags);
// The same with the game title as caption.
int ShowGameError(HWND owner, UINT stringId, UINT flags);

// The text of item `index` of a list box, when the item exists and its text
// holds at most `maxLength` characters; the length is asked first, so no
// text is read past its room and none is cut.
bool ListBoxItemText(HWND box, LRESULT index, size_t maxLength, std::string* text);

// The big icon "ICON" of every launcher dialog.
void SetDialogIcon(HWND window);

}  // namespace velk
