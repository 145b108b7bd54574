#include "base/shell_open.h"

#include <shellapi.h>

#include "base/win32_handles.h"

namespace velk {

HINSTANCE ShellOpen(HWND owner, const char* target) {
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static ModuleHandle shell(LoadLibraryA("shell32.dll"));  // kept for the rest of the run
    auto open = shell ? reinterpret_cast<ShellExecuteFn>(
                            reinterpret_cast<void*>(GetProcAddress(shell.get(), "ShellExecuteA")))
                      : nullptr;
    if (!open) return reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);
    return open(owner, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace velk
