#include "sound/sound_detection.h"

namespace velk {

// The 3D sound detection is not part of this build yet.
int RunSoundDetection(HINSTANCE, HWND, bool) { return 0; }
void LoadSoundSettings(SettingsStore&) {}
void SaveSoundSettings(SettingsStore&) {}
std::string BuildSoundFragment() { return std::string(); }
void ReleaseSoundProviders() {}

}  // namespace velk
