// 3D sound: the providers of the sound library, the player's choice of
// provider, voices and reverb, and its part of the engine command line.
#pragma once
#include <windows.h>

#include "sound/sound_providers.h"

namespace velk {

// Warns once, enumerates the providers (once per run, into `sound`) and shows
// "3DSOUND" from the stored choice; OK stores the player's choice and
// confirms it for this run. 1 when the player confirmed the dialog, else 0.
int RunSoundDetection(HINSTANCE instance, HWND owner, bool reportMissing, SoundSetup& sound, SettingsStore* settings);

}  // namespace velk
