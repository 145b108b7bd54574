// The floor for the title window's start-up: a program that shows the same
// "GAME" template and does no other work. Built a second time with
// BARE_WITH_START_SOUND, it also plays the start sound once it is shown: the
// floor of a window that must make a sound.
#include <windows.h>

#ifdef BARE_WITH_START_SOUND
#include <mmsystem.h>
constexpr UINT kShownMessage = WM_APP + 1;
#endif

static INT_PTR CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
#ifdef BARE_WITH_START_SOUND
        PostMessageA(window, kShownMessage, 0, 0);
#endif
        return TRUE;
    }
#ifdef BARE_WITH_START_SOUND
    if (message == kShownMessage) {
        PlaySoundA("GAME1", GetModuleHandleA(nullptr), SND_RESOURCE | SND_NODEFAULT | SND_ASYNC);
        return TRUE;
    }
#endif
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(window, 0);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return static_cast<int>(DialogBoxParamA(instance, "GAME", nullptr, BareProc, 0));
}
