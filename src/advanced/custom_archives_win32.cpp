#include "advanced/custom_archives.h"

#include <cstring>
#include <vector>

#include "advanced/archive_list.h"
#include "base/dialog_services.h"
#include "base/win32_handles.h"
#include "launcher/launcher_state.h"
#include "resources/ids_adv_custom.h"
#include "resources/ids_strings.h"

namespace velk {

namespace {

constexpr const char* kCustomFolder = "Custom";

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

// The process's current folder, whatever its length; empty when it cannot be read.
std::string CurrentFolder() {
    DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return std::string();
    std::vector<char> buffer(needed + 1, '\0');
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) return std::string();
    return std::string(buffer.data(), length);
}

// Enters a folder and returns to the one it started in, even when the
// entered folder is a link to somewhere else.
class FolderVisit {
public:
    explicit FolderVisit(const char* folder) : home_(CurrentFolder()) {
        entered_ = !home_.empty() && SetCurrentDirectoryA(folder);
    }
    ~FolderVisit() {
        if (entered_) SetCurrentDirectoryA(home_.c_str());
    }
    FolderVisit(const FolderVisit&) = delete;
    FolderVisit& operator=(const FolderVisit&) = delete;
    bool entered() const { return entered_; }

private:
    std::string home_;
    bool entered_ = false;
};

// "*.rez" also matches through 8.3 short names ("x.rezzz" as "X~1.REZ")
// and matches folders: only files whose own name ends in ".rez" count.
bool IsArchiveFile(const WIN32_FIND_DATAA& found) {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    const size_t length = strnlen(found.cFileName, sizeof(found.cFileName));
    return length < sizeof(found.cFileName) && IsArchiveFileName(std::string(found.cFileName, length));
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

// Disabling the focused button would leave the keyboard nowhere.
void EnableButton(HWND dialog, int id, bool enable, int focusInstead) {
    HWND button = Item(dialog, id);
    if (!enable && GetFocus() == button) SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)Item(dialog, focusInstead), TRUE);
    EnableWindow(button, enable);
}

void OnAdd(HWND dialog) {
    AddChosen(Item(dialog, IDC_AVAILABLE_ARCHIVES), Item(dialog, IDC_CHOSEN_ARCHIVES));
    UpdateArchiveButtons(dialog);
}

void OnRemove(HWND dialog) {
    RemoveChosen(Item(dialog, IDC_AVAILABLE_ARCHIVES), Item(dialog, IDC_CHOSEN_ARCHIVES));
    UpdateArchiveButtons(dialog);
}

void OnInitDialog(HWND dialog) {
    LoadArchiveList();
    SetDialogIcon(dialog);
    if (ScanCustomFolder(Item(dialog, IDC_AVAILABLE_ARCHIVES)) > 0) {
        FillChosenBox(Item(dialog, IDC_CHOSEN_ARCHIVES));
        UpdateArchiveButtons(dialog);
    } else {
        ShowGameError(dialog, IDS_NO_CUSTOM_ARCHIVES, 0);
        EndDialog(dialog, 0);
    }
    CheckDlgButton(dialog, IDC_ALWAYS_LOAD_ARCHIVES, State().alwaysLoadArchives ? BST_CHECKED : BST_UNCHECKED);
}

void OnCommand(HWND dialog, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (wParam == IDOK) {
        TakeChosenList(Item(dialog, IDC_CHOSEN_ARCHIVES));
        SaveArchiveList(dialog);
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

void LoadArchiveList() {
    LauncherState& s = State();
    LoadArchiveChoice(s.settings.get(), &s.customArchives, &s.alwaysLoadArchives);
}

void SaveArchiveList(HWND dialog) {
    const bool ticked = IsDlgButtonChecked(dialog, IDC_ALWAYS_LOAD_ARCHIVES) == BST_CHECKED;
    if (!SaveArchiveChoice(State().settings.get(), State().customArchives, ticked))
        ShowGameError(dialog, IDS_ARCHIVE_LIST_CUT, MB_ICONWARNING);
}

std::string BuildArchiveFragment() { return BuildArchiveFragment(State().customArchives); }

int OpenCustomArchives(HWND owner) {
    INT_PTR result = DialogBoxParamA(State().instance, "ADV_CUSTOM", owner, CustomArchivesDialogProc, 0);
    return result == 1 ? 1 : 0;
}

INT_PTR CALLBACK CustomArchivesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        OnInitDialog(dialog);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        OnCommand(dialog, wParam);
        return TRUE;
    }
    return FALSE;
}

int ScanCustomFolder(HWND box) {
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    FolderVisit visit(kCustomFolder);
    if (!visit.entered()) return 0;
    int count = 0;
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA("*.rez", &found));
    if (!search) return 0;
    do {
        if (IsArchiveFile(found) && AppendToBox(box, found.cFileName)) ++count;
    } while (FindNextFileA(search.get(), &found));
    return count;
}

int FillChosenBox(HWND box) {
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    int count = 0;
    for (const std::string& name : State().customArchives) {
        if (AppendToBox(box, name)) ++count;
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

void UpdateArchiveButtons(HWND dialog) {
    HWND available = Item(dialog, IDC_AVAILABLE_ARCHIVES);
    HWND chosen = Item(dialog, IDC_CHOSEN_ARCHIVES);
    std::string name;
    const bool canAdd = SelectedText(available, &name) && !BoxHolds(chosen, name);
    EnableButton(dialog, IDC_ADD_ARCHIVE, canAdd, IDC_AVAILABLE_ARCHIVES);
    EnableButton(dialog, IDC_REMOVE_ARCHIVE, Selection(chosen) != LB_ERR, IDC_CHOSEN_ARCHIVES);
}

int TakeChosenList(HWND box) {
    std::vector<std::string>& names = State().customArchives;
    names.clear();
    LRESULT count = SendMessageA(box, LB_GETCOUNT, 0, 0);
    std::string name;
    for (LRESULT i = 0; i < count; ++i) {
        // A text too long to take whole is left out rather than cut into another name.
        if (BoxText(box, i, &name)) names.push_back(name);
    }
    return static_cast<int>(names.size());
}

}  // namespace velk
