// 3D sound: the providers of the sound library, the player's choice of
// provider, voices and reverb, and its part of the engine command line.
#pragma once
#include <windows.h>
#include <string>

namespace velk {

class SettingsStore;

// Warns once, enumerates the providers (once per run) and shows "3DSOUND".
// 1 when the player confirmed the dialog, else 0.
int RunSoundDetection(HINSTANCE instance, HWND owner, bool reportMissing);

// The five stored sound values; a missing value leaves its field unchanged.
void LoadSoundSettings(SettingsStore& settings);
void SaveSoundSettings(SettingsStore& settings);
// This run's choice back to the defaults, and unconfirmed: it no longer reaches the engine.
void ResetSoundSettings();

// Empty until "3DSOUND" was confirmed in this run; otherwise every piece ends with a blank.
std::string BuildSoundFragment();

// Whether this run asked the sound library yet, and how that went; the
// providers found are in SoundProviders().
enum class SoundSearch { NotSearched, Failed, Done };
SoundSearch LastSoundSearch();

// Frees the provider list (at the end of the run).
void ReleaseSoundProviders();

}  // namespace velk
