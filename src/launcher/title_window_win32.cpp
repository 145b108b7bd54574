#include "launcher/title_window.h"

#include "launcher/launcher.h"
#include "launcher/launcher_state.h"
#include "ids_game.h"

namespace velk {

namespace {

// Command ids that end the dialog, and with what. The whole command word is
// compared, so only clicks (notification 0) match.
INT_PTR EndingResult(WPARAM command) {
    switch (command) {
    case IDC_GAME_PLAY:
    case IDC_GAME_PLAY_ALT:
        return 1;
    case IDC_GAME_MULTIPLAYER:
        return 5;
    case IDC_GAME_LEAVE:
        return 0;
    case IDC_GAME_SETUP:
    case IDC_GAME_SETUP_ALT:
        return 2;
    default:
        return -1;
    }
}

}  // namespace

INT_PTR CALLBACK TitleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDialogIcon(window);
        return 1;
    case WM_COMMAND: {
        INT_PTR result = EndingResult(wParam);
        if (result < 0) return 0;
        EndDialog(window, result);
        return 1;
    }
    default:
        return 0;
    }
}

int ShowTitleWindow() {
    return static_cast<int>(DialogBoxParamA(State().instance, "GAME", nullptr, TitleWindowProc, 0));
}

}  // namespace velk
