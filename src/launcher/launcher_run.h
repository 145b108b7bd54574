// Everything one run of the launcher chooses and finds. LauncherMain keeps it
// for the whole run and hands each dialog and step the records it needs;
// each record is declared by the subsystem that fills it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "advanced/advanced_choice.h"
#include "base/game_texts.h"
#include "base/settings_store.h"
#include "disc/data_disc.h"
#include "display/display_choice.h"
#include "launch/launch_engine.h"
#include "sound/sound_providers.h"
#include "support/support.h"

namespace velk {

struct LauncherRun {
    std::string commandLine;  // the launcher's own, passed on to the engine
    GameTexts texts;
    std::unique_ptr<SettingsStore> settings;
    int32_t lastRandom = 1;  // the title picture shown last
    std::string titlePictureName;
    DiscFound disc;
    DisplayChoice display;
    AdvancedChoice advanced;
    SoundSetup sound;
    LaunchRecord launch;
    SupportRecord support;

    // Every record's stored values, at start-up; and those the launcher writes back at the end.
    void LoadSavedValues();
    void WriteBack();

    LaunchSources ForLaunch() { return {texts, commandLine, disc, advanced, display, sound, launch}; }
    SupportSources ForSupport();
};

}  // namespace velk
