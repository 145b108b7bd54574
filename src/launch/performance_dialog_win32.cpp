#include "launch/performance_dialog.h"

#include "base/dialog_services.h"
#include "launcher/launcher_state.h"
#include "ids_detail.h"

namespace velk {

namespace {

// The levels follow the buttons from top to bottom.
int LevelOfCommand(WPARAM command) {
    switch (LOWORD(command)) {
    case IDC_DETAIL_HIGH_PERFORMANCE:
        return 0;
    case IDC_DETAIL_NORMAL:
        return 1;
    case IDC_DETAIL_HIGH_DETAIL:
        return 2;
    default:
        return -1;
    }
}

}  // namespace

INT_PTR CALLBACK PerformanceDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDialogIcon(window);
        return 1;
    case WM_COMMAND: {
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, 0);
            return 1;
        }
        int level = LevelOfCommand(wParam);
        if (level < 0) return 0;
        LauncherState& s = State();
        s.performanceLevel = level;
        s.performanceLevelChosen = 1;
        EndDialog(window, 1);
        return 1;
    }
    default:
        return 0;
    }
}

int AskPerformanceLevel(HWND owner) {
    INT_PTR result = DialogBoxParamA(State().instance, "DETAIL", owner, PerformanceDialogProc, 0);
    return result == 1 ? 1 : 0;
}

}  // namespace velk
