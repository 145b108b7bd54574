#include "base/dialog_services.h"

namespace velk {

namespace {
constexpr int kMessageCapacity = 512;  // 511 characters and the NUL

HINSTANCE g_module = nullptr;
std::string g_gameTitle;
}  // namespace

void SetLauncherModule(HINSTANCE module) { g_module = module; }
HINSTANCE LauncherModule() { return g_module; }
void SetGameTitle(const std::string& title) { g_gameTitle = title; }

std::string LoadResString(UINT id) {
    char text[kMessageCapacity];
    int len = LoadStringA(g_module, id, text, sizeof(text));
    return len > 0 ? std::string(text, len) : std::string();
}

int ShowError(HWND owner, UINT stringId, const char* caption, UINT flags) {
    char text[kMessageCapacity] = "Error.";
    // LoadString may clear the buffer when the id has no entry; keep the fallback then.
    if (LoadStringA(g_module, stringId, text, sizeof(text)) <= 0) lstrcpyA(text, "Error.");
    return MessageBoxA(owner, text, caption, flags);
}

int ShowGameError(HWND owner, UINT stringId, UINT flags) {
    return ShowError(owner, stringId, g_gameTitle.c_str(), flags);
}

bool ListBoxItemText(HWND box, LRESULT index, size_t maxLength, std::string* text) {
    LRESULT length = SendMessageA(box, LB_GETTEXTLEN, index, 0);
    if (length < 0 || static_cast<size_t>(length) > maxLength) return false;
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = SendMessageA(box, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&buffer[0]));
    if (copied < 0 || copied > length) return false;
    text->assign(buffer, 0, static_cast<size_t>(copied));
    return true;
}

void SetDialogIcon(HWND window) {
    HICON icon = LoadIconA(g_module, "ICON");
    if (icon) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

}  // namespace velk
