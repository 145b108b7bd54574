#include "launcher/launcher.h"
#include "launcher/launcher_state.h"

namespace velk {

namespace {
constexpr int kMessageCapacity = 512;  // 511 characters and the NUL
}

std::string LoadResString(UINT id) {
    char text[kMessageCapacity];
    int len = LoadStringA(State().instance, id, text, sizeof(text));
    return len > 0 ? std::string(text, len) : std::string();
}

int ShowError(HWND owner, UINT stringId, const char* caption, UINT flags) {
    char text[kMessageCapacity] = "Error.";
    // LoadString may clear the buffer when the id has no entry; keep the fallback then.
    if (LoadStringA(State().instance, stringId, text, sizeof(text)) <= 0) lstrcpyA(text, "Error.");
    return MessageBoxA(owner, text, caption, flags);
}

int ShowGameError(HWND owner, UINT stringId, UINT flags) {
    return ShowError(owner, stringId, State().gameTitle.c_str(), flags);
}

void SetDialogIcon(HWND window) {
    HICON icon = LoadIconA(State().instance, "ICON");
    if (icon) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

}  // namespace velk
