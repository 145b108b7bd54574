// Services every dialog of the launcher shares: string-table texts, the error
// box and the dialog icon, from the launcher's own module, which start-up
// names once together with the game title of the error boxes.
#pragma once
#include <windows.h>
#include <string>

namespace velk {

// The module that holds the launcher's resources: strings, dialogs, icon and cursors.
void SetLauncherModule(HINSTANCE module);
HINSTANCE LauncherModule();
// The caption of ShowGameError's boxes.
void SetGameTitle(const std::string& title);

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

// The data a dialog works on: its WM_INITDIALOG parameter, kept in its user
// data for the messages after it; none before it came.
template <typename Data>
Data* DialogData(HWND dialog) {
    return reinterpret_cast<Data*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}
template <typename Data>
Data* KeepDialogData(HWND dialog, LPARAM lParam) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
    return DialogData<Data>(dialog);
}

// A dialog procedure that hands WM_INITDIALOG and WM_COMMAND, with the
// dialog's data, to the two functions given.
template <typename Data, void (*OnInit)(HWND, Data&), void (*OnCommand)(HWND, Data&, WPARAM)>
INT_PTR CALLBACK DataDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Data* data = message == WM_INITDIALOG ? KeepDialogData<Data>(dialog, lParam) : DialogData<Data>(dialog);
    if (message == WM_INITDIALOG && data) OnInit(dialog, *data);
    if (message == WM_COMMAND && data) OnCommand(dialog, *data, wParam);
    return message == WM_INITDIALOG || message == WM_COMMAND;
}

}  // namespace velk
