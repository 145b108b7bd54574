#include "advanced/custom_archives.h"

#include <vector>

#include "advanced/archive_list.h"
#include "base/dialog_services.h"
#include "base/file_search.h"
#include "base/settings_store.h"
#include "resources/ids_adv_custom.h"
#include "resources/ids_strings.h"

namespace velk {

namespace {

constexpr const wchar_t* kCustomSearch = L"Custom\\*.rez";

// Item `index` of a list box, when it exists and fits the longest archive name.
bool BoxText(HWND box, LRESULT index, std::string* text) { return ListBoxItemText(box, index, kMaxArchiveName, text); }

LRESULT Selection(HWND box) { return SendMessageA(box, LB_GETCURSEL, 0, 0); }

bool SelectedText(HWND box, std::string* text) {
    LRESULT index = Selection(box);
    return index != LB_ERR && BoxText(box, index, text);
}

// LB_FINDSTRINGEXACT ignores letter case; names differing in case are different archives.
bool BoxHolds(HWND box, const std::string& text) {
    LRESULT count = SendMessageA(box, LB_GETCOUNT, 0, 0);
    std::string item;
    for (LRESULT i = 0; i < count; ++i) {
        if (BoxText(box, i, &item) && item == text) return true;
    }
    return false;
}

bool AppendToBox(HWND box, const std::string& text) {
    LRESULT index = SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return index != LB_ERR && index != LB_ERRSPACE;
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

// Disabling the focused button would leave the keyboard nowhere.
void EnableButton(HWND dialog, int id, bool enable, int focusInstead) {
    HWND button = Item(dialog, id);
    if (!enable && GetFocus() == button) SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)Item(dialog, focusInstead), TRUE);
    EnableWindow(button, enable);
}

void FillChosenBox(HWND box, const std::vector<std::string>& names) {
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : names) AppendToBox(box, name);
}

// The chosen box's names, in order, into `names`.
void TakeChosenList(HWND box, std::vector<std::string>& names) {
    names.clear();
    LRESULT count = SendMessageA(box, LB_GETCOUNT, 0, 0);
    std::string name;
    for (LRESULT i = 0; i < count; ++i) {
        // A text too long to take whole is left out rather than cut into another name.
        if (BoxText(box, i, &name)) names.push_back(name);
    }
}

void UpdateArchiveButtons(HWND dialog) {
    HWND available = Item(dialog, IDC_AVAILABLE_ARCHIVES);
    HWND chosen = Item(dialog, IDC_CHOSEN_ARCHIVES);
    std::string name;
    const bool canAdd = SelectedText(available, &name) && !BoxHolds(chosen, name);
    EnableButton(dialog, IDC_ADD_ARCHIVE, canAdd, IDC_AVAILABLE_ARCHIVES);
    EnableButton(dialog, IDC_REMOVE_ARCHIVE, Selection(chosen) != LB_ERR, IDC_CHOSEN_ARCHIVES);
}

void OnAdd(HWND dialog) {
    AddChosen(Item(dialog, IDC_AVAILABLE_ARCHIVES), Item(dialog, IDC_CHOSEN_ARCHIVES));
    UpdateArchiveButtons(dialog);
}

void OnRemove(HWND dialog) {
    RemoveChosen(Item(dialog, IDC_AVAILABLE_ARCHIVES), Item(dialog, IDC_CHOSEN_ARCHIVES));
    UpdateArchiveButtons(dialog);
}

// The stored list, except that a choice this run already has is kept: with
// the box unticked the settings hold no names, and a Cancel would otherwise
// drop the archives the player picked.
void LoadArchiveListKeepingChoice(CustomArchivesData& data) {
    std::vector<std::string> saved;
    LoadArchiveChoice(data.settings, &saved, &data.choice.alwaysLoadArchives);
    if (data.choice.archives.empty()) data.choice.archives = std::move(saved);
}

