#include "advanced/switches.h"

#include "base/settings_store.h"

namespace velk {

namespace {
// Room for every text OK can store (254 characters) and its end.
constexpr uint32_t kCommandsBuffer = 255;

const char* OnOff(int32_t flag, const char* on, const char* off) { return flag ? on : off; }
}  // namespace

const StoredSwitch kStoredSwitches[8] = {
    {"Disable Sound", &EngineSwitches::disableSound},
    {"Disable Music", &EngineSwitches::disableMusic},
    {"Disable Movies", &EngineSwitches::disableMovies},
    {"Disable Fog", &EngineSwitches::disableFog},
    {"Disable Joystick", &EngineSwitches::disableJoystick},
    {"Disable TripBuf", &EngineSwitches::disableTripBuf},
    {"Disable Cursor", &EngineSwitches::disableCursor},
    {"Disable Loadscreen", &EngineSwitches::disableLoadscreen},
};

std::string BuildSwitchFragment(const EngineSwitches& s) {
    std::string f;
    // Music comes before sound, although the dialog lists sound first.
    f += OnOff(s.disableMusic, " +DisableMusic 1", " +DisableMusic 0");
    f += OnOff(s.disableSound, " +DisableSound 1", " +DisableSound 0");
    if (s.disableMovies) f += " +DisableMovies 1";
    if (s.disableFog) f += " +DisableFog 1";
    if (s.disableJoystick) f += " +DisableJoystick 1";
    f += OnOff(s.disableTripBuf, " +DisableTripBuf 1", " +DisableTripBuf 0");
    f += OnOff(s.disableCursor, " +DisableHardwareCursor 1", " +DisableHardwareCursor 0");
    // The box disables the animated screen; the engine switch names the feature.
    if (s.disableLoadscreen) f += " +DynamicLoadScreen 0";
    if (s.restoreDefaults) f += " -config defaults.cfg";
    return f;
}

void LoadCommandLineText(SettingsStore* settings, CommandLineSetting* setting) {
    if (!settings) return;
    setting->saveCommands = settings->ReadDword(kSaveCommandsValue, 1);
    if (setting->saveCommands) setting->commandLineText = settings->ReadText(kCommandsValue, kCommandsBuffer);
}

void SaveCommandLineText(SettingsStore* settings, const CommandLineSetting& setting) {
    if (!settings) return;
    settings->WriteDword(kSaveCommandsValue, setting.saveCommands);
    if (setting.saveCommands) settings->WriteString(kCommandsValue, setting.commandLineText.c_str());
}

}  // namespace velk
