// The demo and movie previews of the data disc.
#pragma once
#include <windows.h>

namespace velk {

int ShowPreviews(HINSTANCE instance, HWND owner);

}  // namespace velk
