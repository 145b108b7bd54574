#include "sound/sound_providers.h"

#include <clocale>
#include <cstdio>

#include "base/engine_text.h"
#include "base/settings_store.h"

namespace velk {

namespace {

// Preferences set before the wave mapper is opened, in this order.
struct Preference {
    uint32_t number;
    int32_t value;
};
constexpr Preference kPreferences[] = {{27, 1}, {15, 0}, {33, 1}, {40, 0x40000}};

constexpr const char* kEaxAttribute = "EAX environment selection";
constexpr int32_t kNoValue = -1;

bool Contains(const std::string& name, const char* text) { return name.find(text) != std::string::npos; }

// Opens the provider to ask it for EAX, then closes it again. False when it
// does not open.
bool ProbeProvider(SoundLibrary& library, uint32_t provider, int32_t* hasEax) {
    if (library.OpenProvider(provider) != 0) return false;
    int32_t value = kNoValue;  // a library that writes nothing means "no value"
    library.ProviderAttribute(provider, kEaxAttribute, &value);
    *hasEax = value != kNoValue ? 1 : 0;
    library.CloseProvider(provider);
    return true;
}

// printf's "%f" takes the decimal separator from the C locale; the engine wants a full stop.
std::string FixedWithFullStop(double value) {
    char text[64];
    std::snprintf(text, sizeof(text), "%f", value);
    std::string result = text;
    const char* point = std::localeconv()->decimal_point;
    std::string separator = point && *point ? point : ".";
    size_t at = result.find(separator);
    if (separator != "." && at != std::string::npos) result.replace(at, separator.size(), ".");
    return result;
}

}  // namespace

int32_t ClassifySoundProvider(const std::string& name) {
    if (name == "Microsoft DirectSound3D with Creative Labs EAX(TM)") return kDirectSoundEax;
    if (Contains(name, "Aureal A3D Interactive(TM)")) return kAurealA3D;
    if (Contains(name, "Microsoft DirectSound3D hardware support")) return kDirectSoundHardware;
    if (name == "Microsoft DirectSound3D software emulation") return kDirectSoundSoftware;
    if (Contains(name, "Intel Realistic Sound Experience(TM)")) return kIntelRse;
    if (Contains(name, "Miles 2D Stereo Positional Audio")) return kMiles2D;
    return kOtherProvider;
}

bool IsPassableProviderName(const std::string& name) { return CanStandBetweenQuotes(name); }

bool EnumerateSoundProviders(SoundLibrary& library, SoundProviderList& list) {
    if (!list.empty()) return true;
    // A library that broke down is not called again, and nothing it delivered counts.
    auto brokeDown = [&] {
        if (!library.Broken()) return false;
        list.clear();
        return true;
    };

    library.Startup();
    for (const Preference& p : kPreferences) library.SetPreference(p.number, p.value);
    if (brokeDown()) return false;

    uint32_t driver = 0;
    if (library.OpenWaveMapper(&driver) != 0) {
        library.Shutdown();
        return false;
    }

    uint32_t cursor = 0;
    for (int delivered = 0; delivered < kMaxProvidersDelivered; ++delivered) {
        uint32_t provider = 0;
        const char* name = nullptr;
        if (library.EnumerateProviders(&cursor, &provider, &name) == 0) break;

        // The text belongs to the library: take it before calling it again.
        const std::string fullName = name ? name : "";
        if (!IsPassableProviderName(fullName)) continue;
        SoundProviderRecord record;
        record.handle = provider;
        record.kind = ClassifySoundProvider(fullName);
        if (!ProbeProvider(library, provider, &record.hasEax)) continue;
        record.name = fullName.substr(0, kProviderNameLength);
        list.push_front(std::move(record));
    }

    library.CloseWaveMapper(driver);
    library.Shutdown();
    return !brokeDown();
}

void LoadSoundChoice(SettingsStore& settings, SoundChoice& choice) {
    choice.providerKind = settings.ReadDword(kSoundProviderValue, choice.providerKind);

    // A scratch buffer: a value that does not fit, or is not text, leaves the name as it was.
    char name[kProviderNameLength + 1] = {};
    uint32_t size = sizeof(name);
    if (settings.ReadString(kSoundProviderNameValue, name, size, choice.providerName.c_str())) {
        name[kProviderNameLength] = '\0';
        if (IsPassableProviderName(name)) choice.providerName = name;
    }

    choice.samples3D = static_cast<uint32_t>(settings.ReadDword(kSound3DSamplesValue, static_cast<int32_t>(choice.samples3D)));
    choice.samples2D = static_cast<uint32_t>(settings.ReadDword(kSound2DSamplesValue, static_cast<int32_t>(choice.samples2D)));
    choice.reverb = settings.ReadDword(kSoundReverbValue, choice.reverb);
}

void SaveSoundChoice(SettingsStore& settings, const SoundChoice& choice) {
    settings.WriteDword(kSoundProviderValue, choice.providerKind);
    settings.WriteString(kSoundProviderNameValue, choice.providerName.c_str());
    settings.WriteDword(kSound3DSamplesValue, static_cast<int32_t>(choice.samples3D));
    settings.WriteDword(kSound2DSamplesValue, static_cast<int32_t>(choice.samples2D));
    settings.WriteDword(kSoundReverbValue, choice.reverb);
}

void SoundSetup::Forget(SettingsStore* settings, std::vector<std::string>& notDeleted) {
    const char* const stored[] = {kSoundProviderValue, kSoundProviderNameValue, kSound3DSamplesValue,
                                  kSound2DSamplesValue, kSoundReverbValue};
    if (settings) settings->DeleteValues(stored, notDeleted);
    choice = SoundChoice();
    confirmed = 0;
}

std::string SoundFragment(const SoundChoice& choice) {
    // The engine takes the level as a fraction, scaled in single precision.
    const float level = static_cast<float>(choice.reverb) * 0.0099999998f;
    std::string fragment;
    fragment += "++3dsoundprovider " + std::to_string(choice.providerKind) + " ";
    fragment += "++3dsoundprovidername \"" + choice.providerName + "\" ";
    fragment += "++max3dvoices " + std::to_string(choice.samples3D) + " ++maxswvoices " +
                std::to_string(choice.samples2D) + " ";
    fragment += "++reverblevel " + FixedWithFullStop(level) + " ";
    return fragment;
}

uint32_t ParseUnsignedField(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return 0;
    size_t end = text.find_last_not_of(" \t") + 1;
    uint64_t value = 0;
    for (size_t i = begin; i < end; ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return 0;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > UINT32_MAX) return 0;
    }
    return static_cast<uint32_t>(value);
}

}  // namespace velk
