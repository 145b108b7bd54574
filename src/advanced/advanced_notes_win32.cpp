#include "advanced/advanced_notes.h"

#include <string>

#include "advanced/note_entries.h"
#include "launcher/launcher.h"
#include "launcher/launcher_state.h"
#include "ids_adv_notes.h"

namespace velk {

namespace {

constexpr int kLabelCapacity = 250;   // at most 249 characters
constexpr int kNoteCapacity = 2000;   // at most 1999 characters

const NoteList* DialogNotes(HWND dialog) {
    return reinterpret_cast<const NoteList*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

void OnInitDialog(HWND dialog, const NoteList& notes) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&notes));
    SetDialogIcon(dialog);
    HWND list = GetDlgItem(dialog, IDC_NOTES_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < notes.count; ++i) {
        const NoteEntry& e = notes.entries[i];
        AddNoteEntry(list, e.fallbackLabel, e.textId, e.labelId);
    }
    LauncherState& s = State();
    int32_t stored = s.settings ? s.settings->ReadDword(notes.selectionValue, 0) : 0;
    // An index past the list selects nothing, and then no text is shown.
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(stored), 0);
    ShowSelectedNote(dialog);
}

void OnCommand(HWND dialog, const NoteList& notes, WPARAM command) {
    if (command == IDOK) {
        LauncherState& s = State();
        if (s.settings) s.settings->WriteDword(notes.selectionValue, s.noteSelection);
        EndDialog(dialog, 1);
    } else if (command == IDCANCEL) {
        EndDialog(dialog, 0);
    } else if (HIWORD(command) == LBN_SELCHANGE) {
        ShowSelectedNote(dialog);
    }
}

INT_PTR CALLBACK NotesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        OnInitDialog(dialog, *reinterpret_cast<const NoteList*>(lParam));
        return TRUE;
    }
    if (message == WM_COMMAND) {
        if (const NoteList* notes = DialogNotes(dialog)) OnCommand(dialog, *notes, wParam);
        return TRUE;
    }
    return FALSE;
}

int RunNotes(HWND owner, const char* templateName, const NoteList& notes) {
    INT_PTR result = DialogBoxParamA(State().instance, templateName, owner, NotesDialogProc,
                                     reinterpret_cast<LPARAM>(&notes));
    return result == 1 ? 1 : 0;
}

}  // namespace

int OpenAdvancedHelp(HWND owner) { return RunNotes(owner, "ADV_HELP", HelpNotes()); }
int OpenCardNotes(HWND owner) { return RunNotes(owner, "ADV_3D", CardNotes()); }

int AddNoteEntry(HWND list, const char* fallbackLabel, UINT textId, UINT labelId) {
    char label[kLabelCapacity] = {};
    const char* shown = fallbackLabel ? fallbackLabel : "";
    if (labelId != 0 && LoadStringA(State().instance, labelId, label, sizeof(label)) > 0) shown = label;
    LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown));
    if (index == LB_ERR || index == LB_ERRSPACE) return 0;
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(textId));
    return 1;
}

int ShowSelectedNote(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_NOTES_LIST);
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return 0;
    LRESULT textId = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (textId == LB_ERR) return 0;
    State().noteSelection = static_cast<int32_t>(index);
    char text[kNoteCapacity] = {};
    if (LoadStringA(State().instance, static_cast<UINT>(textId), text, sizeof(text)) <= 0) return 0;
    SetDlgItemTextA(dialog, IDC_NOTES_TEXT, WithCrLf(text).c_str());
    return 1;
}

}  // namespace velk
