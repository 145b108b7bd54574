#include "base/dialog_services.h"

namespace velk {

namespace {
constexpr int kMessageCapacity = 512;  // 511 characters and the NUL

const HINSTANCE* g_instance = nullptr;
const std::string* g_gameTitle = nullptr;

HINSTANCE ResourceModule() { return g_instance ? *g_instance : nullptr; }
}  // namespace

void BindDialogResources(const HINSTANCE* instance, const std::string* gameTitle) {
    g_instance = instance;
    g_gameTitle = gameTitle;
}

std::string LoadResString(UINT id) {
    char text[kMessageCapacity];
    int len = LoadStringA(ResourceModule(), id, text, sizeof(text));
    return len > 0 ? std::string(text, len) : std::string();
}

int ShowError(HWND owner, UINT stringId, const char* caption, UINT flags) {
    char text[kMessageCapacity] = "Error.";
    // LoadString may clear the buffer when the id has no entry; keep the fallback then.
    if (LoadStringA(ResourceModule(), stringId, text, sizeof(text)) <= 0) lstrcpyA(text, "Error.");
    return MessageBoxA(owner, text, caption, flags);
}

int ShowGameError(HWND owner, UINT stringId, UINT flags) {
    return ShowError(owner, stringId, g_gameTitle ? g_gameTitle->c_str() : "", flags);
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
    HICON icon = LoadIconA(ResourceModule(), "ICON");
    if (icon) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

}  // namespace velk
