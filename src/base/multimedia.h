// The multimedia library, loaded on first use: a launch straight from the
// switches never plays a sound, and loading it costs more than the rest of
// the start-up.
#pragma once
#include <windows.h>

namespace velk {

// Milliseconds since the system started, by the multimedia timer.
DWORD MultimediaTime();
// PlaySound of the multimedia library; FALSE when it cannot be loaded.
BOOL PlaySoundResource(const char* name, HMODULE module, DWORD flags);

}  // namespace velk
