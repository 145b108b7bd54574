#include "launcher/launcher_run.h"

#include <vector>

#include "advanced/advanced_options.h"
#include "advanced/note_entries.h"

namespace velk {

namespace {

constexpr const char* kLastRandomValue = "Last Random";
constexpr const char* kLanguageValue = "Language";  // written only

// The values the launcher keeps under its key, in the order the troubleshooting summary shows them.
const std::vector<const char*>& LauncherValueNames() {
    static const std::vector<const char*> names = [] {
        std::vector<const char*> all = {kDisplayWarnedValue, kLauncherRunsValue, kLastRandomValue};
        for (const StoredSwitch& stored : kStoredSwitches) all.push_back(stored.valueName);
        all.insert(all.end(), {kUpdateCommandLineValue, kContentCommandLineValue, kLanguageValue, kCdRomDriveValue,
                               kSaveCommandsValue, kCommandsValue, kAdvancedWarningValue, kSaveArchivesValue,
                               kArchivesValue, kSoundWarningValue, kSoundProviderValue, kSound3DSamplesValue,
                               kSound2DSamplesValue, kSoundReverbValue, kSoundProviderNameValue,
                               HelpNotes().selectionValue, CardNotes().selectionValue});
        return all;
    }();
    return names;
}

}  // namespace

void LauncherRun::LoadSavedValues() {
    display.Load(*settings);
    launch.Load(*settings);
    lastRandom = settings->ReadDword(kLastRandomValue, lastRandom);
    advanced.Load(*settings);
    LoadSoundChoice(*settings, sound.choice);
}

void LauncherRun::WriteBack() {
    display.Save(*settings);
    launch.SaveRunCount(*settings);
    settings->WriteDword(kLastRandomValue, lastRandom);
    advanced.SaveSwitches(*settings);
    settings->WriteString(kLanguageValue, texts.language.c_str());
}

SupportSources LauncherRun::ForSupport() {
    return {texts, commandLine, settings.get(), disc, advanced, display, sound, launch, support, LauncherValueNames()};
}

}  // namespace velk
