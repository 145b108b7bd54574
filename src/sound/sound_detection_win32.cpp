#include "sound/sound_detection.h"

#include <mmsystem.h>  // the SND_ flags
#include <iterator>

#include "base/dialog_services.h"
#include "base/multimedia.h"
#include "launcher/launcher_state.h"
#include "sound/sound_win32.h"
#include "ids_strings.h"

namespace velk {

namespace {

SoundChoice ChoiceFromState(const LauncherState& s) {
    SoundChoice choice;
    choice.providerKind = s.soundProviderKind;
    choice.providerName = s.soundProviderName;
    choice.samples3D = s.sound3DSamples;
    choice.samples2D = s.sound2DSamples;
    choice.reverb = s.soundReverb;
    return choice;
}

void StoreChoice(const SoundChoice& choice, LauncherState& s) {
    s.soundProviderKind = choice.providerKind;
    s.soundProviderName = choice.providerName;
    s.sound3DSamples = choice.samples3D;
    s.sound2DSamples = choice.samples2D;
    s.soundReverb = choice.reverb;
}

// Fills the run's provider list once; later detections reuse it without
// touching the library.
SoundSearch lastSearch = SoundSearch::NotSearched;

bool EnumerateWithLibrary() {
    // The library may take over the sound device: stop the start sound first.
    PlaySoundResource(nullptr, nullptr, SND_PURGE);
    SoundProviderList& providers = SoundProviders();
    if (!providers.empty()) return true;
    std::unique_ptr<SoundLibrary> library = LoadSoundLibrary();
    bool found = library && EnumerateSoundProviders(*library, providers);
    lastSearch = found ? SoundSearch::Done : SoundSearch::Failed;
    return found;
}

// The number of providers to offer; -1 when the player refused the warning.
int PrepareProviders(HWND owner) {
    SettingsStore* settings = State().settings.get();
    if (!settings || settings->ReadDword("Sound Enum Warning", 0) == 0) {
        if (ShowGameError(owner, IDS_SOUND_ENUM_WARNING, MB_ICONINFORMATION | MB_OKCANCEL) != IDOK) return -1;
    }
    if (settings) settings->WriteDword("Sound Enum Warning", 1);
    if (!EnumerateWithLibrary()) return 0;
    const SoundProviderList& providers = SoundProviders();
    return static_cast<int>(std::distance(providers.begin(), providers.end()));
}

}  // namespace

SoundSearch LastSoundSearch() { return lastSearch; }

SoundProviderList& SoundProviders() {
    static SoundProviderList providers;
    return providers;
}

int RunSoundDetection(HINSTANCE instance, HWND owner, bool reportMissing) {
    if (!instance) return 0;
    const int count = PrepareProviders(owner);
    if (count < 0) return 0;
    if (count == 0) {
        if (reportMissing) ShowGameError(owner, IDS_NO_SOUND_PROVIDER, MB_ICONINFORMATION);
        return 0;
    }

    LauncherState& s = State();
    if (s.settings) LoadSoundSettings(*s.settings);
    SoundChoice choice = ChoiceFromState(s);
    SoundDialogData data;
    data.providers = &SoundProviders();
    data.choice = &choice;
    // Only OK confirms; Cancel and a dialog that could not be made change nothing.
    if (DialogBoxParamA(instance, "3DSOUND", owner, SoundDialogProc, reinterpret_cast<LPARAM>(&data)) != 1)
        return 0;

    StoreChoice(choice, s);
    if (s.settings) SaveSoundSettings(*s.settings);
    s.soundConfigured = 1;
    return 1;
}

void LoadSoundSettings(SettingsStore& settings) {
    LauncherState& s = State();
    SoundChoice choice = ChoiceFromState(s);
    LoadSoundChoice(settings, choice);
    StoreChoice(choice, s);
}

void SaveSoundSettings(SettingsStore& settings) { SaveSoundChoice(settings, ChoiceFromState(State())); }

void ResetSoundSettings() {
    StoreChoice(SoundChoice(), State());
    State().soundConfigured = 0;
}

std::string BuildSoundFragment() {
    const LauncherState& s = State();
    return s.soundConfigured ? SoundFragment(ChoiceFromState(s)) : std::string();
}

void ReleaseSoundProviders() { SoundProviders().clear(); }

}  // namespace velk
