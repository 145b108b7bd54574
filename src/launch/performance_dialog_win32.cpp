#include "launch/performance_dialog.h"

#include "base/dialog_services.h"
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

INT_PTR CALLBACK PerformanceDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        KeepDialogData<LaunchRecord>(window, lParam);
        SetDialogIcon(window);
        return 1;
    case WM_COMMAND: {
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, 0);
            return 1;
        }
        int level = LevelOfCommand(wParam);
        LaunchRecord* launch = DialogData<LaunchRecord>(window);
        if (level < 0 || !launch) return 0;
        launch->performanceLevel = level;
        launch->performanceLevelChosen = 1;
        EndDialog(window, 1);
        return 1;
    }
    default:
        return 0;
    }
}

}  // namespace

int AskPerformanceLevel(HWND owner, LaunchRecord& launch) {
    INT_PTR result =
        DialogBoxParamA(LauncherModule(), "DETAIL", owner, PerformanceDialogProc, reinterpret_cast<LPARAM>(&launch));
    return result == 1 ? 1 : 0;
}

}  // namespace velk
