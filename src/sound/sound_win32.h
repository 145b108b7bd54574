// The Win32 pieces of the 3D sound detection: the loaded sound library and
// the dialog "3DSOUND".
#pragma once
#include <windows.h>
#include <memory>

#include "sound/sound_providers.h"

namespace velk {

// The sound library with all nine operations found, or none when the library
// is missing or lacks one. Destroying it unloads the library.
std::unique_ptr<SoundLibrary> LoadSoundLibrary();

// The WM_INITDIALOG parameter of "3DSOUND": the list to offer and the choice
// the dialog starts from; OK writes the player's choice back into it.
struct SoundDialogData {
    const SoundProviderList* providers = nullptr;
    SoundChoice* choice = nullptr;
};
INT_PTR CALLBACK SoundDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velk