void SaveArchiveList(HWND dialog, const CustomArchivesData& data) {
    const bool ticked = IsDlgButtonChecked(dialog, IDC_ALWAYS_LOAD_ARCHIVES) == BST_CHECKED;
    if (!SaveArchiveChoice(data.settings, data.choice.archives, ticked))
        ShowGameError(dialog, IDS_ARCHIVE_LIST_CUT, MB_ICONWARNING);
}

void OnInitDialog(HWND dialog, CustomArchivesData& data) {
    LoadArchiveListKeepingChoice(data);
    SetDialogIcon(dialog);
    if (ScanCustomFolder(Item(dialog, IDC_AVAILABLE_ARCHIVES)) > 0) {
        FillChosenBox(Item(dialog, IDC_CHOSEN_ARCHIVES), data.choice.archives);
        UpdateArchiveButtons(dialog);
    } else {
        ShowGameError(dialog, IDS_NO_CUSTOM_ARCHIVES, 0);
        EndDialog(dialog, 0);
    }
    CheckDlgButton(dialog, IDC_ALWAYS_LOAD_ARCHIVES, data.choice.alwaysLoadArchives ? BST_CHECKED : BST_UNCHECKED);
}

void OnCommand(HWND dialog, CustomArchivesData& data, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (wParam == IDOK) {
        TakeChosenList(Item(dialog, IDC_CHOSEN_ARCHIVES), data.choice.archives);
        SaveArchiveList(dialog, data);
        EndDialog(dialog, 1);
    } else if (wParam == IDCANCEL) {
        EndDialog(dialog, 0);
    } else if (id == IDC_ADD_ARCHIVE && code == BN_CLICKED) {
        OnAdd(dialog);
    } else if (id == IDC_REMOVE_ARCHIVE && code == BN_CLICKED) {
        OnRemove(dialog);
    } else if (id == IDC_AVAILABLE_ARCHIVES || id == IDC_CHOSEN_ARCHIVES) {
        if (code == LBN_SELCHANGE) {
            UpdateArchiveButtons(dialog);
        } else if (code == LBN_DBLCLK) {
            if (id == IDC_AVAILABLE_ARCHIVES)
                OnAdd(dialog);
            else
                OnRemove(dialog);
        }
    }
}

}  // namespace

int OpenCustomArchives(HWND owner, AdvancedChoice& choice, SettingsStore* settings) {
    CustomArchivesData data = {choice, settings};
    INT_PTR result = DialogBoxParamA(LauncherModule(), "ADV_CUSTOM", owner, CustomArchivesDialogProc,
                                     reinterpret_cast<LPARAM>(&data));
    return result == 1 ? 1 : 0;
}

INT_PTR CALLBACK CustomArchivesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return DataDialogProc<CustomArchivesData, OnInitDialog, OnCommand>(dialog, message, wParam, lParam);
}

// Searched from the game folder: the current folder is never changed, so
// nothing can leave the launcher in another folder afterwards.
int ScanCustomFolder(HWND box) {
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    int count = 0;
    for (const std::string& name : FindFilesByExtension(kCustomSearch)) {
        if (IsArchiveFileName(name) && AppendToBox(box, name)) ++count;
    }
    return count;
}

bool AddChosen(HWND available, HWND chosen) {
    std::string name;
    if (!SelectedText(available, &name)) return false;
    if (BoxHolds(chosen, name)) return true;
    return AppendToBox(chosen, name);
}

bool RemoveChosen(HWND, HWND chosen) {
    LRESULT index = Selection(chosen);
    if (index == LB_ERR) return false;
    LRESULT remaining = SendMessageA(chosen, LB_DELETESTRING, index, 0);
    if (remaining == LB_ERR) return false;
    if (index < remaining)
        SendMessageA(chosen, LB_SETCURSEL, index, 0);
    else if (index > 0)
        SendMessageA(chosen, LB_SETCURSEL, index - 1, 0);
    return true;
}

}  // namespace velk
