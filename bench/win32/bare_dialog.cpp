// The floor for the title window's start-up: a program that shows the same
// "GAME" template and does no other work.
#include <windows.h>

static INT_PTR CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(window, 0);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return static_cast<int>(DialogBoxParamA(instance, "GAME", nullptr, BareProc, 0));
}
