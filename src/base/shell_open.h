// Opening a document or web address with the program the shell associates
// with it. The shell library is loaded on first use: it is large, and most
// runs never need it.
#pragma once
#include <windows.h>

namespace velk {

// ShellExecuteA with the default verb, no parameters and no working folder,
// shown normally; SE_ERR_NOASSOC when the shell cannot be loaded.
HINSTANCE ShellOpen(HWND owner, const char* target);

}  // namespace velk
