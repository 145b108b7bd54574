// The demo and movie previews of the data disc.
#pragma once
#include <windows.h>

namespace velk {

int ShowPreviews(HINSTANCE instance, HWND owner);

// Frees preview lists left over (at the end of the run).
void ReleasePreviewLists();

}  // namespace velk
