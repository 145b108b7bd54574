#include <windows.h>

#include "base/dialog_services.h"
#include "sound/sound_win32.h"
#include "ids_sound.h"
#include "ids_strings.h"

namespace velk {

namespace {

constexpr int kFieldCapacity = 64;  // anything longer is no number of voices anyway

// Letter case is ignored the way the system compares texts of its code page.
bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

void AddEntry(HWND list, const char* text, int32_t kind) {
    LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (index >= 0) SendMessageA(list, LB_SETITEMDATA, index, static_cast<LPARAM>(kind));
}

// "Inget 3D-ljud" first, then the providers in list order. The entry to
// select is the last provider whose name is the stored one, else the first.
void FillProviderList(HWND list, const SoundProviderList& providers, const std::string& storedName) {
    AddEntry(list, LoadResString(IDS_NO_3D_SOUND).c_str(), kNo3DSound);
    LRESULT select = 0;
    LRESULT index = 1;
    for (const SoundProviderRecord& record : providers) {
        AddEntry(list, record.name.c_str(), record.kind);
        if (SameNameIgnoringCase(record.name, storedName)) select = index;
        ++index;
    }
    SendMessageA(list, LB_SETCURSEL, select, 0);
}

void OnInitDialog(HWND dialog, SoundDialogData& data) {
    const SoundChoice& choice = *data.choice;
    FillProviderList(GetDlgItem(dialog, IDC_SOUND_PROVIDER_LIST), *data.providers, choice.providerName);
    SetDlgItemInt(dialog, IDC_SOUND_3D_VOICES, choice.samples3D, FALSE);
    SetDlgItemInt(dialog, IDC_SOUND_2D_VOICES, choice.samples2D, FALSE);
    for (int i = 0; i < 6; ++i) {
        CheckDlgButton(dialog, IDC_REVERB_FIRST + i, choice.reverb == kReverbLevels[i] ? BST_CHECKED : BST_UNCHECKED);
    }
}

uint32_t FieldNumber(HWND dialog, int id) {
    HWND field = GetDlgItem(dialog, id);
    if (!field || GetWindowTextLengthA(field) >= kFieldCapacity) return 0;
    char text[kFieldCapacity] = {};
    GetWindowTextA(field, text, sizeof(text));
    return ParseUnsignedField(text);
}

void TakeSelectedProvider(HWND list, SoundChoice& choice) {
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return;
    LRESULT kind = SendMessageA(list, LB_GETITEMDATA, index, 0);
    if (kind != LB_ERR) choice.providerKind = static_cast<int32_t>(kind);
    std::string name;
    if (ListBoxItemText(list, index, kProviderNameLength, &name)) choice.providerName = name;
}

void OnOk(HWND dialog, SoundChoice& choice) {
    TakeSelectedProvider(GetDlgItem(dialog, IDC_SOUND_PROVIDER_LIST), choice);
    choice.samples3D = FieldNumber(dialog, IDC_SOUND_3D_VOICES);
    choice.samples2D = FieldNumber(dialog, IDC_SOUND_2D_VOICES);
    for (int i = 0; i < 6; ++i) {
        if (IsDlgButtonChecked(dialog, IDC_REVERB_FIRST + i) == BST_CHECKED) choice.reverb = kReverbLevels[i];
    }
    EndDialog(dialog, 1);
}

}  // namespace

INT_PTR CALLBACK SoundDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SoundDialogData* data = KeepDialogData<SoundDialogData>(dialog, lParam);
        if (data && data->providers && data->choice) OnInitDialog(dialog, *data);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
            if (SoundDialogData* data = DialogData<SoundDialogData>(dialog))
                OnOk(dialog, *data->choice);
            else
                EndDialog(dialog, 0);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
            EndDialog(dialog, 0);
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace velk
