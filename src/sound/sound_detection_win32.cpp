#include "sound/sound_detection.h"

#include <mmsystem.h>  // the SND_ flags
#include <iterator>

#include "base/dialog_services.h"
#include "base/multimedia.h"
#include "base/settings_store.h"
#include "sound/sound_win32.h"
#include "ids_strings.h"

namespace velk {

namespace {

// Fills the run's provider list once; later detections reuse it without
// touching the library.
bool EnumerateWithLibrary(SoundSetup& sound) {
    // The library may take over the sound device: stop the start sound first.
    PlaySoundResource(nullptr, nullptr, SND_PURGE);
    if (!sound.providers.empty()) return true;
    std::unique_ptr<SoundLibrary> library = LoadSoundLibrary();
    bool found = library && EnumerateSoundProviders(*library, sound.providers);
    sound.search = found ? SoundSearch::Done : SoundSearch::Failed;
    return found;
}

// The number of providers to offer; -1 when the player refused the warning.
int PrepareProviders(HWND owner, SoundSetup& sound, SettingsStore* settings) {
    if (!settings || settings->ReadDword(kSoundWarningValue, 0) == 0) {
        if (ShowGameError(owner, IDS_SOUND_ENUM_WARNING, MB_ICONINFORMATION | MB_OKCANCEL) != IDOK) return -1;
    }
    if (settings) settings->WriteDword(kSoundWarningValue, 1);
    if (!EnumerateWithLibrary(sound)) return 0;
    return static_cast<int>(std::distance(sound.providers.begin(), sound.providers.end()));
}

}  // namespace

int RunSoundDetection(HINSTANCE instance, HWND owner, bool reportMissing, SoundSetup& sound, SettingsStore* settings) {
    if (!instance) return 0;
    const int count = PrepareProviders(owner, sound, settings);
    if (count < 0) return 0;
    if (count == 0) {
        if (reportMissing) ShowGameError(owner, IDS_NO_SOUND_PROVIDER, MB_ICONINFORMATION);
        return 0;
    }

    if (settings) LoadSoundChoice(*settings, sound.choice);
    SoundChoice choice = sound.choice;
    SoundDialogData data;
    data.providers = &sound.providers;
    data.choice = &choice;
    // Only OK confirms; Cancel and a dialog that could not be made change nothing.
    if (DialogBoxParamA(instance, "3DSOUND", owner, SoundDialogProc, reinterpret_cast<LPARAM>(&data)) != 1)
        return 0;

    sound.choice = choice;
    if (settings) SaveSoundChoice(*settings, sound.choice);
    sound.confirmed = 1;
    return 1;
}

}  // namespace velk
