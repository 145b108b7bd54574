#include "advanced/advanced_options.h"

#include "advanced/advanced_notes.h"
#include "advanced/custom_archives.h"
#include "advanced/switches.h"
#include "base/dialog_services.h"
#include "launcher/launcher_state.h"
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

// What the opener hands in, for as long as the dialog runs.
struct AdvancedHooks {
    CommandLinePreviewFn preview = nullptr;
    SupportDialogFn support = nullptr;
};

const AdvancedHooks& DialogHooks(HWND dialog) {
    static const AdvancedHooks kNone;
    auto* hooks = reinterpret_cast<const AdvancedHooks*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    return hooks ? *hooks : kNone;
}

// Shows the engine command line for the boxes and text as they stand.
void UpdatePreview(HWND dialog) {
    CommandLinePreviewFn preview = DialogHooks(dialog).preview;
    if (!preview) return;
    CommandLinePreview shown = preview(TickedSwitches(dialog), CommandText(dialog));
    SetDlgItemTextA(dialog, IDC_ADV_PREVIEW, shown.line.c_str());
    ShowWindow(GetDlgItem(dialog, IDC_ADV_PREVIEW_LABEL), shown.asksLevel ? SW_HIDE : SW_SHOW);
    ShowWindow(GetDlgItem(dialog, IDC_ADV_PREVIEW_LABEL_ASKS), shown.asksLevel ? SW_SHOW : SW_HIDE);
}

// The boxes and the text as the launcher's state and the stored text have them.
void ShowSettings(HWND dialog) {
    LauncherState& s = State();
    // The stored text is read again, so a text saved since start-up shows.
    LoadCommandLineText(s.settings.get(), &s);
    CheckDlgButton(dialog, IDC_ADV_SAVE_COMMANDS, s.saveCommands ? BST_CHECKED : BST_UNCHECKED);
    EngineSwitches& switches = s;
    for (const SwitchBox& box : kSwitchBoxes)
        CheckDlgButton(dialog, box.id, switches.*box.field ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(dialog, IDC_ADV_COMMANDS, s.commandLineText.c_str());
    KillTimer(dialog, kPreviewTimer);
    UpdatePreview(dialog);
}

void OnInitDialog(HWND dialog, const AdvancedHooks* hooks) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(hooks));
    SetDialogIcon(dialog);
    EnableWindow(GetDlgItem(dialog, IDC_ADV_SUPPORT), hooks->support != nullptr);
    ShowSettings(dialog);
}

void OnOk(HWND dialog) {
    LauncherState& s = State();
    s.commandLineText = CommandText(dialog);

    s.saveCommands = IsTicked(dialog, IDC_ADV_SAVE_COMMANDS) ? 1 : 0;
    if (s.settings) {
        s.settings->WriteDword("Save Commands", s.saveCommands);
        // Without saving, the stored text stays as it was (and is no longer read).
        if (s.saveCommands) s.settings->WriteString("Commands", s.commandLineText.c_str());
    }
    static_cast<EngineSwitches&>(s) = TickedSwitches(dialog);
    EndDialog(dialog, 1);
}

// Buttons act on clicks only (notification 0): the whole command word is
// compared. The preview follows every box, the text once typing pauses, and
// the sub-dialogs whose choices reach the engine line.
void OnCommand(HWND dialog, WPARAM command) {
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
        UpdatePreview(dialog);
        break;
    case IDC_ADV_CARD_NOTES:
        OpenCardNotes(dialog);
        break;
    case IDC_ADV_3D_SOUND:
        RunSoundDetection(State().instance, dialog, true);
        UpdatePreview(dialog);
        break;
    case IDC_ADV_SUPPORT:
        // After a reset the boxes show it; OK keeps it and Cancel has nothing to undo.
        if (DialogHooks(dialog).support && DialogHooks(dialog).support(dialog)) ShowSettings(dialog);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK AdvancedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, reinterpret_cast<const AdvancedHooks*>(lParam));
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, wParam);
        return TRUE;
    case WM_TIMER:
        if (wParam != kPreviewTimer) return FALSE;
        KillTimer(dialog, kPreviewTimer);
        UpdatePreview(dialog);
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

int OpenAdvancedOptions(HWND owner, CommandLinePreviewFn preview, SupportDialogFn support) {
    LauncherState& s = State();
    if (!AcceptAdvancedWarning(owner, s.settings.get())) return 0;
    const AdvancedHooks hooks = {preview, support};
    INT_PTR result =
        DialogBoxParamA(s.instance, "ADVANCED", owner, AdvancedDialogProc, reinterpret_cast<LPARAM>(&hooks));
    // A dialog that could not be made was never seen: the warning stays due.
    if (result == -1) return 0;
    if (s.settings) s.settings->WriteDword("AdvWarning", 1);
    return result == 1 ? 1 : 0;
}

}  // namespace velk
