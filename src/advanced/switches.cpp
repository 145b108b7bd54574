#include "advanced/switches.h"

#include "launcher/settings_store.h"

namespace velk {

namespace {
// Room for every text OK can store (254 characters) and its end.
constexpr uint32_t kCommandsBuffer = 255;

const char* OnOff(int32_t flag, const char* on, const char* off) { return flag ? on : off; }
}  // namespace

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
    setting->saveCommands = settings->ReadDword("Save Commands", 1);
    if (!setting->saveCommands) return;
    char buffer[kCommandsBuffer] = {};
    uint32_t size = sizeof(buffer);
    const char* text = settings->ReadString("Commands", buffer, size, nullptr);
    setting->commandLineText = text ? text : "";
}

}  // namespace velk
