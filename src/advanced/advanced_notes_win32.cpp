#include "advanced/advanced_notes.h"

#include <string>

#include "advanced/note_entries.h"
#include "base/dialog_services.h"
#include "base/settings_store.h"
#include "ids_adv_notes.h"

namespace velk {

namespace {

constexpr int kLabelCapacity = 250;   // at most 249 characters
constexpr int kNoteCapacity = 2000;   // at most 1999 characters

// What a notes dialog works on while it runs.
struct NotesDialogData {
    const NoteList& notes;
    int32_t& selection;  // the entry shown last
    SettingsStore* settings;
};

// Adds a label (from the string table when labelId is not 0, else the
// fallback) with the text id as item data.
void AddNoteEntry(HWND list, const NoteEntry& entry) {
    char label[kLabelCapacity] = {};
    const char* shown = entry.fallbackLabel ? entry.fallbackLabel : "";
    if (entry.labelId != 0 && LoadStringA(LauncherModule(), entry.labelId, label, sizeof(label)) > 0) shown = label;
    LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown));
    if (index == LB_ERR || index == LB_ERRSPACE) return;
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(entry.textId));
}

// Shows the selected entry's text in the dialog's text field.
void ShowSelectedNote(HWND dialog, NotesDialogData& data) {
    HWND list = GetDlgItem(dialog, IDC_NOTES_LIST);
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return;
    LRESULT textId = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (textId == LB_ERR) return;
    data.selection = static_cast<int32_t>(index);
    char text[kNoteCapacity] = {};
    if (LoadStringA(LauncherModule(), static_cast<UINT>(textId), text, sizeof(text)) <= 0) return;
    SetDlgItemTextA(dialog, IDC_NOTES_TEXT, WithCrLf(text).c_str());
}

void OnInitDialog(HWND dialog, NotesDialogData& data) {
    SetDialogIcon(dialog);
    HWND list = GetDlgItem(dialog, IDC_NOTES_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < data.notes.count; ++i) AddNoteEntry(list, data.notes.entries[i]);
    int32_t stored = data.settings ? data.settings->ReadDword(data.notes.selectionValue, 0) : 0;
    // An index past the list selects nothing, and then no text is shown.
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(stored), 0);
    ShowSelectedNote(dialog, data);
}

void OnCommand(HWND dialog, NotesDialogData& data, WPARAM command) {
    if (command == IDOK) {
        if (data.settings) data.settings->WriteDword(data.notes.selectionValue, data.selection);
        EndDialog(dialog, 1);
    } else if (command == IDCANCEL) {
        EndDialog(dialog, 0);
    } else if (HIWORD(command) == LBN_SELCHANGE) {
        ShowSelectedNote(dialog, data);
    }
}

int RunNotes(HWND owner, const char* templateName, NotesDialogData data) {
    INT_PTR result = DialogBoxParamA(LauncherModule(), templateName, owner,
                                     DataDialogProc<NotesDialogData, OnInitDialog, OnCommand>,
                                     reinterpret_cast<LPARAM>(&data));
    return result == 1 ? 1 : 0;
}

}  // namespace

int OpenAdvancedHelp(HWND owner, AdvancedChoice& choice, SettingsStore* settings) {
    return RunNotes(owner, "ADV_HELP", {HelpNotes(), choice.noteSelection, settings});
}

int OpenCardNotes(HWND owner, AdvancedChoice& choice, SettingsStore* settings) {
    return RunNotes(owner, "ADV_3D", {CardNotes(), choice.noteSelection, settings});
}

}  // namespace velk
