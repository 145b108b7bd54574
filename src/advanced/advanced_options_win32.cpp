#include "advanced/advanced_options.h"

#include "advanced/advanced_notes.h"
#include "advanced/custom_archives.h"
#include "advanced/switches.h"
#include "launcher/launcher.h"
#include "launcher/launcher_state.h"
#include "sound/sound_detection.h"
#include "ids_advanced.h"
#include "ids_strings.h"

namespace velk {

namespace {

// The text OK takes from the command-line field: at most 254 characters.
constexpr int kCommandTextCapacity = 255;

struct SwitchBox {
    int id;
    int32_t EngineSwitches::*field;
};

constexpr SwitchBox kSwitchBoxes[] = {
    {IDC_ADV_DISABLE_SOUND, &EngineSwitches::disableSound},
    {IDC_ADV_DISABLE_MUSIC, &EngineSwitches::disableMusic},
    {IDC_ADV_DISABLE_MOVIES, &EngineSwitches::disableMovies},
    {IDC_ADV_DISABLE_FOG, &EngineSwitches::disableFog},
    {IDC_ADV_DISABLE_JOYSTICK, &EngineSwitches::disableJoystick},
    {IDC_ADV_DISABLE_TRIPBUF, &EngineSwitches::disableTripBuf},
    {IDC_ADV_DISABLE_CURSOR, &EngineSwitches::disableCursor},
    {IDC_ADV_DISABLE_LOADSCREEN, &EngineSwitches::disableLoadscreen},
    {IDC_ADV_RESTORE_DEFAULTS, &EngineSwitches::restoreDefaults},
};

bool IsTicked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void OnInitDialog(HWND dialog) {
    LauncherState& s = State();
    SetDialogIcon(dialog);
    // The stored text is read again, so a text saved since start-up shows.
    LoadCommandLineText(s.settings.get(), &s);
    CheckDlgButton(dialog, IDC_ADV_SAVE_COMMANDS, s.saveCommands ? BST_CHECKED : BST_UNCHECKED);
    EngineSwitches& switches = s;
    for (const SwitchBox& box : kSwitchBoxes)
        CheckDlgButton(dialog, box.id, switches.*box.field ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(dialog, IDC_ADV_COMMANDS, s.commandLineText.c_str());
}

void OnOk(HWND dialog) {
    LauncherState& s = State();
    char text[kCommandTextCapacity] = {};
    // A longer text is cut to what fits.
    GetDlgItemTextA(dialog, IDC_ADV_COMMANDS, text, sizeof(text));
    s.commandLineText = text;

    s.saveCommands = IsTicked(dialog, IDC_ADV_SAVE_COMMANDS) ? 1 : 0;
    if (s.settings) {
        s.settings->WriteDword("Save Commands", s.saveCommands);
        // Without saving, the stored text stays as it was (and is no longer read).
        if (s.saveCommands) s.settings->WriteString("Commands", s.commandLineText.c_str());
    }
    EngineSwitches& switches = s;
    for (const SwitchBox& box : kSwitchBoxes) switches.*box.field = IsTicked(dialog, box.id) ? 1 : 0;
    EndDialog(dialog, 1);
}

// Only clicks (notification 0) act: the whole command word is compared.
void OnCommand(HWND dialog, WPARAM command) {
    switch (command) {
    case IDOK:
        OnOk(dialog);
        break;
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    case IDC_ADV_HELP:
        OpenAdvancedHelp(dialog);
        break;
    case IDC_ADV_CUSTOM:
        OpenCustomArchives(dialog);
        break;
    case IDC_ADV_CARD_NOTES:
        OpenCardNotes(dialog);
        break;
    case IDC_ADV_3D_SOUND:
        RunSoundDetection(State().instance, dialog, true);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK AdvancedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, wParam);
        return TRUE;
    default:
        return FALSE;
    }
}

bool AcceptAdvancedWarning(HWND owner, SettingsStore* settings) {
    if (settings && settings->ReadDword("AdvWarning", 0) != 0) return true;
    return ShowError(owner, IDS_ADVANCED_WARNING, "Advanced Options", MB_OKCANCEL) == IDOK;
}

}  // namespace

int OpenAdvancedOptions(HWND owner) {
    LauncherState& s = State();
    if (!AcceptAdvancedWarning(owner, s.settings.get())) return 0;
    INT_PTR result = DialogBoxParamA(s.instance, "ADVANCED", owner, AdvancedDialogProc, 0);
    // A dialog that could not be made was never seen: the warning stays due.
    if (result == -1) return 0;
    if (s.settings) s.settings->WriteDword("AdvWarning", 1);
    return result == 1 ? 1 : 0;
}

}  // namespace velk
