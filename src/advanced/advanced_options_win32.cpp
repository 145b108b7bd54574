#include "advanced/advanced_options.h"

#include "advanced/advanced_notes.h"
#include "advanced/custom_archives.h"
#include "base/dialog_services.h"
#include "base/settings_store.h"
#include "sound/sound_detection.h"
#include "ids_advanced.h"
#include "ids_strings.h"

namespace velk {

namespace {

// The text OK takes from the command-line field: at most 254 characters.
constexpr int kCommandTextCapacity = 255;
// Refilling the preview costs tens of milliseconds: while keys come in, it
// waits until the typing pauses (timer messages come only to an empty queue).
constexpr UINT_PTR kPreviewTimer = 1;

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

bool IsSwitchBox(int id) {
    for (const SwitchBox& box : kSwitchBoxes)
        if (box.id == id) return true;
    return false;
}

EngineSwitches TickedSwitches(HWND dialog) {
    EngineSwitches switches;
    for (const SwitchBox& box : kSwitchBoxes) switches.*box.field = IsTicked(dialog, box.id) ? 1 : 0;
    return switches;
}

// The field's text as OK takes it.
std::string CommandText(HWND dialog) {
    char text[kCommandTextCapacity] = {};
    // A longer text is cut to what fits.
    GetDlgItemTextA(dialog, IDC_ADV_COMMANDS, text, sizeof(text));
    return text;
}

// Shows the engine command line for the boxes and text as they stand.
void UpdatePreview(HWND dialog) {
    const AdvancedOptions* options = DialogData<const AdvancedOptions>(dialog);
    if (!options || !options->preview) return;
    CommandLinePreview shown = options->preview(TickedSwitches(dialog), CommandText(dialog));
    SetDlgItemTextA(dialog, IDC_ADV_PREVIEW, shown.line.c_str());
    ShowWindow(GetDlgItem(dialog, IDC_ADV_PREVIEW_LABEL), shown.asksLevel ? SW_HIDE : SW_SHOW);
    ShowWindow(GetDlgItem(dialog, IDC_ADV_PREVIEW_LABEL_ASKS), shown.asksLevel ? SW_SHOW : SW_HIDE);
}

// The boxes and the text as the run's choice and the stored text have them.
void ShowSettings(HWND dialog, const AdvancedOptions& options) {
    AdvancedChoice& choice = options.choice;
    // The stored text is read again, so a text saved since start-up shows.
    LoadCommandLineText(options.settings, &choice.commandLine);
    CheckDlgButton(dialog, IDC_ADV_SAVE_COMMANDS, choice.commandLine.saveCommands ? BST_CHECKED : BST_UNCHECKED);
    for (const SwitchBox& box : kSwitchBoxes)
        CheckDlgButton(dialog, box.id, choice.switches.*box.field ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(dialog, IDC_ADV_COMMANDS, choice.commandLine.commandLineText.c_str());
    KillTimer(dialog, kPreviewTimer);
    UpdatePreview(dialog);
}

void OnInitDialog(HWND dialog, const AdvancedOptions& options) {
    SetDialogIcon(dialog);
    EnableWindow(GetDlgItem(dialog, IDC_ADV_SUPPORT), options.support != nullptr);
    ShowSettings(dialog, options);
}

void OnOk(HWND dialog, const AdvancedOptions& options) {
    AdvancedChoice& choice = options.choice;
    choice.commandLine.commandLineText = CommandText(dialog);
    choice.commandLine.saveCommands = IsTicked(dialog, IDC_ADV_SAVE_COMMANDS) ? 1 : 0;
    SaveCommandLineText(options.settings, choice.commandLine);
    choice.switches = TickedSwitches(dialog);
    EndDialog(dialog, 1);
}

// Buttons act on clicks only (notification 0): the whole command word is
// compared. The preview follows every box, the text once typing pauses, and
// the sub-dialogs whose choices reach the engine line.
void OnCommand(HWND dialog, const AdvancedOptions& options, WPARAM command) {
    if (command == MAKEWPARAM(IDC_ADV_COMMANDS, EN_CHANGE)) {
        SetTimer(dialog, kPreviewTimer, USER_TIMER_MINIMUM, nullptr);
        return;
    }
    if (IsSwitchBox(static_cast<int>(command))) {
        UpdatePreview(dialog);
        return;
    }
    switch (command) {
    case IDOK:
        OnOk(dialog, options);
        break;
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    case IDC_ADV_HELP:
        OpenAdvancedHelp(dialog, options.choice, options.settings);
        break;
    case IDC_ADV_CUSTOM:
        OpenCustomArchives(dialog, options.choice, options.settings);
        UpdatePreview(dialog);
        break;
    case IDC_ADV_CARD_NOTES:
        OpenCardNotes(dialog, options.choice, options.settings);
        break;
    case IDC_ADV_3D_SOUND:
        RunSoundDetection(LauncherModule(), dialog, true, options.sound, options.settings);
        UpdatePreview(dialog);
        break;
    case IDC_ADV_SUPPORT:
        // After a reset the boxes show it; OK keeps it and Cancel has nothing to undo.
        if (options.support && options.support(dialog)) ShowSettings(dialog, options);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK AdvancedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER)
        return DataDialogProc<const AdvancedOptions, OnInitDialog, OnCommand>(dialog, message, wParam, lParam);
    if (wParam != kPreviewTimer) return FALSE;
    KillTimer(dialog, kPreviewTimer);
    UpdatePreview(dialog);
    return TRUE;
}

bool AcceptAdvancedWarning(HWND owner, SettingsStore* settings) {
    if (settings && settings->ReadDword(kAdvancedWarningValue, 0) != 0) return true;
    return ShowError(owner, IDS_ADVANCED_WARNING, "Advanced Options", MB_OKCANCEL) == IDOK;
}

}  // namespace

int OpenAdvancedOptions(HWND owner, const AdvancedOptions& options) {
    if (!AcceptAdvancedWarning(owner, options.settings)) return 0;
    INT_PTR result = DialogBoxParamA(LauncherModule(), "ADVANCED", owner, AdvancedDialogProc,
                                     reinterpret_cast<LPARAM>(&options));
    // A dialog that could not be made was never seen: the warning stays due.
    if (result == -1) return 0;
    if (options.settings) options.settings->WriteDword(kAdvancedWarningValue, 1);
    return result == 1 ? 1 : 0;
}

}  // namespace velk
