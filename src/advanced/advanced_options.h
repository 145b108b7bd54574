// The advanced options reached from the title window.
#pragma once
#include <windows.h>

namespace velk {

// The advanced options dialog; its result (the title window ignores it).
int OpenAdvancedOptions(HWND owner);

}  // namespace velk
